// Registration benchmark, run by hand against a register on one server or a cluster:
//
//   KORVENA_PASSWORD=korvena registration_bench --hosts H1:P1,H2:P2,H3:P3 --user korvena
//       --database NAME --workstations 12 --documents 100 [--halfway "scripts/localdb cluster stop 2"]
//
// W workstations (threads, each with its own connection, the i-th starting at the i-th
// host and moving on to the others when its node fails) register N documents each as
// the editor's Ins does (DocumentEdit::create: sp_iktato in a unit of work). --halfway runs
// a command once half of the documents are registered (stopping a node). The last lines:
// "registered R of W*N", "failed F", "duplicate serial numbers D", the time.
#include "BenchSupport.h"
#include "db/Connection.h"
#include "db/DbHelpers.h"
#include "db/UnitOfWork.h"
#include "register/DocumentEdit.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <atomic>
#include <mutex>
#include <thread>

namespace {

// The host list with the i-th host first.
QString rotated(const QStringList &hosts, int i)
{
    QStringList list;
    for (int k = 0; k < hosts.size(); ++k)
        list << hosts.at((i + k) % hosts.size());
    return list.join(QLatin1Char(','));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Registration benchmark"));
    parser.addHelpOption();
    const QCommandLineOption hostsOption(QStringLiteral("hosts"), QStringLiteral("Servers, H:P,H:P,..."),
                                         QStringLiteral("list"), QStringLiteral("127.0.0.1:3306"));
    const QCommandLineOption userOption(QStringLiteral("user"), QStringLiteral("User."), QStringLiteral("user"),
                                        QStringLiteral("korvena"));
    const QCommandLineOption databaseOption(QStringLiteral("database"), QStringLiteral("Register."),
                                            QStringLiteral("name"));
    const QCommandLineOption workstationsOption(QStringLiteral("workstations"), QStringLiteral("Workstations."),
                                                QStringLiteral("W"), QStringLiteral("12"));
    const QCommandLineOption documentsOption(QStringLiteral("documents"), QStringLiteral("Documents each."),
                                             QStringLiteral("N"), QStringLiteral("100"));
    const QCommandLineOption userCodeOption(QStringLiteral("user-code"), QStringLiteral("User key (felhkod)."),
                                            QStringLiteral("code"), QStringLiteral("1"));
    const QCommandLineOption halfwayOption(QStringLiteral("halfway"),
                                           QStringLiteral("Shell command run once half of the documents are in."),
                                           QStringLiteral("command"));
    parser.addOptions({hostsOption, userOption, databaseOption, workstationsOption, documentsOption, userCodeOption,
                       halfwayOption});
    parser.process(app);

    const QStringList hosts = parser.value(hostsOption).split(QLatin1Char(','), Qt::SkipEmptyParts);
    const int workstations = qMax(1, parser.value(workstationsOption).toInt());
    const int documents = qMax(1, parser.value(documentsOption).toInt());
    const int userCode = parser.value(userCodeOption).toInt();
    const QString halfway = parser.value(halfwayOption);
    ConnectionParams base;
    base.port = 3306;
    base.user = parser.value(userOption);
    base.password = qEnvironmentVariable("KORVENA_PASSWORD");
    base.database = parser.value(databaseOption);

    std::atomic<int> registered{0}, failed{0};
    std::atomic<bool> halfwayRun{false};
    std::mutex keysMutex;
    QList<qint64> keys;
    QStringList failures;
    const int total = workstations * documents;
    std::thread halfwayThread;

    QElapsedTimer timer;
    timer.start();
    std::vector<std::thread> threads;
    for (int w = 0; w < workstations; ++w) {
        threads.emplace_back([&, w] {
            ConnectionParams params = base;
            params.host = rotated(hosts, w);
            Connection connection;
            Connection::setCurrentForThread(&connection);
            try {
                connection.open(params);
            } catch (const KorvenaError &e) {
                failed += documents;
                std::lock_guard lock(keysMutex);
                failures << e.text();
                return;
            }
            for (int d = 0; d < documents; ++d) {
                try {
                    NewDocumentAnswers answers;
                    const DocumentEdit edit = DocumentEdit::create(answers, 0, userCode);
                    std::lock_guard lock(keysMutex);
                    keys << edit.key();
                    ++registered;
                } catch (const KorvenaError &e) {
                    ++failed;
                    std::lock_guard lock(keysMutex);
                    failures << e.text();
                }
                if (!halfway.isEmpty() && registered + failed >= total / 2 && !halfwayRun.exchange(true))
                    halfwayThread = std::thread([halfway] {
                        QProcess::execute(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), halfway});
                    });
            }
            Connection::setCurrentForThread(nullptr);
        });
    }
    for (std::thread &t : threads)
        t.join();
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (halfwayThread.joinable())
        halfwayThread.join();

    // Counted on the register itself, on every server of the list that answers.
    QTextStream &out = bench::out();
    qint64 duplicates = -1;
    QStringList keyTexts;
    for (qint64 k : keys)
        keyTexts << QString::number(k);
    for (const QString &host : hosts) {
        ConnectionParams params = base;
        params.host = host;
        params.causalReads = true;
        Connection check;
        try {
            check.open(params);
        } catch (const KorvenaError &e) {
            out << host << ": " << e.text() << "\n";
            continue;
        }
        const QString inKeys = keyTexts.isEmpty() ? QStringLiteral("0") : keyTexts.join(QLatin1Char(','));
        const qint64 rows =
            check.selectValue(QStringLiteral("SELECT COUNT(*) FROM iktato WHERE iktato IN (%1)").arg(inKeys)).toLongLong();
        const qint64 dup =
            check
                .selectValue(QStringLiteral("SELECT COUNT(*) - COUNT(DISTINCT YEAR(dat_erk), iktato2) FROM iktato "
                                            "WHERE iktato IN (%1)")
                                 .arg(inKeys))
                .toLongLong();
        out << host << ": " << rows << " of the registered rows\n";
        duplicates = qMax(duplicates, dup);
    }
    QStringList distinctFailures = failures;
    distinctFailures.removeDuplicates();
    for (const QString &f : distinctFailures.mid(0, 5))
        out << "failure: " << f << "\n";
    out << "units re-run " << UnitOfWork::retries() << "\n";
    out << "registered " << registered.load() << " of " << total << "\n";
    out << "failed " << failed.load() << "\n";
    out << "duplicate serial numbers " << duplicates << "\n";
    out << "time " << QString::number(seconds, 'f', 2) << " s (" << QString::number(registered / seconds, 'f', 1)
        << " registrations/s)\n";
    out.flush();
    return failed.load() == 0 && duplicates == 0 ? 0 : 1;
}
