#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// The journal viewer's query and the conditions its filters put on its WHERE line.
namespace JournalQuery {

QStringList lines();
QString documentCondition(qint64 document);
QString userCondition(int userKey);
// The whole of both days: up to the start of the day after the last.
QString periodCondition(const QDate &first, const QDate &last);

} // namespace JournalQuery
