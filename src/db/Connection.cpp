#include "db/Connection.h"

#include "common/SqlText.h"
#include "db/Latin2.h"

#include <QMutex>
#include <mysql.h>
#include <poll.h>

namespace {

QMutex lastSqlMutex;
QString lastSqlText;
Connection *currentConnection = nullptr;

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

Connection *Connection::current()
{
    return currentConnection;
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
    m_params = params;
    m_reconnects = 0;
    m_wanted = true;
    connectHandle();
}

void Connection::close()
{
    if (m_mysql) {
        mysql_close(m_mysql);
        m_mysql = nullptr;
    }
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
    const unsigned int timeout = unsigned(qMax(1, m_params.connectTimeout));
    mysql_optionsv(m, MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
    if (m_params.compress)
        mysql_optionsv(m, MYSQL_OPT_COMPRESS, nullptr);
    mysql_optionsv(m, MYSQL_SET_CHARSET_NAME, "latin2");
    // Reconnection is ours: it must send SET NAMES before the statement that found the link dead.
    my_bool reconnect = 0;
    mysql_optionsv(m, MYSQL_OPT_RECONNECT, &reconnect);

    if (!init.isEmpty())
        mysql_optionsv(m, MYSQL_INIT_COMMAND, init.constData());

    if (!mysql_real_connect(m, host.constData(), user.constData(), password.constData(),
                            database.isEmpty() ? nullptr : database.constData(), m_params.port, nullptr,
                            CLIENT_MULTI_STATEMENTS | CLIENT_MULTI_RESULTS)) {
        DbError e(Latin2::decode(mysql_error(m)), mysql_errno(m));
        mysql_close(m);
        throw e;
    }
    m_mysql = m;
    m_lost = false;
    static const QByteArray first[] = {setNamesStatement().toLatin1(), sessionModeStatement().toLatin1(),
                                       autocommitStatement().toLatin1()};
    for (const QByteArray &statement : first)
        if (mysql_real_query(m_mysql, statement.constData(), (unsigned long)statement.size()) != 0)
            raise();
}

void Connection::reconnect()
{
    if (m_mysql) {
        mysql_close(m_mysql);
        m_mysql = nullptr;
    }
    connectHandle();
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
    if (e.isConnectionLost())
        m_lost = true;
    throw e;
}

void Connection::send(const QByteArray &sql, const QString &text)
{
    setLastSql(text);
    ensureAlive();
    if (mysql_real_query(m_mysql, sql.constData(), (unsigned long)sql.size()) == 0)
        return;
    // "Gone away" means the statement never reached the server: safe to send it again once.
    if (mysql_errno(m_mysql) == 2006) {
        reconnect();
        if (mysql_real_query(m_mysql, sql.constData(), (unsigned long)sql.size()) == 0)
            return;
    }
    raise();
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
