#pragma once

#include "db/Dataset.h"
#include "db/DbError.h"

#include <QString>
#include <QVariant>
#include <functional>

struct st_mysql;
struct st_mysql_res;

struct ConnectionParams
{
    QString host = QStringLiteral("127.0.0.1");
    unsigned port = 3306;
    QString user;
    QString password;
    QString database;         // may be empty
    int connectTimeout = 30;  // seconds
    bool compress = true;
    // Run by the client library as each session opens, before the program's own
    // first statements: a session setting the site's server needs.
    QString initStatement;
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

    quint64 lastInsertId() const;
    quint64 affectedRows() const { return m_affectedRows; }
    unsigned long threadId() const;
    // How many times the connection was re-established since open().
    int reconnectCount() const { return m_reconnects; }
    QString serverVersion() const;

    // The process-wide connection that the database helpers use.
    static Connection *current();
    static void setCurrent(Connection *connection);

private:
    void connectHandle();
    void ensureAlive();
    void reconnect();
    void send(const QByteArray &sql, const QString &text);
    [[noreturn]] void raise();
    void readResult(Dataset *into);
    void drain();

    st_mysql *m_mysql = nullptr;
    ConnectionParams m_params;
    bool m_lost = false;
    bool m_wanted = false; // open() was called and close() was not
    int m_reconnects = 0;
    quint64 m_affectedRows = 0;
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
