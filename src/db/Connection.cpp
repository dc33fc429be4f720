#include "db/Connection.h"

#include "common/SqlText.h"
#include "db/Latin2.h"
#include "db/UnitOfWork.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <mysql.h>
#include <poll.h>

namespace {

QMutex lastSqlMutex;
QString lastSqlText;
Connection *currentConnection = nullptr;
thread_local Connection *threadConnection = nullptr;

FieldType fieldTypeOf(const MYSQL_FIELD &f)
{
    const bool binary = f.charsetnr == 63;
    switch (f.type) {
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_YEAR:
        return FieldType::Integer;
    case MYSQL_TYPE_LONG:
        return (f.flags & UNSIGNED_FLAG) ? FieldType::BigInt : FieldType::Integer;
    case MYSQL_TYPE_LONGLONG:
        return FieldType::BigInt;
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
        return FieldType::Float;
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
        return FieldType::Decimal;
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
        return FieldType::Date;
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP:
        return FieldType::DateTime;
    case MYSQL_TYPE_TIME:
        return FieldType::Time;
    case MYSQL_TYPE_TINY_BLOB:
    case MYSQL_TYPE_MEDIUM_BLOB:
    case MYSQL_TYPE_LONG_BLOB:
    case MYSQL_TYPE_BLOB:
        return binary ? FieldType::Binary : FieldType::LongText;
    case MYSQL_TYPE_BIT:
    case MYSQL_TYPE_GEOMETRY:
        return FieldType::Binary;
    default:
        return binary && f.type != MYSQL_TYPE_NULL ? FieldType::Binary : FieldType::Text;
    }
}

bool isNumeric(FieldType t)
{
    return t == FieldType::Integer || t == FieldType::BigInt || t == FieldType::Float || t == FieldType::Decimal;
}

QList<Field> fieldsOf(MYSQL_RES *res)
{
    const unsigned n = mysql_num_fields(res);
    const MYSQL_FIELD *mf = mysql_fetch_fields(res);
    QList<Field> fields;
    fields.reserve(n);
    for (unsigned i = 0; i < n; ++i) {
        Field f;
        f.name = Latin2::decode(QByteArrayView(mf[i].name, mf[i].name_length));
        f.type = fieldTypeOf(mf[i]);
        f.size = int(mf[i].length);
        f.autoIncrement = mf[i].flags & AUTO_INCREMENT_FLAG;
        if (isNumeric(f.type))
            f.alignment = Qt::AlignRight | Qt::AlignVCenter;
        fields.append(f);
    }
    return fields;
}

// Rows of one slice of a stream: few enough that the first screen comes at once,
// growing so a long list is not handed over in thousands of pieces.
constexpr int FirstSliceRows = 64;
constexpr int LargestSliceRows = 4096;
// A slice is handed over after this long even when short, so sparse matches show.
constexpr qint64 SliceNanoseconds = 40'000'000;

// The authentication methods a register server uses. None of them gives the password
// away; one that does (the clear-text and dialog plugins) a server could ask for
// to collect it, so the client refuses every other. Over a verified TLS link the
// SHA-256 methods of MySQL accounts are safe too: their full exchange sends the
// password through the link.
QByteArray allowedAuthPlugins(TlsMode tls)
{
    QByteArray plugins = "mysql_native_password,client_ed25519";
    if (tls == TlsMode::Required)
        plugins += ",caching_sha2_password,sha256_password";
    return plugins;
}

// Every option of a new handle, in one place.
void setConnectionOptions(MYSQL *m, const ConnectionParams &p, const QByteArray &init)
{
    const unsigned int connectTimeout = unsigned(qMax(1, p.connectTimeout));
    mysql_optionsv(m, MYSQL_OPT_CONNECT_TIMEOUT, &connectTimeout);
    if (p.readTimeout > 0) {
        const unsigned int t = unsigned(p.readTimeout);
        mysql_optionsv(m, MYSQL_OPT_READ_TIMEOUT, &t);
    }
    if (p.writeTimeout > 0) {
        const unsigned int t = unsigned(p.writeTimeout);
        mysql_optionsv(m, MYSQL_OPT_WRITE_TIMEOUT, &t);
    }
    if (p.compress)
        mysql_optionsv(m, MYSQL_OPT_COMPRESS, nullptr);
    mysql_optionsv(m, MYSQL_SET_CHARSET_NAME, "latin2");
    // Reconnection is ours: it must send SET NAMES before the statement that found the link dead.
    my_bool reconnect = 0;
    mysql_optionsv(m, MYSQL_OPT_RECONNECT, &reconnect);
    mysql_optionsv(m, MARIADB_OPT_RESTRICTED_AUTH, allowedAuthPlugins(p.tls).constData());
    if (p.tls != TlsMode::Off) {
        // Asked for, TLS is used whenever the server offers it; only verification makes it a must.
        my_bool on = 1;
        mysql_optionsv(m, MYSQL_OPT_SSL_ENFORCE, &on);
        if (p.tls == TlsMode::Required) {
            mysql_optionsv(m, MYSQL_OPT_SSL_VERIFY_SERVER_CERT, &on);
            if (!p.tlsCaFile.isEmpty())
                mysql_optionsv(m, MYSQL_OPT_SSL_CA, QFile::encodeName(p.tlsCaFile).constData());
        }
    }
    if (!init.isEmpty())
        mysql_optionsv(m, MYSQL_INIT_COMMAND, init.constData());
}

} // namespace

