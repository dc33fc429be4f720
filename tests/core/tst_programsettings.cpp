#include "TestDatabase.h"
#include "TestSupport.h"
#include "db/DbHelpers.h"
#include "common/SqlText.h"
#include "core/AppFolders.h"
#include "core/ProgramSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestProgramSettings : public QObject
{
    Q_OBJECT
    std::unique_ptr<TempDataFolder> m_data;
    std::unique_ptr<TestDatabase> m_db;
    AppFolders m_folders;

    ProgramSettings load() const { return ProgramSettings::load(m_folders); }
    static void set(const QString &assignments)
    {
        ExecSql(QStringLiteral("UPDATE beallit SET ") + assignments);
    }

    void verifyDefaults(const ProgramSettings &s)
    {
        QCOMPARE(s.m, QStringList(8));
        QCOMPARE(s.mezo1, QStringLiteral("Munkaszám"));
        QCOMPARE(s.mezo2, QStringLiteral("Projekt"));
        QCOMPARE(s.mezo3, QStringLiteral("Típus"));
        QCOMPARE(s.mezo4, QStringLiteral("Hiv.szám"));
        QCOMPARE(s.mezo5, QStringLiteral("Tároló"));
        QCOMPARE(s.mezo6, QStringLiteral("Egyéb"));
        QCOMPARE(s.megjelenoAdatok, QString(17, QLatin1Char(' ')));
        QCOMPARE(s.hatidfigyel, -1);
        QCOMPARE(s.alapcsoport, 0);
        QCOMPARE(s.szabadmezo, QStringLiteral("tarolo"));
        QCOMPARE(s.mentesutvonal, QString());
        QCOMPARE(s.megnyitasutvonal, m_folders.tmpFolder());
        QCOMPARE(s.ftpHost, QString());
        QCOMPARE(s.hirelfogadva, 0);
        QVERIFY(!s.vanbelep && !s.irasvedett && !s.vancsoport && !s.mentescsoport && !s.azhelyettfoszam);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_data = std::make_unique<TempDataFolder>();
        m_folders.programFolder = m_folders.dataFolder = m_data->path();
        m_db = std::make_unique<TestDatabase>();
        ExecSql(QStringLiteral("CREATE TABLE beallit_kezdo AS SELECT * FROM beallit"));
    }
    void init()
    {
        ExecSql(QStringLiteral("DELETE FROM beallit"));
        ExecSql(QStringLiteral("INSERT INTO beallit SELECT * FROM beallit_kezdo"));
    }
    void cleanupTestCase() { m_db.reset(); }

    void emptyTableGivesDefaults()
    {
        ExecSql(QStringLiteral("DELETE FROM beallit"));
        verifyDefaults(load());
    }

    void nullColumnsGiveDefaults()
    {
        QStringList columns;
        FillList(columns,
                 QStringLiteral("SELECT column_name FROM information_schema.columns WHERE table_schema = "
                                "DATABASE() AND table_name = 'beallit' AND column_name <> 'beallit'"));
        QVERIFY(columns.size() > 40);
        set(columns.join(QStringLiteral(" = NULL, ")) + QStringLiteral(" = NULL"));
        verifyDefaults(load());
    }

    void emptyTextStaysEmptyExceptOpeningFolder()
    {
        set(QStringLiteral(
            "mezo1 = '', szabadmezo = '', mentesutvonal = '', megnyitasutvonal = '', m3 = ''"));
        const ProgramSettings s = load();
        QCOMPARE(s.mezo1, QString());
        QCOMPARE(s.szabadmezo, QString());
        QCOMPARE(s.mentesutvonal, QString());
        QCOMPARE(s.m[2], QString());
        QCOMPARE(s.megnyitasutvonal, m_folders.tmpFolder());

        set(QStringLiteral("megnyitasutvonal = '/srv/nyitas'"));
        QCOMPARE(load().megnyitasutvonal, QStringLiteral("/srv/nyitas"));
    }

    void eachColumnReachesItsField()
    {
        set(QStringLiteral("m1='a1', m2='a2', m3='a3', m4='a4', m5='a5', m6='a6', m7='a7', m8='a8', "
                           "mezo1='Ügyszám', mezo2='Feladat', mezo3='Fajta', mezo4='Iktszám', mezo5='Polc', "
                           "mezo6='Belső', szabadmezo='hivszam', ftp_user='fu', ftp_pwd='fp', ftp_host='fh', "
                           "ftp_mappa='fm', mentesutvonal='/srv/ment', megnyitasutvonal='/srv/nyit', "
                           "verzioelfogadva='24.0.0.400', hirelfogadva=17, hatidfigyel=0, alapcsoport=12"));
        const ProgramSettings s = load();
        QCOMPARE(s.m, QStringList({"a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8"}));
        QCOMPARE(QStringList({s.mezo1, s.mezo2, s.mezo3, s.mezo4, s.mezo5, s.mezo6}),
                 QStringList({"Ügyszám", "Feladat", "Fajta", "Iktszám", "Polc", "Belső"}));
        QCOMPARE(s.szabadmezo, QStringLiteral("hivszam"));
        QCOMPARE(QStringList({s.ftpUser, s.ftpPwd, s.ftpHost, s.ftpMappa}),
                 QStringList({"fu", "fp", "fh", "fm"}));
        QCOMPARE(s.mentesutvonal, QStringLiteral("/srv/ment"));
        QCOMPARE(s.megnyitasutvonal, QStringLiteral("/srv/nyit"));
        QCOMPARE(s.verzioelfogadva, QStringLiteral("24.0.0.400"));
        QCOMPARE(s.hirelfogadva, 17);
        QCOMPARE(s.hatidfigyel, 0);
        QCOMPARE(s.alapcsoport, 12);
    }

    void flagColumns_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("on");
        const char *const columns[] = {
            "vanbelep",       "azhelyettfoszam", "vanmunkaszamkerdes", "vanprojektkerdes",
            "vantipuskerdes", "irasvedett",      "azonnalment",        "alszamreadonly",
            "foszamsorszam",  "vancsoport",      "vanfoszam",          "mentescsoport",
            "isftp",          "doksititkosit",   "vansorszam",         "mindigegyrolindul",
            "alszamevenkent"};
        for (const char *column : columns)
            QTest::addRow("%s on", column) << QString::fromLatin1(column) << "'I'" << true;
        QTest::newRow("lower-case i is off") << "irasvedett"
                                             << "'i'" << false;
        QTest::newRow("empty is off") << "irasvedett"
                                      << "''" << false;
        QTest::newRow("NULL is off") << "irasvedett"
                                     << "NULL" << false;
        QTest::newRow("N is off") << "irasvedett"
                                  << "'N'" << false;
    }
    void flagColumns()
    {
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(bool, on);
        set(column + QStringLiteral(" = ") + value);
        const ProgramSettings s = load();
        // Exactly the one field follows its column; every other flag stays off.
        const std::pair<const char *, bool> fields[] = {
            {"vanbelep", s.vanbelep},
            {"azhelyettfoszam", s.azhelyettfoszam},
            {"vanmunkaszamkerdes", s.vanmunkaszamkerdes},
            {"vanprojektkerdes", s.vanprojektkerdes},
            {"vantipuskerdes", s.vantipuskerdes},
            {"irasvedett", s.irasvedett},
            {"azonnalment", s.azonnalment},
            {"alszamreadonly", s.alszamreadonly},
            {"foszamsorszam", s.foszamsorszam},
            {"vancsoport", s.vancsoport},
            {"vanfoszam", s.vanfoszam},
            {"mentescsoport", s.mentescsoport},
            {"isftp", s.isftp},
            {"doksititkosit", s.doksititkosit},
            {"vansorszam", s.vansorszam},
            {"mindigegyrolindul", s.mindigegyrolindul},
            {"alszamevenkent", s.alszamevenkent},
        };
        for (const auto &[name, fieldOn] : fields)
            QCOMPARE(fieldOn, on && column == QLatin1String(name));
    }

    void displayedFieldsAreNormalised_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("short is padded") << "'IIN'" << QStringLiteral("IIN") + QString(14, QLatin1Char(' '));
        QTest::newRow("long is cut") << "'IIIIIIIIIIIIIIIINNN'" << QStringLiteral("IIIIIIIIIIIIIIIIN");
        QTest::newRow("NULL is blank") << "NULL" << QString(17, QLatin1Char(' '));
    }
    void displayedFieldsAreNormalised()
    {
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        set(QStringLiteral("megjeleno_adatok = ") + stored);
        QCOMPARE(load().megjelenoAdatok, expected);
    }

    void listFieldsAndLabels()
    {
        set(QStringLiteral("mezo1 = '', mezo4 = 'Ikt.'"));
        ProgramSettings s = load();
        QCOMPARE(s.listColumnField(1), QStringLiteral("iktatoaz"));
        QCOMPARE(s.listColumnField(8), QStringLiteral("csoport_nev"));
        QCOMPARE(s.barcodeNameField(), QStringLiteral("iktatoaz"));
        QCOMPARE(s.columnLabel(u"munkaszam_nev"), std::optional<QString>(QString()));
        QCOMPARE(s.columnLabel(u"hivszam"), std::optional<QString>(QStringLiteral("Ikt.")));
        QCOMPARE(s.columnLabel(u"tarolo"), std::optional<QString>(QStringLiteral("Tároló")));
        QCOMPARE(s.columnLabel(u"projekt_nev"), std::optional<QString>(QStringLiteral("Projekt")));
        QCOMPARE(s.columnLabel(u"tipus_nev"), std::optional<QString>(QStringLiteral("Típus")));
        QVERIFY(!s.columnLabel(u"csoport_nev"));

        set(QStringLiteral("azhelyettfoszam = 'I'"));
        s = load();
        QCOMPARE(s.listColumnField(1), QStringLiteral("foszamstr"));
        QCOMPARE(s.listColumnField(2), QStringLiteral("xtargy"));
        QCOMPARE(s.barcodeNameField(), QStringLiteral("foszamstr"));
    }

    void documentListColumnsAreColumnsOfTheView()
    {
        const Dataset view = db().query(QStringLiteral("SELECT * FROM vw_iktato LIMIT 0"));
        const QStringList &columns = documentListColumns();
        QCOMPARE(columns.first(), QStringLiteral("iktato"));
        QCOMPARE(columns.last(), QStringLiteral("iktatoaz"));
        for (const QString &column : columns) {
            QVERIFY2(view.hasField(column), qPrintable(column));
            QCOMPARE(columns.count(column), 1);
        }
    }

    void groupFoldersAreCreatedWithParents()
    {
        ExecSql(QStringLiteral("INSERT INTO csoport (csoport, csoport_nev) VALUES (12, 'Tizenkettő')"));
        const QString root = m_data->file(QStringLiteral("tarolo/dok"));
        set(QStringLiteral("mentescsoport = 'I', mentesutvonal = ") + SqlLiteral(root));
        QCOMPARE(ensureGroupFolders(load()), QStringList());
        QVERIFY(QDir(root + QStringLiteral("/00001")).exists());
        QVERIFY(QDir(root + QStringLiteral("/00012")).exists());

        // Switched off, nothing is made.
        const QString other = m_data->file(QStringLiteral("masik"));
        set(QStringLiteral("mentescsoport = 'N', mentesutvonal = ") + SqlLiteral(other));
        QCOMPARE(ensureGroupFolders(load()), QStringList());
        QVERIFY(!QDir(other).exists());
        ExecSql(QStringLiteral("DELETE FROM csoport WHERE csoport = 12"));
    }

    void groupFolderFailureIsReportedAndOthersGoOn()
    {
        ExecSql(QStringLiteral("INSERT INTO csoport (csoport, csoport_nev) VALUES (12, 'Tizenkettő')"));
        QTemporaryDir root;
        // A file where the folder of group 1 should be.
        QFile blocker(root.filePath(QStringLiteral("00001")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        set(QStringLiteral("mentescsoport = 'I', mentesutvonal = ") + SqlLiteral(root.path()));

        const QStringList errors = ensureGroupFolders(load());
        QCOMPARE(errors.size(), 1);
        const QString prefix = QStringLiteral("Hiba a mappa létrehozása közben:\r\n") + root.path() +
                               QStringLiteral("/00001\n\r");
        QVERIFY2(errors.first().startsWith(prefix), qPrintable(errors.first()));
        QVERIFY(errors.first().size() > prefix.size());
        QVERIFY(QDir(root.filePath(QStringLiteral("00012"))).exists());
        ExecSql(QStringLiteral("DELETE FROM csoport WHERE csoport = 12"));
    }
};

QTEST_GUILESS_MAIN(TestProgramSettings)
#include "tst_programsettings.moc"
