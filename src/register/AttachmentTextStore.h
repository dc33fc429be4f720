#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// The text read from attached files (iktato_szoveg): one row per attachment once it
// was read, an empty text with method "nincs" when nothing could be read, so that
// it is not read again. Statements run on the current connection.
namespace AttachmentTextStore {

// Files larger than this are not read: their text is stored empty ("nincs"), so a
// huge attachment cannot exhaust a workstation's memory.
constexpr qint64 MaxReadBytes = 256LL * 1024 * 1024;

// Stores (or replaces) the attachment's text in a unit of its own, or inside the
// caller's. The document key comes from the attachment's row; an attachment
// deleted meanwhile gets no text: false then.
bool write(qint64 attachment, const QString &text, const QString &method);

struct Pending
{
    qint64 attachment = 0;
    qint64 document = 0;
    int group = 0;
    QString storageName;
    QString originalName;
};
// The attachments that have no text row yet (all: every attachment), by key.
QList<Pending> pending(bool all);

// Deletes the attachment's text; belongs in the unit that deletes the attachment.
void remove(qint64 attachment);

} // namespace AttachmentTextStore