QString LastSql()
{
    QMutexLocker lock(&lastSqlMutex);
    return lastSqlText;
}

void setLastSql(const QString &sql)
{
    QMutexLocker lock(&lastSqlMutex);
    lastSqlText = sql;
}

QString setNamesStatement()
{
    return QStringLiteral("SET NAMES '%1' COLLATE '%2'")
        .arg(QStringLiteral("latin2"), QStringLiteral("latin2_hungarian_ci"));
}

// Text too long for its column is refused rather than cut, and backslashes in literals
// are escapes (as the literal routines write them), whatever the server's default mode.
QString sessionModeStatement()
{
    return QStringLiteral(
        "SET SESSION sql_mode = TRIM(BOTH ',' FROM REPLACE(REPLACE(CONCAT(@@SESSION.sql_mode, "
        "IF(@@SESSION.sql_mode LIKE '%STRICT_%', '', ',STRICT_TRANS_TABLES')), 'NO_BACKSLASH_ESCAPES', ''), "
        "',,', ','))");
}

// Every statement stands on its own: a server whose default is off would otherwise
// keep the rows a statement touched locked, and unsaved, until the session ends.
QString autocommitStatement()
{
    return QStringLiteral("SET autocommit = 1");
}

QString causalReadsStatement()
{
    return QStringLiteral("SET SESSION wsrep_sync_wait = 1");
}

QString sessionVariableStatement(const QString &name, const QString &value)
{
    return QStringLiteral("SET @") + name + QStringLiteral(" = ") + value;
}

Connection *Connection::current()
{
    return threadConnection ? threadConnection : currentConnection;
}

void Connection::setCurrentForThread(Connection *connection)
{
    threadConnection = connection;
}

void Connection::setCurrent(Connection *connection)
{
    currentConnection = connection;
}

Connection::Connection() = default;

Connection::~Connection()
{
    close();
}

void Connection::open(const ConnectionParams &params)
{
    close();
    {
        std::lock_guard lock(m_interruptMutex); // stopStatement() reads them from another thread
        m_params = params;
    }
    m_reconnects = 0;
    m_wanted = true;
    m_leftNode = -1;
    connectAnyNode();
}

