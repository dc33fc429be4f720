#pragma once

#include "db/EditRecord.h"

#include <QString>
#include <QStringList>
#include <QVariant>

// The one place that writes an edit record as INSERT or UPDATE. Every value goes
// through the literal routines; nothing is pasted as it stands.

// The field's value as the server reads it. NULL for a null value, and for a blank text
// in a field that holds no text (no literal routine could write it). Otherwise by kind:
// text: SqlLiteral; integer: SqlInt; floating and decimal: NumberText with "."; date:
// SqlDate; date-time: 'yyyy-MM-dd HH:mm:ss'; time: 'HH:mm:ss' (or its text); binary: X'hex'.
// A date or date-time that is not a valid date, or a number that is not finite, is NULL.
QString FieldLiteral(const EditField &field);

// A key in a WHERE: SqlInt for integer kinds, SqlLiteral for text keys.
QString KeyLiteral(FieldType type, const QVariant &key);

// UPDATE of every field in field order except the key column, the fields not in the table
// and the computed ones, for the row whose key is the key field's value.
QString BuildUpdateStatement(const EditRecord &record, const QString &table, const QString &keyColumn);

// UPDATE of the listed columns only, for the row whose key is keyValue; the key column may be
// listed to renumber the row. Empty when no column is listed, which ExecSql skips.
QString BuildUpdateStatement(const EditRecord &record, const QString &table, const QString &keyColumn,
                             const QVariant &keyValue, const QStringList &columns);

// INSERT of the listed columns.
QString BuildInsertStatement(const EditRecord &record, const QString &table, const QStringList &columns);
