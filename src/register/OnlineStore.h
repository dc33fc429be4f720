#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

// The hand-over of a document's file to the maker's online document store:
// the server registers the file (sp_svadd), then the store's load page is
// called for the document.
namespace OnlineStore {

// Why the document's file cannot be handed over (empty when it can): no file,
// or a responsible client without a store connection.
QString refusal(const QString &fileName, qint64 responsibleClient);
QString addStatement(qint64 document, const QString &fileName);
QString requestAddress(const QString &loadPage, qint64 document, quint32 random);

// The steps of the hand-over; progress gets 1 before and 5 after the server
// call. The load page's answer lands in kesz.txt of the data folder and is
// not read; a failed request is ignored.
void upload(qint64 document, const QString &fileName, const std::function<void(int)> &progress);
// The same split for a screen that makes the request off its own thread: the
// server steps, giving the address to request, and where the answer goes.
QString registerFile(qint64 document, const QString &fileName, const std::function<void(int)> &progress);
QString answerFile();

// The store's settings row (sv_beallit), as its screen edits it.
struct Settings
{
    int key = 0; // 0: the table has no row yet
    QString targy;
    QString felado;
    QString szoveg;
    QString betoltphp;
    QString torolphp;
};
Settings loadSettings();
void saveSettings(const Settings &settings);

} // namespace OnlineStore