void Connection::dropHandle()
{
    if (m_stream) {
        mysql_free_result(m_stream);
        m_stream = nullptr;
    }
    if (m_mysql) {
        MYSQL *m = m_mysql;
        {
            std::lock_guard lock(m_interruptMutex);
            m_mysql = nullptr;
        }
        mysql_close(m);
    }
}

void Connection::close()
{
    dropHandle();
    m_lost = false;
    m_wanted = false;
}

void Connection::connectHandle()
{
    // Encoding can refuse a character: do it before there is a handle to lose.
    const QByteArray init = Latin2::encode(m_params.initStatement);
    const QByteArray host = m_params.host.toUtf8();
    const QByteArray user = Latin2::encode(m_params.user);
    const QByteArray password = Latin2::encode(m_params.password);
    const QByteArray database = Latin2::encode(m_params.database);

    MYSQL *m = mysql_init(nullptr);
    if (!m)
        throw DbError(QStringLiteral("Out of memory"), 2008);
    setConnectionOptions(m, m_params, init);

    if (!connectNode(m, user.constData(), password.constData(), database.isEmpty() ? nullptr : database.constData())) {
        DbError e(Latin2::decode(mysql_error(m)), mysql_errno(m));
        mysql_close(m);
        throw e;
    }
    {
        std::lock_guard lock(m_interruptMutex);
        m_mysql = m;
    }
    m_lost = false;
    applySessionSettings();
}

void Connection::applySessionSettings()
{
    static const QByteArray first[] = {setNamesStatement().toLatin1(), sessionModeStatement().toLatin1(),
                                       autocommitStatement().toLatin1()};
    for (const QByteArray &statement : first)
        if (mysql_real_query(m_mysql, statement.constData(), (unsigned long)statement.size()) != 0)
            raise();
    if (m_params.causalReads) {
        static const QByteArray causal = causalReadsStatement().toLatin1();
        // A server without the cluster's variables (1193) has nothing to wait for.
        if (mysql_real_query(m_mysql, causal.constData(), (unsigned long)causal.size()) != 0 &&
            mysql_errno(m_mysql) != 1193)
            raise();
    }
    for (auto it = m_sessionVariables.cbegin(); it != m_sessionVariables.cend(); ++it) {
        const QByteArray statement = Latin2::encode(sessionVariableStatement(it.key(), it.value()));
        if (mysql_real_query(m_mysql, statement.constData(), (unsigned long)statement.size()) != 0)
            raise();
    }
}

void Connection::renewSession(bool brokenTriggers, const QString &trigger)
{
    ensureAlive();
    if (brokenTriggers) {
        try {
            QString sql = QStringLiteral("SELECT DISTINCT EVENT_OBJECT_TABLE FROM information_schema.TRIGGERS "
                                         "WHERE TRIGGER_SCHEMA = DATABASE()");
            if (!trigger.isEmpty())
                sql += QStringLiteral(" AND TRIGGER_NAME = ") + SqlLiteral(trigger);
            const Dataset tables = query(sql);
            QStringList names;
            for (int r = 0; r < tables.rowCount(); ++r)
                names << QuotedIdentifier(tables.text(r, 0));
            // LOCAL: the other nodes of a cluster have copies of their own, whole or not.
            // The flush waits for every statement using the tables: not for long.
            if (!names.isEmpty())
                exec(QStringLiteral("SET SESSION lock_wait_timeout = 5; FLUSH LOCAL TABLES ") +
                     names.join(QStringLiteral(", ")));
        } catch (const KorvenaError &) {
            // Without the right to flush (RELOAD) the next try may still take another copy.
        }
    }
    // A new link rather than COM_RESET_CONNECTION, which cluster nodes have mishandled.
    reconnect();
}

void Connection::setSessionVariable(const QString &name, const QString &value)
{
    const QString statement = sessionVariableStatement(name, value);
    Latin2::encode(statement); // refused here, not on a later reconnection
    m_sessionVariables.insert(name, value);
    if (m_wanted)
        exec(statement);
}

