#pragma once

#include "db/Connection.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class QIODevice;
class QProcess;
class QTemporaryFile;

// Backups of a register: the script the program writes itself (TRUNCATE and
// INSERT IGNORE per table, optionally packed into a ZIP archive), and the full
// backup made by the server's dump tool. Loading a script back is here too, for
// checking a backup against the live register.
namespace DatabaseBackup {

// The lines a script begins with (each followed by CR LF, then an empty line): the
// character set and the session mode its literals need, so that any client, the
// plain command-line client included, loads it unchanged.
inline constexpr const char *ScriptHeader[] = {"SET NAMES latin2;",
                                               "SET SESSION sql_mode = 'NO_AUTO_VALUE_ON_ZERO';"};

// Rows of the first INSERT of a table; every later one holds at most StatementRows.
constexpr int FirstStatementRows = 99;
constexpr int StatementRows = 100;
// A statement that has passed this many bytes ends with its row, so long texts (an
// attachment's text is up to a few MiB) stay within any client's max_allowed_packet.
constexpr qsizetype StatementBytes = 1024 * 1024;

struct Progress
{
    QString table;
    int tableIndex = 0; // from 0
    int tableCount = 0;
    qint64 tableRows = 0;     // rows of this table written so far
    qint64 totalRows = 0;     // rows of all tables written so far
    qint64 totalEstimate = 0; // the server's estimate of all rows (may be off either way)
};
// Called before each table, every few thousand rows and at the end. Returning false stops the backup.
using ProgressFn = std::function<bool(const Progress &)>;

// The base tables of the connection's database in the order the server lists them; views are left out.
QStringList tableNames(Connection &connection);

// Writes the script of the connection's database. The rows are read unbuffered,
// one at a time, so the connection must be used by nothing else meanwhile.
// False when the progress callback stopped it (what was written is incomplete).
// A write failure throws KorvenaError.
bool writeScript(Connection &connection, QIODevice &out, const ProgressFn &progress = {});

// "adatbazis-yyyy-mm-dd-hh-nn-ss": the name a save dialog proposes.
QString proposedFileName(const QString &database, const QDateTime &now);
// The chosen file asks for an archive when its extension is "zip" (any case).
bool isZipTarget(const QString &chosenFile);
// The dump's name: the chosen file, or for an archive the same name with ".sql"
// (the archive's entry, and where the dump is kept when archiving fails).
QString dumpFileFor(const QString &chosenFile);

// Archiving failed; text() is the library's message. The dump is left where it was.
class ArchiveError : public KorvenaError
{
public:
    using KorvenaError::KorvenaError;
};
// Creates (or replaces) the archive holding the file as its single entry, named like
// the file, compressed at the highest level. Throws ArchiveError.
void zipSingleFile(const QString &file, const QString &archive);

enum class Outcome
{
    Written,
    Stopped
};
// The script backup as a user asks for it: a connection of its own with the parameters
// (a refusal throws DbError and nothing is written), the dump, and the archive when the
// chosen file is a .zip (the dump made in a private temporary folder; ArchiveError
// leaves it beside the chosen file under a name no other file has). The file is
// readable by its owner only and replaces the chosen one only when complete: a
// stopped or failed backup leaves no new file behind and the old one as it was.
Outcome scriptBackup(const ConnectionParams &params, const QString &chosenFile,
                     const ProgressFn &progress = {});

// A file that holds a statement no script backup holds (a dump tool's USE, DROP,
// CREATE DATABASE, GRANT, a table of another database, anything but literal rows).
class NotAScript : public KorvenaError
{
public:
    using KorvenaError::KorvenaError;
};
// Whether the statement is one that a script backup holds: a header line, TRUNCATE of
// a table of the current database, or INSERT IGNORE of literal rows into one.
bool isScriptStatement(QByteArrayView statement);

// Runs a script backup (.sql, or a .zip holding one) against the connection's database,
// statement by statement, each checked before it runs: only what a script backup holds
// runs, so loading can write nothing outside that database. Throws NotAScript before
// the first other statement, KorvenaError (DbError from the server) on a failure.
// The statement counts go to the callback when given.
void loadScript(Connection &connection, const QString &file,
                const std::function<void(qint64 statements)> &progress = {});

// The dump tool: the configured path when it names a program, else mariadb-dump, else
// mysqldump from the search path; empty when there is none.
QString findDumpTool(const QString &configured);

// The dump tool's invocation. The password goes into the option file (read first,
// through --defaults-extra-file), never into the arguments, where every user of the
// machine could read it.
struct DumpInvocation
{
    QString program;
    QStringList arguments; // the option file's path is filled in by FullBackup
    QByteArray optionFile; // its contents
};
DumpInvocation dumpInvocation(const QString &tool, const ConnectionParams &params, const QString &target);

// One full backup by the dump tool, running on in the background. The option file
// holding the password lives (mode 0600) only until the tool ends, and then the
// object reports. The tool writes a side file (mode 0600) that replaces the target
// only when the tool succeeded. Destroying it earlier stops the tool and removes the
// side file: give it an owner that outlives the screen.
class FullBackup : public QObject
{
    Q_OBJECT
public:
    explicit FullBackup(QObject *parent = nullptr);
    ~FullBackup() override;

    // Throws KorvenaError when the option file cannot be written or the tool not started.
    void start(const QString &tool, const ConnectionParams &params, const QString &target);
    // For the admin tool and tests: waits (-1: for ever); false on time-out.
    bool waitForFinished(int msecs = -1);
    // Started and not finished yet.
    bool isRunning() const;
    const QString &target() const { return m_target; }
    QString optionFilePath() const;
    const QStringList &arguments() const { return m_arguments; }

Q_SIGNALS:
    // ok: the tool ended with exit code 0; message: its error output otherwise.
    void finished(bool ok, const QString &message);

private:
    void onFinished();

    std::unique_ptr<QTemporaryFile> m_optionFile;
    QProcess *m_process = nullptr;
    QStringList m_arguments;
    QString m_target;
    QString m_partFile; // where the tool writes, moved over the target when it succeeds
    bool m_done = false;
};

} // namespace DatabaseBackup
