// The demo register: counts, consistency of the generated rows, Hungarian text,
// visibility, and numbering that registering goes on with afterwards.
#include "TestDatabase.h"
#include "demo/DemoData.h"
#include "db/Connection.h"

#include <QCryptographicHash>
#include <QTest>

namespace {

const QDate Today(2024, 3, 15);

DemoOptions options(int documents, quint32 seed)
{
    DemoOptions o;
    o.documents = documents;
    o.seed = seed;
    o.today = Today;
    o.batchRows = 150; // several batches even for a small demo
    return o;
}

// Every row of the tables the demo writes, as one digest.
QByteArray fingerprint(Connection &c)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const char *sql :
         {"SELECT * FROM iktato ORDER BY iktato", "SELECT * FROM iktnaplo ORDER BY iktnaplo",
          "SELECT * FROM iktato_file ORDER BY iktato_file", "SELECT * FROM masolat ORDER BY iktato, ugyfel",
          "SELECT * FROM ugyfel ORDER BY ugyfel", "SELECT * FROM felhkod_csoport ORDER BY 1, 2"}) {
        const Dataset d = c.query(QString::fromLatin1(sql));
        for (int r = 0; r < d.rowCount(); ++r) {
            for (int col = 0; col < d.fieldCount(); ++col) {
                hash.addData(d.isNull(r, col) ? QByteArrayView("\x01") : d.raw(r, col));
                hash.addData(QByteArrayView("\x00", 1));
            }
        }
    }
    return hash.result();
}

} // namespace