namespace {

// Thrown past connectHandle() when the node tried did not answer or is not synced: a
// handle serves one connection attempt, so the next node gets a new one.
struct NodePassedOver
{
};

// "OFF" while a cluster node is joining, donating or cut off from the others' majority;
// nothing at all on a server that is no cluster node.
bool nodeReady(MYSQL *m)
{
    // A server built for clusters reports wsrep_ready OFF while it runs alone (wsrep_on OFF).
    static const QByteArray sql = QByteArrayLiteral(
        "SELECT @@GLOBAL.wsrep_on = 0 OR VARIABLE_VALUE = 'ON' FROM information_schema.GLOBAL_STATUS "
        "WHERE VARIABLE_NAME = 'WSREP_READY'");
    // A node being taken out refuses every statement (1047); anything else is for the
    // first statement proper to report.
    if (mysql_real_query(m, sql.constData(), (unsigned long)sql.size()) != 0)
        return mysql_errno(m) != 1047;
    MYSQL_RES *res = mysql_store_result(m);
    if (!res)
        return true;
    bool ready = true;
    if (MYSQL_ROW row = mysql_fetch_row(res))
        ready = row[0] && qstrcmp(row[0], "1") == 0;
    mysql_free_result(res);
    return ready;
}

} // namespace

// The servers of the list in turn, from the workstation's node (or, after its link was
// lost, from the one after it): the first that answers and is synced.
bool Connection::connectNode(MYSQL *m, const char *user, const char *password, const char *database)
{
    const unsigned flags = CLIENT_MULTI_STATEMENTS | CLIENT_MULTI_RESULTS;
    const QList<ServerAddress> servers = ParseServerList(m_params.host, m_params.port);
    if (servers.size() <= 1) {
        m_node = -1;
        m_server = servers.value(0, ServerAddress{m_params.host, m_params.port});
        const QByteArray host = m_server.host.toUtf8();
        return mysql_real_connect(m, host.constData(), user, password, database, m_server.port, nullptr, flags);
    }
    const int count = int(servers.size());
    int start = ClusterNode::preferred(m_params.host, m_params.port) % count;
    if (start == m_leftNode)
        start = (start + 1) % count;
    for (int k = 0; k < count; ++k) {
        const int i = (start + k) % count;
        if (m_passedNodes.contains(i))
            continue;
        m_passedNodes.append(i);
        if (servers[i].port == 0) {
            m_nodeError = std::make_shared<DbError>(QStringLiteral("Érvénytelen portszám: ") + servers[i].host, 2005);
            continue;
        }
        const QByteArray host = servers[i].host.toUtf8();
        if (!mysql_real_connect(m, host.constData(), user, password, database, servers[i].port, nullptr, flags)) {
            m_nodeError = std::make_shared<DbError>(Latin2::decode(mysql_error(m)), mysql_errno(m));
        } else if (!nodeReady(m)) {
            m_nodeError =
                std::make_shared<DbError>(QStringLiteral("WSREP has not yet prepared node for application use"), 1047);
        } else {
            m_node = i;
            m_server = servers[i];
            m_leftNode = -1;
            ClusterNode::setPreferred(m_params.host, m_params.port, i);
            return true;
        }
        mysql_close(m);
        throw NodePassedOver{};
    }
    mysql_close(m);
    throw NodePassedOver{};
}

void Connection::connectAnyNode()
{
    m_passedNodes.clear();
    m_nodeError.reset();
    const qsizetype count = ParseServerList(m_params.host, m_params.port).size();
    for (;;) {
        try {
            connectHandle();
            m_passedNodes.clear();
            return;
        } catch (const NodePassedOver &) {
            if (m_passedNodes.size() >= count) {
                m_passedNodes.clear();
                const DbError e = m_nodeError ? *m_nodeError : DbError(QStringLiteral("No server"), 2005);
                m_nodeError.reset();
                throw e;
            }
        } catch (...) {
            m_passedNodes.clear();
            throw;
        }
    }
}

