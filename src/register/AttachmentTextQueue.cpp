#include "register/AttachmentTextQueue.h"

#include "core/ErrorReport.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "register/AttachmentTextStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

AttachmentTextQueue::Extractor &testExtractor()
{
    static AttachmentTextQueue::Extractor extractor;
    return extractor;
}

void logFailure(const QString &text)
{
    appendErrorLog(QStringLiteral("Szövegolvasás"), text);
}

// How long a result waits for the connection to leave a unit it is in (a modal
// window opened inside one, such as an FTP transfer).
constexpr int BusyConnectionRetryMs = 250;

} // namespace

struct AttachmentTextQueue::Job
{
    qint64 attachment = 0;
    QString path;
    // Where the attachment's row is: the text goes there or nowhere.
    Connection *connection = nullptr;
    QString database;
};

struct AttachmentTextQueue::Result
{
    Job job;
    bool read = false; // false: the file could not be read, nothing to store
    korvena::content::ExtractedText text;
    QString error;
};

struct AttachmentTextQueue::State
{
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable ended;
    std::deque<Job> jobs;
    bool stopping = false;
    bool workerRunning = false;
    std::atomic_bool stop{false};
    Extractor extractor;
    QPointer<AttachmentTextQueue> owner; // read only under the mutex, while not stopping
};

AttachmentTextQueue &AttachmentTextQueue::instance()
{
    static QPointer<AttachmentTextQueue> queue;
    if (!queue)
        queue = new AttachmentTextQueue(QCoreApplication::instance());
    return *queue;
}

AttachmentTextQueue::AttachmentTextQueue(QObject *parent)
    : QObject(parent), m_state(std::make_shared<State>())
{
    m_state->owner = this;
}

AttachmentTextQueue::~AttachmentTextQueue()
{
    shutdown();
}

void AttachmentTextQueue::setExtractorForTests(Extractor extractor)
{
    testExtractor() = std::move(extractor);
}

void AttachmentTextQueue::enqueue(qint64 attachment, const QString &path)
{
    Connection *connection = Connection::current();
    if (attachment <= 0 || !connection)
        return;
    {
        std::lock_guard lock(m_state->mutex);
        if (m_state->stopping)
            return;
        m_state->jobs.push_back({attachment, path, connection, connection->params().database});
        m_state->extractor = testExtractor();
        if (!m_state->workerRunning)
            startWorker();
    }
    m_state->wake.notify_one();
    ++m_outstanding;
    Q_EMIT outstandingChanged(m_outstanding);
}

// Called with the mutex held.
void AttachmentTextQueue::startWorker()
{
    m_state->workerRunning = true;
    // The worker holds the state, never the queue: it may outlive both a stopped
    // program's window and, when a reading does not stop in time, the queue itself.
    std::thread([state = m_state] {
        std::unique_lock lock(state->mutex);
        for (;;) {
            state->wake.wait(lock, [&] { return state->stopping || !state->jobs.empty(); });
            if (state->stopping)
                break;
            Job job = std::move(state->jobs.front());
            state->jobs.pop_front();
            const Extractor extractor = state->extractor;
            lock.unlock();

            Result result{job, false, {}, {}};
            QFile file(job.path);
            if (!file.open(QIODevice::ReadOnly)) {
                result.error = QStringLiteral("Nem olvasható állomány: ") + job.path + QStringLiteral(" (") +
                               file.errorString() + QLatin1Char(')');
            } else if (file.size() > AttachmentTextStore::MaxReadBytes) {
                result.read = true;
                result.text.method = QString::fromLatin1(korvena::content::MethodNone);
            } else {
                const QByteArray bytes = file.readAll();
                file.close();
                try {
                    result.text = extractor ? extractor(bytes, job.path, &state->stop)
                                            : korvena::content::extractText(bytes, job.path, &state->stop);
                    result.read = !state->stop;
                } catch (const std::exception &e) {
                    result.error = QString::fromUtf8(e.what());
                } catch (...) {
                    result.error = QStringLiteral("ismeretlen hiba");
                }
            }

            lock.lock();
            if (state->stopping)
                break;
            if (AttachmentTextQueue *owner = state->owner.data())
                QMetaObject::invokeMethod(
                    owner, [owner, result] { owner->deliver(result); }, Qt::QueuedConnection);
        }
        state->workerRunning = false;
        state->ended.notify_all();
    }).detach();
}

void AttachmentTextQueue::deliver(const Result &result)
{
    Connection *connection = Connection::current();
    const Job &job = result.job;
    if (!result.read) {
        logFailure(QStringLiteral("A csatolt állomány (%1) szövege nem olvasható: %2")
                       .arg(job.attachment)
                       .arg(result.error));
        finishOne();
        return;
    }
    if (connection != job.connection || !connection->isOpen() ||
        connection->params().database != job.database) {
        logFailure(QStringLiteral("A csatolt állomány (%1) szövege nem tárolható: a kapcsolat megszűnt.")
                       .arg(job.attachment));
        finishOne();
        return;
    }
    // Never inside another unit (a window opened while one runs): a re-run of it would lose the text.
    if (connection->inUnit()) {
        QTimer::singleShot(BusyConnectionRetryMs, this, [this, result] { deliver(result); });
        return;
    }
    if (!result.text.error.isEmpty())
        logFailure(QStringLiteral("A csatolt állomány (%1) szövege nem olvasható: %2")
                       .arg(job.attachment)
                       .arg(result.text.error));
    try {
        if (AttachmentTextStore::write(job.attachment, result.text.text, result.text.method))
            Q_EMIT stored(job.attachment);
    } catch (const KorvenaError &e) {
        logFailure(QStringLiteral("A csatolt állomány (%1) szövege nem tárolható: %2")
                       .arg(job.attachment)
                       .arg(e.text()));
    }
    finishOne();
}

void AttachmentTextQueue::finishOne()
{
    m_outstanding = qMax(0, m_outstanding - 1);
    Q_EMIT outstandingChanged(m_outstanding);
}

void AttachmentTextQueue::shutdown(int waitMs)
{
    std::unique_lock lock(m_state->mutex);
    if (!m_state->stopping) {
        m_state->stopping = true;
        m_state->stop = true;
        m_state->jobs.clear();
        m_state->wake.notify_all();
    }
    m_state->ended.wait_for(lock, std::chrono::milliseconds(waitMs), [&] { return !m_state->workerRunning; });
    lock.unlock();
    // A fresh start for files attached later (another window of the same program).
    m_state = std::make_shared<State>();
    m_state->owner = this;
    if (m_outstanding != 0) {
        m_outstanding = 0;
        Q_EMIT outstandingChanged(0);
    }
}
