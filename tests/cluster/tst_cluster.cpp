// The register on a local three-node Galera cluster: workstations writing through
// different nodes at once, a node failing under them, and what the list shows.
#include "ClusterFixture.h"
#include "TestSupport.h"
#include "core/ClusterReadiness.h"
#include "core/Session.h"
#include "core/TrailVerifier.h"
#include "db/DbHelpers.h"
#include "db/UnitOfWork.h"
#include "register/DocumentEdit.h"

#include <QTest>

#include <atomic>
#include <mutex>
#include <thread>

namespace {

const QString kDatabase = QStringLiteral("kc_cluster");

struct Registrations
{
    QList<qint64> keys;
    QStringList failures;
};

// Workstations on threads, the w-th starting at node firstNode(w), registering docs
// documents each as the editor's Ins does; afterEach runs on a workstation's thread
// after each of its documents with the number done so far in all.
Registrations registerAtOnce(const LocalCluster &cluster, int workstations, int docs,
                             const std::function<int(int)> &firstNode,
                             const std::function<void(int)> &afterEach = {})
{
    Registrations result;
    std::mutex mutex;
    std::atomic<int> done{0};
    std::vector<std::thread> threads;
    for (int w = 0; w < workstations; ++w) {
        threads.emplace_back([&, w] {
            Connection c;
            Connection::setCurrentForThread(&c);
            try {
                c.open(cluster.list(firstNode(w), kDatabase));
                for (int d = 0; d < docs; ++d) {
                    NewDocumentAnswers answers;
                    answers.mainNumber = w % 2; // half of them take sub-numbers of main number 1
                    const qint64 key = DocumentEdit::create(answers, 0, 1).key();
                    {
                        std::lock_guard lock(mutex);
                        result.keys << key;
                    }
                    if (afterEach)
                        afterEach(++done);
                }
            } catch (const KorvenaError &e) {
                std::lock_guard lock(mutex);
                result.failures << e.text();
            }
            Connection::setCurrentForThread(nullptr);
        });
    }
    for (std::thread &t : threads)
        t.join();
    return result;
}

QString keyList(const QList<qint64> &keys)
{
    QStringList texts;
    for (qint64 k : keys)
        texts << QString::number(k);
    return texts.isEmpty() ? QStringLiteral("0") : texts.join(QLatin1Char(','));
}

} // namespace

class TestCluster : public QObject
{
    Q_OBJECT

    LocalCluster m_cluster;

    // What a node holds of the registered rows, read after it applied all the others committed.
    QString fingerprint(int node, const QList<qint64> &keys)
    {
        ConnectionParams p = m_cluster.node(node, kDatabase);
        p.causalReads = true;
        Connection c;
        c.open(p);
        return c.selectValue(QStringLiteral("SELECT CONCAT(COUNT(*), '/', SUM(CRC32(CONCAT_WS('|', iktato, iktato2, az1, "
                                            "IFNULL(az2, ''), IFNULL(targy, ''), IFNULL(megjegyzes, ''))))) FROM iktato "
                                            "WHERE iktato IN (%1)")
                                 .arg(keyList(keys)))
            .toString();
    }

