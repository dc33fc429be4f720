#pragma once

#include "register/content/AttachmentText.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class Connection;

// Reads the text of files just attached, one after the other on a worker thread of
// its own, and stores it (AttachmentTextStore) on the connection that attached them
// when it comes back. The attach never waits for it: a file that cannot be read or a
// text that cannot be stored is logged and left to "korvena-admin index-attachments".
class AttachmentTextQueue : public QObject
{
    Q_OBJECT
public:
    // The program's queue, owned by the application object.
    static AttachmentTextQueue &instance();

    // Queues the chosen file (read from where the user has it, before any scrambling
    // or upload) for the attachment just recorded on the current connection.
    void enqueue(qint64 attachment, const QString &path);
    // Files queued, being read or waiting to be stored.
    int outstanding() const { return m_outstanding; }

    // Asks the reading under way to stop, drops the rest, and waits at most waitMs
    // for the worker to end. Nothing of it is stored afterwards; files queued later
    // start a new worker.
    void shutdown(int waitMs = 2000);

    using Extractor = std::function<korvena::content::ExtractedText(const QByteArray &, const QString &,
                                                                    const std::atomic_bool *)>;
    // Replaces the reader (tests hold a reading open with it); empty restores it.
    static void setExtractorForTests(Extractor extractor);

Q_SIGNALS:
    // outstanding() changed; 0 when nothing is left to read or store.
    void outstandingChanged(int outstanding);
    // The attachment's text row was written.
    void stored(qint64 attachment);

private:
    explicit AttachmentTextQueue(QObject *parent);
    ~AttachmentTextQueue() override;

    struct Job;
    struct Result;
    struct State;
    void startWorker();
    void deliver(const Result &result);
    void finishOne();

    std::shared_ptr<State> m_state;
    int m_outstanding = 0;
};
