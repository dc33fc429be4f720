#include "db/UnitOfWork.h"

#include "db/Connection.h"

#include <QMutex>
#include <QRegularExpression>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

namespace {

std::atomic<int> retryCount{0};
// Set by tests before the units they break run; read by any thread.
std::function<void(Connection &, const QString &)> statementHook;

std::atomic<Connection *> watched{nullptr};
QMutex outsideMutex;
QStringList outsideWrites;

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

// A statement that the server stopped while it was reading a trigger or a routine (a
// cluster node aborting it for another node's commit, or KILL QUERY) can leave half of
// what it read behind: the session's routine cache then misses a table the routine uses
// ("doesn't exist"), or the server's cached copy of the table keeps its triggers as
// unparsable, for every session that gets that copy. Neither is the register's fault;
// a renewed session, with the table read afresh, runs the unit again.
struct StaleServerState
{
    bool stale = false;
    bool brokenTriggers = false;
    QString trigger; // empty when the server could not tell which
};

StaleServerState staleServerState(const DbError &e)
{
    if (e.code() == 1146)
        return {true, false, {}};
    static const QRegularExpression broken(
        QStringLiteral("^(?:Trigger '(.+)'|Unknown trigger) has an error in its body"));
    if (e.code() == 1064) {
        const QRegularExpressionMatch m = broken.match(e.message());
        if (m.hasMatch())
            return {true, true, m.captured(1)};
    }
    return {};
}

void RunUnit(Connection &c, const std::function<void()> &work, UnitKind kind)
{
    if (c.inUnit()) {
        work();
        return;
    }
    int renewals = 0;
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
            const StaleServerState stale = staleServerState(e);
            // A table really missing stays missing: a few renewals are enough to tell.
            if (stale.stale && renewals < 3 && attempt < UnitOfWork::MaxTries) {
                ++renewals;
                ++retryCount;
                try {
                    c.renewSession(stale.brokenTriggers, stale.trigger);
                } catch (const DbError &) {
                    throw e;
                }
                continue;
            }
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

bool isWritingStatement(QStringView sql)
{
    // Leading blanks, comments and parentheses, then the first word.
    static const QRegularExpression lead(QStringLiteral(
        R"(^(?:\s|/\*.*?\*/|--[^\n]*(?:\n|$)|#[^\n]*(?:\n|$)|\()*([A-Za-z]+)(?:\s+`?([A-Za-z0-9_$]+))?)"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = lead.match(sql);
    if (!m.hasMatch())
        return false;
    const QString word = m.captured(1).toUpper();
    static const QStringList writing = {
        QStringLiteral("INSERT"), QStringLiteral("UPDATE"), QStringLiteral("DELETE"),
        QStringLiteral("REPLACE"), QStringLiteral("TRUNCATE"), QStringLiteral("LOAD"),
        QStringLiteral("CREATE"), QStringLiteral("DROP"), QStringLiteral("ALTER"),
        QStringLiteral("RENAME"), QStringLiteral("GRANT"), QStringLiteral("REVOKE"),
    };
    if (writing.contains(word))
        return true;
    if (word != QLatin1String("CALL"))
        return false;
    // The routines that only read: the envelope address and the lent-out items.
    static const QStringList reading = {QStringLiteral("sp_boritek"), QStringLiteral("sp_kiadott")};
    return !reading.contains(m.captured(2), Qt::CaseInsensitive);
}

void watchWritesOutsideUnits(Connection *connection)
{
    QMutexLocker lock(&outsideMutex);
    if (connection)
        outsideWrites.clear();
    watched = connection;
}

QStringList writesOutsideUnits()
{
    QMutexLocker lock(&outsideMutex);
    return outsideWrites;
}

void detail::outsideUnit(Connection &c, const QString &sql)
{
    if (watched.load() != &c || !isWritingStatement(sql))
        return;
    QMutexLocker lock(&outsideMutex);
    outsideWrites << sql;
}

} // namespace UnitOfWork
