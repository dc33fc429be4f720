#include "core/DatabaseBackup.h"

#include <algorithm>

#include "common/PrivateFile.h"
#include "common/SqlText.h"
#include "db/Latin2.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <zip.h>

#include <cctype>
#include <cstring>

namespace DatabaseBackup {

namespace {

QString quotedName(const QString &name)
{
    QString n = name;
    n.replace(QLatin1Char('`'), QLatin1String("``"));
    return QLatin1Char('`') + n + QLatin1Char('`');
}

// Collects the script in memory a block at a time, so the device sees few large writes.
class ScriptWriter
{
public:
    explicit ScriptWriter(QIODevice &out) : m_out(out) { m_buffer.reserve(BlockSize + 64 * 1024); }

    QByteArray &buffer() { return m_buffer; }
    void maybeFlush()
    {
        if (m_buffer.size() >= BlockSize)
            flush();
    }
    void flush()
    {
        if (m_buffer.isEmpty())
            return;
        if (m_out.write(m_buffer) != m_buffer.size())
            throw KorvenaError(QStringLiteral("Hiba a mentés írásakor: ") + m_out.errorString());
        m_buffer.clear();
    }

private:
    static constexpr qsizetype BlockSize = 1 << 20;
    QIODevice &m_out;
    QByteArray m_buffer;
};

void appendValue(QByteArray &out, FieldType type, const char *cell, unsigned long length)
{
    if (!cell) {
        out.append("NULL", 4);
        return;
    }
    switch (type) {
    case FieldType::Integer:
    case FieldType::BigInt:
    case FieldType::Float:
    case FieldType::Decimal:
        // The server's text form already uses "." and no grouping.
        out.append(cell, qsizetype(length));
        break;
    case FieldType::Binary:
        // Bytes that are no text: hexadecimal, so no character set can change them.
        if (length == 0) {
            out.append("''", 2);
        } else {
            out.append("0x", 2);
            out.append(QByteArray::fromRawData(cell, qsizetype(length)).toHex());
        }
        break;
    default: {
        // Text, and dates, date-times and times in the server's 'yyyy-mm-dd hh:nn:ss' form.
        const qsizetype start = out.size();
        AppendSqlLiteral(out, QByteArrayView(cell, qsizetype(length)));
        // A raw NUL stops the command-line client: write the escape the server reads as one.
        if (length > 0 && std::memchr(cell, 0, length)) {
            QByteArray literal = out.mid(start);
            literal.replace(QByteArrayView("\0", 1), QByteArrayView("\\0", 2));
            out.truncate(start);
            out.append(literal);
        }
    }
    }
}

qint64 estimatedRows(Connection &connection)
{
    const QVariant v = connection.selectValue(
        QStringLiteral("SELECT SUM(TABLE_ROWS) FROM information_schema.TABLES "
                       "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_TYPE = 'BASE TABLE'"));
    return v.isValid() ? v.toLongLong() : 0;
}

QString zipErrorText(int code)
{
    zip_error_t e;
    zip_error_init_with_code(&e, code);
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&e));
    zip_error_fini(&e);
    return text;
}

// Hands the statements of a script, one by one, to run(); the input comes in blocks.
// A literal never holds a raw line break (SqlLiteral writes \r and \n), so a
// statement ends with the first line that ends in ';'.
class StatementSplitter
{
public:
    explicit StatementSplitter(std::function<void(const QByteArray &)> run) : m_run(std::move(run)) {}

