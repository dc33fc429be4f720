#pragma once

#include "db/Dataset.h"
#include "db/DbError.h"
#include "db/ServerList.h"

#include <QMap>
#include <QString>
#include <QVariant>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

struct st_mysql;
struct st_mysql_res;

// Whether the link to the server is encrypted. Required also checks the server's
// certificate (against tlsCaFile, or the system's trusted authorities) and its name.
enum class TlsMode { Off, Preferred, Required };

struct ConnectionParams
{
    // One server, or the servers of a cluster separated by ',' (see ServerList.h).
    QString host = QStringLiteral("127.0.0.1");
    unsigned port = 3306;
    QString user;
    QString password;
    QString database;         // may be empty
    int connectTimeout = 30;  // seconds
    // A server that stops answering fails the statement after this long, so nothing
    // waits for ever; 0 keeps the client library's default (none).
    int readTimeout = 30;  // seconds
    int writeTimeout = 30; // seconds
    bool compress = true;
    TlsMode tls = TlsMode::Preferred;
    QString tlsCaFile; // empty: the system's trusted authorities
    // Run by the client library as each session opens, before the program's own
    // first statements: a session setting the site's server needs.
    QString initStatement;
    // On a cluster node, reads wait until the node has applied what other nodes committed
    // before them (wsrep_sync_wait), so they show another workstation's last save.
    bool causalReads = false;
};

// A typed parameter of a stored-procedure call.
using ProcArg = QVariant;

// One connection to the server: compression, latin2 / latin2_hungarian_ci, autocommit,
// and reconnection when the server dropped it (after which "SET NAMES ..." goes first).
// Every statement goes through here and is recorded as LastSql.
// Errors throw DbError; text the register cannot hold (see Latin2) throws EncodingError.
class Connection
{
public:
    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    void open(const ConnectionParams &params);
    void close();
    bool isOpen() const { return m_mysql != nullptr; }
    const ConnectionParams &params() const { return m_params; }

    // Runs a statement (or several separated by ';'); every result is read and dropped.
    void exec(const QString &sql);
    // Runs a query and returns its first result set; further results are drained.
    Dataset query(const QString &sql);
    void query(const QString &sql, Dataset &into);
    // CALL name(args...) with the arguments as SQL literals of their type; one result set.
    Dataset call(const QString &procedure, const QVariantList &args);
    // First column of the first row; an invalid QVariant when there is no row or it is NULL.
    QVariant selectValue(const QString &sql);

    // A read larger than memory: the rows reach onRow one by one as the server sends
    // them and nothing is kept. cells[i] is the server's bytes of column i (lengths[i]
    // long), nullptr for NULL. onRow returns false to stop; the rest is then read and
    // dropped. The server holds the result open until the end, so the connection
    // should be one of its own.
    using RowSink = std::function<bool(const char *const *cells, const unsigned long *lengths)>;
    void stream(const QString &sql, const std::function<void(const QList<Field> &)> &onFields,
                const RowSink &onRow);
    // Statements already in the register's bytes (a script read from a file), run as exec() runs them.
    void execBytes(const QByteArray &latin2Sql);
    // A query read a few rows at a time (libmariadb's unbuffered result): beginStream sends
    // it and gives into the result's fields, streamRows appends up to maxRows rows and
    // returns false once the result has ended. Nothing else may run on the connection
    // until the result has ended or abandonStream was called.
    void beginStream(const QString &sql, Dataset &into);
    bool streamRows(Dataset &into, int maxRows);
    // From any thread: makes the connection's pending and future reads fail at once.
    void interrupt();
    // From any thread: asks the server, on a link of its own, to stop the statement this
    // connection runs (KILL QUERY). The statement ends with an error (1317); the
    // connection stays usable. Throws DbError when the server cannot be reached.
    void stopStatement();
    // Drops an unfinished streamed result and the link with it (the server stops the
    // statement when it next sends); the next statement opens a new link.
    void abandonStream();

    quint64 lastInsertId() const;
    quint64 affectedRows() const { return m_affectedRows; }
    unsigned long threadId() const;
    // How many times the connection was re-established since open().
    int reconnectCount() const { return m_reconnects; }
    QString serverVersion() const;
    // The server the connection reached (of the profile's list).
    ServerAddress server() const { return m_server; }

    // Inside a unit of work (see UnitOfWork.h) a lost link is not repaired silently:
    // the transaction went with it, so the statement fails and the unit runs again.
    bool inUnit() const { return m_unitDepth > 0; }
    class UnitScope
    {
    public:
        // transactional: the unit's transaction is open, so a new link would lose it.
        UnitScope(Connection &c, bool transactional) : m_c(c)
        {
            if (m_c.m_unitDepth++ == 0)
                m_c.m_unitReconnects = transactional ? m_c.m_reconnects : -1;
        }
        ~UnitScope() { --m_c.m_unitDepth; }
        UnitScope(const UnitScope &) = delete;
        UnitScope &operator=(const UnitScope &) = delete;

