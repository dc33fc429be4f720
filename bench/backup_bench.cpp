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

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

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
    parser.addOption({QStringLiteral("host"), QStringLiteral("server"), QStringLiteral("host"),
                      QStringLiteral("127.0.0.1")});
    parser.addOption(
        {QStringLiteral("port"), QStringLiteral("port"), QStringLiteral("port"), QStringLiteral("3306")});
    parser.addOption(
        {QStringLiteral("user"), QStringLiteral("user"), QStringLiteral("user"), QStringLiteral("root")});
    parser.addOption({QStringLiteral("password"), QStringLiteral("password"), QStringLiteral("password")});
    parser.addOption({QStringLiteral("database"), QStringLiteral("database"), QStringLiteral("name")});
    parser.addOption(
        {QStringLiteral("runs"), QStringLiteral("runs of each"), QStringLiteral("n"), QStringLiteral("3")});
    parser.process(app);

    ConnectionParams p;
    p.host = parser.value(QStringLiteral("host"));
    p.port = parser.value(QStringLiteral("port")).toUInt();
    p.user = parser.value(QStringLiteral("user"));
    p.password = parser.value(QStringLiteral("password"));
    p.database = parser.value(QStringLiteral("database"));
    const int runs = qMax(1, parser.value(QStringLiteral("runs")).toInt());

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
