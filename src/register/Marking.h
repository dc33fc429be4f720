#pragma once

#include <QByteArrayView>
#include <QString>

// Print marks (iktato.nyomtatni) and statuses of documents. Marks belong to the
// documents, not to users, and neither kind of change writes a journal line of
// the client's own (sp_setstatusz keeps its own).
namespace Marking {

// The flag a toggle writes: 'N' for a marked document ('I'), otherwise 'I',
// so a NULL or odd value becomes marked.
QString toggledMark(QByteArrayView current);
bool isMarked(QByteArrayView flag);

QString markStatement(qint64 document, const QString &flag);
// Every document of every user, deleted ones included.
QString clearAllStatement();

// The columns bulk marking matches on.
enum class BulkKey
{
    Project,   // projekt
    WorkNumber, // munkaszam
    Sender,    // ugyf_kitol
    Addressee, // ugyf_hova
};
QString bulkColumn(BulkKey key);
// Only adds marks, whatever the documents' group, direction, year or deletion.
QString bulkMarkStatement(BulkKey key, qint64 value);

QString setStatusStatement(qint64 document, qint64 user, int status);

// Run the statements on the current connection.
void setMark(qint64 document, const QString &flag);
void clearAll();
void bulkMark(BulkKey key, qint64 value);
void setStatus(qint64 document, qint64 user, int status);

} // namespace Marking
