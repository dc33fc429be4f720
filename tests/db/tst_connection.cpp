#include "TestDatabase.h"
#include "db/DbHelpers.h"
#include "common/SqlText.h"
#include "db/Connection.h"

#include <QTest>

class TestConnection : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>(TestDatabase::Empty);
        m_db->connection().exec(QStringLiteral(
            "CREATE TABLE t (id INT AUTO_INCREMENT PRIMARY KEY, s VARCHAR(255), l TEXT) "
            "ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci"));
    }
    void cleanupTestCase() { m_db.reset(); }

    void sessionUsesHungarianCollation()
    {
        Connection &c = m_db->connection();
        QCOMPARE(c.selectValue(QStringLiteral("SELECT @@collation_connection")).toString(),
                 QStringLiteral("latin2_hungarian_ci"));
        QCOMPARE(c.selectValue(QStringLiteral("SELECT @@character_set_client")).toString(),
                 QStringLiteral("latin2"));
    }

    void sessionModeKeepsLiteralsExact_data()
    {
        QTest::addColumn<QString>("serverMode");
        QTest::newRow("empty") << QString();
        QTest::newRow("no backslash escapes alone") << QStringLiteral("NO_BACKSLASH_ESCAPES");
        QTest::newRow("no backslash escapes among others")
            << QStringLiteral("ANSI_QUOTES,NO_BACKSLASH_ESCAPES,STRICT_ALL_TABLES");
    }
    void sessionModeKeepsLiteralsExact()
    {
        QFETCH(QString, serverMode);
        auto c = m_db->newConnection();
        c->exec(QStringLiteral("SET SESSION sql_mode = '") + serverMode + QLatin1Char('\''));
        c->exec(sessionModeStatement());
        const QString mode = c->selectValue(QStringLiteral("SELECT @@SESSION.sql_mode")).toString();
        QVERIFY2(!mode.contains(QStringLiteral("NO_BACKSLASH_ESCAPES")), qPrintable(mode));
        QVERIFY2(mode.contains(QStringLiteral("STRICT_")), qPrintable(mode));
        const QString text = QStringLiteral("C:\\mappa\\új");
        QCOMPARE(c->selectValue(QStringLiteral("SELECT ") + SqlLiteral(text)).toString(), text);
    }

    void textRoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes") << QStringLiteral("O'Hara \"idézet\" `x`");
        QTest::newRow("backslashes") << QStringLiteral("C:\\mappa\\\\n \\' \\");
        QTest::newRow("line breaks") << QStringLiteral("első\r\nmásodik\nharmadik\rnegyedik");
        QTest::newRow("escaped breaks stay text") << QStringLiteral("a\\r\\nb \\\\r\\\\n");
        QTest::newRow("like wildcards") << QStringLiteral("100% _jelölt_");
        QTest::newRow("hungarian") << QStringLiteral("árvíztűrő tükörfúrógép ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP őŐűŰ");
        QTest::newRow("sql looking") << QStringLiteral("'); DROP TABLE t; -- /* */ #");
        QTest::newRow("255 characters") << QString(254, QLatin1Char('x')) + QStringLiteral("ő");
        QTest::newRow("tab and nul-free control") << QStringLiteral("a\tb\x01c");
    }
    void textRoundTrip()
    {
        QFETCH(QString, text);
        ExecSql(QStringLiteral("INSERT INTO t (s, l) VALUES (") + SqlLiteral(text) + QStringLiteral(", ") +
                SqlLiteral(QString(text + text)) + QStringLiteral(");"));
        const qint64 id = qint64(m_db->connection().lastInsertId());
        const Dataset d = m_db->connection().query(QStringLiteral("SELECT s, l FROM t WHERE id=") + QString::number(id));
        QCOMPARE(d.rowCount(), 1);
        QCOMPARE(d.text(0, 0), text);
        QCOMPARE(d.text(0, 1), text + text);
        // and it is found by its own literal
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM t WHERE id=") + QString::number(id) +
                               QStringLiteral(" AND s=") + SqlLiteral(text),
                           -1),
                 1);
    }

    // Word-processor punctuation goes as its code page 1250 byte, which latin2 leaves
    // to control codes: stored, found and read back as it was.
    void typographicTextIsStoredAndFound()
    {
        Connection &c = m_db->connection();
        const QString text = QStringLiteral("„Idézet” – 5 € …");
        ExecSql(QStringLiteral("INSERT INTO t (s) VALUES (") + SqlLiteral(text) + QStringLiteral(")"));
        const QString id = QString::number(c.lastInsertId());
        QCOMPARE(c.selectValue(QStringLiteral("SELECT HEX(s) FROM t WHERE id=") + id).toString(),
                 QStringLiteral("844964E97A6574942096203520802085"));
        QCOMPARE(c.query(QStringLiteral("SELECT s FROM t WHERE id=") + id).text(0, 0), text);
        for (const QString &piece : {QStringLiteral("„Idézet”"), QStringLiteral("–"), QStringLiteral("€ …"),
                                     QStringLiteral("idézet")}) {
            // The collation weighs some of these bytes like letters (” like ö), so other rows
            // may match too; this one must.
            QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM t WHERE id=") + id +
                                   QStringLiteral(" AND s LIKE ") +
                                   SqlLiteral(QString(QLatin1Char('%') + piece + QLatin1Char('%'))),
                               -1),
                     1);
        }
    }

    void bytesOfACodePage1250ClientReadRight_data()
    {
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QString>("text");
        QTest::newRow("S caron") << "8A"
                                 << "Š";
        QTest::newRow("quotation marks") << "8461629320"
                                         << "„ab“ ";
        QTest::newRow("latin2 letters") << "F5FBA9"
                                        << "őűŠ";
    }
    void bytesOfACodePage1250ClientReadRight()
    {
        QFETCH(QString, hex);
        QFETCH(QString, text);
        ExecSql(QStringLiteral("INSERT INTO t (s) VALUES (UNHEX('") + hex + QStringLiteral("'))"));
        const QString id = QString::number(m_db->connection().lastInsertId());
        QCOMPARE(m_db->connection().query(QStringLiteral("SELECT s FROM t WHERE id=") + id).text(0, 0), text);
    }

    void textTheRegisterCannotHoldIsRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("named");
        QTest::newRow("check mark") << QStringLiteral("kész ✓") << QStringLiteral("✓");
        QTest::newRow("emoji") << QStringLiteral("„jó” 😀") << QStringLiteral("😀");
        QTest::newRow("cyrillic") << QStringLiteral("Жук") << QStringLiteral("Ж");
        QTest::newRow("copyright") << QStringLiteral("© Kft.") << QStringLiteral("©");
    }
    void textTheRegisterCannotHoldIsRefused()
    {
        QFETCH(QString, text);
        QFETCH(QString, named);
        const int before = SelectInt(QStringLiteral("SELECT COUNT(*) FROM t"), -1);
        try {
            ExecSql(QStringLiteral("INSERT INTO t (s) VALUES (") + SqlLiteral(text) + QStringLiteral(")"));
            QFAIL("accepted text the register cannot hold");
        } catch (const EncodingError &e) {
            QCOMPARE(e.text(),
                     QStringLiteral("A szöveg olyan karaktert tartalmaz, amelyet az adatbázis nem tud "
                                    "tárolni: „%1”. Kérem, javítsa.")
                         .arg(named));
        }
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM t"), -1), before);
    }

    void tooLongTextIsRefusedNotCut()
    {
        try {
            ExecSql(QStringLiteral("INSERT INTO t (s) VALUES (") + SqlLiteral(QString(256, QLatin1Char('y'))) +
                    QStringLiteral(")"));
            QFAIL("256 characters went into a 255-character column");
        } catch (const DbError &e) {
            QCOMPARE(e.code(), 1406u);
            QVERIFY(e.text().endsWith(QStringLiteral(" (1406)")));
        }
    }

    void serverErrorCarriesMessageAndNumber()
    {
        try {
            m_db->connection().query(QStringLiteral("SELECT * FROM nincs_ilyen_tabla"));
            QFAIL("no error");
        } catch (const DbError &e) {
            QCOMPARE(e.code(), 1146u);
            QVERIFY(e.text().contains(QStringLiteral("nincs_ilyen_tabla")));
            QVERIFY(e.text().endsWith(QStringLiteral(" (1146)")));
            QVERIFY(!e.isConnectionLost());
        }
        QCOMPARE(LastSql(), QStringLiteral("SELECT * FROM nincs_ilyen_tabla"));
        // the connection is still usable
        QCOMPARE(SelectInt(QStringLiteral("SELECT 7"), 0), 7);
    }

    void reconnectsAfterKillAndSetsNamesFirst()
    {
        auto a = m_db->newConnection();
        auto killer = m_db->newConnection();
        a->exec(QStringLiteral("SET NAMES 'latin1'")); // a repaired link must not keep this
        const unsigned long before = a->threadId();
        killer->exec(QStringLiteral("KILL ") + QString::number(before));
        QTest::qWait(100);
        const QString text = QStringLiteral("Öt szép szűzlány őrült írót nyúz");
        const Dataset d = a->query(QStringLiteral("SELECT ") + SqlLiteral(text) +
                                   QStringLiteral(" AS t, @@collation_connection AS c"));
        QCOMPARE(d.text(0, 0), text);
        QCOMPARE(d.text(0, 1), QStringLiteral("latin2_hungarian_ci"));
        QVERIFY(a->threadId() != before);
        QCOMPARE(a->reconnectCount(), 1);
    }

    void sessionVariablesOutliveAReconnection()
    {
        auto a = m_db->newConnection();
        auto killer = m_db->newConnection();
        a->setSessionVariable(QStringLiteral("ki"), SqlInt(42));
        a->setSessionVariable(QStringLiteral("nev"), SqlLiteral(QStringLiteral("Árvíztűrő")));
        QCOMPARE(a->selectValue(QStringLiteral("SELECT @ki")).toInt(), 42);
        killer->exec(QStringLiteral("KILL ") + QString::number(a->threadId()));
        QTest::qWait(100);
        const Dataset d = a->query(QStringLiteral("SELECT @ki, @nev"));
        QCOMPARE(d.value(0, 0).toInt(), 42);
        QCOMPARE(d.text(0, 1), QStringLiteral("Árvíztűrő"));
        QCOMPARE(a->reconnectCount(), 1);

        // Text the register cannot hold is refused before anything is kept, so it
        // cannot break every later reconnection.
        QVERIFY_THROWS_EXCEPTION(EncodingError,
                                 a->setSessionVariable(QStringLiteral("ki"), SqlLiteral(QStringLiteral("日本"))));
        QCOMPARE(a->sessionVariable(QStringLiteral("ki")), SqlInt(42));
    }

    // On a server whose sessions start with autocommit off, what a statement wrote would
    // stay uncommitted and locked until the session ends: a new connection and a
    // repaired one both switch it on.
    void everySessionStartsWithAutocommit()
    {
        ConnectionParams p = m_db->params();
        p.initStatement = QStringLiteral("SET autocommit = 0");
        Connection a;
        a.open(p);
        auto other = m_db->newConnection();
        const auto written = [&](const QString &mark) {
            a.exec(QStringLiteral("INSERT INTO t (s) VALUES (") + SqlLiteral(mark) + QStringLiteral(")"));
            return other->selectValue(QStringLiteral("SELECT COUNT(*) FROM t WHERE s = ") + SqlLiteral(mark))
                .toInt();
        };
        QCOMPARE(a.selectValue(QStringLiteral("SELECT @@autocommit")).toInt(), 1);
        QCOMPARE(written(QStringLiteral("after open")), 1);

        other->exec(QStringLiteral("KILL ") + QString::number(a.threadId()));
        QTest::qWait(100);
        QCOMPARE(written(QStringLiteral("after reconnect")), 1);
        QCOMPARE(a.reconnectCount(), 1);
        QCOMPARE(a.selectValue(QStringLiteral("SELECT @@autocommit")).toInt(), 1);
    }

    void storedProcedureResultIsDrained()
    {
        Connection &c = m_db->connection();
        c.exec(QStringLiteral("CREATE PROCEDURE p(IN x INT, IN s VARCHAR(50)) SELECT x + 1 AS y, s AS s"));
        const Dataset d = c.call(QStringLiteral("p"), {41, QStringLiteral("ő'\\")});
        QCOMPARE(d.rowCount(), 1);
        QCOMPARE(d.value(0, 0).toInt(), 42);
        QCOMPARE(d.text(0, 1), QStringLiteral("ő'\\"));
        // nothing left queued: the next statement runs
        QCOMPARE(SelectInt(QStringLiteral("SELECT 5"), 0), 5);
    }

    void typedFields()
    {
        const Dataset d = m_db->connection().query(QStringLiteral(
            "SELECT 12 AS i, 12345678901 AS b, CAST(1.5 AS DECIMAL(5,2)) AS dc, 2.25e0 AS f, "
            "DATE('2024-03-05') AS d, TIMESTAMP('2024-03-05 10:11:12') AS dt, TIME('10:11:12') AS tm, "
            "'szöveg' AS s, NULL AS n, CAST('ab' AS BINARY) AS bin"));
        QCOMPARE(d.field(0).type, FieldType::Integer);
        QCOMPARE(d.field(1).type, FieldType::BigInt);
        QCOMPARE(d.field(2).type, FieldType::Decimal);
        QCOMPARE(d.field(3).type, FieldType::Float);
        QCOMPARE(d.field(4).type, FieldType::Date);
        QCOMPARE(d.field(5).type, FieldType::DateTime);
        QCOMPARE(d.field(6).type, FieldType::Time);
        QCOMPARE(d.field(7).type, FieldType::Text);
        QCOMPARE(d.field(9).type, FieldType::Binary);
        QCOMPARE(d.value(0, 1).toLongLong(), 12345678901LL);
        QCOMPARE(d.value(0, 2).toDouble(), 1.5);
        QCOMPARE(d.value(0, 4).toDate(), QDate(2024, 3, 5));
        QCOMPARE(d.value(0, 5).toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(10, 11, 12)));
        QCOMPARE(d.value(0, 6).toTime(), QTime(10, 11, 12));
        QCOMPARE(d.text(0, 7), QStringLiteral("szöveg"));
        QVERIFY(d.isNull(0, 8));
        QVERIFY(!d.value(0, 8).isValid());
        QCOMPARE(d.displayText(0, 4), QStringLiteral("2024.03.05"));
        QCOMPARE(d.value(0, 9).toByteArray(), QByteArray("ab"));
    }

    void refusedConnectionRaisesDbError()
    {
        ConnectionParams p = TestDatabase::serverParams();
        p.port = 1; // nothing listens there
        p.connectTimeout = 5;
        Connection c;
        try {
            c.open(p);
            QFAIL("connected to a closed port");
        } catch (const DbError &e) {
            QVERIFY(e.code() == 2002 || e.code() == 2003);
            QVERIFY(e.text().endsWith(QStringLiteral(" (%1)").arg(e.code())));
        }
        QVERIFY(!c.isOpen());
        QVERIFY_THROWS_EXCEPTION(DbError, c.exec(QStringLiteral("SELECT 1")));
    }

    void wrongPasswordRaisesDbError()
    {
        ConnectionParams p = m_db->params();
        p.password = QStringLiteral("rossz");
        Connection c;
        QVERIFY_THROWS_EXCEPTION(DbError, c.open(p));
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
