#include "output/StoredExport.h"

#include "common/Encoding.h"
#include "common/SqlText.h"
#include "core/AppFolders.h"
#include "core/FtpTransfer.h"
#include "db/Dataset.h"
#include "db/DbError.h"
#include "db/DbHelpers.h"
#include "db/SqlScript.h"
#include "masterdata/MasterDataStore.h"
#include "output/CellText.h"
#include "output/DelimitedText.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

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

// One statement that only reads, judged by its first word.
bool isSingleQuery(const QString &bare)
{
    if (bare.contains(QLatin1Char(';')))
        return false;
    static const QRegularExpression reading(QStringLiteral("^\\(*\\s*(SELECT|SHOW|DESCRIBE|DESC)\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    return reading.match(bare).hasMatch();
}

// Runs the work in a read-only transaction that is always rolled back, so nothing the
// statement calls (a routine, a function) can change data.
template <typename Work>
auto readOnly(Work work)
{
    Connection &c = db();
    c.exec(QStringLiteral("START TRANSACTION READ ONLY"));
    try {
        auto result = work(c);
        c.exec(QStringLiteral("ROLLBACK"));
        return result;
    } catch (...) {
        try {
            c.exec(QStringLiteral("ROLLBACK"));
        } catch (const KorvenaError &) {
            // The statement's own failure is the one to report.
        }
        throw;
    }
}

bool isInside(const QString &path, const QString &folder)
{
    if (folder.isEmpty())
        return false;
    const QString base = QDir::cleanPath(QDir(folder).absolutePath());
    return path.startsWith(base + QLatin1Char('/'));
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

QString refusal(const QString &sql)
{
    static const QString onlyReading =
        QStringLiteral("A tárolt export egyetlen lekérdezés (SELECT) lehet, amely adatot nem módosít.");
    const QStringList statements = SqlScript::split(sql);
    if (statements.size() != 1)
        return onlyReading;
    const QString &statement = statements.first();
    // An executable comment is run by the server: a second statement could hide in it.
    static const QRegularExpression hidden(QStringLiteral("/\\*M?!"));
    static const QRegularExpression reading(QStringLiteral("^\\(*\\s*(SELECT|WITH|SHOW|DESCRIBE|DESC)\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression toFile(QStringLiteral("\\bINTO\\s+(OUTFILE|DUMPFILE)\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (hidden.match(statement).hasMatch() || !reading.match(statement).hasMatch() ||
        toFile.match(statement).hasMatch())
        return onlyReading;
    return {};
}

QStringList resultColumns(const QString &sql)
{
    const QString why = refusal(sql);
    if (!why.isEmpty())
        throw KorvenaError(why);
    const QString bare = SqlScript::split(sql).first();
    const Dataset d = readOnly([&bare](Connection &c) {
        try {
            // As a derived table the server names the columns without reading a row.
            return c.query(QStringLiteral("SELECT * FROM (") + bare + QStringLiteral(") AS kx LIMIT 0"));
        } catch (const DbError &) {
            // Not every query can stand there (SHOW, repeated column names): then the
            // query itself, whose refusal is the one to show.
            if (!isSingleQuery(bare))
                throw;
            return c.query(bare);
        }
    });
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
    return QDir::cleanPath(
        QDir(AppFolders::current().dataFolder).absoluteFilePath(QDir::fromNativeSeparators(fileLocal)));
}

bool isOutsideOwnFolders(const QString &path)
{
    return !isInside(path, AppFolders::current().dataFolder) &&
           !isInside(path, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

Dataset runQuery(const StoredExportDefinition &definition)
{
    const QString why = refusal(definition.sql);
    if (!why.isEmpty())
        throw KorvenaError(why);
    makeDataFolderCurrent();
    const QString statement = SqlScript::split(definition.sql).first();
    return readOnly([&statement](Connection &c) { return c.query(statement); });
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
