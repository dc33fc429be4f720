#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "db/DbHelpers.h"
#include "common/ui/FileDialog.h"
#include "common/ui/MessageBox.h"
#include "core/AppFolders.h"
#include "core/Session.h"
#include "core/ui/SettingsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

// Runs the action on the settings screen once it shows; the caller keeps the driver
// alive while the screen runs.
std::unique_ptr<ModalSequence> whenShown(std::function<void(QWidget *)> action)
{
    auto driver = std::make_unique<ModalSequence>();
    driver->then(SettingsDialog::ObjectName, std::move(action));
    return driver;
}

template <typename T> T *child(QWidget *w, const char *name)
{
    T *c = w->findChild<T *>(QLatin1String(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

void tick(QWidget *w, const char *name, bool on)
{
    QCheckBox *box = child<QCheckBox>(w, name);
    if (box->isChecked() != on)
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
}

void press(QWidget *w, const char *name)
{
    QTest::mouseClick(child<QPushButton>(w, name), Qt::LeftButton);
}

QString column(const QString &name)
{
    return SelectText(QStringLiteral("SELECT IFNULL(") + name + QStringLiteral(", '<NULL>') FROM beallit"),
                      QStringLiteral("<no row>"));
}

} // namespace

class TestSettingsDialog : public QObject
{
    Q_OBJECT
    std::unique_ptr<TempDataFolder> m_data;
    std::unique_ptr<TestDatabase> m_db;

private Q_SLOTS:
    void initTestCase()
    {
        m_data = std::make_unique<TempDataFolder>();
        m_db = std::make_unique<TestDatabase>();
        MessageBox::setRecording(true);
        ExecSql(QStringLiteral("CREATE TABLE beallit_kezdo AS SELECT * FROM beallit"));
        ExecSql(QStringLiteral("INSERT INTO csoport (csoport, csoport_nev) VALUES (12, 'Tizenkettő')"));
    }
    void init()
    {
        ExecSql(QStringLiteral("DELETE FROM beallit"));
        ExecSql(QStringLiteral("INSERT INTO beallit SELECT * FROM beallit_kezdo"));
        ModalDriver::resetScreenState();
        session().user = SessionUser::builtInAdministrator();
        session().local = LocalConfig::defaults(AppFolders::current());
        session().settings = ProgramSettings();
        SettingsDialog::setGroupPicker({});
    }
    void cleanupTestCase() { m_db.reset(); }

    void nonAdministratorIsRefused()
    {
        SessionUser user = SessionUser::builtInAdministrator();
        user.administrator = false;
        session().user = user;
        bool opened = false;
        const auto waiting = whenShown([&](QWidget *w) {
            opened = true;
            press(w, "btnMegsem");
        });
        SettingsDialog::run(nullptr);
        QVERIFY(!opened);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().kind, QStringLiteral("error"));
        QCOMPARE(MessageBox::shown().first().text, QStringLiteral("Nincs jogosultság a művelethez."));
    }

    void screenShowsTheRowAndTheWorkstation()
    {
        ExecSql(QStringLiteral("UPDATE beallit SET vanbelep = 'I', mezo3 = NULL, megjeleno_adatok = 'INI', "
                               "hatidfigyel = 3"));
        session().local.masolMezok = QStringLiteral("NIIIIIIIIIIIIIIII");
        session().local.printer = QStringLiteral("Irodai");
        SettingsDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Beállítások"));
        QCOMPARE(dialog.size(), QSize(860, 450));
        auto *tabs = child<QTabWidget>(&dialog, "tabs");
        QStringList titles;
        for (int i = 0; i < tabs->count(); ++i)
            titles.append(tabs->tabText(i));
        QCOMPARE(titles,
                 QStringList({"Általános", "Dokumentumok", "Megjelenő adatok",
                              "Nyitó képernyőn megjelenő adatok", "Mezőnevek módosítása", "Vágólapra"}));
        QVERIFY(child<QCheckBox>(&dialog, "vanbelep")->isChecked());
        QVERIFY(!child<QCheckBox>(&dialog, "vancsoport")->isChecked());
        QCOMPARE(child<QLineEdit>(&dialog, "mezo1")->text(), QStringLiteral("Munkaszám"));
        QCOMPARE(child<QLineEdit>(&dialog, "mezo3")->text(), QString());
        QCOMPARE(child<QComboBox>(&dialog, "m2")->currentText(), QStringLiteral("xtargy"));
        QCOMPARE(child<QComboBox>(&dialog, "m2")->count(), int(documentListColumns().size()));
        QCOMPARE(child<QSpinBox>(&dialog, "hatidfigyel")->value(), 3);
        QCOMPARE(child<QLineEdit>(&dialog, "alapcsoport_nev")->text(), QStringLiteral("Általános"));
        QCOMPARE(child<QLineEdit>(&dialog, "mentesutvonal")->text(), AppFolders::current().documentFolder());
        QCOMPARE(child<QComboBox>(&dialog, "Printer")->currentText(), QStringLiteral("Irodai"));
        QVERIFY(child<QCheckBox>(&dialog, "TeljesKep")->isChecked());
        QVERIFY(child<QCheckBox>(&dialog, "megjeleno1")->isChecked());
        QVERIFY(!child<QCheckBox>(&dialog, "megjeleno2")->isChecked());
        QVERIFY(child<QCheckBox>(&dialog, "megjeleno3")->isChecked());
        QCOMPARE(child<QCheckBox>(&dialog, "megjeleno17")->text(), QStringLiteral("Gyűjtős"));
        QVERIFY(!child<QCheckBox>(&dialog, "masol1")->isChecked());
        QVERIFY(child<QCheckBox>(&dialog, "masol14")->isChecked());
        QCOMPARE(child<QCheckBox>(&dialog, "masol14")->text(), QStringLiteral("Iktatószám"));
    }

    void okSavesTheChangesAndReloads()
    {
        session().local.masolMezok = QStringLiteral("NNNNNNNNNNNNNNIIN");
        const auto shown = whenShown([](QWidget *w) {
            tick(w, "vanfoszam", true);
            tick(w, "azhelyettfoszam", true);
            child<QLineEdit>(w, "mezo1")->setText(QStringLiteral("Ügyszám"));
            child<QLineEdit>(w, "mezo2")->clear();
            child<QComboBox>(w, "m2")->setCurrentText(QStringLiteral("targy"));
            child<QSpinBox>(w, "hatidfigyel")->setValue(0);
            tick(w, "megjeleno1", true);
            tick(w, "megjeleno17", true);
            tick(w, "masol2", true);
            tick(w, "masol14", true);
            tick(w, "TeljesKep", false);
            tick(w, "VanFigyu", true);
            child<QComboBox>(w, "Printer")->setEditText(QStringLiteral("Irodai nyomtató"));
            // Written by someone else while the screen is open.
            ExecSql(QStringLiteral("UPDATE beallit SET hirelfogadva = 7"));
            press(w, "btnOK");
        });
        SettingsDialog::run(nullptr);

        QCOMPARE(column(QStringLiteral("vanfoszam")), QStringLiteral("I"));
        QCOMPARE(column(QStringLiteral("mezo1")), QStringLiteral("Ügyszám"));
        QCOMPARE(column(QStringLiteral("mezo2")), QString());
        QCOMPARE(column(QStringLiteral("m2")), QStringLiteral("targy"));
        QCOMPARE(column(QStringLiteral("hatidfigyel")), QStringLiteral("0"));
        QCOMPARE(column(QStringLiteral("megjeleno_adatok")), QStringLiteral("INNNNNNNNNNNNNNNI"));
        QCOMPARE(column(QStringLiteral("mentesutvonal")), AppFolders::current().documentFolder());
        QCOMPARE(column(QStringLiteral("hirelfogadva")), QStringLiteral("7"));

        const Session &current = session();
        QVERIFY(current.settings.vanfoszam);
        QCOMPARE(current.settings.mezo1, QStringLiteral("Ügyszám"));
        QCOMPARE(current.settings.mezo2, QString());
        QCOMPARE(current.settings.listColumnField(1), QStringLiteral("foszamstr"));
        QCOMPARE(current.settings.hatidfigyel, 0);
        QCOMPARE(current.local.masolMezok, QStringLiteral("NINNNNNNNNNNNIIIN"));
        QVERIFY(!current.local.teljesKep);
        QVERIFY(current.local.vanFigyu);
        QCOMPARE(current.local.printer, QStringLiteral("Irodai nyomtató"));
        QCOMPARE(MessageBox::shown().size(), 0);
    }

    // The screen's flag boxes, each bound to its column: the box with that caption
    // ticks exactly its own column.
    void flagBoxes_data()
    {
        QTest::addColumn<QString>("caption");
        const char *const rows[][2] = {
            {"vanfoszam", "Új tételnél főszámra kérdez"},
            {"alszamreadonly", "Alszám nem módosítható"},
            {"azhelyettfoszam", "Sorszám helyett főszám és a főszám neve"},
            {"foszamsorszam", "Főszám = következő sorszám"},
            {"vansorszam", "Sorszámozás a főképernyőn"},
            {"mindigegyrolindul", "Új év: sorszám 1-ről indul"},
            {"alszamevenkent", "Új év: alszámozás 1-ről indul"},
            {"vanmunkaszamkerdes", "Új tételnél munkaszámra kérdez"},
            {"vanprojektkerdes", "Új tételnél projektre kérdez"},
            {"vantipuskerdes", "Új tételnél típusra kérdez"},
            {"vancsoport", "Csoportokra bontás?"},
            {"vanbelep", "Belépésnél jelszót kér"},
            {"irasvedett", "Írásvédett adatbázis"},
            {"azonnalment", "Azonnal ment"},
            {"mentescsoport", "Csoportonként mappába"},
            {"isftp", "FTP feltöltés?"},
            {"doksititkosit", "Dokumentumok titkosítása"},
        };
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString::fromUtf8(row[1]);
    }
    void flagBoxes()
    {
        QFETCH(QString, caption);
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        static const QStringList all = {
            "vanfoszam",        "alszamreadonly",   "azhelyettfoszam", "foszamsorszam", "vansorszam",
            "mindigegyrolindul", "alszamevenkent",  "vanmunkaszamkerdes", "vanprojektkerdes",
            "vantipuskerdes",   "vancsoport",       "vanbelep",        "irasvedett",    "azonnalment",
            "mentescsoport",    "isftp",            "doksititkosit"};
        QString set;
        for (const QString &c : all)
            set += (set.isEmpty() ? QString() : QStringLiteral(", ")) + c + QStringLiteral(" = 'N'");
        ExecSql(QStringLiteral("UPDATE beallit SET ") + set);
        QString found;
        const auto shown = whenShown([&](QWidget *w) {
            for (QCheckBox *box : w->findChildren<QCheckBox *>()) {
                if (box->text() == caption) {
                    found = box->objectName();
                    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
                }
            }
            press(w, "btnOK");
        });
        SettingsDialog::run(nullptr);
        QCOMPARE(found, name);
        for (const QString &c : all)
            QCOMPARE(column(c), QLatin1String(c == name ? "I" : "N"));
    }

    void cancelDiscardsTheEditsButReloads()
    {
        ExecSql(QStringLiteral("UPDATE beallit SET mezo3 = 'Fajta'"));
        const LocalConfig before = session().local;
        const auto shown = whenShown([](QWidget *w) {
            tick(w, "vanbelep", true);
            child<QLineEdit>(w, "mezo1")->setText(QStringLiteral("Ügyszám"));
            tick(w, "masol1", false);
            tick(w, "TeljesKep", false);
            child<QComboBox>(w, "Printer")->setEditText(QStringLiteral("Másik"));
            press(w, "btnMegsem");
        });
        SettingsDialog::run(nullptr);

        QCOMPARE(column(QStringLiteral("vanbelep")), QStringLiteral("N"));
        QCOMPARE(column(QStringLiteral("mezo1")), QStringLiteral("Munkaszám"));
        QCOMPARE(column(QStringLiteral("mentesutvonal")), QString());
        QCOMPARE(session().local.masolMezok, before.masolMezok);
        QCOMPARE(session().local.teljesKep, before.teljesKep);
        QCOMPARE(session().local.printer, before.printer);
        QCOMPARE(session().settings.mezo3, QStringLiteral("Fajta"));
    }

    void pickingTheDefaultGroupSwitchesGroupsOff()
    {
        ExecSql(QStringLiteral("UPDATE beallit SET vancsoport = 'I'"));
        SettingsDialog::setGroupPicker(
            [](QWidget *) { return std::make_optional(std::pair(12, QStringLiteral("Tizenkettő"))); });
        const QString storage = m_data->file(QStringLiteral("tarolo"));
        const auto shown = whenShown([&](QWidget *w) {
            QVERIFY(child<QCheckBox>(w, "vancsoport")->isChecked());
            press(w, "btn_alapcsoport");
            QVERIFY(!child<QCheckBox>(w, "vancsoport")->isChecked());
            QCOMPARE(child<QLineEdit>(w, "alapcsoport_nev")->text(), QStringLiteral("Tizenkettő"));

            FileDialog::setNextFileName(storage);
            press(w, "btn_mentesutvonal");
            QCOMPARE(child<QLineEdit>(w, "mentesutvonal")->text(), storage);
            FileDialog::setNextFileName(QString()); // cancelled
            press(w, "btn_megnyitasutvonal");
            QCOMPARE(child<QLineEdit>(w, "megnyitasutvonal")->text(), QString());
            press(w, "btnOK");
        });
        SettingsDialog::run(nullptr);

        QCOMPARE(column(QStringLiteral("vancsoport")), QStringLiteral("N"));
        QCOMPARE(column(QStringLiteral("alapcsoport")), QStringLiteral("12"));
        QCOMPARE(column(QStringLiteral("mentesutvonal")), storage);
        QCOMPARE(session().settings.alapcsoport, 12);
    }

    void okOnAnEmptyTableAddsTheRow()
    {
        ExecSql(QStringLiteral("DELETE FROM beallit"));
        const auto shown = whenShown([](QWidget *w) {
            QCOMPARE(child<QLineEdit>(w, "mezo1")->text(), QString());
            QCOMPARE(child<QLineEdit>(w, "alapcsoport_nev")->text(), QString());
            child<QLineEdit>(w, "mezo1")->setText(QStringLiteral("Ügyszám"));
            press(w, "btnOK");
        });
        SettingsDialog::run(nullptr);

        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM beallit"), -1), 1);
        QCOMPARE(column(QStringLiteral("mezo1")), QStringLiteral("Ügyszám"));
        // Untouched labels stay NULL, so their defaults still apply.
        QCOMPARE(column(QStringLiteral("mezo2")), QStringLiteral("<NULL>"));
        QCOMPARE(column(QStringLiteral("megjeleno_adatok")), QString(17, QLatin1Char('N')));
        QCOMPARE(column(QStringLiteral("mentesutvonal")), AppFolders::current().documentFolder());
        QCOMPARE(session().settings.mezo2, QStringLiteral("Projekt"));
        QCOMPARE(session().settings.mezo1, QStringLiteral("Ügyszám"));
    }

    void reloadCreatesTheGroupFolders()
    {
        const QString storage = m_data->file(QStringLiteral("csoportos"));
        ExecSql(QStringLiteral("UPDATE beallit SET mentescsoport = 'I', mentesutvonal = '") + storage +
                QStringLiteral("'"));
        const auto shown = whenShown([](QWidget *w) { press(w, "btnMegsem"); });
        SettingsDialog::run(nullptr);
        QVERIFY(QDir(storage + QStringLiteral("/00001")).exists());
        QVERIFY(QDir(storage + QStringLiteral("/00012")).exists());
    }
};

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
