#include "DocumentFixture.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "db/Dataset.h"
#include "db/DbHelpers.h"
#include "register/Lending.h"
#include "register/Marking.h"
#include "register/Reminders.h"

#include <QtTest>

namespace {

QString textOf(const QString &sql)
{
    return SelectText(sql, QStringLiteral("<none>"));
}

QStringList column(const QString &sql)
{
    QStringList list;
    FillList(list, sql);
    return list;
}

QStringList ids(const QStringList &query)
{
    return column(query.join(QLatin1Char('\n')));
}

} // namespace

// Print marks, statuses, lending and reminders: the statements as sent and their
// effect on a register.
class TestMarking : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

private Q_SLOTS:
    void initTestCase() { m_db = std::make_unique<TestDatabase>(); }
    void init()
    {
        resetProcessState();
        for (const char *table : {"iktato", "iktato_file", "iktnaplo", "statusz", "ugyfel", "tipus", "egyebcsop"})
            ExecSql(QStringLiteral("DELETE FROM ") + QLatin1String(table));
        ExecSql(QStringLiteral("DELETE FROM csoport WHERE csoport <> 1"));
        ExecSql(QStringLiteral("DELETE FROM felhkod_csoport WHERE NOT (felhkod = 1 AND csoport = 1)"));
        DocumentFixture::load();
    }
    void cleanupTestCase() { m_db.reset(); }

    void statements_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::newRow("mark") << Marking::markStatement(101, QStringLiteral("I"))
                              << "UPDATE iktato SET nyomtatni='I' WHERE iktato=101;";
        QTest::newRow("clear all") << Marking::clearAllStatement() << "UPDATE iktato SET nyomtatni='N';";
        QTest::newRow("by project") << Marking::bulkMarkStatement(Marking::BulkKey::Project, 7)
                                    << "UPDATE iktato SET nyomtatni='I' WHERE projekt=7;";
        QTest::newRow("by work number") << Marking::bulkMarkStatement(Marking::BulkKey::WorkNumber, 3)
                                        << "UPDATE iktato SET nyomtatni='I' WHERE munkaszam=3;";
        QTest::newRow("by sender") << Marking::bulkMarkStatement(Marking::BulkKey::Sender, 4)
                                   << "UPDATE iktato SET nyomtatni='I' WHERE ugyf_kitol=4;";
        QTest::newRow("by addressee") << Marking::bulkMarkStatement(Marking::BulkKey::Addressee, 0)
                                      << "UPDATE iktato SET nyomtatni='I' WHERE ugyf_hova=0;";
        QTest::newRow("status") << Marking::setStatusStatement(101, 1, 5) << "CALL sp_setstatusz(101,1,5);";
        QTest::newRow("lend, apostrophe")
            << Lending::lendStatement(102, QDate(2024, 3, 9), QStringLiteral("O'Brien"))
            << "UPDATE iktato SET kolcsonadva='I',kolcsonadva_dat='2024-03-09',kolcsonadva_kinek='O''Brien' WHERE "
               "iktato=102 AND NOT (BINARY kolcsonadva <=> 'I');";
        QTest::newRow("take back")
            << Lending::takeBackStatement(102)
            << "UPDATE iktato SET kolcsonadva='N',kolcsonadva_dat=NULL,kolcsonadva_kinek='' WHERE iktato=102 AND "
               "NOT (BINARY kolcsonadva <=> 'N');";
        QTest::newRow("reminder") << Reminders::setStatement(103, QDate(2025, 1, 2), QStringLiteral("Hívd"))
                                  << "UPDATE iktato SET dat_figy = '2025-01-02', figy_szoveg = 'Hívd' WHERE "
                                     "iktato = 103;";
        QTest::newRow("reminder cleared")
            << Reminders::clearStatement(103)
            << "UPDATE iktato SET dat_figy = NULL, figy_szoveg = NULL WHERE iktato = 103;";
        QTest::newRow("deadline window") << Reminders::deadlineCondition(5)
                                         << "(dat_hatid <= ADDDATE(CURDATE(), +5)) AND (kesz = 'N')";
    }
    void statements()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QCOMPARE(sql, expected);
    }

    // Only an exact 'I' or 'N' decides; NULL and other values let both actions through.
    void flagsDecideExactly_data()
    {
        QTest::addColumn<QByteArray>("flag");
        QTest::addColumn<bool>("null");
        QTest::addColumn<QString>("toggled");
        QTest::addColumn<bool>("refusesLending");
        QTest::addColumn<bool>("refusesTakingBack");
        QTest::newRow("I") << QByteArray("I") << false << "N" << true << false;
        QTest::newRow("N") << QByteArray("N") << false << "I" << false << true;
        QTest::newRow("NULL") << QByteArray() << true << "I" << false << false;
        QTest::newRow("lower case") << QByteArray("i") << false << "I" << false << false;
    }
    void flagsDecideExactly()
    {
        QFETCH(QByteArray, flag);
        QFETCH(bool, null);
        const QByteArrayView view = null ? QByteArrayView() : QByteArrayView(flag);
        QTEST(Marking::toggledMark(view), "toggled");
        QTEST(Lending::refusesLending(view), "refusesLending");
        QTEST(Lending::refusesTakingBack(view), "refusesTakingBack");
    }

    void marksOnTheServer()
    {
        Marking::setMark(103, QStringLiteral("I"));
        QCOMPARE(textOf(QStringLiteral("SELECT nyomtatni FROM iktato WHERE iktato=103")), QStringLiteral("I"));
        // Bulk marking adds marks everywhere the key matches: other groups and deleted documents too.
        ExecSql(QStringLiteral("UPDATE iktato SET projekt = 9 WHERE iktato IN (101, 107, 108)"));
        Marking::bulkMark(Marking::BulkKey::Project, 9);
        QCOMPARE(column(QStringLiteral("SELECT iktato FROM iktato WHERE nyomtatni='I' ORDER BY 1")),
                 (QStringList{"101", "103", "107", "108"}));
        Marking::bulkMark(Marking::BulkKey::Sender, 1);
        QCOMPARE(column(QStringLiteral("SELECT iktato FROM iktato WHERE nyomtatni='I' ORDER BY 1")),
                 (QStringList{"101", "103", "107", "108"}));
        Marking::clearAll();
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktato WHERE nyomtatni <> 'N'"), -1), 0);
    }

    void statusGoesThroughTheServerRoutine()
    {
        Marking::setStatus(103, 1, 5);
        QCOMPARE(SelectInt(QStringLiteral("SELECT statusz FROM iktato WHERE iktato=103"), -1), 5);
        QCOMPARE(textOf(QStringLiteral("SELECT szoveg FROM iktnaplo WHERE iktato=103")),
                 QStringLiteral("statusz = Kész (5)"));
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktato WHERE statusz = 5"), -1), 2);
    }

    void lendingKeepsNamesAndDays()
    {
        QVERIFY(Lending::lend(103, QDate(2020, 2, 29), QStringLiteral("O'Brien Ödön")));
        QCOMPARE(textOf(QStringLiteral("SELECT kolcsonadva_kinek FROM iktato WHERE iktato=103")),
                 QStringLiteral("O'Brien Ödön"));
        QCOMPARE(textOf(QStringLiteral("SELECT kolcsonadva_dat FROM iktato WHERE iktato=103")),
                 QStringLiteral("2020-02-29"));
        // NULL and '' give one empty choice, first in the server's order.
        ExecSql(QStringLiteral("UPDATE iktato SET kolcsonadva_kinek = '' WHERE iktato = 104"));
        QCOMPARE(Lending::names(), (QStringList{"", "O'Brien Ödön", "Szabó Éva"}));

        QVERIFY(Lending::takeBack(103));
        QCOMPARE(textOf(QStringLiteral("SELECT CONCAT(kolcsonadva, '/', IFNULL(kolcsonadva_dat, 'NULL'), '/', "
                                       "kolcsonadva_kinek) FROM iktato WHERE iktato=103")),
                 QStringLiteral("N/NULL/"));
    }

    void reminderOfOneDay()
    {
        // A second member of group 1 doubles the view's rows of its documents.
        ExecSql(QStringLiteral("INSERT INTO felhkod_csoport (felhkod, csoport) VALUES (2, 1), (1, 2)"));
        const QDate today = ServerDate();
        Reminders::set(103, today, QString());
        Reminders::set(107, today, QStringLiteral("törölt"));
        Reminders::set(108, today, QStringLiteral("titkos"));
        Reminders::set(104, today.addDays(1), QStringLiteral("holnap"));
        QCOMPARE(textOf(QStringLiteral("SELECT IFNULL(figy_szoveg, 'NULL') FROM iktato WHERE iktato=103")),
                 QString());
        QCOMPARE(Reminders::countToday(), 3);
        QCOMPARE(ids(Reminders::listQuery(today)).size(), 3);
        QCOMPARE(ids(Reminders::listQuery(today.addDays(1))).size(), 1);

        Reminders::clear(103);
        Reminders::clear(107);
        Reminders::clear(108);
        QCOMPARE(Reminders::countToday(), 0);
        QCOMPARE(textOf(QStringLiteral("SELECT CONCAT(IFNULL(dat_figy, 'NULL'), IFNULL(figy_szoveg, 'NULL')) FROM "
                                       "iktato WHERE iktato=103")),
                 QStringLiteral("NULLNULL"));
    }

    void deadlinesWithinTheWindow_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<QStringList>("subjects");
        QTest::newRow("none") << -1 << QStringList();
        QTest::newRow("today") << 0 << QStringList{"lejárt", "ma"};
        QTest::newRow("five days") << 5 << QStringList{"lejárt", "ma", "öt nap"};
    }
    void deadlinesWithinTheWindow()
    {
        QFETCH(int, days);
        ExecSql(QStringLiteral("UPDATE iktato SET dat_hatid = NULL"));
        ExecSql(QStringLiteral("UPDATE statusz SET kesz = 'I' WHERE statusz = 5"));
        ExecSql(QStringLiteral(
            "INSERT INTO iktato (iktato, targy, dat_hatid, csoport, statusz, torolve) VALUES "
            "(201, 'lejárt', CURDATE() - INTERVAL 30 DAY, 1, 1, 'N'), (202, 'ma', CURDATE(), 1, NULL, 'N'), "
            "(203, 'öt nap', CURDATE() + INTERVAL 5 DAY, 1, 0, 'N'), "
            "(204, 'hat nap', CURDATE() + INTERVAL 6 DAY, 1, 0, 'N'), "
            "(205, 'kész régi', CURDATE() - INTERVAL 900 DAY, 1, 5, 'N')"));
        if (!Reminders::deadlinesWatched(days)) {
            QVERIFY(days < 0);
            return;
        }
        QFETCH(QStringList, subjects);
        QCOMPARE(Reminders::countExpiring(days) > 0, !subjects.isEmpty());
        const Dataset rows = m_db->connection().query(Reminders::deadlineQuery(days).join(QLatin1Char('\n')));
        QStringList listed;
        for (int r = 0; r < rows.rowCount(); ++r)
            listed << rows.text(r, rows.requireField(u"targy"));
        listed.sort();
        QCOMPARE(listed, subjects);
    }
};

QTEST_GUILESS_MAIN(TestMarking)
#include "tst_marking.moc"
