// The literals and the search condition, read by the server itself.
#include "TestDatabase.h"
#include "db/DbHelpers.h"
#include "common/SqlText.h"

#include <QTest>

class TestSqlTextServer : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

    static QStringList hostileTexts()
    {
        return {QStringLiteral("O'Hara\r\nx"),
                QStringLiteral(R"(C:\iktat\)"),
                QStringLiteral(R"(typed a\r\nb and a\\r\\nb)"),
                QStringLiteral(R"(\')"),
                QStringLiteral("\"Kft\" `x` 'y'"),
                QStringLiteral("50% kedvezmény"),
                QStringLiteral("500 kedvezmény"),
                QStringLiteral("a_b"),
                QStringLiteral("axb"),
                QStringLiteral(R"(c:\x)"),
                QStringLiteral("c:x"),
                QStringLiteral("Győr, Árvíztűrő út"),
                QStringLiteral("GYŐR")};
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>(TestDatabase::Empty);
        ExecSql(QStringLiteral("CREATE TABLE t (id INT PRIMARY KEY, s VARCHAR(100)) "
                               "DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci"));
        const QStringList texts = hostileTexts();
        for (int i = 0; i < texts.size(); ++i)
            ExecSql(QStringLiteral("INSERT INTO t VALUES (%1, ").arg(i) + SqlLiteral(texts[i]) +
                    QStringLiteral(");"));
    }
    void cleanupTestCase() { m_db.reset(); }

    void literalsStoreTheTextAsWritten()
    {
        const QStringList texts = hostileTexts();
        const Dataset rows = db().query(QStringLiteral("SELECT s FROM t ORDER BY id"));
        QCOMPARE(rows.rowCount(), texts.size());
        for (int i = 0; i < texts.size(); ++i)
            QCOMPARE(rows.text(i, 0), texts[i]);
    }

    void searchFindsWhatWasTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("ids");
        QTest::newRow("percent") << "50%" << QList<int>{5};
        QTest::newRow("underscore") << "a_b" << QList<int>{7};
        QTest::newRow("backslash") << R"(c:\x)" << QList<int>{9};
        QTest::newRow("quote") << "o'hara" << QList<int>{0};
        QTest::newRow("typed escape") << R"(a\r\nb)" << QList<int>{2};
        QTest::newRow("case and accents by collation") << "győr" << QList<int>{11, 12};
        QTest::newRow("every word must occur") << "kedvezmény, 500" << QList<int>{6};
    }
    void searchFindsWhatWasTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QList<int>, ids);
        const Dataset rows =
            db().query(QStringLiteral("SELECT id FROM t WHERE (1=1)") +
                       SearchCondition(QStringLiteral("s"), typed, true) + QStringLiteral(" ORDER BY id"));
        QList<int> found;
        for (int r = 0; r < rows.rowCount(); ++r)
            found << int(rows.toInt(r, 0));
        QCOMPARE(found, ids);
    }
};

QTEST_GUILESS_MAIN(TestSqlTextServer)
#include "tst_sqltext_server.moc"
