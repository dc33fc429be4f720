#include "output/StoredExport.h"

#include "common/Encoding.h"
#include "common/SqlText.h"
#include "core/AppFolders.h"
#include "core/FtpTransfer.h"
#include "db/Dataset.h"
#include "db/DbError.h"
#include "db/DbHelpers.h"
#include "masterdata/MasterDataStore.h"
#include "output/CellText.h"
#include "output/DelimitedText.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString Table = QStringLiteral("csvexp");

QString rowText(const Dataset &data, int row, QStringView field)
{
    const int col = data.fieldIndex(field);
    return col < 0 ? QString() : data.text(row, col);
}

int rowInt(const Dataset &data, int row, QStringView field)
{
    const int col = data.fieldIndex(field);
    return col < 0 ? 0 : int(data.toInt(row, col, 0));
}

// The statement without what would end it, so it can stand inside another.
QString bareStatement(QString sql)
{
    sql = sql.trimmed();
    while (sql.endsWith(QLatin1Char(';')))
        sql = sql.chopped(1).trimmed();
    return sql;
}

// One statement that only reads, judged by its first word.
bool isSingleQuery(const QString &bare)
{
    if (bare.contains(QLatin1Char(';')))
        return false;
    static const QRegularExpression reading(QStringLiteral("^\\(*\\s*(SELECT|SHOW|DESCRIBE|DESC)\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    return reading.match(bare).hasMatch();
}

} // namespace

StoredExportDefinition StoredExportDefinition::fromRow(const Dataset &data, int row)
{
    StoredExportDefinition d;
    d.name = rowText(data, row, u"csvexp_nev");
    d.sql = rowText(data, row, u"szoveg_sql");
    d.separator = rowInt(data, row, u"hatarolo");
    d.quote = rowInt(data, row, u"szovegjelolo");
    d.localFile = rowText(data, row, u"file_local");
    d.ftp = rowText(data, row, u"ftp_kell") == QLatin1String("I");
    d.ftpHost = rowText(data, row, u"host_ftp");
    d.ftpFolder = rowText(data, row, u"file_ftp");
    d.ftpUser = rowText(data, row, u"ftp_user");
    d.ftpPassword = rowText(data, row, u"ftp_jelszo");
    return d;
}

StoredExportDefinition StoredExportDefinition::fromRecord(const EditRecord &r)
{
    StoredExportDefinition d;
    d.name = r.value(u"csvexp_nev").toString();
    d.sql = r.value(u"szoveg_sql").toString();
    d.separator = r.value(u"hatarolo").toInt();
    d.quote = r.value(u"szovegjelolo").toInt();
    d.localFile = r.value(u"file_local").toString();
    d.ftp = r.value(u"ftp_kell").toString() == QLatin1String("I");
    d.ftpHost = r.value(u"host_ftp").toString();
    d.ftpFolder = r.value(u"file_ftp").toString();
    d.ftpUser = r.value(u"ftp_user").toString();
    d.ftpPassword = r.value(u"ftp_jelszo").toString();
    return d;
}

namespace StoredExport {

QStringList listQuery()
{
    return {QStringLiteral("SELECT * FROM csvexp"), QStringLiteral("WHERE 1=1"),
            QStringLiteral("ORDER BY csvexp_nev;")};
}

QString baseCondition()
{
    return QStringLiteral("(1=1)");
}

QString searchFields()
{
    return QStringLiteral("csvexp_nev;kategoria;csopmezok;summezok");
}

QString categoryQuery()
{
    return QStringLiteral("SELECT DISTINCT kategoria FROM csvexp ORDER BY 1;");
}

QStringList columns()
{
    return {QStringLiteral("csvexp_nev"),    QStringLiteral("kategoria"),  QStringLiteral("mezonevek"),
            QStringLiteral("mezocimkek"),    QStringLiteral("szoveg_sql"), QStringLiteral("csopmezok"),
            QStringLiteral("summezok"),      QStringLiteral("file_local"), QStringLiteral("file_ftp"),
            QStringLiteral("ftp_kell"),      QStringLiteral("hatarolo"),   QStringLiteral("szovegjelolo"),
            QStringLiteral("ftp_user"),      QStringLiteral("ftp_jelszo"), QStringLiteral("host_ftp"),
            QStringLiteral("adatcentrum"),   QStringLiteral("ezgrafikon"), QStringLiteral("parameterek"),
            QStringLiteral("grafikonparam"), QStringLiteral("keresmezok")};
}

EditRecord newRecord()
{
    EditRecord r = MasterDataStore::newRecord(Table);
    r.setValue(u"ftp_kell", QStringLiteral("N"));
    r.setValue(u"ezgrafikon", QStringLiteral("N"));
    r.setValue(u"adatcentrum", QStringLiteral("N"));
    r.setValue(u"hatarolo", 0);
    r.setValue(u"szovegjelolo", 0);
    return r;
}

EditRecord load(int key)
{
    return MasterDataStore::loadRecord(Table, Table, key);
}

int save(int key, const EditRecord &record)
{
    if (key == -1)
        return int(MasterDataStore::insertWithServerKey(Table, record, columns()));
    ExecSql(BuildUpdateStatement(record, Table, Table, key, columns()));
    return key;
}

QString deleteStatement(const QVariant &key)
{
    return QStringLiteral("DELETE FROM csvexp WHERE csvexp = ") + SqlInt(key) + QLatin1Char(';');
}

QStringList resultColumns(const QString &sql)
{
    const QString bare = bareStatement(sql);
    Dataset d;
    try {
        // As a derived table the server names the columns without reading a row.
        d = db().query(QStringLiteral("SELECT * FROM (") + bare + QStringLiteral(") AS kx LIMIT 0;"));
    } catch (const DbError &) {
        // Not every query can stand there (SHOW, repeated column names): then the
        // query itself, whose refusal is the one to show. Never a statement that
        // may change data: opening the editor must not run it.
        if (!isSingleQuery(bare))
            throw;
        d = db().query(bare);
    }
    QStringList names;
    for (const Field &f : d.fields())
        names << f.displayLabel();
    return names;
}

char separatorChar(int hatarolo)
{
    switch (hatarolo) {
    case 1:
        return '\t';
    case 2:
        return ',';
    case 3:
        return '|';
    default:
        return ';';
    }
}

QByteArray quoteText(int szovegjelolo)
{
    switch (szovegjelolo) {
    case 1:
        return QByteArrayLiteral("'");
    case 2:
        return {};
    default:
        return QByteArrayLiteral("\"");
    }
}

QByteArray lines(const Dataset &data, char separator, const QByteArray &quote)
{
    QByteArray out;
    for (const Field &f : data.fields()) {
        out += quote;
        out += ToCp1250(f.displayLabel());
        out += quote;
        out += separator;
    }
    out += "\r\n";
    for (int row = 0; row < data.rowCount(); ++row) {
        for (int col = 0; col < data.fieldCount(); ++col) {
            out += quote;
            const FieldType type = data.field(col).type;
            if (type == FieldType::Binary || type == FieldType::LongText)
                out += "BLOB";
            else
                appendCellText(data, row, col, out);
            out += quote;
            out += separator;
        }
        out += "\r\n";
    }
    return out;
}

void makeDataFolderCurrent()
{
    QDir::setCurrent(AppFolders::current().dataFolder);
}

QString localPath(const QString &fileLocal)
{
    if (fileLocal.isEmpty())
        return {};
    return QDir(AppFolders::current().dataFolder).absoluteFilePath(QDir::fromNativeSeparators(fileLocal));
}

Dataset runQuery(const StoredExportDefinition &definition)
{
    makeDataFolderCurrent();
    return db().query(definition.sql);
}

QString writeFile(const StoredExportDefinition &definition, const Dataset &rows)
{
    try {
        writeWholeFile(localPath(definition.localFile),
                       lines(rows, separatorChar(definition.separator), quoteText(definition.quote)));
    } catch (const KorvenaError &e) {
        return e.text();
    }
    return {};
}

QString clipboardText(const StoredExportDefinition &definition, const Dataset &rows)
{
    return delimitedClipboardText(
        lines(rows, separatorChar(definition.separator), quoteText(definition.quote)));
}

FtpTarget ftpTarget(const StoredExportDefinition &definition)
{
    return FtpTarget{definition.ftpHost, definition.ftpUser, definition.ftpPassword, definition.ftpFolder};
}

QString uploadName(const StoredExportDefinition &definition)
{
    return QFileInfo(localPath(definition.localFile)).fileName();
}

void upload(const StoredExportDefinition &definition)
{
    FtpTransfer transfer(ftpTarget(definition));
    if (!transfer.upload(localPath(definition.localFile), uploadName(definition)))
        throw KorvenaError(transfer.errorText());
}

} // namespace StoredExport
