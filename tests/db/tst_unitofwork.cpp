#include "TestDatabase.h"
#include "db/Connection.h"
#include "db/UnitOfWork.h"

#include <QTest>

#include <thread>

// A unit's statements commit together, and a unit the server failed runs again whole.
class TestUnitOfWork : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

    int rows(const QString &where = QStringLiteral("1"))
    {
        return m_db->connection()
            .selectValue(QStringLiteral("SELECT COUNT(*) FROM u WHERE ") + where)
            .toInt();
    }
    void kill(Connection &victim)
    {
        auto other = m_db->newConnection();
        other->exec(QStringLiteral("KILL ") + QString::number(victim.threadId()));
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>(TestDatabase::Empty);
        m_db->connection().exec(QStringLiteral(
            "CREATE TABLE u (id INT PRIMARY KEY, s VARCHAR(20)) ENGINE=InnoDB"));
    }
    void init() { m_db->connection().exec(QStringLiteral("DELETE FROM u")); }
    void cleanup() { UnitOfWork::setStatementHookForTests({}); }
    void cleanupTestCase() { m_db.reset(); }

    // The link breaks between the change and its journal row: the server rolled the
    // first back, so the unit runs again and both are there once.
    void linkLostBetweenStatementsRunsTheUnitAgain()
    {
        auto c = m_db->newConnection();
        bool killed = false;
        UnitOfWork::setStatementHookForTests([&](Connection &on, const QString &sql) {
            if (!killed && sql.contains(QStringLiteral("(2,"))) {
                killed = true;
                kill(on);
            }
        });
        int runs = 0;
        RunUnit(*c, [&] {
            ++runs;
            c->exec(QStringLiteral("INSERT INTO u VALUES (1, 'change')"));
            c->exec(QStringLiteral("INSERT INTO u VALUES (2, 'journal')"));
        });
        QVERIFY(killed);
        QCOMPARE(runs, 2);
        QCOMPARE(rows(), 2);
    }

    // A failure that is no conflict leaves nothing of the unit and is not re-run.
    void failedUnitLeavesNothing()
    {
        auto c = m_db->newConnection();
        int runs = 0;
        try {
            RunUnit(*c, [&] {
                ++runs;
                c->exec(QStringLiteral("INSERT INTO u VALUES (1, 'change')"));
                c->exec(QStringLiteral("INSERT INTO u VALUES (1, 'duplicate')"));
            });
            QFAIL("the duplicate key must fail the unit");
        } catch (const DbError &e) {
            QCOMPARE(e.code(), 1062u);
        }
        QCOMPARE(runs, 1);
        QCOMPARE(rows(), 0);
        // and the connection is back in autocommit for what follows
        c->exec(QStringLiteral("INSERT INTO u VALUES (3, 'after')"));
        QCOMPARE(rows(), 1);
    }

    // The link breaks while COMMIT is under way: the unit may be in, so it is not run again.
    void linkLostAtCommitIsHandedOn()
    {
        auto c = m_db->newConnection();
        UnitOfWork::setStatementHookForTests([&](Connection &on, const QString &sql) {
            if (sql == QLatin1String("COMMIT"))
                kill(on);
        });
        int runs = 0;
        try {
            RunUnit(*c, [&] {
                ++runs;
                c->exec(QStringLiteral("INSERT INTO u VALUES (1, 'change')"));
            });
            QFAIL("a commit on a killed link must fail");
        } catch (const DbError &e) {
            QVERIFY2(e.isConnectionLost(), qPrintable(e.text()));
        }
        QCOMPARE(runs, 1);
    }

    // Two workstations take two rows in opposite order: the server fails one with a
    // deadlock, its unit runs again, and both changes are in.
    void deadlockedUnitRunsAgain()
    {
        m_db->connection().exec(QStringLiteral("INSERT INTO u VALUES (1, ''), (2, '')"));
        const int before = UnitOfWork::retries();
        auto work = [this](int first, int second, const char *tag) {
            auto c = m_db->newConnection();
            RunUnit(*c, [&] {
                c->exec(QStringLiteral("UPDATE u SET s=CONCAT(s,'%1') WHERE id=%2").arg(QLatin1String(tag)).arg(first));
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                c->exec(QStringLiteral("UPDATE u SET s=CONCAT(s,'%1') WHERE id=%2").arg(QLatin1String(tag)).arg(second));
            });
        };
        std::exception_ptr failure;
        std::thread a([&] {
            try {
                work(1, 2, "a");
            } catch (...) {
                failure = std::current_exception();
            }
        });
        work(2, 1, "b");
        a.join();
        QVERIFY(!failure);
        QVERIFY(UnitOfWork::retries() > before);
        // each row holds each workstation's mark exactly once
        QCOMPARE(rows(QStringLiteral("LENGTH(s)=2 AND s LIKE '%a%' AND s LIKE '%b%'")), 2);
    }

    void innerUnitJoinsTheOuter()
    {
        auto c = m_db->newConnection();
        try {
            RunUnit(*c, [&] {
                RunUnit(*c, [&] { c->exec(QStringLiteral("INSERT INTO u VALUES (1, 'inner')")); });
                c->exec(QStringLiteral("INSERT INTO u VALUES (1, 'duplicate')"));
            });
        } catch (const DbError &) {
        }
        QCOMPARE(rows(), 0);
    }
};

QTEST_GUILESS_MAIN(TestUnitOfWork)
#include "tst_unitofwork.moc"
