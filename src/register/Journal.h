#pragma once

#include <QString>
#include <QtGlobal>

// The change journal (iktnaplo): one row per change a workstation makes to a
// document, written at the moment of the event; the server fills the entry
// number and the time. The user is always the session user.
namespace Journal {

// A row with text (the text as an SQL string literal).
void write(qint64 documentKey, const QString &text);
// A row without text: only the deletion of a document writes one.
void writeWithoutText(qint64 documentKey);

// The statements, for callers that must show or batch them.
QString rowStatement(qint64 documentKey, int userKey, const QString &text);
QString rowStatementWithoutText(qint64 documentKey, int userKey);

} // namespace Journal
