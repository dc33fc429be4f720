#include "masterdata/MasterDataStore.h"

#include "common/SqlText.h"
#include "db/DbHelpers.h"

namespace MasterDataStore {

namespace {

// The listed columns that the screen may write, in the table's order.
QStringList writable(const QStringList &columns, const QStringList &changed)
{
    QStringList out;
    for (const QString &c : columns)
        if (changed.contains(c, Qt::CaseInsensitive))
            out << c;
    return out;
}

} // namespace

EditRecord newRecord(const QString &table)
{
    const Dataset d = db().query(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE 1 = 0;"));
    return EditRecord::fromDataset(d, -1);
}

EditRecord loadRecord(const QString &table, const QString &keyColumn, const QVariant &key)
{
    const Dataset d = db().query(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE ") +
                                 keyColumn + QStringLiteral(" = ") + SqlInt(key) + QLatin1Char(';'));
    return EditRecord::fromDataset(d, d.isEmpty() ? -1 : 0);
}

qint64 insertWithServerKey(const QString &table, const EditRecord &record, const QStringList &columns)
{
    ExecSql(BuildInsertStatement(record, table, columns));
    return qint64(db().lastInsertId());
}

// ---- generic tables

int saveMasterRow(const QString &table, int key, const QString &name)
{
    const QString nameColumn = MasterTable::nameColumn(table);
    EditRecord record({EditField{nameColumn, FieldType::Text, name.isEmpty() ? QVariant() : QVariant(name)}});
    if (key == -1)
        return int(insertWithServerKey(table, record, {nameColumn}));
    ExecSql(BuildUpdateStatement(record, table, table, key, {nameColumn}));
    return key;
}

// ---- clients

QStringList clientColumns()
{
    return {QStringLiteral("ugyfel_nev"), QStringLiteral("ui"),          QStringLiteral("telefon"),
            QStringLiteral("irsz"),       QStringLiteral("varos"),       QStringLiteral("cim"),
            QStringLiteral("emil"),       QStringLiteral("webuser"),     QStringLiteral("webpwd"),
            QStringLiteral("belso"),      QStringLiteral("kellsorvika"), QStringLiteral("kellemil"),
            QStringLiteral("kellsms")};
}

EditRecord newClient(ClientKind kind)
{
    EditRecord r = newRecord(QStringLiteral("ugyfel"));
    r.setValue(u"belso", Clients::belsoPreset(kind));
    r.setValue(u"kellsorvika", QStringLiteral("N"));
    r.setValue(u"kellemil", QStringLiteral("N"));
    r.setValue(u"kellsms", QStringLiteral("N"));
    return r;
}

int saveClient(int originalKey, const EditRecord &record, const QStringList &changed)
{
    const QString table = QStringLiteral("ugyfel");
    if (originalKey == -1)
        return int(insertWithServerKey(table, record, clientColumns()));
    ExecSql(BuildUpdateStatement(record, table, table, originalKey, writable(clientColumns(), changed)));
    return originalKey;
}

QString townOfPostalCode(const QString &postalCode)
{
    return SelectText(Clients::postalCodeQuery(postalCode), QString());
}

// ---- main numbers

int proposeMainNumber()
{
    return MaxId(QStringLiteral("foszam"), QStringLiteral("foszam"));
}

int saveMainNumber(int originalKey, const QVariant &number, const QString &name)
{
    const QString table = QStringLiteral("foszam");
    EditRecord record({EditField{QStringLiteral("foszam"), FieldType::Integer, number},
                       EditField{QStringLiteral("foszam_nev"), FieldType::Text,
                                 name.isEmpty() ? QVariant() : QVariant(name)}});
    const QStringList columns = {QStringLiteral("foszam"), QStringLiteral("foszam_nev")};
    if (originalKey == -1)
        ExecSql(BuildInsertStatement(record, table, columns));
    else
        ExecSql(BuildUpdateStatement(record, table, table, originalKey, columns));
    return SqlInt(number).toInt();
}

// ---- statuses

int proposeStatus()
{
    return MaxId(QStringLiteral("statusz"), QStringLiteral("statusz"));
}

QStringList statusColumns()
{
    return {QStringLiteral("statusz"), QStringLiteral("statusz_nev"), QStringLiteral("szin"),
            QStringLiteral("kesz")};
}

int saveStatus(int originalKey, const EditRecord &record)
{
    const QString table = QStringLiteral("statusz");
    if (originalKey == -1)
        ExecSql(BuildInsertStatement(record, table, statusColumns()));
    else
        ExecSql(BuildUpdateStatement(record, table, table, originalKey, statusColumns()));
    return SqlInt(record.value(u"statusz")).toInt();
}

// ---- users

QStringList userColumns()
{
    return {QStringLiteral("felhkod"),   QStringLiteral("felhasznalo"),   QStringLiteral("felhasznalo_nev"),
            QStringLiteral("jelszomd5"), QStringLiteral("rendszergazda"), QStringLiteral("torzsszerkeszt"),
            QStringLiteral("canins"),    QStringLiteral("canedit"),       QStringLiteral("candel")};
}

EditRecord newUser()
{
    EditRecord r = newRecord(QStringLiteral("felhasznalo"));
    r.setValue(u"felhkod", MaxId(QStringLiteral("felhkod"), QStringLiteral("felhasznalo")));
    resetPassword(r);
    r.setValue(u"rendszergazda", QStringLiteral("N"));
    r.setValue(u"torzsszerkeszt", QStringLiteral("N"));
    r.setValue(u"canins", QStringLiteral("I"));
    r.setValue(u"canedit", QStringLiteral("I"));
    r.setValue(u"candel", QStringLiteral("I"));
    return r;
}

bool loginExists(const QString &login)
{
    return !db().query(Users::loginQuery(login)).isEmpty();
}

void resetPassword(EditRecord &record)
{
    record.setValue(u"jelszomd5", ServerMd5(Users::defaultPassword()));
}

int saveUser(bool isNew, int originalKey, const EditRecord &record, const QStringList &changed)
{
    const QString table = QStringLiteral("felhasznalo");
    if (isNew)
        ExecSql(BuildInsertStatement(record, table, userColumns()));
    else
        ExecSql(BuildUpdateStatement(record, table, QStringLiteral("felhkod"), originalKey,
                                     writable(userColumns(), changed)));
    return SqlInt(record.value(u"felhkod")).toInt();
}

} // namespace MasterDataStore
