// Backup benchmark, run by hand against a register filled by
// "korvena-admin demo --documents 100000":
//
//   backup_bench --port 3306 --user korvena --password korvena --database demo [--runs 3]
//
// Times the program's script backup (what "Biztonsági mentés készítés" and
// "korvena-admin backup" write) next to mariadb-dump (or mysqldump) dumping the
// same database as the full backup starts it, both on the compressed protocol the
// program uses. Each figure is the median of the runs. Memory: the
// process's peak resident size before and after its backups, and the dump tool's
// peak, so a flat figure against a large file shows the rows are streamed.
#include "BenchSupport.h"
#include "core/DatabaseBackup.h"
#include "db/Connection.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <sys/resource.h>

namespace {

using bench::median;
using bench::out;

long peakKiB(int who)
{
    rusage u{};
    getrusage(who, &u);
    return u.ru_maxrss;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const bench::ServerOptions server(parser, 3);
    parser.process(app);

    const ConnectionParams p = server.params();
    const int runs = server.runs();

    const QString tool = DatabaseBackup::findDumpTool(QString());
    if (tool.isEmpty()) {
        out() << "no mariadb-dump or mysqldump found\n";
        return 1;
    }
    QTemporaryDir dir;
    const QString ours = dir.filePath(QStringLiteral("script.sql"));
    const QString theirs = dir.filePath(QStringLiteral("dump.sql"));

    qint64 rows = 0;
    {
        Connection c;
        c.open(p);
        for (const QString &t : DatabaseBackup::tableNames(c))
            rows += c.selectValue(QStringLiteral("SELECT COUNT(*) FROM `%1`").arg(t)).toLongLong();
    }

    const long peakBefore = peakKiB(RUSAGE_SELF);
    QList<double> script, dump;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        DatabaseBackup::scriptBackup(p, ours);
        script << timer.nsecsElapsed() / 1e9;

        DatabaseBackup::FullBackup full;
        timer.start();
        full.start(tool, p, theirs);
        full.waitForFinished(-1);
        dump << timer.nsecsElapsed() / 1e9;
    }
    const long peakAfter = peakKiB(RUSAGE_SELF);

    out() << "register: " << p.database << ", " << rows << " rows in all tables, compressed protocol, "
          << runs << " runs (median)\n";
    out() << QStringLiteral("%1 %2 s  %3 MiB\n")
                 .arg(QStringLiteral("script backup").leftJustified(28))
                 .arg(median(script), 7, 'f', 2)
                 .arg(QFileInfo(ours).size() / 1048576.0, 7, 'f', 1);
    out() << QStringLiteral("%1 %2 s  %3 MiB\n")
                 .arg(QFileInfo(tool).fileName().leftJustified(28))
                 .arg(median(dump), 7, 'f', 2)
                 .arg(QFileInfo(theirs).size() / 1048576.0, 7, 'f', 1);
    out() << "peak resident size: this process " << peakBefore / 1024 << " MiB before the backups, "
          << peakAfter / 1024 << " MiB after; the dump tool " << peakKiB(RUSAGE_CHILDREN) / 1024 << " MiB\n";
    return 0;
}
