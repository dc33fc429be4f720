// What the views derive: subject cut, one row per group member, done flag,
// registration identifier and the other computed columns.
#include "TestDatabase.h"
#include "db/Connection.h"

#include <QTest>

class TestViews : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

    Connection &db() { return m_db->connection(); }
    int count(const QString &sql) { return db().selectValue(sql).toInt(); }

    // A document straight in the table, outside the numbering.
    int addDocument(int group, const QString &extraColumns = {}, const QString &extraValues = {})
    {
        db().exec(
            QStringLiteral("INSERT INTO iktato (csoport, irany, dat_erk%1) VALUES (%2, 0, '2024-03-05'%3)")
                .arg(extraColumns.isEmpty() ? QString() : QStringLiteral(", ") + extraColumns)
                .arg(group)
                .arg(extraValues.isEmpty() ? QString() : QStringLiteral(", ") + extraValues));
        return int(db().lastInsertId());
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        // group 2 has three members (users 2, 3, 4), group 3 none
        db().exec(
            QStringLiteral("INSERT INTO csoport (csoport, csoport_nev) VALUES (2, 'Pénzügy'), (3, 'Üres')"));
        db().exec(
            QStringLiteral("INSERT INTO felhasznalo (felhkod, felhasznalo, felhasznalo_nev) VALUES "
                           "(2, 'anna', 'Kiss Anna'), (3, 'bela', 'Nagy Béla'), (4, 'cecil', 'Tóth Cecil')"));
        db().exec(
            QStringLiteral("INSERT INTO felhkod_csoport (felhkod, csoport) VALUES (2, 2), (3, 2), (4, 2), "
                           "(2, 1)"));
    }
    void cleanupTestCase() { m_db.reset(); }

    void subjectIsCutAfterFortyCharacters_data()
    {
        QTest::addColumn<QString>("targy");
        QTest::addColumn<QString>("xtargy");
        const QString forty = QStringLiteral("Árvíztűrő tükörfúrógép ajánlat 2024 őszi"); // 40
        QTest::newRow("40 characters, accented: whole") << forty << forty;
        QTest::newRow("41 characters: 37 and dots")
            << QString(forty + QStringLiteral("X")) << QString(forty.left(37) + QStringLiteral("..."));
        QTest::newRow("blank at 37 is trimmed")
            << QString(QString(36, QLatin1Char('a')) + QStringLiteral(" bbbbbbbbbb"))
            << QString(QString(36, QLatin1Char('a')) + QStringLiteral("..."));
        QTest::newRow("short") << QStringLiteral("Levél") << QStringLiteral("Levél");
        QTest::newRow("empty") << QStringLiteral("") << QStringLiteral("");
    }
    void subjectIsCutAfterFortyCharacters()
    {
        QFETCH(QString, targy);
        QFETCH(QString, xtargy);
        const int key =
            addDocument(1, QStringLiteral("targy"), QLatin1Char('\'') + targy + QLatin1Char('\''));
        const Dataset d =
            db().query(QStringLiteral("SELECT xtargy, targy FROM vw_iktato WHERE fcs=1 AND iktato=%1").arg(key));
        QCOMPARE(d.rowCount(), 1);
        QCOMPARE(d.text(0, 0), xtargy);
        QCOMPARE(d.text(0, 1), targy);
    }

    void documentAppearsOncePerGroupMember()
    {
        const int shared = addDocument(2);
        const Dataset d =
            db().query(QStringLiteral("SELECT fcs FROM vw_iktato WHERE iktato=%1 ORDER BY fcs").arg(shared));
        QCOMPARE(d.rowCount(), 3);
        QCOMPARE(d.toInt(0, 0), 2);
        QCOMPARE(d.toInt(1, 0), 3);
        QCOMPARE(d.toInt(2, 0), 4);
        QCOMPARE(
            count(QStringLiteral("SELECT COUNT(DISTINCT iktato) FROM vw_iktato WHERE iktato=%1").arg(shared)),
            1);

        // nobody's group, group 0 and a group that does not exist: in no list
        for (int group : {3, 0, 99})
            QCOMPARE(
                count(
                    QStringLiteral("SELECT COUNT(*) FROM vw_iktato WHERE iktato=%1").arg(addDocument(group))),
                0);
        const int nullGroup = addDocument(1);
        db().exec(QStringLiteral("UPDATE iktato SET csoport=NULL WHERE iktato=%1").arg(nullGroup));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM vw_iktato WHERE iktato=%1").arg(nullGroup)), 0);
    }

    // The references of a new document are 0 or NULL: the document still lists, with empty names.
    void missingReferencesStillList()
    {
        const int key = addDocument(1, QStringLiteral("ugyf_kitol, ugyf_hova, projekt, tipus, statusz"),
                                    QStringLiteral("0, NULL, 0, 77, 5"));
        const Dataset d = db().query(QStringLiteral("SELECT * FROM vw_iktato WHERE fcs=1 AND iktato=%1").arg(key));
        QCOMPARE(d.rowCount(), 1);
        for (const char *name : {"ugyf_kitol_nev", "ugyf_kinek_nev", "ugyf_intezkedesre_nev", "projekt_nev",
                                 "munkaszam_nev", "tipus_nev"})
            QVERIFY2(d.isNull(0, d.requireField(QString::fromLatin1(name))), name);
        QCOMPARE(d.text(u"csoport_nev"), QStringLiteral("Általános"));
    }

    void namesComeFromTheirTables()
    {
        db().exec(QStringLiteral("INSERT INTO ugyfel (ugyfel, ugyfel_nev) VALUES (11, 'Feladó Kft.'), "
                                 "(12, 'Címzett Bt.'), (13, 'Ügyintéző Ödön')"));
        db().exec(QStringLiteral("INSERT INTO projekt (projekt, projekt_nev) VALUES (5, 'Híd')"));
        db().exec(QStringLiteral("INSERT INTO munkaszam (munkaszam, munkaszam_nev) VALUES (6, 'M-6')"));
        db().exec(QStringLiteral("INSERT INTO tipus (tipus, tipus_nev) VALUES (7, 'Számla')"));
        db().exec(QStringLiteral("INSERT INTO foszam (foszam, foszam_nev) VALUES (12, 'Szerződések')"));
        const int key =
            addDocument(1,
                        QStringLiteral("ugyf_kitol, ugyf_hova, ugyf_intezkedesre, projekt, munkaszam, "
                                       "tipus, az1, az2"),
                        QStringLiteral("11, 12, 13, 5, 6, 7, 12, 3"));
        const Dataset d = db().query(QStringLiteral("SELECT * FROM vw_iktato WHERE fcs=1 AND iktato=%1").arg(key));
        QCOMPARE(d.text(u"ugyf_kitol_nev"), QStringLiteral("Feladó Kft."));
        QCOMPARE(d.text(u"ugyf_kinek_nev"), QStringLiteral("Címzett Bt."));
        QCOMPARE(d.text(u"ugyf_intezkedesre_nev"), QStringLiteral("Ügyintéző Ödön"));
        QCOMPARE(d.text(u"projekt_nev"), QStringLiteral("Híd"));
        QCOMPARE(d.text(u"munkaszam_nev"), QStringLiteral("M-6"));
        QCOMPARE(d.text(u"tipus_nev"), QStringLiteral("Számla"));
        QCOMPARE(d.text(u"foszamstr"), QStringLiteral("0012 Szerződések"));
        QCOMPARE(d.text(u"iktatoaz"), QStringLiteral("%1/12/03/2024").arg(key, 4, 10, QLatin1Char('0')));
        // a main number without a name row shows the number alone
        db().exec(QStringLiteral("UPDATE iktato SET az1=7 WHERE iktato=%1").arg(key));
        QCOMPARE(db().selectValue(QStringLiteral("SELECT foszamstr FROM vw_iktato WHERE iktato=%1").arg(key))
                     .toString(),
                 QStringLiteral("0007"));
    }

    void directionName_data()
    {
        QTest::addColumn<QString>("irany");
        QTest::addColumn<QString>("name");
        QTest::newRow("incoming") << "0"
                                  << "be";
        QTest::newRow("outgoing") << "1"
                                  << "ki";
        QTest::newRow("other") << "2"
                               << "ki";
        QTest::newRow("NULL is never NULL") << "NULL"
                                            << "ki";
    }
    void directionName()
    {
        QFETCH(QString, irany);
        QFETCH(QString, name);
        const int key = addDocument(1);
        db().exec(QStringLiteral("UPDATE iktato SET irany=%1 WHERE iktato=%2").arg(irany).arg(key));
        const QVariant v =
            db().selectValue(QStringLiteral("SELECT irany_nev FROM vw_iktato WHERE iktato=%1").arg(key));
        QVERIFY(!v.isNull());
        QCOMPARE(v.toString(), name);
    }

    void doneFlagFollowsTheStatus_data()
    {
        QTest::addColumn<QString>("statusz");
        QTest::addColumn<QString>("kesz");
        QTest::newRow("no status") << "NULL"
                                   << "N";
        QTest::newRow("status flagged done") << "1"
                                             << "I";
        QTest::newRow("status not done") << "2"
                                         << "N";
        QTest::newRow("status with NULL flag") << "3"
                                               << "N";
        QTest::newRow("status without a row") << "9"
                                              << "N";
    }
    void doneFlagFollowsTheStatus()
    {
        QFETCH(QString, statusz);
        QFETCH(QString, kesz);
        db().exec(
            QStringLiteral("INSERT IGNORE INTO statusz (statusz, statusz_nev, kesz) VALUES (1, 'Kész', 'I'), "
                           "(2, 'Folyamatban', 'N'), (3, 'Függő', NULL)"));
        const int key = addDocument(1, QStringLiteral("statusz"), statusz);
        QCOMPARE(db().selectValue(QStringLiteral("SELECT kesz FROM vw_iktato WHERE iktato=%1").arg(key))
                     .toString(),
                 kesz);
    }

    // The deadline warning's count: overdue open documents count, done ones never.
    void deadlineListSkipsDoneDocuments()
    {
        db().exec(QStringLiteral(
            "INSERT IGNORE INTO statusz (statusz, statusz_nev, kesz) VALUES (1, 'Kész', 'I')"));
        db().exec(QStringLiteral("INSERT INTO csoport (csoport, csoport_nev) VALUES (40, 'Határidők')"));
        db().exec(QStringLiteral("INSERT INTO felhkod_csoport (felhkod, csoport) VALUES (40, 40)"));
        addDocument(40, QStringLiteral("dat_hatid"), QStringLiteral("'2000-01-01'"));
        addDocument(40, QStringLiteral("dat_hatid, statusz"), QStringLiteral("'2000-01-01', 1"));
        addDocument(40, QStringLiteral("dat_hatid"), QStringLiteral("CURDATE() + INTERVAL 5 DAY"));
        const QString sql =
            QStringLiteral("SELECT COUNT(*) FROM vw_iktato WHERE (dat_hatid <= ADDDATE(CURDATE(), "
                           "+%1)) AND (kesz = 'N') AND fcs = 40");
        QCOMPARE(count(sql.arg(0)), 1);
        QCOMPARE(count(sql.arg(5)), 2);
    }

    void registrationIdentifier_data()
    {
        QTest::addColumn<QVariant>("iktato");
        QTest::addColumn<QVariant>("az1");
        QTest::addColumn<QVariant>("az2");
        QTest::addColumn<QVariant>("date");
        QTest::addColumn<QString>("expected");
        const QVariant null;
        QTest::newRow("example") << QVariant(123) << QVariant(5) << QVariant(1) << QVariant(QDate(2024, 3, 5))
                                 << "0123/05/01/2024";
        QTest::newRow("zeros") << QVariant(1) << QVariant(0) << QVariant(0) << QVariant(QDate(2023, 12, 31))
                               << "0001/00/00/2023";
        QTest::newRow("wider numbers are not cut") << QVariant(1234567) << QVariant(12345) << QVariant(100)
                                                   << QVariant(QDate(2024, 1, 1)) << "1234567/12345/100/2024";
        QTest::newRow("exact widths") << QVariant(9999) << QVariant(99) << QVariant(99)
                                      << QVariant(QDate(1999, 6, 1)) << "9999/99/99/1999";
        QTest::newRow("NULL numbers count as 0")
            << QVariant(42) << null << null << QVariant(QDate(2024, 3, 5)) << "0042/00/00/2024";
        QTest::newRow("NULL date gives year 0000")
            << QVariant(42) << QVariant(5) << QVariant(1) << null << "0042/05/01/0000";
        QTest::newRow("parts NULL") << QVariant(3) << null << null << null << "0003/00/00/0000";
        // a journal row may outlive its document: no key, no identifier
        QTest::newRow("no document") << null << QVariant(5) << QVariant(1) << QVariant(QDate(2024, 3, 5)) << "";
        QTest::newRow("negative sub-number") << QVariant(7) << QVariant(12) << QVariant(-3)
                                             << QVariant(QDate(2024, 3, 5)) << "0007/12/-03/2024";
    }
    void registrationIdentifier()
    {
        QFETCH(QVariant, iktato);
        QFETCH(QVariant, az1);
        QFETCH(QVariant, az2);
        QFETCH(QVariant, date);
        QFETCH(QString, expected);
        auto literal = [](const QVariant &v) {
            if (v.isNull())
                return QStringLiteral("NULL");
            if (v.typeId() == QMetaType::QDate)
                return v.toDate().toString(QStringLiteral("''yyyy-MM-dd''"));
            return QString::number(v.toInt());
        };
        const QVariant text =
            db().selectValue(QStringLiteral("SELECT fn_iktatoaz(%1, %2, %3, %4)")
                                 .arg(literal(iktato), literal(az1), literal(az2), literal(date)));
        QCOMPARE(text.toString(), expected);
        if (iktato.isNull() ||
            db().selectValue(QStringLiteral("SELECT COUNT(*) FROM iktato WHERE iktato = %1").arg(literal(iktato)))
                    .toInt() > 0)
            return;
        // the list view writes the same identifier out
        db().exec(QStringLiteral("INSERT INTO iktato (iktato, az1, az2, dat_erk, csoport, irany) "
                                 "VALUES (%1, %2, %3, %4, 1, 0)")
                      .arg(literal(iktato), literal(az1), literal(az2), literal(date)));
        const QVariant listed = db().selectValue(
            QStringLiteral("SELECT iktatoaz FROM vw_iktato WHERE iktato = %1 AND fcs = 1").arg(literal(iktato)));
        db().exec(QStringLiteral("DELETE FROM iktato WHERE iktato = %1").arg(literal(iktato)));
        QCOMPARE(listed.toString(), expected);
    }

    void duplicatePairsLeaveOneRow()
    {
        for (int i = 0; i < 2; ++i) {
            db().exec(QStringLiteral("INSERT IGNORE INTO masolat (iktato,ugyfel) VALUES (500,11);"));
            db().exec(QStringLiteral("INSERT IGNORE INTO felhkod_csoport (felhkod,csoport) VALUES (3,3);"));
        }
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM masolat WHERE iktato=500")), 1);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM felhkod_csoport WHERE felhkod=3 AND csoport=3")),
                 1);
        QVERIFY(!db().selectValue(QStringLiteral("SELECT rogzitve FROM masolat WHERE iktato=500")).isNull());
        // a plain INSERT of the same pair is refused by the key
        QVERIFY_THROWS_EXCEPTION(
            DbError, db().exec(QStringLiteral("INSERT INTO masolat (iktato,ugyfel) VALUES (500,11)")));
        db().exec(QStringLiteral("DELETE FROM felhkod_csoport WHERE felhkod=3 AND csoport=3"));
    }

    void clientViewHidesDeletedAndJoinsTheAddress()
    {
        db().exec(QStringLiteral("INSERT INTO ugyfel (ugyfel, ugyfel_nev, irsz, varos, cim, torolve) VALUES "
                                 "(21, 'Teljes', '1051', 'Budapest', 'Fő utca 1.', 'N'), "
                                 "(22, 'Cím nélkül', '7621', 'Pécs', NULL, 'N'), "
                                 "(23, 'Csak utca', NULL, '', 'Kossuth tér 2.', NULL), "
                                 "(24, 'Törölt', '1051', 'Budapest', 'Fő utca 1.', 'I')"));
        const Dataset d =
            db().query(QStringLiteral("SELECT ugyfel, cimstr FROM vw_ugyfel WHERE ugyfel BETWEEN 21 AND "
                                      "24 ORDER BY ugyfel"));
        QCOMPARE(d.rowCount(), 3);
        QCOMPARE(d.text(0, 1), QStringLiteral("1051 Budapest, Fő utca 1."));
        QCOMPARE(d.text(1, 1), QStringLiteral("7621 Pécs"));
        QCOMPARE(d.text(2, 1), QStringLiteral("Kossuth tér 2."));
        // a new client gets torolve = 'N' from the server and lists
        db().exec(QStringLiteral("INSERT INTO ugyfel (ugyfel_nev) VALUES ('Új')"));
        QCOMPARE(
            count(QStringLiteral("SELECT COUNT(*) FROM vw_ugyfel WHERE ugyfel_nev='Új' AND torolve='N'")), 1);
    }

    void userViewNamesTheGroups()
    {
        const Dataset d =
            db().query(QStringLiteral("SELECT felhkod, csopstr FROM vw_felhasznalo WHERE felhkod IN "
                                      "(1, 2, 5) ORDER BY felhkod"));
        QCOMPARE(d.rowCount(), 2);
        QCOMPARE(d.text(0, 1), QStringLiteral("Általános"));
        QCOMPARE(d.text(1, 1), QStringLiteral("Általános, Pénzügy"));
        const Dataset m =
            db().query(QStringLiteral("SELECT csoport, csoport_nev FROM vw_felhkod_csoport WHERE "
                                      "felhkod = 2 ORDER BY csoport"));
        QCOMPARE(m.rowCount(), 2);
        QCOMPARE(m.text(1, 1), QStringLiteral("Pénzügy"));
    }

    void ownerAndFileViews()
    {
        db().exec(
            QStringLiteral("UPDATE tulajdonos SET tulajdonos='Korvena Zrt.', irsz='6720', varos='Szeged'"));
        QCOMPARE(db().selectValue(QStringLiteral("SELECT irszvaros FROM vw_tulajdonos")).toString(),
                 QStringLiteral("6720 Szeged"));
        db().exec(QStringLiteral("INSERT INTO iktato_file (iktato, filenev, origfilenev, felhkod) VALUES "
                                 "(1, 'x.pdf', 'levél.pdf', 2)"));
        const Dataset f = db().query(QStringLiteral("SELECT * FROM vw_iktato_file"));
        QCOMPARE(f.rowCount(), 1);
        QCOMPARE(f.text(u"felhasznalo"), QStringLiteral("anna"));
        QVERIFY(f.toDateTime(0, f.requireField(u"rogzitve")).isValid());
    }
};

QTEST_GUILESS_MAIN(TestViews)
#include "tst_views.moc"
