// A profile's server field naming several servers: how it is read, and connecting
// through it to the first server that answers.
#include "TestDatabase.h"
#include "core/ConnectionProfile.h"
#include "db/Connection.h"
#include "db/ServerList.h"

#include <QTest>

class TestServerList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // host/port pairs joined by spaces
        QTest::newRow("one server") << "db1" << "db1/3306";
        QTest::newRow("list with ports") << "10.0.0.5,10.0.0.6:3307,db3" << "10.0.0.5/3306 10.0.0.6/3307 db3/3306";
        QTest::newRow("blanks and empty entries") << " a , ,b:1 ," << "a/3306 b/1";
        QTest::newRow("IPv6 without port") << "::1,fe80::2" << "::1/3306 fe80::2/3306";
        QTest::newRow("IPv6 in brackets") << "[::1]:3310,[fe80::2]" << "::1/3310 fe80::2/3306";
        // Not silently the default port: the connection skips it.
        QTest::newRow("bad ports") << "a:x,b:70000,c:" << "a/0 b/0 c/0";
        QTest::newRow("empty") << "" << "";
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QStringList got;
        for (const ServerAddress &a : ParseServerList(text, 3306))
            got << a.host + QLatin1Char('/') + QString::number(a.port);
        QCOMPARE(got.join(QLatin1Char(' ')), expected);
    }

    // A server that refuses is passed over; the server reached becomes the workstation's,
    // so the next connection goes there first and the profile's test passes too.
    void connectsToFirstAnsweringServer()
    {
        TestDatabase database;
        const ConnectionParams server = database.params();
        ConnectionParams params = server;
        params.host = QStringLiteral("127.0.0.1:1,127.0.0.1:%1,127.0.0.1:2").arg(server.port);
        Connection c;
        c.open(params);
        QCOMPARE(c.server().port, server.port);
        QCOMPARE(c.selectValue(QStringLiteral("SELECT 1")).toInt(), 1);
        QCOMPARE(ClusterNode::preferred(params.host, params.port), 1);

        ConnectionProfile profile;
        profile.database = database.name();
        profile.server = params.host;
        profile.port = QString::number(server.port);
        profile.user = server.user;
        profile.password = server.password;
        profile.displayName = QStringLiteral("Fürt");
        const ConnectionProfile back = ConnectionProfile::fromLine(UnscrambleProfile(ScrambleProfile(profile.line())));
        QCOMPARE(back.server, params.host);
        QCOMPARE(testProfile(back), QString());
    }

    void noServerAnswers()
    {
        ConnectionParams params = TestDatabase::serverParams();
        params.host = QStringLiteral("127.0.0.1:1,127.0.0.1:2");
        Connection c;
        try {
            c.open(params);
            QFAIL("connected");
        } catch (const DbError &e) {
            QVERIFY2(e.code() == 2002 || e.code() == 2003, qPrintable(e.text()));
        }
    }
};

QTEST_GUILESS_MAIN(TestServerList)
#include "tst_serverlist.moc"
