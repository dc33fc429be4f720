// The register as install() creates it: complete, keyed, latin2 throughout,
// holding what a new register needs, and check() naming what a damaged one lacks.
#include "TestDatabase.h"
#include "core/RegisterSchema.h"
#include "db/Connection.h"

#include <QTest>

namespace {

QStringList columnOf(const Dataset &d, int col = 0)
{
    QStringList values;
    for (int r = 0; r < d.rowCount(); ++r)
        values << d.text(r, col);
    return values;
}

QString schemaLiteral(const QString &name)
{
    return QLatin1Char('\'') + name + QLatin1Char('\'');
}

} // namespace

class TestSchema : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

    Connection &db() { return m_db->connection(); }
    QStringList list(const QString &sql) { return columnOf(db().query(sql)); }

private Q_SLOTS:
    void initTestCase() { m_db = std::make_unique<TestDatabase>(); }
    void cleanupTestCase() { m_db.reset(); }

    void freshRegisterIsComplete()
    {
        const RegisterSchema::CheckReport r = RegisterSchema::check(db(), m_db->name());
        QCOMPARE(r.missingTables, QStringList());
        QCOMPARE(r.missingColumns, QStringList());
        QCOMPARE(r.missingViews, QStringList());
        QCOMPARE(r.missingViewColumns, QStringList());
        QCOMPARE(r.invalidViews, QStringList());
        QCOMPARE(r.missingRoutines, QStringList());
        QCOMPARE(r.tablesWithoutPrimaryKey, QStringList());
        QVERIFY(r.complete());
        // check() leaves the connection in the register it works in
        QCOMPARE(db().selectValue(QStringLiteral("SELECT DATABASE()")).toString(), m_db->name());
    }

    // Galera replicates only tables with a primary key; text compares in Hungarian order.
    void everyTableIsKeyedInnoDbLatin2()
    {
        const QString schema = schemaLiteral(m_db->name());
        QCOMPARE(list(QStringLiteral(
                          "SELECT t.TABLE_NAME FROM information_schema.TABLES t WHERE t.TABLE_SCHEMA=%1 "
                          "AND t.TABLE_TYPE='BASE TABLE' AND NOT EXISTS (SELECT 1 FROM "
                          "information_schema.TABLE_CONSTRAINTS k WHERE k.TABLE_SCHEMA=t.TABLE_SCHEMA "
                          "AND k.TABLE_NAME=t.TABLE_NAME AND k.CONSTRAINT_TYPE='PRIMARY KEY')")
                          .arg(schema)),
                 QStringList());
        QCOMPARE(
            list(QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA=%1 AND "
                                "TABLE_TYPE='BASE TABLE' AND (ENGINE<>'InnoDB' OR "
                                "TABLE_COLLATION<>'latin2_hungarian_ci')")
                     .arg(schema)),
            QStringList());
        // tables and views alike, derived view columns included
        QCOMPARE(
            list(QStringLiteral("SELECT CONCAT(TABLE_NAME,'.',COLUMN_NAME) FROM information_schema.COLUMNS "
                                "WHERE TABLE_SCHEMA=%1 AND COLLATION_NAME IS NOT NULL AND "
                                "COLLATION_NAME<>'latin2_hungarian_ci'")
                     .arg(schema)),
            QStringList());
        QCOMPARE(list(QStringLiteral(
                          "SELECT ROUTINE_NAME FROM information_schema.ROUTINES WHERE ROUTINE_SCHEMA=%1 "
                          "AND ROUTINE_TYPE='FUNCTION' AND COLLATION_NAME<>'latin2_hungarian_ci'")
                          .arg(schema)),
                 QStringList());
    }

    // The document editor copies rows by name but the backup and the generic
    // screens walk columns in order: the document table keeps the order the client holds.
    void documentColumnsInClientOrder()
    {
        const QStringList iktato{"iktato",
                                 "iktato2",
                                 "az1",
                                 "az2",
                                 "targy",
                                 "ugyf_kitol",
                                 "ugyf_hova",
                                 "ugyf_intezkedesre",
                                 "tarolo",
                                 "dat_erk",
                                 "dat_hatid",
                                 "dat_megorzes",
                                 "hivszam",
                                 "torolve",
                                 "dat_figy",
                                 "figy_szoveg",
                                 "nyomtatni",
                                 "projekt",
                                 "munkaszam",
                                 "irany",
                                 "tipus",
                                 "filenev",
                                 "csoport",
                                 "felhkod",
                                 "kolcsonadva",
                                 "kolcsonadva_dat",
                                 "kolcsonadva_kinek",
                                 "statusz",
                                 "kulcsszavak",
                                 "megjegyzes",
                                 "origfilenev",
                                 "filenev2",
                                 "origfilenev2",
                                 "filenev3",
                                 "origfilenev3",
                                 "eredeti",
                                 "egyebcsop"};
        const QString columns =
            QStringLiteral("SELECT COLUMN_NAME FROM information_schema.COLUMNS WHERE "
                           "TABLE_SCHEMA=%1 AND TABLE_NAME='%2' ORDER BY ORDINAL_POSITION");
        QCOMPARE(list(columns.arg(schemaLiteral(m_db->name()), QStringLiteral("iktato"))), iktato);
        const QStringList extra{"ugyf_kitol_nev",
                                "ugyf_kinek_nev",
                                "ugyf_intezkedesre_nev",
                                "projekt_nev",
                                "munkaszam_nev",
                                "tipus_nev",
                                "csoport_nev",
                                "xtargy",
                                "irany_nev",
                                "foszamstr",
                                "fcs",
                                "kesz",
                                "iktatoaz"};
        QCOMPARE(list(columns.arg(schemaLiteral(m_db->name()), QStringLiteral("vw_iktato"))), iktato + extra);
    }

    void newRegisterHoldsItsStartingData()
    {
        QCOMPARE(db().selectValue(QStringLiteral("SELECT MAX(verzio) FROM verzio")).toString(),
                 QStringLiteral("24.0.0.367"));
        QCOMPARE(db().selectValue(QStringLiteral("SELECT COUNT(*) FROM beallit")).toInt(), 1);
        const Dataset s = db().query(QStringLiteral("SELECT * FROM beallit"));
        QCOMPARE(s.text(u"mezo1"), QStringLiteral("Munkaszám"));
        QCOMPARE(s.text(u"mezo4"), QStringLiteral("Hiv.szám"));
        QCOMPARE(s.text(u"mezo6"), QStringLiteral("Egyéb"));
        QCOMPARE(s.text(u"szabadmezo"), QStringLiteral("tarolo"));
        QCOMPARE(s.toInt(u"hatidfigyel"), -1);
        QCOMPARE(s.text(u"megjeleno_adatok"), QString(17, QLatin1Char(' ')));
        QCOMPARE(s.text(u"m1"), QStringLiteral("iktatoaz"));
        QCOMPARE(s.text(u"m8"), QStringLiteral("csoport_nev"));
        for (const char *flag :
             {"vanbelep", "vancsoport", "irasvedett", "mindigegyrolindul", "alszamevenkent"})
            QCOMPARE(s.text(QString::fromLatin1(flag)), QStringLiteral("N"));

        // The built-in administrator logs in with the initial password and holds every right.
        QCOMPARE(db().selectValue(QStringLiteral("SELECT COUNT(*) FROM felhasznalo WHERE (felhasznalo = "
                                                 "'rendszergazda') AND (jelszomd5 = MD5('pirkalo')) AND "
                                                 "(torolve = 'N')"))
                     .toInt(),
                 1);
        const Dataset admin = db().query(QStringLiteral("SELECT * FROM felhasznalo WHERE felhkod = 1"));
        QCOMPARE(admin.text(u"felhasznalo_nev"), QStringLiteral("rendszergazda"));
        for (const char *right : {"rendszergazda", "torzsszerkeszt", "canins", "canedit", "candel"})
            QCOMPARE(admin.text(QString::fromLatin1(right)), QStringLiteral("I"));

        // Usable at once: a document registered without groups lands in the default
        // group, which the administrator is a member of, so his list shows it.
        const int group = s.toInt(u"alapcsoport");
        QCOMPARE(
            db().selectValue(QStringLiteral("SELECT COUNT(*) FROM felhkod_csoport fc JOIN csoport c ON "
                                            "c.csoport = fc.csoport WHERE fc.felhkod = 1 AND fc.csoport = %1")
                                 .arg(group))
                .toInt(),
            1);
        const Dataset created = db().call(QStringLiteral("sp_iktato"), {-1, group, 0, -1, -1, 0, 1});
        const int key = created.toInt(u"iktato");
        QCOMPARE(db().selectValue(QStringLiteral("SELECT COUNT(*) FROM vw_iktato WHERE (torolve='N') AND "
                                                 "(irany=0) AND (fcs=1) AND iktato=%1")
                                      .arg(key))
                     .toInt(),
                 1);
        QCOMPARE(db().selectValue(QStringLiteral("SELECT COUNT(*) FROM tulajdonos")).toInt(), 1);
        QCOMPARE(db().selectValue(QStringLiteral("SELECT COUNT(*) FROM vw_tulajdonos")).toInt(), 1);
    }

    void installRefusesAnExistingDatabase()
    {
        auto admin = std::make_unique<Connection>();
        admin->open(TestDatabase::serverParams());
        const int before = db().selectValue(QStringLiteral("SELECT COUNT(*) FROM iktato")).toInt();
        try {
            RegisterSchema::install(*admin, m_db->name());
            QFAIL("install() overwrote an existing database");
        } catch (const DbError &) {
            QFAIL("the refusal must come before any statement fails");
        } catch (const KorvenaError &e) {
            QCOMPARE(e.text(), QStringLiteral("Az adatbázis már létezik: ") + m_db->name());
        }
        QCOMPARE(db().selectValue(QStringLiteral("SELECT COUNT(*) FROM iktato")).toInt(), before);
    }

    void databaseNamesAreChecked_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("valid");
        QTest::newRow("letters digits _ $") << QStringLiteral("Kt_valid$1") << true;
        QTest::newRow("64 characters") << QString(64, QLatin1Char('k')) << true;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("65 characters") << QString(65, QLatin1Char('k')) << false;
        QTest::newRow("blank") << QStringLiteral("kt valid") << false;
        QTest::newRow("hyphen") << QStringLiteral("kt-valid") << false;
        QTest::newRow("backquote") << QStringLiteral("kt`; DROP DATABASE mysql; --") << false;
        QTest::newRow("quote") << QStringLiteral("kt'x") << false;
        QTest::newRow("dot") << QStringLiteral("mysql.user") << false;
        QTest::newRow("accented letter") << QStringLiteral("iktatás") << false;
    }
    void databaseNamesAreChecked()
    {
        QFETCH(QString, name);
        QFETCH(bool, valid);
        if (valid) {
            RegisterSchema::checkDatabaseName(name);
            return;
        }
        auto admin = std::make_unique<Connection>();
        admin->open(TestDatabase::serverParams());
        QVERIFY_THROWS_EXCEPTION(KorvenaError, RegisterSchema::install(*admin, name));
        QVERIFY_THROWS_EXCEPTION(KorvenaError, RegisterSchema::check(*admin, name));
        try {
            RegisterSchema::checkDatabaseName(name);
        } catch (const KorvenaError &e) {
            QVERIFY2(e.text().startsWith(QStringLiteral("Érvénytelen adatbázisnév")), qPrintable(e.text()));
        }
        if (!name.contains(QLatin1Char('\'')))
            QCOMPARE(
                admin
                    ->selectValue(QStringLiteral("SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE "
                                                 "SCHEMA_NAME = '%1'")
                                      .arg(name))
                    .toInt(),
                0);
    }

    void checkNamesWhatIsMissing()
    {
        TestDatabase damaged;
        Connection &c = damaged.connection();
        c.exec(QStringLiteral("DROP TABLE vkod"));
        c.exec(QStringLiteral("ALTER TABLE iktato DROP COLUMN eredeti"));
        c.exec(QStringLiteral("DROP VIEW vw_tulajdonos"));
        c.exec(QStringLiteral("DROP VIEW vw_ugyfel"));
        c.exec(QStringLiteral("CREATE VIEW vw_ugyfel AS SELECT ugyfel, ugyfel_nev FROM ugyfel"));
        c.exec(QStringLiteral("DROP PROCEDURE sp_svadd"));
        c.exec(QStringLiteral("DROP FUNCTION fn_iktatoaz"));
        c.exec(QStringLiteral("ALTER TABLE verzio DROP PRIMARY KEY"));
        c.exec(QStringLiteral("CREATE TABLE sajat (a INT) ENGINE=InnoDB"));

        const RegisterSchema::CheckReport r = RegisterSchema::check(c, damaged.name());
        QVERIFY(!r.complete());
        QCOMPARE(r.missingTables, QStringList{"vkod"});
        QCOMPARE(r.missingColumns, QStringList{"iktato.eredeti"});
        QCOMPARE(r.missingViews, QStringList{"vw_tulajdonos"});
        // vw_ugyfel lacks columns; vw_iktato lost a column of its table and fn_iktatoaz, so it cannot be read
        QCOMPARE(r.invalidViews, QStringList{"vw_iktato"});
        QVERIFY(r.missingViewColumns.contains(QStringLiteral("vw_ugyfel.cimstr")));
        QVERIFY(!r.missingViewColumns.contains(QStringLiteral("vw_ugyfel.ugyfel")));
        for (const QString &c : r.missingViewColumns)
            QVERIFY2(c.startsWith(QLatin1String("vw_ugyfel.")), qPrintable(c));
        QCOMPARE(r.missingRoutines, (QStringList{"FUNCTION fn_iktatoaz", "PROCEDURE sp_svadd"}));
        QCOMPARE(r.tablesWithoutPrimaryKey, (QStringList{"sajat", "verzio"}));
    }

    void checkRefusesAMissingDatabase()
    {
        try {
            RegisterSchema::check(db(), QStringLiteral("kt_nincs_ilyen_adatbazis"));
            QFAIL("check() of a missing database");
        } catch (const KorvenaError &e) {
            QCOMPARE(e.text(), QStringLiteral("Az adatbázis nem létezik: kt_nincs_ilyen_adatbazis"));
        }
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