void Connection::reconnect()
{
    dropHandle();
    if (m_lost)
        m_leftNode = m_node;
    connectAnyNode();
    ++m_reconnects;
}

// A link that the server closed (KILL, restart, idle time-out) shows as a
// readable or hung-up socket while we have sent nothing; repair it before sending.
void Connection::ensureAlive()
{
    if (!m_mysql) {
        if (!m_wanted)
            throw DbError(QStringLiteral("Nincs megnyitott adatbázis-kapcsolat"), 2006);
        reconnect();
        return;
    }
    // Another connection of the workstation moved to another node: follow it, so all of
    // them read what the others wrote.
    if (m_node >= 0 && !m_stream && ClusterNode::preferred(m_params.host, m_params.port) != m_node) {
        reconnect();
        return;
    }
    if (!m_lost) {
        const my_socket fd = mysql_get_socket(m_mysql);
        pollfd p{int(fd), POLLIN | POLLRDHUP, 0};
        if (fd < 0 || ::poll(&p, 1, 0) != 0)
            m_lost = true;
    }
    if (m_lost)
        reconnect();
}

void Connection::raise()
{
    const unsigned code = mysql_errno(m_mysql);
    DbError e(Latin2::decode(mysql_error(m_mysql)), code ? code : 2000);
    // A cluster node cut off from the others refuses every statement: leave it.
    if (e.isConnectionLost() || (code == 1047 && m_node >= 0))
        m_lost = true;
    throw e;
}

void Connection::send(const QByteArray &sql, const QString &text)
{
    setLastSql(text);
    if (m_unitDepth > 0)
        UnitOfWork::detail::beforeStatement(*this, text);
    else
        UnitOfWork::detail::outsideUnit(*this, text);
    ensureAlive();
    throwIfUnitBroken();
    if (mysql_real_query(m_mysql, sql.constData(), (unsigned long)sql.size()) == 0)
        return;
    // "Gone away" means the statement never reached the server: safe to send it again once,
    // unless it belonged to a transaction that went with the link.
    if (mysql_errno(m_mysql) == 2006) {
        m_lost = true;
        reconnect();
        throwIfUnitBroken();
        if (mysql_real_query(m_mysql, sql.constData(), (unsigned long)sql.size()) == 0)
            return;
    }
    raise();
}

void Connection::throwIfUnitBroken()
{
    if (m_unitDepth > 0 && m_unitReconnects >= 0 && m_reconnects != m_unitReconnects)
        throw DbError(QStringLiteral("Lost connection to server during query"), 2013);
}

void Connection::readResult(Dataset *into)
{
    MYSQL_RES *res = mysql_use_result(m_mysql);
    if (!res) {
        if (mysql_field_count(m_mysql) != 0)
            raise();
        m_affectedRows = mysql_affected_rows(m_mysql);
        return;
    }
    if (!into) {
        mysql_free_result(res);
        if (mysql_errno(m_mysql))
            raise();
        return;
    }
    const unsigned n = mysql_num_fields(res);
    into->reset();
    into->fields() = fieldsOf(res);
    while (MYSQL_ROW row = mysql_fetch_row(res)) {
        const unsigned long *lengths = mysql_fetch_lengths(res);
        into->beginRow();
        for (unsigned i = 0; i < n; ++i)
            into->appendCell(row[i], row[i] ? qsizetype(lengths[i]) : 0);
        into->endRow();
    }
    const bool failed = mysql_errno(m_mysql) != 0;
    if (failed) {
        const unsigned code = mysql_errno(m_mysql);
        DbError e(Latin2::decode(mysql_error(m_mysql)), code);
        mysql_free_result(res);
        if (e.isConnectionLost())
            m_lost = true;
        throw e;
    }
    mysql_free_result(res);
    into->squeeze();
    m_affectedRows = quint64(into->rowCount());
    into->first();
}

