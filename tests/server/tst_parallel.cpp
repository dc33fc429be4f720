// Several workstations registering at the same moment: every document gets a
// number of its own, with no gaps, also across a yearly restart and above the
// numbers of documents that came from elsewhere.
#include "TestDatabase.h"
#include "db/Connection.h"

#include <QMutex>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

constexpr int Workstations = 8;
constexpr int CallsEach = 40;

// Runs work(i, connection) on one thread per workstation, each with a connection
// of its own, all starting together. Returns the failures the threads met.
template <typename Work> QStringList runTogether(const TestDatabase &db, Work work)
{
    std::vector<std::unique_ptr<Connection>> connections;
    for (int i = 0; i < Workstations; ++i)
        connections.push_back(db.newConnection());
    QMutex mutex;
    QStringList failures;
    std::atomic<int> ready = 0;
    std::vector<std::thread> threads;
    for (int i = 0; i < Workstations; ++i) {
        threads.emplace_back([&, i] {
            ++ready;
            while (ready.load() < Workstations)
                std::this_thread::yield();
            try {
                work(i, *connections[size_t(i)]);
            } catch (const std::exception &e) {
                QMutexLocker lock(&mutex);
                failures << QString::fromUtf8(e.what());
            }
        });
    }
    for (std::thread &t : threads)
        t.join();
    return failures;
}

} // namespace

class TestParallel : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

    Connection &db() { return m_db->connection(); }

    // The numbers column holds first..first+n-1 exactly once each.
    void verifyOneToN(const QString &sql, int n, qint64 first = 1)
    {
        const Dataset d = db().query(sql);
        QCOMPARE(d.rowCount(), n);
        std::vector<qint64> numbers;
        for (int r = 0; r < d.rowCount(); ++r)
            numbers.push_back(d.toInt(r, 0));
        std::sort(numbers.begin(), numbers.end());
        for (int i = 0; i < n; ++i)
            QCOMPARE(numbers[size_t(i)], first + i);
    }

private Q_SLOTS:
    void init() { m_db = std::make_unique<TestDatabase>(); }
    void cleanup() { m_db.reset(); }

    void serialNumbersAreUnique()
    {
        const QStringList failures = runTogether(*m_db, [](int i, Connection &c) {
            for (int n = 0; n < CallsEach; ++n) {
                const Dataset d = c.call(QStringLiteral("sp_iktato"), {-1, 1, i % 3, -1, -1, 0, i + 1});
                if (d.rowCount() != 1 || d.toInt(u"iktato2") <= 0)
                    throw std::runtime_error("sp_iktato returned no numbered row");
            }
        });
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
        verifyOneToN(QStringLiteral("SELECT iktato2 FROM iktato"), Workstations * CallsEach);
    }

    void serialNumbersRestartYearlyUnderLoad()
    {
        db().exec(QStringLiteral("UPDATE beallit SET mindigegyrolindul = 'I'"));
        // half the workstations live on the last day of 2024, half on the first of 2025
        const QStringList failures = runTogether(*m_db, [](int i, Connection &c) {
            c.exec(QStringLiteral("SET timestamp = UNIX_TIMESTAMP('%1 12:00:00')")
                       .arg(i % 2 ? QStringLiteral("2025-01-01") : QStringLiteral("2024-12-31")));
            for (int n = 0; n < CallsEach; ++n)
                c.call(QStringLiteral("sp_iktato"), {-1, 1, 0, -1, -1, 0, i + 1});
        });
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
        const int perYear = Workstations / 2 * CallsEach;
        verifyOneToN(QStringLiteral("SELECT iktato2 FROM iktato WHERE YEAR(dat_erk) = 2024"), perYear);
        verifyOneToN(QStringLiteral("SELECT iktato2 FROM iktato WHERE YEAR(dat_erk) = 2025"), perYear);
    }

    // A document from elsewhere numbered ahead of the counter: every workstation
    // reads that number, and the counter still hands out each following one once.
    void serialNumbersContinueAboveAnImportUnderLoad()
    {
        db().call(QStringLiteral("sp_iktato"), {-1, 1, 0, -1, -1, 0, 1});
        db().exec(
            QStringLiteral("INSERT INTO iktato (iktato2, dat_erk, csoport) VALUES (100, CURDATE(), 1)"));
        const QStringList failures = runTogether(*m_db, [](int i, Connection &c) {
            for (int n = 0; n < CallsEach; ++n)
                c.call(QStringLiteral("sp_iktato"), {-1, 1, 0, -1, -1, 0, i + 1});
        });
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
        verifyOneToN(QStringLiteral("SELECT iktato2 FROM iktato WHERE iktato2 > 100"),
                     Workstations * CallsEach, 101);
    }

    // sp_maxaz2 and registrations with a main number, mixed, on one main number.
    void subNumbersAreUnique()
    {
        QMutex mutex;
        std::vector<qint64> handedOut;
        const QStringList failures = runTogether(*m_db, [&](int i, Connection &c) {
            for (int n = 0; n < CallsEach; ++n) {
                qint64 az2;
                if ((i + n) % 2) {
                    const Dataset d = c.call(QStringLiteral("sp_maxaz2"), {7});
                    az2 = d.toInt(u"maxaz2");
                } else {
                    const Dataset d = c.call(QStringLiteral("sp_iktato"), {-1, 1, 0, -1, -1, 7, i + 1});
                    az2 = d.toInt(u"az2");
                }
                QMutexLocker lock(&mutex);
                handedOut.push_back(az2);
            }
        });
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
        std::sort(handedOut.begin(), handedOut.end());
        QCOMPARE(int(handedOut.size()), Workstations * CallsEach);
        for (size_t i = 0; i < handedOut.size(); ++i)
            QCOMPARE(handedOut[i], qint64(i + 1));
        verifyOneToN(QStringLiteral("SELECT iktato2 FROM iktato"), Workstations * CallsEach / 2);
    }
};

QTEST_GUILESS_MAIN(TestParallel)
#include "tst_parallel.moc"
