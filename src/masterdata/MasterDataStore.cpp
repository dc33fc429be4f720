#include "masterdata/MasterDataStore.h"

#include "db/DbHelpers.h"
#include "common/SqlText.h"

namespace MasterDataStore {

namespace {

QString valueSql(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("NULL");
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
        return SqlInt(value);
    case QMetaType::QString:
        if (value.toString().isEmpty())
            return QStringLiteral("NULL");
        break;
    default:
        break;
    }
    return SqlLiteral(value);
}

QVariant valueOf(const EditRecord &record, const QString &column)
{
    return record.has(column) ? record.value(column) : QVariant();
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

QString insertStatement(const QString &table, const EditRecord &record, const QStringList &columns)
{
    QStringList names;
    QStringList values;
    for (const QString &c : columns) {
        names << c;
        values << valueSql(valueOf(record, c));
    }
    return QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + names.join(QLatin1Char(',')) +
           QStringLiteral(") VALUES (") + values.join(QLatin1Char(',')) + QStringLiteral(");");
}

QString updateStatement(const QString &table, const QString &keyColumn, const QVariant &originalKey,
                        const EditRecord &record, const QStringList &columns)
{
    QStringList sets;
    for (const QString &c : columns)
        sets << c + QStringLiteral(" = ") + valueSql(valueOf(record, c));
    return QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") + sets.join(QStringLiteral(", ")) +
           QStringLiteral(" WHERE ") + keyColumn + QStringLiteral(" = ") + SqlInt(originalKey) +
           QLatin1Char(';');
}

qint64 insertWithServerKey(const QString &table, const EditRecord &record, const QStringList &columns)
{
    db().exec(insertStatement(table, record, columns));
    return qint64(db().lastInsertId());
}

// ---- generic tables

int saveMasterRow(const QString &table, int key, const QString &name)
{
    const QString nameColumn = MasterTable::nameColumn(table);
    EditRecord record({EditField{nameColumn, FieldType::Text, name}});
    if (key == -1)
        return int(insertWithServerKey(table, record, {nameColumn}));
    db().exec(updateStatement(table, table, key, record, {nameColumn}));
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

int saveClient(int originalKey, const EditRecord &record)
{
    const QString table = QStringLiteral("ugyfel");
    if (originalKey == -1)
        return int(insertWithServerKey(table, record, clientColumns()));
    db().exec(updateStatement(table, table, originalKey, record, clientColumns()));
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
                       EditField{QStringLiteral("foszam_nev"), FieldType::Text, name}});
    const QStringList columns = {QStringLiteral("foszam"), QStringLiteral("foszam_nev")};
    if (originalKey == -1)
        db().exec(insertStatement(table, record, columns));
    else
        db().exec(updateStatement(table, table, originalKey, record, columns));
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
        db().exec(insertStatement(table, record, statusColumns()));
    else
        db().exec(updateStatement(table, table, originalKey, record, statusColumns()));
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

int saveUser(bool isNew, int originalKey, const EditRecord &record)
{
    const QString table = QStringLiteral("felhasznalo");
    if (isNew)
        db().exec(insertStatement(table, record, userColumns()));
    else
        db().exec(updateStatement(table, QStringLiteral("felhkod"), originalKey, record, userColumns()));
    return SqlInt(record.value(u"felhkod")).toInt();
}

} // namespace MasterDataStore