// Reads and drops the results still queued (procedure status, further statements).
void Connection::drain()
{
    for (;;) {
        const int more = mysql_next_result(m_mysql);
        if (more < 0)
            return;
        if (more > 0)
            raise();
        readResult(nullptr);
    }
}

void Connection::exec(const QString &sql)
{
    const QByteArray bytes = Latin2::encode(sql);
    send(bytes, sql);
    readResult(nullptr);
    drain();
}

void Connection::query(const QString &sql, Dataset &into)
{
    const QByteArray bytes = Latin2::encode(sql);
    send(bytes, sql);
    into.reset();
    // The first statement that yields rows is the result; earlier ones (SET ...) are skipped.
    for (;;) {
        readResult(&into);
        if (into.fieldCount() > 0)
            break;
        const int more = mysql_next_result(m_mysql);
        if (more < 0)
            return;
        if (more > 0)
            raise();
    }
    drain();
}

void Connection::stream(const QString &sql, const std::function<void(const QList<Field> &)> &onFields,
                        const RowSink &onRow)
{
    send(Latin2::encode(sql), sql);
    MYSQL_RES *res = mysql_use_result(m_mysql);
    if (!res) {
        if (mysql_field_count(m_mysql) != 0)
            raise();
        m_affectedRows = mysql_affected_rows(m_mysql);
        drain();
        return;
    }
    struct Release
    {
        MYSQL_RES *res;
        ~Release() { mysql_free_result(res); }
    } release{res};
    if (onFields)
        onFields(fieldsOf(res));
    quint64 rows = 0;
    while (MYSQL_ROW row = mysql_fetch_row(res)) {
        ++rows;
        if (!onRow(row, mysql_fetch_lengths(res)))
            break;
    }
    if (mysql_errno(m_mysql))
        raise();
    m_affectedRows = rows;
    release.res = nullptr;
    mysql_free_result(res);
    drain();
}

void Connection::execBytes(const QByteArray &latin2Sql)
{
    send(latin2Sql, Latin2::decode(latin2Sql));
    readResult(nullptr);
    drain();
}

Dataset Connection::query(const QString &sql)
{
    Dataset d;
    query(sql, d);
    return d;
}

Dataset Connection::call(const QString &procedure, const QVariantList &args)
{
    QStringList literals;
    literals.reserve(args.size());
    for (const QVariant &a : args) {
        if (!a.isValid() || a.isNull()) {
            literals << QStringLiteral("NULL");
            continue;
        }
        switch (a.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Bool:
            literals << SqlInt(a);
            break;
        case QMetaType::QDate:
            literals << SqlDate(a.toDate());
            break;
        default:
            literals << SqlLiteral(a);
        }
    }
    return query(QStringLiteral("CALL ") + procedure + QLatin1Char('(') + literals.join(QLatin1Char(',')) +
                 QStringLiteral(");"));
}

QVariant Connection::selectValue(const QString &sql)
{
    const Dataset d = query(sql);
    if (d.rowCount() == 0 || d.fieldCount() == 0)
        return {};
    return d.value(0, 0);
}

quint64 Connection::lastInsertId() const
{
    return m_mysql ? mysql_insert_id(m_mysql) : 0;
}

unsigned long Connection::threadId() const
{
    return m_mysql ? mysql_thread_id(m_mysql) : 0;
}

QString Connection::serverVersion() const
{
    return m_mysql ? QString::fromLatin1(mysql_get_server_info(m_mysql)) : QString();
}

void Connection::beginStream(const QString &sql, Dataset &into)
{
    if (m_stream)
        abandonStream();
    const QByteArray bytes = Latin2::encode(sql);
    send(bytes, sql);
    into.reset();
    // The first statement that yields rows is the result, as for query().
    for (;;) {
        MYSQL_RES *res = mysql_use_result(m_mysql);
        if (res) {
            m_stream = res;
            into.fields() = fieldsOf(res);
            return;
        }
        if (mysql_field_count(m_mysql) != 0)
            raise();
        const int more = mysql_next_result(m_mysql);
        if (more < 0)
            return;
        if (more > 0)
            raise();
    }
}