    void feed(const char *data, qsizetype size)
    {
        m_pending.append(data, size);
        qsizetype start = 0;
        for (;;) {
            const qsizetype nl = m_pending.indexOf('\n', start);
            if (nl < 0)
                break;
            line(QByteArrayView(m_pending.constData() + start, nl - start));
            start = nl + 1;
        }
        m_pending.remove(0, start);
    }
    void finish()
    {
        if (!m_pending.isEmpty())
            line(m_pending);
        m_pending.clear();
        // A file cut short still ends in a statement: the server reports it.
        if (!m_statement.trimmed().isEmpty())
            m_run(m_statement);
        m_statement.clear();
    }

private:
    void line(QByteArrayView l)
    {
        if (l.endsWith('\r'))
            l.chop(1);
        if (m_statement.isEmpty() && l.trimmed().isEmpty())
            return;
        if (!m_statement.isEmpty())
            m_statement.append('\n');
        m_statement.append(l);
        if (l.trimmed().endsWith(';')) {
            m_run(m_statement);
            m_statement.clear();
        }
    }

    std::function<void(const QByteArray &)> m_run;
    QByteArray m_pending;
    QByteArray m_statement;
};

} // namespace

QStringList tableNames(Connection &connection)
{
    const Dataset d = connection.query(QStringLiteral("SHOW FULL TABLES"));
    QStringList names;
    for (int r = 0; r < d.rowCount(); ++r)
        if (d.text(r, 1).compare(QLatin1String("BASE TABLE"), Qt::CaseInsensitive) == 0)
            names << d.text(r, 0);
    return names;
}

bool writeScript(Connection &connection, QIODevice &out, const ProgressFn &progress)
{
    QStringList tables = tableNames(connection);
    // Restoring the documents fires the trail's triggers; the trail's own rows come after
    // them, so what the triggers wrote gives way to the backup's trail.
    std::stable_partition(tables.begin(), tables.end(), [](const QString &t) {
        return t != QLatin1String("iktato_nyom") && t != QLatin1String("iktato_nyom_fej");
    });
    Progress p;
    p.tableCount = int(tables.size());
    p.totalEstimate = estimatedRows(connection);
    // The reader may be slow (a network share): the server should wait for it.
    connection.exec(QStringLiteral("SET SESSION net_write_timeout = 3600"));
    // All tables as of one moment, while other workstations go on writing.
    connection.exec(QStringLiteral("START TRANSACTION WITH CONSISTENT SNAPSHOT"));

    ScriptWriter writer(out);
    QByteArray &buf = writer.buffer();
    // Whatever client reads the script back must take its bytes as latin2 and its
    // backslashes as escapes, and must keep a zero in an auto-increment column.
    for (const char *line : ScriptHeader)
        buf.append(line).append("\r\n");
    buf.append("\r\n");
    bool stopped = false;
    for (int t = 0; t < tables.size() && !stopped; ++t) {
        const QString &table = tables[t];
        p.table = table;
        p.tableIndex = t;
        p.tableRows = 0;
        if (progress && !progress(p)) {
            stopped = true;
            break;
        }
        const QByteArray name = Latin2::encode(quotedName(table));
        buf.append("TRUNCATE ").append(name).append(";\r\n");

        QByteArray header;
        std::vector<FieldType> types;
        qint64 rows = 0;
        qsizetype statementSize = 0;
        connection.stream(
            QStringLiteral("SELECT * FROM ") + quotedName(table),
            [&](const QList<Field> &fields) {
                header = "INSERT IGNORE INTO " + name + " (";
                for (qsizetype i = 0; i < fields.size(); ++i) {
                    if (i)
                        header.append(',');
                    header.append(Latin2::encode(quotedName(fields[i].name.toLower())));
                    types.push_back(fields[i].type);
                }
                header.append(") VALUES\r\n");
            },
            [&](const char *const *cells, const unsigned long *lengths) {
                if (rows == 0) {
                    buf.append(header);
                    statementSize = 0;
                } else if (rows % StatementRows == FirstStatementRows || statementSize >= StatementBytes) {
                    buf.append(");\r\n");
                    buf.append(header);
                    statementSize = 0;
                } else {
                    buf.append("),\r\n");
                }
                const qsizetype before = buf.size();
                buf.append('(');
                for (size_t i = 0; i < types.size(); ++i) {
                    if (i)
                        buf.append(',');
                    appendValue(buf, types[i], cells[i], lengths[i]);
                }
                statementSize += buf.size() - before;
                ++rows;
                ++p.totalRows;
                writer.maybeFlush();
                if ((rows & 4095) == 0 && progress) {
                    p.tableRows = rows;
                    if (!progress(p)) {
                        stopped = true;
                        return false;
                    }
                }
                return true;
            });
        if (rows > 0)
            buf.append(");\r\n");
        buf.append("\r\n");
        p.tableRows = rows;
    }
    connection.exec(QStringLiteral("COMMIT"));
    if (stopped)
        return false;
    writer.flush();
    p.tableIndex = p.tableCount;
    if (progress)
        progress(p);
    return true;
}

