#include "MainWindowFixture.h"
#include "DocumentFixture.h"
#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"
#include "core/ui/Startup.h"
#include "common/Clock.h"
#include "common/ui/MessageBox.h"
#include "core/AppFolders.h"
#include "core/ConnectionProfile.h"
#include "core/IniFile.h"
#include "core/ui/ListScreen.h"
#include "db/ui/DatasetModel.h"
#include "db/DbHelpers.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/DocumentListView.h"
#include "register/ui/FilterController.h"
#include "register/ui/LendDialog.h"
#include "register/ui/ReminderDialog.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

using namespace ModalDriver;

namespace {


QString flagOf(qint64 document, const char *column)
{
    return SelectText(QStringLiteral("SELECT IFNULL(%1, 'NULL') FROM iktato WHERE iktato = %2")
                          .arg(QLatin1String(column))
                          .arg(document),
                      QStringLiteral("<none>"));
}

} // namespace

// Print marks, statuses, lending and reminders from the main window.
class TestMarking : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TempDataFolder> m_data;

    Window openWindow() { return openMainWindow(&m_db->connection()); }
    static QList<qint64> keys(MainWindow &w) { return listedKeys(w); }
    static int shownRow(MainWindow &w) { return w.listView()->currentIndex().row(); }
    static QAction *action(MainWindow &w, const char *name)
    {
        return w.actionCatalogue().action(QLatin1String(name));
    }
    static void toRow(MainWindow &w, int row)
    {
        QVERIFY(w.listView()->moveToDatasetRow(w.listModel()->datasetRow(row)));
    }
    static void toDocument(MainWindow &w, qint64 key) { QVERIFY(w.documentList().moveToDocument(key)); }
    static QString listed(MainWindow &w, const char *field)
    {
        const Dataset &d = w.listModel()->dataset();
        return d.text(d.current(), d.fieldIndex(QString::fromLatin1(field)));
    }
    void useIni(const QString &key, bool value)
    {
        IniFile(m_data->file(QStringLiteral("Korvena.ini"))).writeBool(QStringLiteral("Alapertek"), key, value);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        DocumentFixture::load();
        ExecSql(QStringLiteral("INSERT INTO iktato (iktato, az1, az2, targy, dat_erk, irany, csoport, nyomtatni, "
                               "kolcsonadva, torolve) VALUES "
                               "(111, 1, 7, 'Első jelölendő', '2024-05-01', 0, 1, 'N', NULL, 'N'), "
                               "(112, 1, 8, 'Második jelölendő', '2024-05-02', 0, 1, 'N', 'N', 'N'), "
                               "(113, 1, 9, 'Harmadik', '2024-05-03', 0, 1, 'N', 'N', 'N')"));
        ExecSql(QStringLiteral("INSERT INTO projekt (projekt, projekt_nev) VALUES (9, 'Alfa')"));
        ExecSql(QStringLiteral("UPDATE iktato SET projekt = 9 WHERE iktato IN (102, 108)"));
        ExecSql(QStringLiteral("DELETE FROM statusz WHERE statusz NOT IN (0, 1, 5)"));
    }
    void init()
    {
        m_data = prepareStartup(*m_db, QStringLiteral("Teszt"));
        ExecSql(QStringLiteral("UPDATE beallit SET vanbelep = 'N', irasvedett = 'N', hatidfigyel = -1"));
        ExecSql(QStringLiteral("UPDATE iktato SET nyomtatni = 'N'"));
        ExecSql(QStringLiteral("UPDATE iktato SET nyomtatni = 'I' WHERE iktato = 101"));
    }
    void cleanup()
    {
        clearFixedNow();
        mainWindowRoutines() = MainWindowRoutines();
        Connection::setCurrent(&m_db->connection());
        m_data.reset();
    }
    void cleanupTestCase()
    {
        Connection::setCurrent(&m_db->connection());
        m_db.reset();
    }

    void f3MarksAndWalksWithoutRereading()
    {
        auto w = openWindow();
        QVERIFY(w);
        const QList<qint64> all = keys(*w);
        QCOMPARE(all.size(), 5);
        const qint64 first = all[0], second = all[1], last = all.last();
        const QString firstBefore = flagOf(first, "nyomtatni");
        toRow(*w, 0);
        QSignalSpy resets(w->listModel(), &QAbstractItemModel::modelReset);
        QTest::keyClick(w->listView(), Qt::Key_F3);
        QTest::keyClick(w->listView(), Qt::Key_F3);
        QCOMPARE(resets.count(), 0);
        QCOMPARE(shownRow(*w), 2);
        QCOMPARE(flagOf(first, "nyomtatni"), QString::fromLatin1(firstBefore == QLatin1String("I") ? "N" : "I"));
        QCOMPARE(flagOf(second, "nyomtatni"), QString::fromLatin1(second == 101 ? "N" : "I"));
        // The list shows the new marks without a re-read.
        const Dataset &d = w->listModel()->dataset();
        QCOMPARE(d.text(w->listModel()->datasetRow(0), d.fieldIndex(u"nyomtatni")), flagOf(first, "nyomtatni"));

        // On the last row the cursor stays.
        toRow(*w, 4);
        action(*w, "aNyomniJelol")->trigger();
        QCOMPARE(shownRow(*w), 4);
        QCOMPARE(flagOf(last, "nyomtatni"), QString::fromLatin1(last == 101 ? "N" : "I"));
    }

    void markedOnlyViewSurvivesSearchesUntilMarksAreCleared()
    {
        auto w = openWindow();
        QVERIFY(w);
        toDocument(*w, 111);
        action(*w, "aNyomniJelol")->trigger();
        toDocument(*w, 112);
        action(*w, "aNyomniJelol")->trigger();
        QAction *view = action(*w, "aNyomniSzur");
        view->trigger();
        QVERIFY(view->isChecked());
        QCOMPARE(keys(*w).size(), 3);
        QVERIFY(!keys(*w).contains(102));

        typeText(w->searchBox(), QStringLiteral("jelölendő"));
        QTRY_COMPARE(keys(*w).size(), 2);
        w->documentList().rebuild(w->documentList().lastDirection());
        QCOMPARE(keys(*w).size(), 3);
        action(*w, "aFrissit")->trigger();
        QCOMPARE(keys(*w).size(), 3);

        // Clearing reaches documents outside the list too and shows every row again.
        ExecSql(QStringLiteral("UPDATE iktato SET nyomtatni = 'I' WHERE iktato = 108"));
        QTest::keyClick(w->listView(), Qt::Key_F4);
        QVERIFY(!view->isChecked());
        QCOMPARE(keys(*w).size(), 5);
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktato WHERE nyomtatni <> 'N'"), -1), 0);
        QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->searchBox()));

        view->trigger();
        QCOMPARE(keys(*w).size(), 0);
        view->trigger();
        QCOMPARE(keys(*w).size(), 5);
    }

    void bulkMarkingReachesEveryDocumentOfTheKey()
    {
        auto w = openWindow();
        QVERIFY(w);
        toDocument(*w, 111);
        onModal(QStringLiteral("frm_Torzsadat"), [](QDialog *d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Projekt"));
            trigger(d, "aElfogad");
        });
        action(*w, "aSzurProjekt")->trigger();
        QCOMPARE(SelectText(QStringLiteral("SELECT GROUP_CONCAT(iktato ORDER BY iktato) FROM iktato WHERE "
                                           "nyomtatni = 'I'"),
                            QString()),
                 QStringLiteral("101,102,108"));
        QCOMPARE(w->currentDocument(), qint64(111));
        QCOMPARE(listed(*w, "iktato"), QStringLiteral("111"));

        // Sender 4 is chosen in the client picker; a cancelled picker changes nothing.
        onModal(QStringLiteral("frm_TorzsUgyfel"), [](QDialog *d) {
            QVERIFY(static_cast<ListScreen *>(d)->locateKey(4));
            trigger(d, "aElfogad");
        });
        action(*w, "aSzurUgyfel1")->trigger();
        QCOMPARE(flagOf(105, "nyomtatni"), QStringLiteral("I"));
        onModal(QStringLiteral("frm_TorzsUgyfel"), [](QDialog *d) { d->reject(); });
        action(*w, "aSzurUgyfel2")->trigger();
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktato WHERE nyomtatni = 'I'"), -1), 4);
        QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->searchBox()));
    }

    void statusesFromTheRegister()
    {
        auto w = openWindow();
        QVERIFY(w);
        QStringList entries;
        for (QAction *a : w->actionCatalogue().statusDropDown()->actions())
            if (a->isVisible())
                entries << a->text();
        QCOMPARE(entries, (QStringList{"Új (0)", "Folyamatban (1)", "Kész (5)"}));

        toDocument(*w, 111);
        QTest::keyClick(w->listView(), Qt::Key_5, Qt::AltModifier);
        QCOMPARE(flagOf(111, "statusz"), QStringLiteral("5"));
        QCOMPARE(SelectText(QStringLiteral("SELECT szoveg FROM iktnaplo WHERE iktato = 111"), QString()),
                 QStringLiteral("statusz = Kész (5)"));
        QCOMPARE(listed(*w, "statusz"), QStringLiteral("5"));
        QCOMPARE(w->currentDocument(), qint64(111));
        QTest::keyClick(w->listView(), Qt::Key_2, Qt::AltModifier);
        QCOMPARE(flagOf(111, "statusz"), QStringLiteral("5"));
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktnaplo WHERE iktato = 111"), -1), 1);
    }

    void lendingAndTakingBack()
    {
        setFixedNow(QDateTime(QDate(2024, 6, 3), QTime(9, 0)));
        auto w = openWindow();
        QVERIFY(w);
        MessageBox::clearShown();
        toDocument(*w, 102);
        QTest::keyClick(w->listView(), Qt::Key_F7, Qt::ControlModifier);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().text, QStringLiteral("Ez a tétel már ki lett adva"));
        QCOMPARE(MessageBox::shown().first().kind, QStringLiteral("error"));

        MessageBox::setNextAnswer(false);
        action(*w, "aVisszavesz")->trigger();
        QCOMPARE(MessageBox::shown().last().text, QStringLiteral("Valóban visszaveszed a tételt?"));
        QCOMPARE(MessageBox::shown().last().title, QStringLiteral("Megerősítés"));
        QCOMPARE(flagOf(102, "kolcsonadva"), QStringLiteral("I"));
        MessageBox::setNextAnswer(true);
        action(*w, "aVisszavesz")->trigger();
        QCOMPARE(flagOf(102, "kolcsonadva"), QStringLiteral("N"));
        QCOMPARE(flagOf(102, "kolcsonadva_dat"), QStringLiteral("NULL"));
        QCOMPARE(listed(*w, "kolcsonadva"), QStringLiteral("N"));
        MessageBox::clearShown();
        QTest::keyClick(w->listView(), Qt::Key_F8, Qt::ControlModifier);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().text, QStringLiteral("Ez a tétel még nem lett kiadva"));

        // A NULL flag neither refuses lending nor taking back.
        toDocument(*w, 111);
        onModal(LendDialog::ObjectName, [](QDialog *d) {
            auto *lend = static_cast<LendDialog *>(d);
            QCOMPARE(lend->dateEdit()->date(), QDate(2024, 6, 3));
            lend->dateEdit()->setDate(QDate(2024, 5, 30));
            typeText(lend->nameBox()->lineEdit(), QStringLiteral("O'Neil Éva"));
            lend->okButton()->click();
        });
        action(*w, "aKiad")->trigger();
        QCOMPARE(flagOf(111, "kolcsonadva_kinek"), QStringLiteral("O'Neil Éva"));
        QCOMPARE(flagOf(111, "kolcsonadva_dat"), QStringLiteral("2024-05-30"));
        QCOMPARE(listed(*w, "kolcsonadva"), QStringLiteral("I"));
        QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->searchBox()));
        ExecSql(QStringLiteral("UPDATE iktato SET kolcsonadva = NULL WHERE iktato = 111"));
        action(*w, "aFrissit")->trigger();
        MessageBox::setNextAnswer(true);
        action(*w, "aVisszavesz")->trigger();
        QCOMPARE(flagOf(111, "kolcsonadva"), QStringLiteral("N"));
    }

    void reminderOfTheCurrentDocument()
    {
        setFixedNow(QDateTime(QDate(2024, 6, 3), QTime(9, 0)));
        auto w = openWindow();
        QVERIFY(w);
        toDocument(*w, 111);
        onModal(ReminderDialog::ObjectName, [](QDialog *d) {
            auto *dialog = static_cast<ReminderDialog *>(d);
            QCOMPARE(dialog->dateEdit()->date(), QDate(2024, 6, 3));
            QVERIFY(dialog->textEdit()->text().isEmpty());
            typeText(dialog->textEdit(), QStringLiteral("Hívd vissza"));
            dialog->okButton()->click();
        });
        QTest::keyClick(w->listView(), Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(listed(*w, "figy_szoveg"), QStringLiteral("Hívd vissza"));
        QCOMPARE(listed(*w, "dat_figy"), QStringLiteral("2024-06-03"));

        onModal(ReminderDialog::ObjectName, [](QDialog *d) {
            auto *dialog = static_cast<ReminderDialog *>(d);
            QCOMPARE(dialog->textEdit()->text(), QStringLiteral("Hívd vissza"));
            dialog->clearButton()->click();
        });
        action(*w, "aFigyelmeztet")->trigger();
        QVERIFY(w->listModel()->dataset().isNull(w->listModel()->dataset().current(),
                                                 w->listModel()->dataset().fieldIndex(u"dat_figy")));
        QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->searchBox()));
    }

    void startUpShowsTodaysRemindersAndDeadlines()
    {
        ExecSql(QStringLiteral("UPDATE iktato SET dat_figy = CURDATE() WHERE iktato = 113"));
        ExecSql(QStringLiteral("UPDATE beallit SET hatidfigyel = 5"));
        useIni(QStringLiteral("VanFigyu"), true);
        QElapsedTimer clock;
        qint64 firstAt = -1;
        QHash<QString, int> rows;
        // Both lists come at once, one over the other; each is read and closed as it comes on top.
        auto *sequence = new ModalSequence(this, 15000);
        const auto readAndClose = [&](QWidget *d) {
            if (firstAt < 0)
                firstAt = clock.elapsed();
            if (auto *list = qobject_cast<ListScreen *>(d))
                rows.insert(d->objectName(), list->model()->rowCount());
            static_cast<QDialog *>(d)->reject();
        };
        sequence->then(readAndClose);
        sequence->then(readAndClose);
        clock.start();
        auto w = openWindow();
        QVERIFY(w);
        QTRY_VERIFY_WITH_TIMEOUT(sequence->done(), 15000);
        QVERIFY2(firstAt >= 2900, qPrintable(QString::number(firstAt)));
        QCOMPARE(rows.value(QStringLiteral("frm_FigyuLista")), 1);
        // The fixture's deadlines all lie in the past and none is finished.
        QCOMPARE(rows.value(QStringLiteral("frm_LejarLista")), 5);
        delete sequence;
        ExecSql(QStringLiteral("UPDATE iktato SET dat_figy = NULL WHERE iktato = 113"));
    }

    void nothingPopsUpWithoutAReminderForToday()
    {
        useIni(QStringLiteral("VanFigyu"), true);
        auto w = openWindow();
        QVERIFY(w);
        ModalWatch watch;
        QTest::qWait(3600);
        QCOMPARE(watch.seen(), 0);
    }

    // Marking, statuses, lending and reminders need no right; write protection turns
    // off only the reminder and status actions.
    void noRightGatesAndWriteProtection()
    {
        ExecSql(QStringLiteral("UPDATE felhasznalo SET rendszergazda = 'N', torzsszerkeszt = 'N', canins = 'N', "
                               "canedit = 'N', candel = 'N' WHERE felhkod = 1"));
        ExecSql(QStringLiteral("UPDATE beallit SET irasvedett = 'I'"));
        auto w = openWindow();
        QVERIFY(w);
        for (const char *name : {"aFigyelmeztet", "aStatusz0", "aStatusz5"})
            QVERIFY2(!action(*w, name)->isEnabled(), name);
        for (const char *name : {"aNyomniJelol", "aNyomniMegszuntet", "aNyomniSzur", "aKiad", "aVisszavesz"})
            QVERIFY2(action(*w, name)->isEnabled(), name);
        toDocument(*w, 113);
        action(*w, "aNyomniJelol")->trigger();
        QCOMPARE(flagOf(113, "nyomtatni"), QStringLiteral("I"));
        QVERIFY(MessageBox::shown().isEmpty());
        ExecSql(QStringLiteral("UPDATE felhasznalo SET rendszergazda = 'I', torzsszerkeszt = 'I', canins = 'I', "
                               "canedit = 'I', candel = 'I' WHERE felhkod = 1"));
    }
};

QTEST_MAIN(TestMarking)
#include "tst_marking.moc"
