#include "db/StatementBuilder.h"

#include "common/Numbers.h"
#include "common/SqlText.h"
#include "common/Text.h"

#include <QDateTime>
#include <cmath>

namespace {

const QString kNull = QStringLiteral("NULL");

bool holdsText(const QVariant &v)
{
    const int id = v.metaType().id();
    return id == QMetaType::QString || id == QMetaType::QByteArray;
}

bool isTextKind(FieldType type)
{
    return type == FieldType::Text || type == FieldType::LongText;
}

bool isIntegerKind(FieldType type)
{
    return type == FieldType::Integer || type == FieldType::BigInt;
}

// The server's DATE range; anything else would be stored as a zero date or refused.
bool storableDate(const QDate &d)
{
    return d.isValid() && d.year() >= 1 && d.year() <= 9999;
}

QDateTime toDateTime(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::QDateTime:
        return v.toDateTime();
    case QMetaType::QDate:
        return QDateTime(v.toDate(), QTime(0, 0));
    default:
        break;
    }
    if (!holdsText(v))
        return {};
    const QString t = VarToText(v).trimmed();
    QDateTime dt = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid())
        dt = QDateTime::fromString(t, Qt::ISODate);
    if (!dt.isValid()) {
        const QDate d = VarToDate(v);
        if (d.isValid())
            dt = QDateTime(d, QTime(0, 0));
    }
    return dt;
}

double toNumber(const QVariant &v)
{
    if (holdsText(v))
        return TextToNumber(VarToText(v), std::nan(""));
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? d : std::nan("");
}

QString keyColumnLiteral(const EditRecord &record, const QString &keyColumn, const QVariant &key)
{
    const int i = record.indexOf(keyColumn);
    if (i >= 0)
        return KeyLiteral(record.fields().at(i).type, key);
    switch (key.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return KeyLiteral(FieldType::BigInt, key);
    default:
        return KeyLiteral(FieldType::Text, key);
    }
}

} // namespace

QString FieldLiteral(const EditField &field)
{
    const QVariant &v = field.value;
    if (IsNullValue(v))
        return kNull;
    if (!isTextKind(field.type) && field.type != FieldType::Binary && holdsText(v) &&
        VarToText(v).trimmed().isEmpty())
        return kNull;
    switch (field.type) {
    case FieldType::Text:
    case FieldType::LongText:
        return SqlLiteral(v);
    case FieldType::Integer:
    case FieldType::BigInt:
        return SqlInt(v);
    case FieldType::Float:
    case FieldType::Decimal: {
        const double d = toNumber(v);
        return std::isfinite(d) ? NumberText(d, QLatin1Char('.')) : kNull;
    }
    case FieldType::Date: {
        const QDate d = VarToDate(v);
        return storableDate(d) ? SqlDate(d) : kNull;
    }
    case FieldType::DateTime: {
        const QDateTime dt = toDateTime(v);
        if (!dt.isValid() || !storableDate(dt.date()))
            return kNull;
        return SqlLiteral(dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    }
    case FieldType::Time:
        if (v.metaType().id() == QMetaType::QTime) {
            const QTime t = v.toTime();
            return t.isValid() ? SqlLiteral(t.toString(QStringLiteral("HH:mm:ss"))) : kNull;
        }
        // A TIME may be a duration beyond a day, so its text is kept as given.
        return SqlLiteral(VarToText(v).trimmed());
    case FieldType::Binary:
        return QStringLiteral("X'") + QString::fromLatin1(v.toByteArray().toHex()) + QLatin1Char('\'');
    }
    return kNull;
}

QString KeyLiteral(FieldType type, const QVariant &key)
{
    return isIntegerKind(type) ? SqlInt(key) : SqlLiteral(key);
}

QString BuildUpdateStatement(const EditRecord &record, const QString &table, const QString &keyColumn)
{
    QStringList columns;
    QVariant key;
    for (const EditField &f : record.fields()) {
        if (f.name.compare(keyColumn, Qt::CaseInsensitive) == 0) {
            key = f.value;
            continue;
        }
        if (f.inTable && !f.computed)
            columns << f.name;
    }
    return BuildUpdateStatement(record, table, keyColumn, key, columns);
}

QString BuildUpdateStatement(const EditRecord &record, const QString &table, const QString &keyColumn,
                             const QVariant &keyValue, const QStringList &columns)
{
    if (columns.isEmpty())
        return {};
    QString list;
    for (const QString &c : columns)
        list += c + QLatin1Char('=') + FieldLiteral(record.field(c)) + QLatin1Char(',');
    list.chop(1);
    return QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") + list + QStringLiteral(" WHERE ") +
           keyColumn + QLatin1Char('=') + keyColumnLiteral(record, keyColumn, keyValue) + QLatin1Char(';');
}

QString BuildInsertStatement(const EditRecord &record, const QString &table, const QStringList &columns)
{
    QStringList values;
    values.reserve(columns.size());
    for (const QString &c : columns)
        values << FieldLiteral(record.field(c));
    return QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + columns.join(QLatin1Char(',')) +
           QStringLiteral(") VALUES (") + values.join(QLatin1Char(',')) + QStringLiteral(");");
}