bool Connection::streamRows(Dataset &into, int maxRows)
{
    if (!m_stream)
        return false;
    const unsigned n = mysql_num_fields(m_stream);
    for (int i = 0; i < maxRows; ++i) {
        MYSQL_ROW row = mysql_fetch_row(m_stream);
        if (!row)
            break;
        const unsigned long *lengths = mysql_fetch_lengths(m_stream);
        into.beginRow();
        for (unsigned c = 0; c < n; ++c)
            into.appendCell(row[c], row[c] ? qsizetype(lengths[c]) : 0);
        into.endRow();
        if (i + 1 == maxRows)
            return true;
    }
    if (mysql_errno(m_mysql) != 0) {
        const unsigned code = mysql_errno(m_mysql);
        DbError e(Latin2::decode(mysql_error(m_mysql)), code);
        abandonStream();
        throw e;
    }
    mysql_free_result(m_stream);
    m_stream = nullptr;
    drain();
    return false;
}

void Connection::interrupt()
{
    std::lock_guard lock(m_interruptMutex);
    if (m_mysql)
        mariadb_cancel(m_mysql);
}

void Connection::stopStatement()
{
    ConnectionParams params;
    unsigned long id = 0;
    {
        std::lock_guard lock(m_interruptMutex);
        if (!m_mysql)
            return;
        params = m_params;
        id = mysql_thread_id(m_mysql);
    }
    params.initStatement.clear();
    MYSQL *m = mysql_init(nullptr);
    if (!m)
        throw DbError(QStringLiteral("Out of memory"), 2008);
    setConnectionOptions(m, params, {});
    const QByteArray host = params.host.toUtf8();
    const QByteArray user = Latin2::encode(params.user);
    const QByteArray password = Latin2::encode(params.password);
    const QByteArray kill = "KILL QUERY " + QByteArray::number(qulonglong(id));
    // Not through exec(): this must not become LastSql nor join the owner's unit.
    const bool sent = mysql_real_connect(m, host.constData(), user.constData(), password.constData(), nullptr,
                                         params.port, nullptr, 0) &&
                      mysql_real_query(m, kill.constData(), (unsigned long)kill.size()) == 0;
    if (!sent) {
        DbError e(Latin2::decode(mysql_error(m)), mysql_errno(m) ? mysql_errno(m) : 2000);
        mysql_close(m);
        throw e;
    }
    mysql_close(m);
}

void Connection::abandonStream()
{
    if (!m_stream)
        return;
    // Freeing an unbuffered result reads the rest of it first, at the pace the server
    // sends it; dropping the link instead ends the statement at its next write.
    m_mysql->status = MYSQL_STATUS_READY;
    mysql_free_result(m_stream);
    m_stream = nullptr;
    MYSQL *m = m_mysql;
    {
        std::lock_guard lock(m_interruptMutex);
        m_mysql = nullptr;
    }
    mysql_close(m);
    m_lost = false;
}

// ---- QueryStream

QueryStream::QueryStream() : m_thread([this] { run(); }) {}

QueryStream::~QueryStream()
{
    cancel();
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void QueryStream::start(const ConnectionParams &params, const QString &sql, std::function<void()> wake)
{
    cancel();
    {
        std::lock_guard lock(m_mutex);
        m_job = Job{params, sql, std::move(wake), m_generation};
        m_reading = true;
    }
    m_changed.notify_all();
}

void QueryStream::cancel()
{
    bool wasReading = false;
    {
        std::lock_guard lock(m_mutex);
        m_live.store(++m_generation);
        wasReading = m_reading;
        m_job.reset();
        m_reading = false;
        m_slices.clear();
        m_readRows = 0;
        m_error = nullptr;
    }
    if (wasReading)
        if (Connection *c = m_busy.load())
            c->interrupt();
}

void QueryStream::waitFor(qint64 rows)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return !m_reading || m_readRows >= rows; });
}

