#include "TestDatabase.h"
#include "db/Connection.h"
#include "db/DbHelpers.h"
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
    void cleanup()
    {
        UnitOfWork::setStatementHookForTests({});
        UnitOfWork::watchWritesOutsideUnits(nullptr);
    }
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

    // What a statement stopped while the server read a routine or a trigger leaves behind:
    // the unit runs again on a new session, which keeps the variables set through the
    // connection and none set past it.
    void staleServerStateRunsTheUnitOnARenewedSession_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("flushes"); // the table's cached copy is read afresh
        QTest::newRow("routine cache") << QStringLiteral("Table 'kr.iktato_nyom_fej' doesn't exist") << 1146 << false;
        QTest::newRow("trigger copy")
            << QStringLiteral("Trigger 'tr_u' has an error in its body: 'You have an error in your SQL syntax; check "
                              "the manual that corresponds to your MariaDB server version for the right syntax to use "
                              "near '',', 'null', ']')' at line 26'")
            << 1064 << true;
        QTest::newRow("trigger copy, unnamed")
            << QStringLiteral("Unknown trigger has an error in its body: 'Query was empty'") << 1064 << true;
    }
    void staleServerStateRunsTheUnitOnARenewedSession()
    {
        QFETCH(QString, message);
        QFETCH(int, code);
        QFETCH(bool, flushes);
        m_db->connection().exec(QStringLiteral("CREATE TRIGGER IF NOT EXISTS tr_u BEFORE INSERT ON u FOR EACH ROW "
                                               "SET NEW.s = CONCAT(NEW.s, '')"));
        auto c = m_db->newConnection();
        c->setSessionVariable(QStringLiteral("korvena_felhkod"), QStringLiteral("7"));
        c->exec(QStringLiteral("SET @mine = 1"));
        const unsigned long link = c->threadId();
        bool failed = false;
        UnitOfWork::setStatementHookForTests([&](Connection &, const QString &sql) {
            if (!failed && sql.startsWith(QLatin1String("INSERT"))) {
                failed = true;
                throw DbError(message, unsigned(code));
            }
        });
        const auto flushCount = [this] {
            return m_db->connection().query(QStringLiteral("SHOW GLOBAL STATUS LIKE 'Com\\_flush'")).toInt(0, 1);
        };
        const qint64 flushesBefore = flushCount();
        int runs = 0;
        RunUnit(*c, [&] {
            ++runs;
            c->exec(QStringLiteral("INSERT INTO u VALUES (1, 'change')"));
        });
        QCOMPARE(runs, 2);
        if (flushes)
            QVERIFY(flushCount() > flushesBefore);
        QCOMPARE(rows(), 1);
        QVERIFY(c->threadId() != link);
        QCOMPARE(c->selectValue(QStringLiteral("SELECT @korvena_felhkod")).toInt(), 7);
        QVERIFY(c->selectValue(QStringLiteral("SELECT @mine")).isNull());
        QCOMPARE(c->selectValue(QStringLiteral("SELECT @@SESSION.character_set_client")).toString(),
                 QStringLiteral("latin2"));
    }

    // A table that is really missing stays missing: a few renewals, then the error.
    void missingTableFailsAfterAFewRenewals()
    {
        auto c = m_db->newConnection();
        int runs = 0;
        try {
            RunUnit(*c, [&] {
                ++runs;
                c->exec(QStringLiteral("INSERT INTO nincs_ilyen VALUES (1)"));
            });
            QFAIL("no error");
        } catch (const DbError &e) {
            QCOMPARE(e.code(), 1146u);
        }
        QCOMPARE(runs, 4);
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

    void writingStatements_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("writes");
        QTest::newRow("insert") << "INSERT INTO u VALUES (1, '')" << true;
        QTest::newRow("lower case, blanks first") << "\n  update u set s=''" << true;
        QTest::newRow("comment first") << "/* a; b */ DELETE FROM u" << true;
        QTest::newRow("line comment first") << "-- x\nREPLACE INTO u VALUES (1, '')" << true;
        QTest::newRow("truncate") << "TRUNCATE u" << true;
        QTest::newRow("writing routine") << "CALL sp_setstatusz(1,1,5);" << true;
        QTest::newRow("reading routine") << "CALL sp_boritek(3);" << false;
        QTest::newRow("reading routine, quoted") << "call `sp_kiadott`(1)" << false;
        QTest::newRow("select") << "SELECT * FROM u WHERE s='UPDATE'" << false;
        QTest::newRow("unit's own") << "START TRANSACTION" << false;
        QTest::newRow("session") << "SET NAMES latin2" << false;
        QTest::newRow("blank") << "   " << false;
    }
    void writingStatements()
    {
        QFETCH(QString, sql);
        QTEST(UnitOfWork::isWritingStatement(sql), "writes");
    }

    // What a test finds: a write on the watched connection outside a unit, and nothing else.
    void writesOutsideUnitsAreNoted()
    {
        auto c = m_db->newConnection();
        auto other = m_db->newConnection();
        UnitOfWork::watchWritesOutsideUnits(c.get());
        c->exec(QStringLiteral("INSERT INTO u VALUES (1, 'bare')"));
        c->query(QStringLiteral("SELECT * FROM u"));
        other->exec(QStringLiteral("INSERT INTO u VALUES (2, 'other connection')"));
        RunUnit(*c, [&] { c->exec(QStringLiteral("INSERT INTO u VALUES (3, 'in a unit')")); });
        RunUnit(*c, [&] { c->exec(QStringLiteral("INSERT INTO u VALUES (4, 'routine')")); }, UnitKind::Routine);
        QCOMPARE(UnitOfWork::writesOutsideUnits(), QStringList{"INSERT INTO u VALUES (1, 'bare')"});
        UnitOfWork::watchWritesOutsideUnits(nullptr);
        c->exec(QStringLiteral("INSERT INTO u VALUES (5, 'no longer watched')"));
        QCOMPARE(UnitOfWork::writesOutsideUnits().size(), 1);
    }

    // ExecSql is a unit of its own: a conflict the server failed its statement on runs it
    // again, and the row is there once; the insert id stays the statement's.
    void execSqlRunsAsAUnit()
    {
        auto c = m_db->newConnection();
        CurrentConnectionScope scope(c.get());
        c->exec(QStringLiteral("CREATE TEMPORARY TABLE a (id INT AUTO_INCREMENT PRIMARY KEY, s VARCHAR(9))"));
        UnitOfWork::watchWritesOutsideUnits(c.get());
        bool failed = false;
        UnitOfWork::setStatementHookForTests([&](Connection &, const QString &sql) {
            if (!failed && sql.startsWith(QLatin1String("INSERT"))) {
                failed = true;
                throw DbError(QStringLiteral("Deadlock found when trying to get lock"), 1213);
            }
        });
        const int before = UnitOfWork::retries();
        ExecSql(QStringLiteral("INSERT INTO a (s) VALUES ('x')"));
        QVERIFY(failed);
        QCOMPARE(UnitOfWork::retries(), before + 1);
        QCOMPARE(c->lastInsertId(), quint64(1));
        QCOMPARE(c->selectValue(QStringLiteral("SELECT COUNT(*) FROM a")).toInt(), 1);
        QVERIFY(UnitOfWork::writesOutsideUnits().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestUnitOfWork)
#include "tst_unitofwork.moc"