QString proposedFileName(const QString &database, const QDateTime &now)
{
    return database + QLatin1Char('-') + now.toString(QStringLiteral("yyyy-MM-dd-hh-mm-ss"));
}

bool isZipTarget(const QString &chosenFile)
{
    return QFileInfo(chosenFile).suffix().toLower() == QLatin1String("zip");
}

QString dumpFileFor(const QString &chosenFile)
{
    if (!isZipTarget(chosenFile))
        return chosenFile;
    const QFileInfo fi(chosenFile);
    return QDir(fi.path()).filePath(fi.completeBaseName() + QStringLiteral(".sql"));
}

void zipSingleFile(const QString &file, const QString &archive)
{
    int code = 0;
    zip_t *z = zip_open(QFile::encodeName(archive).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!z)
        throw ArchiveError(zipErrorText(code));
    const auto fail = [z]() {
        const QString text = QString::fromLocal8Bit(zip_strerror(z));
        zip_discard(z);
        throw ArchiveError(text);
    };
    zip_source_t *source = zip_source_file(z, QFile::encodeName(file).constData(), 0, 0);
    if (!source)
        fail();
    const QByteArray entry = QFileInfo(file).fileName().toUtf8();
    const zip_int64_t index = zip_file_add(z, entry.constData(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
    if (index < 0) {
        zip_source_free(source);
        fail();
    }
    if (zip_set_file_compression(z, zip_uint64_t(index), ZIP_CM_DEFLATE, 9) < 0)
        fail();
    if (zip_close(z) < 0)
        fail();
}

namespace {

// A name in the folder that no file has yet: the name itself, else "name (2).ext", ...
QString freeName(const QString &wanted)
{
    if (!QFileInfo::exists(wanted))
        return wanted;
    const QFileInfo fi(wanted);
    for (int n = 2;; ++n) {
        const QString candidate =
            fi.dir().filePath(QStringLiteral("%1 (%2).%3").arg(fi.completeBaseName()).arg(n).arg(fi.suffix()));
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

KorvenaError cannotCreate(const QString &file, const QString &why)
{
    return KorvenaError(QStringLiteral("Nem sikerült létrehozni a fájlt: ") + file + QStringLiteral(" (") + why +
                        QLatin1Char(')'));
}

} // namespace

Outcome scriptBackup(const ConnectionParams &params, const QString &chosenFile, const ProgressFn &progress)
{
    Connection connection;
    connection.open(params);
    if (!isZipTarget(chosenFile)) {
        // Written beside the chosen file and moved over it only when complete, so a
        // failed or stopped run keeps the previous backup of that name.
        QSaveFile file(chosenFile);
        if (!file.open(QIODevice::WriteOnly) || !PrivateFile::restrict(file))
            throw cannotCreate(chosenFile, file.errorString());
        if (!writeScript(connection, file, progress)) {
            file.cancelWriting();
            return Outcome::Stopped;
        }
        connection.close();
        if (!file.commit())
            throw KorvenaError(QStringLiteral("Hiba a mentés írásakor: ") + file.errorString());
        return Outcome::Written;
    }

    // The dump and the archive are made in a folder of our own beside the target
    // (readable by nobody else), so no file of the user's is touched until the
    // finished archive replaces the chosen one.
    const QFileInfo chosen(chosenFile);
    QTemporaryDir work(chosen.absoluteDir().filePath(QStringLiteral(".korvena-mentes-XXXXXX")));
    if (!work.isValid())
        throw cannotCreate(chosenFile, work.errorString());
    const QString dumpFile = work.filePath(chosen.completeBaseName() + QStringLiteral(".sql"));
    {
        QFile file(dumpFile);
        if (!file.open(QIODevice::WriteOnly) || !PrivateFile::restrict(file))
            throw cannotCreate(chosenFile, file.errorString());
        if (!writeScript(connection, file, progress))
            return Outcome::Stopped;
        file.close();
        if (file.error() != QFileDevice::NoError)
            throw KorvenaError(QStringLiteral("Hiba a mentés írásakor: ") + file.errorString());
    }
    connection.close();
    const QString archive = work.filePath(QStringLiteral("mentes.zip"));
    try {
        zipSingleFile(dumpFile, archive);
        if (!PrivateFile::restrict(archive))
            throw ArchiveError(QFile(archive).errorString());
        const QString why = PrivateFile::replace(archive, chosen.absoluteFilePath());
        if (!why.isEmpty())
            throw ArchiveError(why);
    } catch (const ArchiveError &) {
        // The dump stays, beside the chosen file, without replacing another file.
        PrivateFile::replace(dumpFile, freeName(dumpFileFor(chosen.absoluteFilePath())));
        throw;
    }
    return Outcome::Written;
}

namespace {

// Reads one statement and tells whether it is one a script backup holds: a header
// line, TRUNCATE of a table, or INSERT IGNORE of literal rows into a table, every
// table named without a database. Nothing else may run when a file is loaded for a
// check: a dump tool's file says USE and DROP TABLE and would replace the live register.
class ScriptStatementCheck
{
public:
    explicit ScriptStatementCheck(QByteArrayView s) : m_s(s) {}

    bool ok()
    {
        const QByteArray normalized = m_s.trimmed().toByteArray().simplified();
        for (const char *line : ScriptHeader)
            if (normalized.compare(QByteArrayView(line), Qt::CaseInsensitive) == 0)
                return true;
        if (word("TRUNCATE")) {
            word("TABLE");
            return table() && end();
        }
        if (!word("INSERT") || !word("IGNORE") || !word("INTO") || !table())
            return false;
        if (!symbol('(') || !identifier())
            return false;
        while (symbol(','))
            if (!identifier())
                return false;
        if (!symbol(')') || !word("VALUES"))
            return false;
        do {
            if (!row())
                return false;
        } while (symbol(','));
        return end();
    }

private:
    void blank()
    {
        while (m_i < m_s.size() && (m_s[m_i] == ' ' || m_s[m_i] == '\t' || m_s[m_i] == '\r' || m_s[m_i] == '\n'))
            ++m_i;
    }
    static bool wordChar(char c)
    {
        const auto u = static_cast<unsigned char>(c);
        return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' ||
               u == '$' || u >= 0x80;
    }
    bool word(const char *w)
    {
        blank();
        const qsizetype n = qsizetype(std::strlen(w));
        if (m_i + n > m_s.size() || m_s.sliced(m_i, n).compare(QByteArrayView(w, n), Qt::CaseInsensitive) != 0)
            return false;
        if (m_i + n < m_s.size() && wordChar(m_s[m_i + n]))
            return false;
        m_i += n;
        return true;
    }
    bool symbol(char c)
    {
        blank();
        if (m_i < m_s.size() && m_s[m_i] == c) {
            ++m_i;
            return true;
        }
        return false;
    }
    bool identifier()
    {
        blank();
        if (m_i < m_s.size() && m_s[m_i] == '`') {
            for (++m_i; m_i < m_s.size(); ++m_i) {
                if (m_s[m_i] != '`')
                    continue;
                if (m_i + 1 < m_s.size() && m_s[m_i + 1] == '`') {
                    ++m_i;
                    continue;
                }
                ++m_i;
                return true;
            }
            return false;
        }
        const qsizetype start = m_i;
        while (m_i < m_s.size() && wordChar(m_s[m_i]))
            ++m_i;
        return m_i > start;
    }
    // A table of the database the script is loaded into: never database.table.
    bool table()
    {
        if (!identifier())
            return false;
        blank();
        return m_i >= m_s.size() || m_s[m_i] != '.';
    }
    bool literal()
    {
        blank();
        if (m_i >= m_s.size())
            return false;
        const char c = m_s[m_i];
        if (c == '\'') {
            for (++m_i; m_i < m_s.size(); ++m_i) {
                if (m_s[m_i] == '\\') {
                    ++m_i;
                } else if (m_s[m_i] == '\'') {
                    if (m_i + 1 < m_s.size() && m_s[m_i + 1] == '\'') {
                        ++m_i;
                        continue;
                    }
                    ++m_i;
                    return true;
                }
            }
            return false;
        }
        if (word("NULL"))
            return true;
        if (c == '0' && m_i + 1 < m_s.size() && (m_s[m_i + 1] == 'x' || m_s[m_i + 1] == 'X')) {
            m_i += 2;
            const qsizetype start = m_i;
            while (m_i < m_s.size() && std::isxdigit(static_cast<unsigned char>(m_s[m_i])))
                ++m_i;
            return m_i > start && (m_i >= m_s.size() || !wordChar(m_s[m_i]));
        }
        // A number: sign, digits, fraction, exponent.
        const qsizetype start = m_i;
        if (m_s[m_i] == '-' || m_s[m_i] == '+')
            ++m_i;
        const auto digits = [this] {
            const qsizetype from = m_i;
            while (m_i < m_s.size() && m_s[m_i] >= '0' && m_s[m_i] <= '9')
                ++m_i;
            return m_i > from;
        };
        bool any = digits();
        if (m_i < m_s.size() && m_s[m_i] == '.') {
            ++m_i;
            any = digits() || any;
        }
        if (!any)
            return false;
        if (m_i < m_s.size() && (m_s[m_i] == 'e' || m_s[m_i] == 'E')) {
            ++m_i;
            if (m_i < m_s.size() && (m_s[m_i] == '-' || m_s[m_i] == '+'))
                ++m_i;
            if (!digits())
                return false;
        }
        return m_i > start && (m_i >= m_s.size() || !wordChar(m_s[m_i]));
    }
    bool row()
    {
        if (!symbol('(') || !literal())
            return false;
        while (symbol(','))
            if (!literal())
                return false;
        return symbol(')');
    }
    bool end()
    {
        symbol(';');
        blank();
        return m_i == m_s.size();
    }

    QByteArrayView m_s;
    qsizetype m_i = 0;
};

} // namespace

bool isScriptStatement(QByteArrayView statement)
{
    return ScriptStatementCheck(statement).ok();
}

void loadScript(Connection &connection, const QString &file, const std::function<void(qint64)> &progress)
{
    // The script's header sets the session's character set and mode; the caller's
    // session gets its own back afterwards.
    const Dataset session =
        connection.query(QStringLiteral("SELECT @@SESSION.sql_mode, @@SESSION.collation_connection"));
    struct Restore
    {
        Connection &c;
        QString mode;
        QString collation;
        ~Restore()
        {
            try {
                c.exec(QStringLiteral("SET SESSION sql_mode = ") + SqlLiteral(mode));
                c.exec(QStringLiteral("SET NAMES latin2 COLLATE ") + SqlLiteral(collation));
            } catch (const KorvenaError &) {
                // A session that is gone has nothing to restore.
            }
        }
    } restore{connection, session.text(0, 0), session.text(0, 1)};
    qint64 count = 0;
    StatementSplitter splitter([&](const QByteArray &statement) {
        if (!isScriptStatement(statement))
            throw NotAScript(
                QStringLiteral("A fájl nem a program biztonsági mentése, ezért nem töltöm be "
                               "(%1. utasítás: %2)")
                    .arg(count + 1)
                    .arg(Latin2::decode(statement.left(80)).simplified()));
        connection.execBytes(statement);
        ++count;
        if (progress && (count & 63) == 0)
            progress(count);
    });
    QByteArray block(1 << 20, Qt::Uninitialized);

    if (isZipTarget(file)) {
        int code = 0;
        zip_t *z = zip_open(QFile::encodeName(file).constData(), ZIP_RDONLY, &code);
        if (!z)
            throw KorvenaError(
                QStringLiteral("A mentés nem olvasható: %1 (%2)").arg(file, zipErrorText(code)));
        struct Closer
        {
            zip_t *z;
            ~Closer() { zip_discard(z); }
        } closer{z};
        if (zip_get_num_entries(z, 0) != 1)
            throw KorvenaError(QStringLiteral("A mentés archívuma nem egyetlen fájlt tartalmaz: ") + file);
        zip_file_t *entry = zip_fopen_index(z, 0, 0);
        if (!entry)
            throw KorvenaError(QStringLiteral("A mentés nem olvasható: %1 (%2)")
                                   .arg(file, QString::fromLocal8Bit(zip_strerror(z))));
        struct EntryCloser
        {
            zip_file_t *f;
            ~EntryCloser() { zip_fclose(f); }
        } entryCloser{entry};
        for (;;) {
            const zip_int64_t n = zip_fread(entry, block.data(), zip_uint64_t(block.size()));
            if (n < 0)
                throw KorvenaError(QStringLiteral("A mentés nem olvasható: %1 (%2)")
                                       .arg(file, QString::fromLocal8Bit(zip_file_strerror(entry))));
            if (n == 0)
                break;
            splitter.feed(block.constData(), qsizetype(n));
        }
    } else {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            throw KorvenaError(QStringLiteral("A mentés nem olvasható: %1 (%2)").arg(file, f.errorString()));
        for (;;) {
            const qint64 n = f.read(block.data(), block.size());
            if (n < 0)
                throw KorvenaError(
                    QStringLiteral("A mentés nem olvasható: %1 (%2)").arg(file, f.errorString()));
            if (n == 0)
                break;
            splitter.feed(block.constData(), qsizetype(n));
        }
    }
    splitter.finish();
    if (progress)
        progress(count);
}

QString findDumpTool(const QString &configured)
{
    if (!configured.trimmed().isEmpty()) {
        const QFileInfo fi(configured.trimmed());
        if (fi.isFile() && fi.isExecutable())
            return fi.absoluteFilePath();
    }
    for (const char *name : {"mariadb-dump", "mysqldump"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

DumpInvocation dumpInvocation(const QString &tool, const ConnectionParams &params, const QString &target)
{
    DumpInvocation d;
    d.program = tool;
    // Every table is InnoDB: one consistent snapshot, and no table locked while the
    // tool reads it, so the workstations' saves go on.
    d.arguments = {QStringLiteral("-c"),
                   QStringLiteral("-C"),
                   QStringLiteral("--single-transaction"),
                   QStringLiteral("--force"),
                   QStringLiteral("--databases"),
                   params.database,
                   QStringLiteral("--port=") + QString::number(params.port),
                   QStringLiteral("--host=") + params.host,
                   QStringLiteral("--user=") + params.user,
                   QStringLiteral("--result-file=") + target};
    // Quoted, with the escapes the option-file reader knows, so any character survives.
    QByteArray password;
    for (const char c : Latin2::encode(params.password)) {
        switch (c) {
        case '\\':
            password.append("\\\\");
            break;
        case '"':
            password.append("\\\"");
            break;
        case '\n':
            password.append("\\n");
            break;
        case '\r':
            password.append("\\r");
            break;
        case '\t':
            password.append("\\t");
            break;
        default:
            password.append(c);
        }
    }
    d.optionFile = "[client]\npassword=\"" + password + "\"\n";
    return d;
}

FullBackup::FullBackup(QObject *parent) : QObject(parent) {}

FullBackup::~FullBackup()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(3000);
    }
    // A dump cut short is never left behind; the chosen file was not touched.
    if (!m_partFile.isEmpty())
        QFile::remove(m_partFile);
}

bool FullBackup::isRunning() const
{
    return m_process && !m_done;
}

void FullBackup::start(const QString &tool, const ConnectionParams &params, const QString &target)
{
    // The tool writes a file of its own beside the target, readable by its owner only
    // (it holds the passwords of the settings); only a complete dump replaces the target.
    m_target = QFileInfo(target).absoluteFilePath();
    {
        QTemporaryFile part(m_target + QStringLiteral(".XXXXXX.part"));
        part.setAutoRemove(false);
        if (!part.open() || !PrivateFile::restrict(part))
            throw KorvenaError(QStringLiteral("Nem sikerült létrehozni a fájlt: ") + target +
                               QStringLiteral(" (") + part.errorString() + QLatin1Char(')'));
        m_partFile = part.fileName();
    }
    const DumpInvocation d = dumpInvocation(tool, params, m_partFile);
    m_optionFile =
        std::make_unique<QTemporaryFile>(QDir::temp().filePath(QStringLiteral("korvena-dump-XXXXXX.cnf")));
    if (!m_optionFile->open() ||
        !m_optionFile->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        m_optionFile->write(d.optionFile) != d.optionFile.size() || !m_optionFile->flush())
        throw KorvenaError(QStringLiteral("Nem sikerült létrehozni a mentés beállítófájlját: ") +
                           m_optionFile->errorString());
    m_optionFile->close();

    // The tool reads the option file only when it comes first.
    m_arguments =
        QStringList{QStringLiteral("--defaults-extra-file=") + m_optionFile->fileName()} + d.arguments;
    m_process = new QProcess(this);
    m_process->setProgram(d.program);
    m_process->setArguments(m_arguments);
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    m_process->setStandardOutputFile(QProcess::nullDevice());
    connect(m_process, &QProcess::finished, this, &FullBackup::onFinished);
    m_process->start();
    if (!m_process->waitForStarted(10000)) {
        const QString why = m_process->errorString();
        m_process->disconnect(this);
        m_optionFile.reset();
        QFile::remove(m_partFile);
        m_partFile.clear();
        throw KorvenaError(
            QStringLiteral("Nem sikerült elindítani a mentőprogramot (%1): %2").arg(d.program, why));
    }
}

bool FullBackup::waitForFinished(int msecs)
{
    if (m_done || !m_process)
        return true;
    return m_process->waitForFinished(msecs) || m_done;
}

QString FullBackup::optionFilePath() const
{
    return m_optionFile ? m_optionFile->fileName() : QString();
}

void FullBackup::onFinished()
{
    m_done = true;
    m_optionFile.reset();
    bool ok = m_process->exitStatus() == QProcess::NormalExit && m_process->exitCode() == 0;
    QString message = QString::fromLocal8Bit(m_process->readAllStandardError()).trimmed();
    if (ok) {
        const QString why = PrivateFile::replace(m_partFile, m_target);
        if (!why.isEmpty()) {
            ok = false;
            message = QStringLiteral("Nem sikerült létrehozni a fájlt: ") + m_target + QStringLiteral(" (") +
                      why + QLatin1Char(')');
        }
    }
    if (!ok)
        QFile::remove(m_partFile);
    m_partFile.clear();
    Q_EMIT finished(ok, message);
}

} // namespace DatabaseBackup
