#pragma once

#include "db/Connection.h"
#include "db/EditRecord.h"
#include "db/StatementBuilder.h"

#include <QDate>
#include <QStringList>
#include <QVariant>

// The helpers every screen uses to talk to the server through the current
// connection (Connection::current()). They catch nothing: a server error goes
// to the general error handling and the calling action stops.

// Runs a statement (nothing when it is blank). Line-break escapes outside the
// statement's literals are turned into real line breaks first.
void ExecSql(const QString &sql);
int SelectInt(const QString &sql, int defaultValue);
QString SelectText(const QString &sql, const QString &defaultValue);
double SelectNumber(const QString &sql, double defaultValue);
// MAX(column) + 1 of the table (the column's name when table is empty); 1 for an empty table.
int MaxId(const QString &column, const QString &table);
QDate ServerDate();
QString ServerMd5(const QString &text);
// The _nev column of the table's row with that key, or the default.
QString NameLookup(qint64 key, const QString &table, const QString &defaultValue);
// Appends the first column of every row as text (NULL as empty text).
void FillList(QStringList &list, const QString &sql);
// Copies the procedure result's current row into the fields of the same name.
void CopyProcRow(const Dataset &procedure, EditRecord &record);

QString RowCountText(const Dataset &data);
// Lines of delimited text; every line ends with the delimiter. The caller decides the
// file's encoding (UTF-8 or the program's code page) when it writes them.
void DatasetToLines(const Dataset &data, QStringList &lines, bool withHeader, bool withRowNumbers,
                    QChar delimiter, const QString &excludedFields);

// The current connection; throws when there is none.
Connection &db();