class TestDemoData : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    DemoSummary m_summary;

    Connection &db() { return m_db->connection(); }
    int count(const QString &sql) { return db().selectValue(sql).toInt(); }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        m_summary = DemoData(db(), options(500, 7)).run();
    }
    void cleanupTestCase() { m_db.reset(); }

    void rowCountsMatchTheSummary()
    {
        QCOMPARE(m_summary.documents, 500);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM iktato")), 500);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM iktnaplo")), m_summary.journalRows);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM iktato_file")), m_summary.attachments);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM masolat")), m_summary.copies);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ugyfel")),
                 m_summary.clients + m_summary.internalClients);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM felhasznalo")), 1 + m_summary.users);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM iktato WHERE torolve = 'I'")), m_summary.deleted);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM iktato WHERE kolcsonadva = 'I'")),
                 m_summary.lent);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM iktato WHERE nyomtatni = 'I'")),
                 m_summary.marked);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM iktato WHERE dat_figy IS NOT NULL")),
                 m_summary.reminders);
        QVERIFY(count(QStringLiteral("SELECT COUNT(*) FROM irsz")) >= 150);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM statusz WHERE statusz BETWEEN 0 AND 9")), 10);
    }

    // Each row names something every demo register shows at least once.
    void registerShowsEveryKind_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("incoming") << "SELECT COUNT(*) FROM iktato WHERE irany = 0";
        QTest::newRow("outgoing") << "SELECT COUNT(*) FROM iktato WHERE irany = 1";
        QTest::newRow("other") << "SELECT COUNT(*) FROM iktato WHERE irany = 2";
        QTest::newRow("first year") << "SELECT COUNT(*) FROM iktato WHERE YEAR(dat_erk) = 2021";
        QTest::newRow("this year") << "SELECT COUNT(*) FROM iktato WHERE YEAR(dat_erk) = 2024";
        QTest::newRow("reminder today") << "SELECT COUNT(*) FROM iktato WHERE dat_figy = '2024-03-15'";
        QTest::newRow("lent") << "SELECT COUNT(*) FROM iktato WHERE kolcsonadva = 'I'";
        QTest::newRow("marked") << "SELECT COUNT(*) FROM iktato WHERE nyomtatni = 'I'";
        QTest::newRow("deleted") << "SELECT COUNT(*) FROM iktato WHERE torolve = 'I'";
        QTest::newRow("main number") << "SELECT COUNT(*) FROM iktato WHERE az1 > 0";
        QTest::newRow("without main number") << "SELECT COUNT(*) FROM iktato WHERE az1 = 0";
        QTest::newRow("open deadline") << "SELECT COUNT(*) FROM vw_iktato WHERE kesz = 'N' AND fcs = 1";
        QTest::newRow("finished") << "SELECT COUNT(*) FROM vw_iktato WHERE kesz = 'I' AND fcs = 1";
        QTest::newRow("long subject") << "SELECT COUNT(*) FROM iktato WHERE CHAR_LENGTH(targy) > 40";
        QTest::newRow("internal client") << "SELECT COUNT(*) FROM ugyfel WHERE belso = 'I'";
        QTest::newRow("external client") << "SELECT COUNT(*) FROM ugyfel WHERE belso = 'N'";
        QTest::newRow("deleted client")
            << "SELECT COUNT(*) FROM vw_ugyfel v RIGHT JOIN ugyfel u USING (ugyfel) "
               "WHERE v.ugyfel IS NULL";
        QTest::newRow("attachment") << "SELECT COUNT(*) FROM iktato_file";
        QTest::newRow("document deletion journal") << "SELECT COUNT(*) FROM iktnaplo WHERE szoveg IS NULL";
        QTest::newRow("reader without rights") << "SELECT COUNT(*) FROM felhasznalo WHERE canins = 'N'";
        QTest::newRow("organisation") << "SELECT COUNT(*) FROM vw_tulajdonos WHERE tulajdonos <> ''";
    }
    void registerShowsEveryKind()
    {
        QFETCH(QString, sql);
        QVERIFY2(count(sql) > 0, qPrintable(sql));
    }

    // Each row counts the rows that break one rule; none may.
    void rowsAreConsistent_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("serial number twice in a year")
            << "SELECT COUNT(*) FROM (SELECT YEAR(dat_erk), iktato2 FROM iktato GROUP BY 1, 2 HAVING "
               "COUNT(*) > 1) x";
        QTest::newRow("serial numbers not in date order")
            << "SELECT COUNT(*) FROM iktato a JOIN iktato b ON b.iktato = a.iktato + 1 WHERE b.iktato2 <= "
               "a.iktato2 "
               "OR b.dat_erk < a.dat_erk";
        QTest::newRow("sub-number twice") << "SELECT COUNT(*) FROM (SELECT az1, az2 FROM iktato WHERE az1 > "
                                             "0 GROUP BY 1, 2 HAVING COUNT(*) > 1) x";
        QTest::newRow("sub-number without main number")
            << "SELECT COUNT(*) FROM iktato WHERE (az1 = 0) <> (az2 IS NULL) OR az1 IS NULL";
        QTest::newRow("unknown main number")
            << "SELECT COUNT(*) FROM iktato WHERE az1 > 0 AND az1 NOT IN (SELECT foszam FROM foszam)";
        QTest::newRow("arrival in the future or before the span")
            << "SELECT COUNT(*) FROM iktato WHERE dat_erk > '2024-03-15' OR dat_erk < '2021-01-01'";
        QTest::newRow("deadline or retention before arrival")
            << "SELECT COUNT(*) FROM iktato WHERE dat_hatid < dat_erk OR dat_megorzes < dat_erk OR dat_hatid "
               "IS NULL";
        QTest::newRow("reminder half set")
            << "SELECT COUNT(*) FROM iktato WHERE (dat_figy IS NULL) <> (figy_szoveg IS NULL)";
        QTest::newRow("lent without date or person")
            << "SELECT COUNT(*) FROM iktato WHERE kolcsonadva = 'I' AND (kolcsonadva_dat IS NULL OR "
               "kolcsonadva_kinek = '' OR kolcsonadva_dat < dat_erk OR kolcsonadva_dat > '2024-03-15')";
        QTest::newRow("in with a lending date")
            << "SELECT COUNT(*) FROM iktato WHERE kolcsonadva = 'N' AND (kolcsonadva_dat IS NOT NULL OR "
               "kolcsonadva_kinek <> '')";
        QTest::newRow("flag other than I or N") << "SELECT COUNT(*) FROM iktato WHERE torolve NOT IN ('I', "
                                                   "'N') OR nyomtatni NOT IN ('I', 'N') OR "
                                                   "kolcsonadva NOT IN ('I', 'N') OR torolve IS NULL";
        QTest::newRow("unknown client") << "SELECT COUNT(*) FROM iktato i WHERE (ugyf_kitol > 0 AND "
                                           "ugyf_kitol NOT IN (SELECT ugyfel FROM ugyfel)) "
                                           "OR (ugyf_hova > 0 AND ugyf_hova NOT IN (SELECT ugyfel FROM "
                                           "ugyfel)) OR (ugyf_intezkedesre > 0 AND "
                                           "ugyf_intezkedesre NOT IN (SELECT ugyfel FROM ugyfel)) OR "
                                           "ugyf_kitol IS NULL OR ugyf_hova IS NULL";
        QTest::newRow("incoming from or outgoing to an internal client")
            << "SELECT COUNT(*) FROM iktato i JOIN ugyfel u ON u.ugyfel = IF(i.irany = 0, i.ugyf_kitol, "
               "i.ugyf_hova) "
               "WHERE i.irany IN (0, 1) AND u.belso = 'I'";
        QTest::newRow("unknown master data")
            << "SELECT COUNT(*) FROM iktato WHERE projekt NOT IN (SELECT projekt FROM projekt) OR munkaszam "
               "NOT IN "
               "(SELECT munkaszam FROM munkaszam) OR tipus NOT IN (SELECT tipus FROM tipus) OR egyebcsop NOT "
               "IN "
               "(SELECT egyebcsop FROM egyebcsop) OR statusz NOT IN (SELECT statusz FROM statusz) OR csoport "
               "NOT IN "
               "(SELECT csoport FROM csoport) OR felhkod NOT IN (SELECT felhkod FROM felhasznalo)";
        QTest::newRow("registered by a user outside the group")
            << "SELECT COUNT(*) FROM iktato i WHERE NOT EXISTS (SELECT 1 FROM felhkod_csoport m WHERE "
               "m.felhkod = i.felhkod AND m.csoport = i.csoport)";
        QTest::newRow("attachment storage name")
            << "SELECT COUNT(*) FROM iktato_file WHERE filenev NOT LIKE CONCAT(LPAD(iktato, 7, '0'), '-%')";
        QTest::newRow("attachment sequence number")
            << "SELECT COUNT(*) FROM iktato_file f WHERE SUBSTRING_INDEX(SUBSTRING(f.filenev, 9), '.', 1) <> "
               "IFNULL((SELECT MAX(g.iktato_file) FROM iktato_file g WHERE g.iktato = f.iktato AND "
               "g.iktato_file < f.iktato_file), 0) + 1";
        QTest::newRow("attachment extension")
            << "SELECT COUNT(*) FROM iktato_file WHERE origfilenev LIKE '%.%' AND "
               "SUBSTRING_INDEX(filenev, '.', -1) <> SUBSTRING_INDEX(origfilenev, '.', -1)";
        QTest::newRow("journal or attachment of no document")
            << "SELECT (SELECT COUNT(*) FROM iktnaplo WHERE iktato NOT IN (SELECT iktato FROM iktato)) + "
               "(SELECT COUNT(*) FROM iktato_file WHERE iktato NOT IN (SELECT iktato FROM iktato)) + "
               "(SELECT COUNT(*) FROM masolat WHERE iktato NOT IN (SELECT iktato FROM iktato))";
        QTest::newRow("document without its registering journal row")
            << "SELECT COUNT(*) FROM iktato i WHERE NOT EXISTS (SELECT 1 FROM iktnaplo n WHERE n.iktato = "
               "i.iktato "
               "AND n.szoveg LIKE 'targy = %')";
        QTest::newRow("deleted without its journal row")
            << "SELECT COUNT(*) FROM iktato i WHERE torolve = 'I' AND NOT EXISTS (SELECT 1 FROM iktnaplo n "
               "WHERE "
               "n.iktato = i.iktato AND n.szoveg IS NULL)";
        QTest::newRow("journal in the future")
            << "SELECT COUNT(*) FROM iktnaplo n JOIN iktato i USING (iktato) WHERE n.datum < i.dat_erk OR "
               "n.datum >= '2024-03-16'";
        QTest::newRow("copy to the addressee or to no client")
            << "SELECT COUNT(*) FROM masolat m JOIN iktato i USING (iktato) WHERE m.ugyfel = i.ugyf_hova OR "
               "m.ugyfel NOT IN (SELECT ugyfel FROM ugyfel)";
        QTest::newRow("user who cannot log in")
            << "SELECT COUNT(*) FROM felhasznalo WHERE jelszomd5 <> MD5('pirkalo') OR torolve <> 'N'";
        QTest::newRow("login twice") << "SELECT COUNT(*) - COUNT(DISTINCT felhasznalo) FROM felhasznalo";
        QTest::newRow("group without members")
            << "SELECT COUNT(*) FROM csoport WHERE csoport NOT IN (SELECT csoport FROM felhkod_csoport)";
        QTest::newRow("client text too wide for the view")
            << "SELECT COUNT(*) FROM vw_ugyfel WHERE CHAR_LENGTH(cimstr) > 83";
    }
    void rowsAreConsistent()
    {
        QFETCH(QString, sql);
        QVERIFY2(count(sql) == 0, qPrintable(sql));
    }

    void everyDocumentIsVisibleToTheAdministrator()
    {
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM vw_iktato WHERE fcs = 1")), 500);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(DISTINCT iktato) FROM vw_iktato WHERE fcs = 1")), 500);
        // The other users see only their groups' documents, but all of them see some.
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM felhasznalo f WHERE NOT EXISTS "
                                      "(SELECT 1 FROM vw_iktato v WHERE v.fcs = f.felhkod)")),
                 0);
        QVERIFY(
            count(QStringLiteral("SELECT COUNT(*) FROM vw_iktato v JOIN felhasznalo f ON f.felhkod = v.fcs "
                                 "WHERE f.felhasznalo = 'molnar.odon'")) < 500);
    }

    void hungarianTextRoundTrips_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Ő in a town") << "SELECT varos FROM irsz WHERE irsz = '2162'"
                                     << QStringLiteral("Őrbottyán");
        QTest::newRow("ű in a town") << "SELECT varos FROM irsz WHERE irsz = '5435'"
                                     << QStringLiteral("Martfű");
        QTest::newRow("ő and ű in a user name")
            << "SELECT felhasznalo_nev FROM felhasznalo WHERE felhasznalo = 'szucs.gyozo'"
            << QStringLiteral("Szűcs Győző");
        QTest::newRow("group") << "SELECT csoport_nev FROM csoport WHERE csoport_nev LIKE 'M_szaki%'"
                               << QStringLiteral("Műszaki osztály");
        QTest::newRow("line break in a remark")
            << "SELECT megjegyzes FROM iktato WHERE megjegyzes LIKE 'Az _gyf_l telefonon%' LIMIT 1"
            << QStringLiteral("Az ügyfél telefonon is jelezte.\r\nVisszahívás megtörtént.");
        QTest::newRow("apostrophe in a remark")
            << "SELECT megjegyzes FROM iktato WHERE megjegyzes LIKE 'O''Brien%' LIMIT 1"
            << QStringLiteral("O'Brien úr levele szerint a szállítás két hetet késik.");
        QTest::newRow("journal line breaks")
            << "SELECT COUNT(*) > 0 FROM iktnaplo WHERE szoveg LIKE CONCAT('targy = %', CHAR(13, 10)) LIMIT 1"
            << QStringLiteral("1");
        QTest::newRow("no character lost on the way")
            << "SELECT (SELECT COUNT(*) FROM iktato WHERE targy LIKE '%?%' OR megjegyzes LIKE '%?%') + "
               "(SELECT COUNT(*) FROM ugyfel WHERE ugyfel_nev LIKE '%?%' OR cim LIKE '%?%')"
            << QStringLiteral("0");
        QTest::newRow("collation folds case of ő")
            << "SELECT COUNT(*) > 0 FROM irsz WHERE varos = 'ŐRBOTTYÁN'" << QStringLiteral("1");
    }
    void hungarianTextRoundTrips()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QCOMPARE(db().selectValue(sql).toString(), expected);
    }

    void sameSeedGivesTheSameRegister()
    {
        TestDatabase again;
        DemoData(again.connection(), options(500, 7)).run();
        QCOMPARE(fingerprint(again.connection()), fingerprint(db()));
        TestDatabase other;
        DemoData(other.connection(), options(500, 8)).run();
        QVERIFY(fingerprint(other.connection()) != fingerprint(db()));
    }

    // A register that already numbered a document gets the demo on top, twice, and
    // registering afterwards goes on after the largest numbers, with either numbering rule.
    void registeringContinuesAfterTheDemo_data()
    {
        QTest::addColumn<bool>("yearly");
        QTest::newRow("continuous numbering") << false;
        QTest::newRow("numbering restarts every year") << true;
    }
    void registeringContinuesAfterTheDemo()
    {
        QFETCH(bool, yearly);
        TestDatabase fresh;
        Connection &c = fresh.connection();
        const QString flag = yearly ? QStringLiteral("'I'") : QStringLiteral("'N'");
        c.exec(QStringLiteral("UPDATE beallit SET mindigegyrolindul = %1, alszamevenkent = %1").arg(flag));
        // The routines' CURDATE() is the demo's today.
        c.exec(QStringLiteral("SET timestamp = UNIX_TIMESTAMP('2024-03-15 12:00:00')"));
        c.call(QStringLiteral("sp_iktato"), {-1, 1, 0, -1, -1, 0, 1});

        const DemoSummary first = DemoData(c, options(200, 1)).run();
        const DemoSummary second = DemoData(c, options(200, 2)).run();
        QCOMPARE(second.users, 0);
        QCOMPARE(second.groups, 0);
        QCOMPARE(second.postalCodes, 0);
        QCOMPARE(second.statuses, 0);
        QCOMPARE(first.statuses, 10);
        QCOMPARE(c.selectValue(QStringLiteral("SELECT COUNT(*) FROM iktato")).toInt(), 401);
        QCOMPARE(
            c.selectValue(QStringLiteral("SELECT COUNT(*) FROM (SELECT YEAR(dat_erk), iktato2 FROM iktato "
                                         "GROUP BY 1, 2 HAVING COUNT(*) > 1) x"))
                .toInt(),
            0);

        const QString scope = yearly ? QStringLiteral(" AND YEAR(dat_erk) = 2024") : QString();
        const int mainNumber =
            c.selectValue(QStringLiteral("SELECT MAX(az1) FROM iktato WHERE az1 > 0") + scope).toInt();
        QVERIFY(mainNumber > 0);
        const int maxSerial =
            c.selectValue(QStringLiteral("SELECT MAX(iktato2) FROM iktato WHERE 1 = 1") + scope).toInt();
        const int maxSub =
            c.selectValue(QStringLiteral("SELECT MAX(az2) FROM iktato WHERE az1 = %1").arg(mainNumber) +
                          scope)
                .toInt();
        const int maxKey = c.selectValue(QStringLiteral("SELECT MAX(iktato) FROM iktato")).toInt();
        const Dataset created = c.call(QStringLiteral("sp_iktato"), {-1, 1, 0, -1, -1, mainNumber, 1});
        QCOMPARE(created.toInt(0, created.requireField(u"iktato2")), maxSerial + 1);
        QCOMPARE(created.toInt(0, created.requireField(u"az2")), maxSub + 1);
        QCOMPARE(created.toInt(0, created.requireField(u"iktato")), maxKey + 1);
        const QString firstOf2022 =
            QStringLiteral("SELECT MIN(iktato2) FROM iktato WHERE YEAR(dat_erk) = 2022");
        QCOMPARE(c.selectValue(firstOf2022).toInt() == 1, yearly);
    }
};

QTEST_GUILESS_MAIN(TestDemoData)
#include "tst_demodata.moc"