    private:
        Connection &m_c;
    };

    // A fresh session (the server's per-session caches dropped) on a new link to the same
    // server, set up as every new link is. With brokenTriggers the server holds a table's
    // triggers as unparsable: the table of trigger (or, when the server did not name it,
    // every table of the database with triggers) is first read afresh.
    void renewSession(bool brokenTriggers = false, const QString &trigger = {});

    // "SET @name = value" now and again on every new link: the server keeps user
    // variables per session, and what it records by them (who changed a document)
    // must not fall back to nobody after a reconnection. value is an SQL literal.
    void setSessionVariable(const QString &name, const QString &value);
    QString sessionVariable(const QString &name) const { return m_sessionVariables.value(name); }

    // The process-wide connection that the database helpers use.
    static Connection *current();
    static void setCurrent(Connection *connection);
    // A thread's own current connection, before the process-wide one (workstations
    // simulated on threads); nullptr to drop it.
    static void setCurrentForThread(Connection *connection);

private:
    void connectHandle();
    void dropHandle();
    void applySessionSettings();
    void connectAnyNode();
    bool connectNode(st_mysql *m, const char *user, const char *password, const char *database);
    void ensureAlive();
    void reconnect();
    void send(const QByteArray &sql, const QString &text);
    [[noreturn]] void raise();
    void readResult(Dataset *into);
    void drain();
    void throwIfUnitBroken();

    st_mysql *m_mysql = nullptr;
    st_mysql_res *m_stream = nullptr;
    std::mutex m_interruptMutex; // interrupt() against the handle being replaced
    ConnectionParams m_params;
    bool m_lost = false;
    bool m_wanted = false; // open() was called and close() was not
    int m_reconnects = 0;
    int m_unitDepth = 0;
    int m_unitReconnects = -1; // m_reconnects when the outermost transaction began, -1 without one
    quint64 m_affectedRows = 0;
    ServerAddress m_server;
    QMap<QString, QString> m_sessionVariables;
    int m_node = -1;            // index of m_server in the list, -1 with a single server
    int m_leftNode = -1;        // the node whose link was lost: tried last on reconnection
    QList<int> m_passedNodes;   // nodes tried in vain, during one connection
    std::shared_ptr<DbError> m_nodeError; // why the last of them was passed over
};

// Reads one query's rows on a thread and a connection of its own, so a long list
// can be shown while its rows still arrive, and the main connection stays free for
// the statements the user starts meanwhile. One query at a time: starting another
// drops the one still reading.
class QueryStream
{
public:
    QueryStream();
    ~QueryStream();
    QueryStream(const QueryStream &) = delete;
    QueryStream &operator=(const QueryStream &) = delete;

    // Sends sql on the stream's connection (opened with params when they changed).
    // wake is called on the reading thread when rows wait to be taken and none did.
    void start(const ConnectionParams &params, const QString &sql, std::function<void()> wake);
    // Stops reading; rows not taken yet are dropped.
    void cancel();
    // Blocks until at least rows rows were read in all, or the result ended or failed.
    void waitFor(qint64 rows);
    // Gives into the result's fields and the rows read since the last call (no fields
    // when nothing came) and returns true when nothing more will come. The failure of
    // the query is thrown once, here.
    bool take(Dataset &into);
    bool isRunning() const;

private:
    struct Job
    {
        ConnectionParams params;
        QString sql;
        std::function<void()> wake;
        quint64 generation = 0;
    };
    void run();
    void read(const Job &job);
    // False when the job was cancelled meanwhile.
    bool publish(const Job &job, Dataset &&slice, bool last);

    Connection m_connection; // the reading thread's only
    ConnectionParams m_openParams;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<Job> m_job;
    quint64 m_generation = 0;
    bool m_quit = false;
    bool m_reading = false; // the current generation's query is still reading
    std::deque<Dataset> m_slices;
    qint64 m_readRows = 0;
    std::exception_ptr m_error;
    std::atomic<Connection *> m_busy{nullptr}; // set while a query of the stream runs
    std::atomic<quint64> m_live{0};            // m_generation, for the reading loop
    std::thread m_thread;
};

// Makes a connection current for a scope (tests, the admin tool).
class CurrentConnectionScope
{
public:
    explicit CurrentConnectionScope(Connection *c) : m_previous(Connection::current())
    {
        Connection::setCurrent(c);
    }
    ~CurrentConnectionScope() { Connection::setCurrent(m_previous); }

private:
    Connection *m_previous;
};

// The statement last sent to the server, for the error report.
QString LastSql();
void setLastSql(const QString &sql);

// The character-set statement sent first on every (re)connection.
QString setNamesStatement();
// The session mode statement sent right after it.
QString sessionModeStatement();
// And the autocommit statement after that.
QString autocommitStatement();
// Then, on a connection with causal reads, the cluster's wait before each read.
QString causalReadsStatement();
// And last the session's user variables (Connection::setSessionVariable).
QString sessionVariableStatement(const QString &name, const QString &value);