    void verifyRegistered(const Registrations &r, int expected, const QList<int> &nodes)
    {
        QVERIFY2(r.failures.isEmpty(), qPrintable(r.failures.join(QLatin1Char('\n'))));
        QCOMPARE(r.keys.size(), expected);
        Connection c;
        ConnectionParams p = m_cluster.node(nodes.first(), kDatabase);
        p.causalReads = true;
        c.open(p);
        const QString in = keyList(r.keys);
        QCOMPARE(c.selectValue(QStringLiteral("SELECT COUNT(*) FROM iktato WHERE iktato IN (%1)").arg(in)).toInt(),
                 expected);
        // Nothing doubled: no serial number of a year twice, no sub-number of a main number twice.
        QCOMPARE(c.selectValue(QStringLiteral("SELECT COUNT(*) - COUNT(DISTINCT YEAR(dat_erk), iktato2) FROM iktato "
                                              "WHERE iktato IN (%1)")
                                   .arg(in))
                     .toInt(),
                 0);
        QCOMPARE(c.selectValue(QStringLiteral("SELECT COUNT(az2) - COUNT(DISTINCT YEAR(dat_erk), az2) FROM iktato "
                                              "WHERE az1 = 1 AND iktato IN (%1)")
                                   .arg(in))
                     .toInt(),
                 0);
        const QString first = fingerprint(nodes.first(), r.keys);
        for (int n : nodes)
            QCOMPARE(fingerprint(n, r.keys), first);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_cluster.start(), "scripts/localdb cluster start failed");
        Connection admin;
        admin.open(m_cluster.node(1));
        RegisterSchema::install(admin, kDatabase);
        // A node applies the schema in the cluster's order but on its own time: each is
        // waited for, so no workstation meets a table or trigger not yet there.
        for (int n = 2; n <= 3; ++n) {
            Connection c;
            c.open(m_cluster.node(n, kDatabase));
            c.exec(QStringLiteral("SET SESSION wsrep_sync_wait = 1"));
            c.selectValue(QStringLiteral("SELECT COUNT(*) FROM iktato_nyom_fej"));
        }
        session().user.code = 1;
    }

    void checkReportsNodeAndFitness()
    {
        Connection c;
        c.open(m_cluster.node(2, kDatabase));
        const ClusterReport report = ClusterReadiness::check(c, kDatabase);
        QVERIFY(report.clusterNode);
        QCOMPARE(report.nodeState, QStringLiteral("Synced"));
        QCOMPARE(report.clusterSize, 3);
        QVERIFY2(report.fit(), qPrintable((report.nonInnoDbTables + report.tablesWithoutPrimaryKey +
                                           report.serverSettings + report.unreplicatedStatements)
                                              .join(QLatin1Char(' '))));

        // A table the cluster would not replicate, and a routine that locks tables.
        c.exec(QStringLiteral("CREATE TABLE helyi (a INT) ENGINE=Aria"));
        c.exec(QStringLiteral("CREATE PROCEDURE sp_zar() BEGIN DO GET_LOCK('x', 1); END"));
        const ClusterReport unfit = ClusterReadiness::check(c, kDatabase);
        c.exec(QStringLiteral("DROP TABLE helyi"));
        c.exec(QStringLiteral("DROP PROCEDURE sp_zar"));
        QVERIFY(!unfit.fit());
        QCOMPARE(unfit.nonInnoDbTables, QStringList{QStringLiteral("helyi (Aria)")});
        QCOMPARE(unfit.tablesWithoutPrimaryKey, QStringList{QStringLiteral("helyi")});
        QCOMPARE(unfit.unreplicatedStatements, QStringList{QStringLiteral("eljárás sp_zar: GET_LOCK")});
    }

    // Every node writable: the same counter rows taken on three nodes at once.
    void registrationsOnAllNodesAtOnce()
    {
        const Registrations r = registerAtOnce(m_cluster, 6, 20, [](int w) { return 1 + w % 3; });
        verifyRegistered(r, 120, {1, 2, 3});
    }

    // Two workstations on different nodes save different fields of one document at once.
    void concurrentSavesOfOneDocument()
    {
        Connection first;
        first.open(m_cluster.list(1, kDatabase));
        CurrentConnectionScope scope(&first);
        const qint64 key = DocumentEdit::create(NewDocumentAnswers{}, 0, 1).key();
        for (int round = 0; round < 5; ++round) {
            const QString subject = QStringLiteral("Tárgy %1").arg(round);
            const QString remark = QStringLiteral("Megjegyzés %1").arg(round);
            std::vector<std::thread> threads;
            std::mutex mutex;
            QStringList failures;
            for (int w = 0; w < 2; ++w) {
                threads.emplace_back([&, w] {
                    Connection c;
                    Connection::setCurrentForThread(&c);
                    try {
                        // As a workstation opens what its list showed: after its node applied it.
                        ConnectionParams p = m_cluster.list(1 + w, kDatabase);
                        p.causalReads = true;
                        c.open(p);
                        DocumentEdit edit = DocumentEdit::open(key);
                        edit.record().setValue(w == 0 ? QStringLiteral("targy") : QStringLiteral("megjegyzes"),
                                               w == 0 ? subject : remark);
                        edit.addChange(w == 0 ? QStringLiteral("targy") : QStringLiteral("megjegyzes"), QString());
                        edit.save();
                    } catch (const KorvenaError &e) {
                        std::lock_guard lock(mutex);
                        failures << e.text();
                    }
                    Connection::setCurrentForThread(nullptr);
                });
            }
            for (std::thread &t : threads)
                t.join();
            QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
            ConnectionParams p = m_cluster.node(3, kDatabase);
            p.causalReads = true;
            Connection third;
            third.open(p);
            const Dataset row = third.query(
                QStringLiteral("SELECT targy, megjegyzes, (SELECT COUNT(*) FROM iktnaplo n WHERE n.iktato = i.iktato) "
                               "FROM iktato i WHERE iktato = %1")
                    .arg(key));
            QCOMPARE(row.text(0, 0), subject);
            QCOMPARE(row.text(0, 1), remark);
            QCOMPARE(row.value(0, 2).toInt(), 2 * (round + 1));
        }
    }

    // Two nodes changing documents at once: the head row collides at certification, the
    // losing unit runs again, and the trail stays one chain without gaps.
    void trailStaysOneChainAcrossNodes()
    {
        Connection setup;
        setup.open(m_cluster.node(1, kDatabase));
        for (int i = 0; i < 6; ++i)
            setup.exec(QStringLiteral("INSERT INTO iktato (iktato2, targy) VALUES (%1, 'Nyom')").arg(9000 + i));
        // Keys on a cluster step by the number of nodes: take them as they came.
        const Dataset docs = setup.query(QStringLiteral("SELECT iktato FROM iktato WHERE targy = 'Nyom' ORDER BY 1"));
        QCOMPARE(docs.rowCount(), 6);
        const qint64 first = docs.toInt(0, 0);
        constexpr int Changes = 25;
        std::vector<std::thread> threads;
        std::mutex mutex;
        QStringList failures;
        std::atomic<int> ready = 0;
        for (int w = 0; w < 2; ++w) {
            threads.emplace_back([&, w] {
                Connection c;
                try {
                    c.open(m_cluster.node(1 + w, kDatabase));
                    c.exec(QStringLiteral("SET @korvena_felhkod = %1").arg(w + 1));
                    ++ready;
                    while (ready.load() < 2)
                        std::this_thread::yield();
                    for (int n = 0; n < Changes; ++n)
                        RunUnit(c, [&] {
                            c.exec(QStringLiteral("UPDATE iktato SET megjegyzes = 'n%1 w%2' WHERE iktato = %3")
                                       .arg(n)
                                       .arg(w)
                                       .arg(docs.toInt((n + w) % 6, 0)));
                        });
                } catch (const KorvenaError &e) {
                    std::lock_guard lock(mutex);
                    failures << e.text();
                }
            });
        }
        for (std::thread &t : threads)
            t.join();
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
        ConnectionParams p = m_cluster.node(3, kDatabase);
        p.causalReads = true;
        Connection trail, rows;
        trail.open(p);
        rows.open(p);
        const TrailVerifier::Result r = TrailVerifier::verify(trail, rows);
        QVERIFY2(r.ok, qPrintable(r.problem));
        QCOMPARE(trail.selectValue(QStringLiteral("SELECT COUNT(*) FROM iktato_nyom WHERE felhkod IN (1, 2) "
                                                  "AND valtozas LIKE '%megjegyzes%' AND iktato >= %1")
                                          .arg(first))
                     .toInt(),
                 2 * Changes);
    }

    // The list read on one node right after a save on another shows that save.
    void listAfterSaveShowsOtherNodesSave()
    {
        Connection writer;
        writer.open(m_cluster.node(2, kDatabase));
        CurrentConnectionScope scope(&writer);
        const qint64 key = DocumentEdit::create(NewDocumentAnswers{}, 0, 1).key();
        QueryStream list;
        for (int round = 0; round < 30; ++round) {
            DocumentEdit edit = DocumentEdit::open(key);
            const QString subject = QStringLiteral("Mentés %1").arg(round);
            edit.record().setValue(QStringLiteral("targy"), subject);
            edit.addChange(QStringLiteral("targy"), subject);
            edit.save();
            list.start(m_cluster.node(1, kDatabase),
                       QStringLiteral("SELECT targy FROM iktato WHERE iktato = %1").arg(key), {});
            list.waitFor(1);
            Dataset rows;
            list.take(rows);
            QCOMPARE(rows.text(0, 0), subject);
        }
    }

    // A node stops while workstations register through it: they go on through the
    // others, nothing is lost or doubled, nobody sees an error.
    void nodeStopsWhileRegistering()
    {
        std::atomic<bool> stopped{false};
        std::thread stopper;
        const Registrations r = registerAtOnce(
            m_cluster, 6, 20, [](int w) { return w % 2 == 0 ? 2 : 1 + w % 3; },
            [&](int done) {
                if (done == 40 && !stopped.exchange(true))
                    stopper = std::thread([this] { m_cluster.stopNode(2); });
            });
        if (stopper.joinable())
            stopper.join();
        QVERIFY2(stopped, qPrintable(r.failures.join(QLatin1Char('\n'))));
        verifyRegistered(r, 120, {1, 3});
    }
};

QTEST_GUILESS_MAIN(TestCluster)
#include "tst_cluster.moc"