bool QueryStream::take(Dataset &into)
{
    std::deque<Dataset> slices;
    bool ended = false;
    std::exception_ptr error;
    {
        std::lock_guard lock(m_mutex);
        slices.swap(m_slices);
        ended = !m_reading;
        error = m_error;
        m_error = nullptr;
    }
    if (error)
        std::rethrow_exception(error);
    into.reset();
    for (Dataset &slice : slices) {
        if (into.fieldCount() == 0)
            into = std::move(slice);
        else
            into.appendRows(slice);
    }
    return ended;
}

bool QueryStream::isRunning() const
{
    std::lock_guard lock(m_mutex);
    return m_reading;
}

void QueryStream::run()
{
    mysql_thread_init();
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_quit || m_job.has_value(); });
            if (m_quit)
                break;
            job = std::move(*m_job);
            m_job.reset();
        }
        read(job);
    }
    m_connection.close();
    mysql_thread_end();
}

void QueryStream::read(const Job &job)
{
    const auto sameParams = [](const ConnectionParams &a, const ConnectionParams &b) {
        return a.host == b.host && a.port == b.port && a.user == b.user && a.password == b.password &&
               a.database == b.database && a.compress == b.compress && a.initStatement == b.initStatement &&
               a.readTimeout == b.readTimeout && a.writeTimeout == b.writeTimeout && a.tls == b.tls &&
               a.tlsCaFile == b.tlsCaFile && a.connectTimeout == b.connectTimeout;
    };
    m_busy.store(&m_connection);
    try {
        if (!m_connection.isOpen() || !sameParams(m_openParams, job.params)) {
            // The list shown after a save on this workstation holds what others saved before it.
            ConnectionParams params = job.params;
            params.causalReads = true;
            m_connection.open(params);
            m_openParams = job.params;
        }
        Dataset head;
        m_connection.beginStream(job.sql, head);
        bool more = head.fieldCount() > 0;
        const QList<Field> fields = head.fields();
        // The fields go first, so even an empty list gets its columns at once.
        if (!publish(job, std::move(head), !more)) {
            m_connection.abandonStream();
            m_busy.store(nullptr);
            return;
        }
        int sliceRows = FirstSliceRows;
        QElapsedTimer clock;
        while (more) {
            Dataset next(fields);
            clock.start();
            // Row by row, so a slice of sparse matches need not wait to fill.
            while (next.rowCount() < sliceRows && clock.nsecsElapsed() < SliceNanoseconds) {
                if (m_live.load(std::memory_order_relaxed) != job.generation)
                    break;
                more = m_connection.streamRows(next, 1);
                if (!more)
                    break;
            }
            if (!publish(job, std::move(next), !more)) {
                m_connection.abandonStream();
                m_busy.store(nullptr);
                return;
            }
            sliceRows = qMin(sliceRows * 2, LargestSliceRows);
        }
        m_busy.store(nullptr);
    } catch (...) {
        m_busy.store(nullptr);
        m_connection.abandonStream();
        std::lock_guard lock(m_mutex);
        if (job.generation == m_generation) {
            m_error = std::current_exception();
            m_reading = false;
            m_changed.notify_all();
            if (job.wake)
                job.wake();
        }
    }
}

bool QueryStream::publish(const Job &job, Dataset &&slice, bool last)
{
    bool wake = false;
    {
        std::lock_guard lock(m_mutex);
        if (job.generation != m_generation)
            return false;
        wake = m_slices.empty();
        m_readRows += slice.rowCount();
        m_slices.push_back(std::move(slice));
        if (last)
            m_reading = false;
    }
    m_changed.notify_all();
    if (wake && job.wake)
        job.wake();
    return true;
}
