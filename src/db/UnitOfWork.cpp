#include "db/UnitOfWork.h"

#include "db/Connection.h"

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

namespace {

std::atomic<int> retryCount{0};
// Set by tests before the units they break run; read by any thread.
std::function<void(Connection &, const QString &)> statementHook;

void rollbackQuietly(Connection &c)
{
    try {
        if (c.isOpen())
            c.exec(QStringLiteral("ROLLBACK"));
    } catch (const KorvenaError &) {
        // The server rolls back on its own when the link is gone.
    }
}

// Random so that two workstations that collided do not collide again in step.
void waitBeforeTry(int attempt)
{
    thread_local std::minstd_rand random{std::random_device{}()};
    const int ceiling = 20 << qMin(attempt, 5); // 40 ms, 80 ms, ... 640 ms
    std::uniform_int_distribution<int> pick(ceiling / 4, ceiling);
    std::this_thread::sleep_for(std::chrono::milliseconds(pick(random)));
}

} // namespace

bool IsRetryableConflict(const DbError &e)
{
    switch (e.code()) {
    case 1213: // deadlock, or a cluster certification failure
    case 1047: // cluster node not ready ("WSREP has not yet prepared node ...")
    case 1205: // lock wait time-out: InnoDB rolled the statement back; the unit goes again whole
        return true;
    default:
        return false;
    }
}

void RunUnit(Connection &c, const std::function<void()> &work, UnitKind kind)
{
    if (c.inUnit()) {
        work();
        return;
    }
    for (int attempt = 1;; ++attempt) {
        bool outcomeUnknown = false;
        try {
            if (kind == UnitKind::Transaction)
                c.exec(QStringLiteral("START TRANSACTION"));
            Connection::UnitScope scope(c, kind == UnitKind::Transaction);
            work();
            if (kind == UnitKind::Transaction) {
                outcomeUnknown = true; // from here a lost link may have committed
                c.exec(QStringLiteral("COMMIT"));
            }
            return;
        } catch (const DbError &e) {
            if (kind == UnitKind::Transaction)
                rollbackQuietly(c);
            const bool lostBeforeCommit =
                kind == UnitKind::Transaction && !outcomeUnknown && e.isConnectionLost();
            // A conflict fails COMMIT itself on a cluster: then nothing was committed either.
            if (attempt >= UnitOfWork::MaxTries || !(IsRetryableConflict(e) || lostBeforeCommit))
                throw;
        } catch (...) {
            if (kind == UnitKind::Transaction)
                rollbackQuietly(c);
            throw;
        }
        ++retryCount;
        waitBeforeTry(attempt);
    }
}

void RunUnit(const std::function<void()> &work, UnitKind kind)
{
    Connection *c = Connection::current();
    if (!c)
        throw DbError(QStringLiteral("Nincs megnyitott adatbázis-kapcsolat"), 2006);
    RunUnit(*c, work, kind);
}

namespace UnitOfWork {

void setStatementHookForTests(std::function<void(Connection &, const QString &)> hook)
{
    statementHook = std::move(hook);
}

void detail::beforeStatement(Connection &c, const QString &sql)
{
    if (statementHook)
        statementHook(c, sql);
}

int retries()
{
    return retryCount.load();
}

} // namespace UnitOfWork
