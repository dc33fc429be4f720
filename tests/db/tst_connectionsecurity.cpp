#include "TestDatabase.h"
#include "db/Connection.h"

#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

Q_DECLARE_METATYPE(TlsMode)

namespace {

const QString Password = QStringLiteral("TopSecret1");

// tests/db/fake_mariadb.py in one of its modes; it records every packet a client sends.
class FakeServer
{
public:
    FakeServer(const QString &mode, const QString &recordFile) : m_record(recordFile)
    {
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.start(QStringLiteral("/usr/bin/python3"),
                        {QStringLiteral(KORVENA_TEST_DATA "/../db/fake_mariadb.py"), mode, recordFile});
        if (!m_process.waitForStarted(10000))
            return;
        while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
        }
        m_port = QByteArray(m_process.readLine()).trimmed().toUInt();
    }
    ~FakeServer()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    ConnectionParams params(TlsMode tls) const
    {
        ConnectionParams p;
        p.port = m_port;
        p.user = QStringLiteral("korvena");
        p.password = Password;
        p.database = QStringLiteral("korvena_demo");
        p.tls = tls;
        p.connectTimeout = 5;
        p.readTimeout = 2;
        p.writeTimeout = 2;
        return p;
    }
    unsigned port() const { return m_port; }
    // Everything the clients sent, packet bodies joined.
    QByteArray received() const
    {
        QFile f(m_record);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QByteArray all;
        for (const QByteArray &line : f.readAll().split('\n'))
            all += QByteArray::fromHex(line) + '\n';
        return all;
    }

private:
    QProcess m_process;
    QString m_record;
    unsigned m_port = 0;
};

QString sslCipher(Connection &c)
{
    return c.query(QStringLiteral("SHOW SESSION STATUS LIKE 'Ssl_cipher'")).value(0, 1).toString();
}

} // namespace

class TestConnectionSecurity : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void serverAskingForClearTextGetsNoPassword_data()
    {
        QTest::addColumn<TlsMode>("tls");
        QTest::newRow("without TLS") << TlsMode::Off;
        QTest::newRow("TLS if the server offers it") << TlsMode::Preferred;
    }
    void serverAskingForClearTextGetsNoPassword()
    {
        QFETCH(TlsMode, tls);
        FakeServer server(QStringLiteral("clear"), m_dir.filePath(QStringLiteral("clear.txt")));
        QVERIFY(server.port() != 0);
        Connection c;
        QVERIFY_THROWS_EXCEPTION(DbError, c.open(server.params(tls)));
        const QByteArray received = server.received();
        // The login itself reached the server: the refusal came after the switch.
        QVERIFY(received.contains("korvena"));
        QVERIFY(!received.contains(Password.toLatin1()));
        QVERIFY(!c.isOpen());
    }

    // A server that cannot encrypt is refused before anything of the login is sent.
    void requiredTlsSendsNothingToAServerWithoutIt()
    {
        FakeServer server(QStringLiteral("clear"), m_dir.filePath(QStringLiteral("plain.txt")));
        QVERIFY(server.port() != 0);
        Connection c;
        QVERIFY_THROWS_EXCEPTION(DbError, c.open(server.params(TlsMode::Required)));
        QVERIFY(!server.received().contains("korvena"));
    }

    void silentServerEndsWithLostConnection()
    {
        FakeServer server(QStringLiteral("silent"), m_dir.filePath(QStringLiteral("silent.txt")));
        QVERIFY(server.port() != 0);
        Connection c;
        try {
            c.open(server.params(TlsMode::Off));
            QFAIL("a server that never answers was taken for a working one");
        } catch (const DbError &e) {
            QVERIFY2(e.isConnectionLost(), qPrintable(e.text()));
            QVERIFY2(e.text().endsWith(QStringLiteral("(2013)")), qPrintable(e.text()));
        }
        // The link is repaired by the next statement, which fails the same way, not for ever.
        QVERIFY_THROWS_EXCEPTION(DbError, c.exec(QStringLiteral("SELECT 1")));
    }

    // The list stream reads on a thread of its own; a silent server ends it with the
    // same failure, and cancelling it stops it at once.
    void silentServerEndsTheListStream()
    {
        FakeServer server(QStringLiteral("silent"), m_dir.filePath(QStringLiteral("stream.txt")));
        QVERIFY(server.port() != 0);
        QueryStream stream;
        stream.start(server.params(TlsMode::Off), QStringLiteral("SELECT 1"), {});
        stream.waitFor(1);
        Dataset rows;
        try {
            stream.take(rows);
            QFAIL("the stream ended without a failure");
        } catch (const DbError &e) {
            QVERIFY2(e.isConnectionLost(), qPrintable(e.text()));
        }
        QVERIFY(!stream.isRunning());
    }

    // A long statement runs where the user can stop it: another thread asks the server.
    void longStatementIsStoppedFromAnotherThread()
    {
        Connection c;
        c.open(TestDatabase::serverParams());
        QString failure;
        std::thread worker([&] {
            try {
                c.selectValue(QStringLiteral("SELECT SLEEP(120)"));
            } catch (const KorvenaError &e) {
                failure = e.text();
            }
        });
        const auto join = qScopeGuard([&] {
            if (worker.joinable()) {
                c.interrupt();
                worker.join();
            }
        });
        Connection watcher;
        watcher.open(TestDatabase::serverParams());
        const QString running = QStringLiteral("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE ID = %1 "
                                               "AND INFO LIKE 'SELECT SLEEP%'")
                                    .arg(c.threadId());
        QTRY_VERIFY_WITH_TIMEOUT(watcher.selectValue(running).toInt() == 1, 20000);
        c.stopStatement();
        worker.join();
        QVERIFY2(failure.endsWith(QStringLiteral("(1317)")), qPrintable(failure));
        QCOMPARE(c.selectValue(QStringLiteral("SELECT 2")).toInt(), 2);
    }

    void tlsModesOnTheTestServer_data()
    {
        QTest::addColumn<TlsMode>("tls");
        QTest::addColumn<bool>("withCa");
        QTest::addColumn<bool>("connects");
        QTest::addColumn<bool>("encrypted");
        QTest::newRow("off") << TlsMode::Off << false << true << false;
        QTest::newRow("preferred") << TlsMode::Preferred << false << true << true;
        QTest::newRow("required, server's authority") << TlsMode::Required << true << true << true;
        // A self-signed certificate is no system authority's.
        QTest::newRow("required, system authorities") << TlsMode::Required << false << false << false;
    }
    void tlsModesOnTheTestServer()
    {
        QFETCH(TlsMode, tls);
        QFETCH(bool, withCa);
        QFETCH(bool, connects);
        QFETCH(bool, encrypted);
        ConnectionParams p = TestDatabase::serverParams();
        QString ca;
        {
            ConnectionParams plain = p;
            plain.tls = TlsMode::Off;
            Connection probe;
            probe.open(plain);
            ca = probe.selectValue(QStringLiteral("SELECT @@ssl_ca")).toString();
        }
        if (ca.isEmpty())
            QSKIP("the private test server runs without TLS (restart it with scripts/localdb)");
        p.tls = tls;
        if (withCa)
            p.tlsCaFile = ca;
        Connection c;
        if (!connects) {
            QVERIFY_THROWS_EXCEPTION(DbError, c.open(p));
            return;
        }
        c.open(p);
        QCOMPARE(!sslCipher(c).isEmpty(), encrypted);
    }
};

QTEST_GUILESS_MAIN(TestConnectionSecurity)
#include "tst_connectionsecurity.moc"
