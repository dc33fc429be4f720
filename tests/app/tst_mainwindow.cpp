#include "MainWindowFixture.h"
#include "DocumentFixture.h"
#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "common/Clock.h"
#include "common/SqlText.h"
#include "db/DbHelpers.h"
#include "common/LastAction.h"
#include "common/ui/DesktopServices.h"
#include "core/ui/ListScreen.h"
#include "common/ui/MessageBox.h"
#include "core/AppFolders.h"
#include "core/Session.h"
#include "core/ConnectionProfile.h"
#include "core/IniFile.h"
#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"
#include "core/ui/MessagePanel.h"
#include "core/ui/Startup.h"
#include "db/ui/DatasetModel.h"
#include "register/ui/DetailPanel.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/DocumentListView.h"
#include "register/ui/FilterController.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <atomic>
#include <memory>
#include <thread>

// A closed main window leaves no current connection; the test's own takes over again.

class TestMainWindow : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TempDataFolder> m_data;

    Window openWindow() { return openMainWindow(&m_db->connection()); }
    static QList<qint64> keys(MainWindow &w) { return listedKeys(w); }
    static QStringList tabTexts(const QTabBar *tabs)
    {
        QStringList texts;
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i);
        return texts;
    }
    static QAction *action(MainWindow &w, const char *name)
    {
        return w.actionCatalogue().action(QLatin1String(name));
    }
    static QStringList texts(const QMenu *menu)
    {
        QStringList list;
        for (QAction *a : menu->actions())
            list << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return list;
    }
    // Types into the search box as a user would, one key at a time.
    static void typeSearch(MainWindow &w, const QString &text) { ModalDriver::typeText(w.searchBox(), text); }
    static void clickTab(QTabBar *tabs, int index)
    {
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }
    static void clickTitle(MainWindow &w, int column)
    {
        QHeaderView *header = w.listView()->horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }
    // What the platform delivers: press, release, press, double-click, release.
    static void doubleClick(QWidget *widget, const QPoint &at)
    {
        QTest::mouseClick(widget, Qt::LeftButton, {}, at);
        QTest::mousePress(widget, Qt::LeftButton, {}, at);
        QMouseEvent dbl(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton,
                        Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &dbl);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
    }
    static qint64 messageRead(int key, const char *column)
    {
        return SelectInt(
            QStringLiteral("SELECT %1 FROM uzenet WHERE uzenet = %2").arg(QLatin1String(column)).arg(key),
            -1);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        DocumentFixture::load();
        ExecSql(QStringLiteral("UPDATE tulajdonos SET tulajdonos = 'Próba Kft.'"));
        MessageBox::setRecording(true);
        DesktopServices::setRecording(true);
    }
    void init()
    {
        m_data = prepareStartup(*m_db, QStringLiteral("Teszt nyilvántartás"));
        ExecSql(QStringLiteral("UPDATE beallit SET vanbelep = 'N', irasvedett = 'N', hatidfigyel = -1"));
        ExecSql(QStringLiteral("DELETE FROM uzenet"));
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

    void startsOnTheNewestYearsIncomingDocuments()
    {
        auto w = openWindow();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Korvena: [Próba Kft.]"));
        QCOMPARE(tabTexts(w->directionTabs()), (QStringList{"Bejövő", "Kimenő", "Egyéb", "Összes"}));
        QCOMPARE(w->directionTabs()->currentIndex(), 0);
        // A document without a date gives an empty tab before "Összes".
        QCOMPARE(tabTexts(w->yearTabs()), (QStringList{"2024", "2023", "", "Összes"}));
        QCOMPARE(w->yearTabs()->currentIndex(), 0);
        QCOMPARE(conditionLine(*w),
                 QStringLiteral("WHERE (torolve='N') AND (YEAR(dat_erk)=2024) AND (irany=0) AND (fcs=1)"));
        QCOMPARE(keys(*w), (QList<qint64>{101, 102}));
        QVERIFY(action(*w, "aSzur0")->isChecked());

        // Status bar: rows and position, hint, sort order.
        QCOMPARE(w->rowPanel()->text(), QStringLiteral("2: 1"));
        QCOMPARE(w->rowPanel()->width(), 77);
        QCOMPARE(w->hintPanel()->width(), 200);
        QVERIFY(w->sortPanel()->text().isEmpty());
        QCOMPARE(highlightedColumn(w->listView()), 4);
        QCOMPARE(w->findChild<QLabel *>(QStringLiteral("lblAdatbazis"))->text().trimmed(),
                 QStringLiteral("Teszt nyilvántartás"));

        // The detail panel and the attached files of the current document.
        DetailPanel *detail = w->detailPanel();
        QCOMPARE(detail->valueText(QStringLiteral("valiktatoaz")), QStringLiteral("0101/01/01/2024"));
        QCOMPARE(detail->valueText(QStringLiteral("valdat_figy")), QStringLiteral("2024.04.01"));
        QCOMPARE(detail->valueText(QStringLiteral("valfigy_szoveg")),
                 QStringLiteral("Visszahívni a bérbeadót"));
        QCOMPARE(detail->valueText(QStringLiteral("valtargy")),
                 QStringLiteral("Pécsi fiók bérleti szerződése"));
        QTRY_COMPARE(detail->fileModel()->rowCount(), 2);
        const Dataset &files = detail->fileModel()->dataset();
        const int name = files.fieldIndex(u"origfilenev");
        QCOMPARE(detail->fileModel()->headerData(name, Qt::Horizontal).toString(),
                 QStringLiteral("File neve"));
        QVERIFY(!detail->fileGrid()->isColumnHidden(name));
        QVERIFY(detail->fileGrid()->isColumnHidden(files.fieldIndex(u"filenev")));

        // Moving to the next row updates the panels and the files.
        QTest::keyClick(w->listView(), Qt::Key_Down);
        QCOMPARE(w->rowPanel()->text(), QStringLiteral("2: 2"));
        QCOMPARE(detail->valueText(QStringLiteral("valiktatoaz")), QStringLiteral("0102/01/02/2024"));
        QCOMPARE(detail->valueText(QStringLiteral("valkolcsonadva_kinek")), QStringLiteral("Szabó Éva"));
        QTRY_COMPARE(detail->fileModel()->rowCount(), 0);

        // Statuses of the register; codes without an action are skipped.
        QVERIFY(action(*w, "aStatusz0")->isVisible());
        QCOMPARE(action(*w, "aStatusz0")->text(), QStringLiteral("Új (0)"));
        QCOMPARE(action(*w, "aStatusz3")->text(), QStringLiteral(" (3)"));
        QVERIFY(action(*w, "aStatusz5")->isEnabled());
        QVERIFY(!action(*w, "aStatusz2")->isVisible());
        QVERIFY(!action(*w, "aStatusz2")->isEnabled());
        QCOMPARE(action(*w, "aStatusz5")->shortcut(), QKeySequence(QStringLiteral("Alt+5")));

        // Subjects of the user's groups for completion.
        QVERIFY(session().subjects.contains(QStringLiteral("Régi irat")));
        QVERIFY(!session().subjects.contains(QStringLiteral("Titkos Kiss pécsi ügy")));
    }

    void directionAndYearTabs()
    {
        auto w = openWindow();
        QVERIFY(w);
        QAction *expired = action(*w, "aSzur8");
        QVERIFY(!expired->isVisible());
        clickTab(w->directionTabs(), 3);
        QCOMPARE(conditionLine(*w),
                 QStringLiteral("WHERE (torolve='N') AND (YEAR(dat_erk)=2024) AND (fcs=1)"));
        QCOMPARE(keys(*w), (QList<qint64>{101, 102, 103, 104}));
        clickTab(w->directionTabs(), 1);
        QCOMPARE(keys(*w), QList<qint64>{103});
        clickTab(w->directionTabs(), 2);
        QCOMPARE(keys(*w), QList<qint64>{104});
        QVERIFY(expired->isVisible() && expired->isEnabled());

        // "Lejártak" narrows the third tab; elsewhere it is kept but idle.
        expired->trigger();
        QVERIFY(conditionLine(*w).startsWith(
            QStringLiteral("WHERE (torolve='N') AND (dat_hatid <= CURDATE()) AND ")));
        QCOMPARE(keys(*w), QList<qint64>{104});
        clickTab(w->directionTabs(), 0);
        QVERIFY(!expired->isVisible() && !expired->isEnabled());
        QVERIFY(!conditionLine(*w).contains(QStringLiteral("dat_hatid")));
        QVERIFY(w->documentList().filter().expiredOnly);

        // The empty year tab and "Összes" list every year.
        w->searchBox()->setText(QStringLiteral("x"));
        clickTab(w->yearTabs(), 2);
        QVERIFY(w->searchBox()->text().isEmpty());
        QCOMPARE(conditionLine(*w), QStringLiteral("WHERE (torolve='N') AND (irany=0) AND (fcs=1)"));
        QCOMPARE(keys(*w), (QList<qint64>{101, 102, 105, 106}));
        clickTab(w->yearTabs(), 1);
        QCOMPARE(keys(*w), QList<qint64>{105});
        clickTab(w->yearTabs(), 3);
        QCOMPARE(keys(*w).size(), 4);
    }

    void yearTabAfterTypeKeepsTheTypeWithNoFilterMarked()
    {
        auto w = openWindow();
        QVERIFY(w);
        ModalSequence driver;
        driver.then([](QWidget *dialog) {
            auto *list = qobject_cast<ListScreen *>(dialog);
            QVERIFY(list);
            QVERIFY(list->locateKey(2)); // "Számla"
            list->findChild<QAction *>(QStringLiteral("aElfogad"))->trigger();
        });
        action(*w, "aSzur7")->trigger();
        QCOMPARE(driver.seen().size(), 1);
        QVERIFY(action(*w, "aSzur7")->isChecked());
        QVERIFY(conditionLine(*w).contains(QStringLiteral("(tipus = 2) AND ")));
        QCOMPARE(keys(*w), QList<qint64>{102});

        clickTab(w->yearTabs(), 3);
        QVERIFY(action(*w, "aSzur0")->isChecked());
        QCOMPARE(conditionLine(*w),
                 QStringLiteral("WHERE (torolve='N') AND (tipus = 2) AND (irany=0) AND (fcs=1)"));

        // A plain entry clears the type.
        action(*w, "aSzur4")->trigger();
        QCOMPARE(conditionLine(*w),
                 QStringLiteral("WHERE (torolve='N') AND (irany=0) AND (fcs=1) AND (kolcsonadva='I')"));
        QCOMPARE(keys(*w), QList<qint64>{102});
    }

    void periodEntry()
    {
        setFixedNow(QDateTime(QDate(2024, 3, 5), QTime(9, 0)));
        auto w = openWindow();
        QVERIFY(w);
        ModalSequence cancel;
        cancel.then([](QWidget *dialog) { qobject_cast<QDialog *>(dialog)->reject(); });
        action(*w, "aSzur6")->trigger();
        QCOMPARE(cancel.seen(), QStringList{QStringLiteral("frm_Idoszak")});
        QVERIFY(conditionLine(*w).endsWith(
            QStringLiteral(" AND (dat_erk BETWEEN '2024-03-05' AND '2024-03-05')")));
        QCOMPARE(keys(*w), QList<qint64>{102});

        ModalSequence confirm;
        confirm.then([](QWidget *dialog) { qobject_cast<QDialog *>(dialog)->accept(); });
        action(*w, "aSzur6")->trigger();
        QVERIFY(conditionLine(*w).endsWith(
            QStringLiteral(" AND (dat_erk BETWEEN '2024-02-05' AND '2024-03-05')")));
        QCOMPARE(keys(*w), (QList<qint64>{101, 102}));
    }

    void cancelledPickerKeepsThePreviousEntry()
    {
        auto w = openWindow();
        QVERIFY(w);
        FilterPickers pickers;
        int answer = 1;
        pickers.mainNumber = [&answer](QWidget *) { return answer; };
        w->documentList().setPickers(pickers);

        action(*w, "aSzur3")->trigger();
        const QString chosen = conditionLine(*w);
        QVERIFY(chosen.endsWith(QStringLiteral(" AND (az1=1)")));

        // Cancelled: neither the list nor the marked entry nor the main number changes,
        // also at the next rebuild.
        answer = -1;
        action(*w, "aSzur3")->trigger();
        QCOMPARE(conditionLine(*w), chosen);
        QVERIFY(action(*w, "aSzur3")->isChecked());
        clickTab(w->directionTabs(), 3);
        QVERIFY(conditionLine(*w).endsWith(QStringLiteral(" AND (az1=1)")));

        action(*w, "aSzur4")->trigger();
        const QString lent = conditionLine(*w);
        action(*w, "aSzur3")->trigger();
        QVERIFY(action(*w, "aSzur4")->isChecked());
        QCOMPARE(conditionLine(*w), lent);
        clickTab(w->directionTabs(), 0);
        QVERIFY(conditionLine(*w).endsWith(QStringLiteral(" AND (kolcsonadva='I')")));
    }

    void searchNarrowsAndPositions()
    {
        auto w = openWindow();
        QVERIFY(w);
        clickTab(w->directionTabs(), 3);
        typeSearch(*w, QStringLiteral("kiss, pecs"));
        QTRY_COMPARE(keys(*w), (QList<qint64>{101, 103}));
        QVERIFY(conditionLine(*w).contains(QStringLiteral("LIKE '%pecs%'")));
        QVERIFY(conditionLine(*w).startsWith(
            QStringLiteral("WHERE (torolve='N') AND (YEAR(dat_erk)=2024) AND (fcs=1) AND ((")));

        // Up/Down leave the box for the list; a letter typed in the list starts a new search.
        QTest::keyClick(w->searchBox(), Qt::Key_Down);
        QVERIFY(w->listView()->hasFocus());
        QTest::keyClick(w->listView(), Qt::Key_N, Qt::ShiftModifier);
        QVERIFY(w->searchBox()->hasFocus());
        QCOMPARE(w->searchBox()->text(), QStringLiteral("n"));
        QTRY_VERIFY(conditionLine(*w).contains(QStringLiteral("LIKE '%n%'")));

        // The search stands on the first row whose sort column begins with the text.
        clickTitle(*w, 6); // "Kitől"
        QCOMPARE(w->documentList().query().lines().at(2), QStringLiteral("ORDER BY ugyf_kitol_nev;"));
        w->searchBox()->selectAll();
        typeSearch(*w, QStringLiteral("na"));
        QTRY_VERIFY(conditionLine(*w).contains(QStringLiteral("LIKE '%na%'")));
        QCOMPARE(keys(*w), (QList<qint64>{101, 102, 103})); // Kiss Péter, Kovács és Társa Bt., Nagy Anna
        QCOMPARE(w->currentDocument(), 103);
        QCOMPARE(w->rowPanel()->text(), QStringLiteral("3: 3"));

        // A rebuild drops the search piece but the box keeps its text.
        action(*w, "aSzur0")->trigger();
        QCOMPARE(keys(*w), (QList<qint64>{104, 101, 102, 103}));
        QCOMPARE(w->searchBox()->text(), QStringLiteral("na"));
    }

    // Word-processor punctuation is searched like any text; a character the register cannot
    // store empties the list and says why, without a box at every keystroke.
    void searchWithTypographicAndUnstorableCharacters()
    {
        ExecSql(QStringLiteral("UPDATE iktato SET kulcsszavak = ") +
                SqlLiteral(QStringLiteral("„Idézet” – 5 € …")) + QStringLiteral(" WHERE iktato = 103"));
        auto w = openWindow();
        QVERIFY(w);
        clickTab(w->directionTabs(), 3);
        typeSearch(*w, QStringLiteral("„Idézet” –"));
        QTRY_COMPARE(keys(*w), QList<qint64>{103});
        w->searchBox()->setText(QStringLiteral("5 € …"));
        QTRY_COMPARE(keys(*w), QList<qint64>{103});

        QTest::sendKeyEvent(QTest::Click, w->searchBox(), Qt::Key_unknown, QStringLiteral("😀"),
                            Qt::NoModifier);
        QTRY_VERIFY(keys(*w).isEmpty());
        QCOMPARE(w->hintPanel()->text(), QStringLiteral("Nem kereshető karakter: „😀”"));
        typeSearch(*w, QStringLiteral("x"));
        action(*w, "aFrissit")->trigger();
        QVERIFY(keys(*w).isEmpty());
        QCOMPARE(w->hintPanel()->text(), QStringLiteral("Nem kereshető karakter: „😀”"));
        QVERIFY2(MessageBox::shown().isEmpty(), qPrintable(MessageBox::shown().value(0).text));

        // The next search that can run clears the note; so does a rebuild.
        w->searchBox()->setText(QStringLiteral("idézet"));
        QTRY_COMPARE(keys(*w), QList<qint64>{103});
        QVERIFY(w->hintPanel()->text().isEmpty());
        w->searchBox()->setText(QStringLiteral("😀"));
        QTRY_COMPARE(w->hintPanel()->text(), QStringLiteral("Nem kereshető karakter: „😀”"));
        action(*w, "aSzur0")->trigger();
        QCOMPARE(keys(*w).size(), 4);
        QVERIFY(w->hintPanel()->text().isEmpty());
        ExecSql(QStringLiteral("UPDATE iktato SET kulcsszavak = NULL WHERE iktato = 103"));
    }

    void scannedBarcodeJumpsToTheDocument()
    {
        auto w = openWindow();
        QVERIFY(w);
        clickTab(w->directionTabs(), 3);
        typeSearch(*w, QStringLiteral("00001034"));
        QTest::keyClick(w->searchBox(), Qt::Key_Return);
        QCOMPARE(keys(*w), (QList<qint64>{101, 102, 103, 104}));
        QCOMPARE(w->currentDocument(), 103);
        QVERIFY(!conditionLine(*w).contains(QStringLiteral("LIKE")));
        QCOMPARE(w->searchBox()->text(), QStringLiteral("00001034"));
        // A pending search of the typed characters does not come back afterwards.
        QTest::qWait(50);
        QCOMPARE(keys(*w).size(), 4);

        // Eight characters that are no key: the search is reset and nothing more.
        w->listView()->moveToDatasetRow(1);
        w->searchBox()->setText(QStringLiteral("Pécsi fi"));
        QTRY_COMPARE(keys(*w), QList<qint64>{101});
        QTest::keyClick(w->searchBox(), Qt::Key_Return);
        QCOMPARE(keys(*w).size(), 4);
        QCOMPARE(w->currentDocument(), 101);
        // Another length does nothing at all.
        w->searchBox()->setText(QStringLiteral("0000103"));
        QTRY_VERIFY(conditionLine(*w).contains(QStringLiteral("LIKE")));
        const QString searched = conditionLine(*w);
        QTest::keyClick(w->searchBox(), Qt::Key_Return);
        QCOMPARE(conditionLine(*w), searched);
    }

    void clickingAColumnTitleSorts()
    {
        auto w = openWindow();
        QVERIFY(w);
        clickTab(w->directionTabs(), 3);
        w->listView()->moveToDatasetRow(2);
        const qint64 current = w->currentDocument();
        w->listView()->setFocus();
        clickTitle(*w, 5);
        QCOMPARE(w->sortPanel()->text(), QStringLiteral("Sorrend: Tárgy"));
        QCOMPARE(w->documentList().query().lines().at(2), QStringLiteral("ORDER BY xtargy;"));
        QCOMPARE(w->documentList().filter().locateColumn, QStringLiteral("xtargy"));
        QCOMPARE(keys(*w), (QList<qint64>{104, 101, 102, 103}));
        QCOMPARE(w->currentDocument(), current);
        QCOMPARE(highlightedColumn(w->listView()), 5);
        QVERIFY(w->searchBox()->hasFocus());

        // The print marker sorts by its field; the reminder column does not sort.
        clickTitle(*w, 1);
        QCOMPARE(w->sortPanel()->text(), QStringLiteral("Sorrend: !"));
        QCOMPARE(w->documentList().query().lines().at(2), QStringLiteral("ORDER BY nyomtatni;"));
        clickTitle(*w, 0);
        QCOMPARE(w->documentList().query().lines().at(2), QStringLiteral("ORDER BY nyomtatni;"));
        QCOMPARE(highlightedColumn(w->listView()), 1);
    }

    void refreshKeepsTheCurrentDocument()
    {
        auto w = openWindow();
        QVERIFY(w);
        w->listView()->moveToDatasetRow(1);
        QCOMPARE(w->currentDocument(), 102);
        ExecSql(
            QStringLiteral("INSERT INTO iktato (iktato, az1, az2, targy, dat_erk, irany, csoport, torolve) "
                           "VALUES (100, 9, 9, 'Új irat', '2024-03-09', 0, 1, 'N')"));
        QTest::keyClick(w.get(), Qt::Key_F5);
        QCOMPARE(keys(*w), (QList<qint64>{100, 101, 102}));
        QCOMPARE(w->currentDocument(), 102);
        QCOMPARE(LastAction(), QStringLiteral("frm_Main.aFrissit"));
        // The files of the same document are read again.
        QTest::qWait(20);
        QCOMPARE(w->detailPanel()->fileModel()->rowCount(), 0);
        ExecSql(QStringLiteral(
            "INSERT INTO iktato_file (iktato, filenev, origfilenev) VALUES (102, 'x.pdf', 'uj.pdf')"));
        action(*w, "aFrissit")->trigger();
        QTRY_COMPARE(w->detailPanel()->fileModel()->rowCount(), 1);
        ExecSql(QStringLiteral("DELETE FROM iktato_file WHERE iktato = 102"));
        ExecSql(QStringLiteral("DELETE FROM iktato WHERE iktato = 100"));
    }

    void lostConnectionDuringARebuildIsReportedAndTheNextWorks()
    {
        auto w = openWindow();
        QVERIFY(w);
        std::atomic<bool> locked = false;
        std::thread killer([&] {
            auto c = m_db->newConnection();
            c->exec(QStringLiteral("LOCK TABLES iktato WRITE"));
            locked = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            // The list is read on a connection of its own: the one waiting with the list's query.
            const QVariant victim = c->selectValue(
                QStringLiteral("SELECT ID FROM information_schema.PROCESSLIST WHERE INFO LIKE '%FROM vw_iktato%' "
                               "AND ID <> CONNECTION_ID()"));
            if (victim.isValid())
                c->exec(QStringLiteral("KILL ") + victim.toString());
            c->exec(QStringLiteral("UNLOCK TABLES"));
        });
        while (!locked)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        clickTab(w->directionTabs(), 3); // waits for the lock, then loses its connection
        killer.join();
        QVERIFY(!MessageBox::shown().isEmpty());
        QCOMPARE(LastAction(), QStringLiteral("frm_Main.tcIrany"));
        QCOMPARE(w->listModel()->rowCount(), 0);

        clickTab(w->directionTabs(), 1);
        QCOMPARE(keys(*w), QList<qint64>{103});
        QCOMPARE(w->rowPanel()->text(), QStringLiteral("1: 1"));
    }

    void unreadMessagesAndBothButtons()
    {
        ExecSql(QStringLiteral("INSERT INTO uzenet (uzenet, szoveg, link, csakegyszer, olvasva) VALUES "
                               "(1, 'Első értesítés', 'https://pelda.hu/hir', 'N', 'N'), "
                               "(2, 'Második, egyszeri', NULL, 'I', 'N'), (3, 'Harmadik', '', 'N', 'N')"));
        {
            auto w = openWindow();
            QVERIFY(w);
            MessagePanel *panel = w->messagePanel();
            QVERIFY(panel->isVisible());
            QCOMPARE(panel->height(), 205);
            QCOMPARE(panel->messageKey(), 1);
            QCOMPARE(panel->findChild<QLabel *>(QStringLiteral("lblUzenet"))->text(),
                     QStringLiteral("Első értesítés"));
            auto *link = panel->findChild<QLabel *>(QStringLiteral("lblLink"));
            QVERIFY(link->isVisible());
            QCOMPARE(panel->palette().color(QPalette::Window), QColor(0, 128, 192));
            QVERIFY(panel->findChild<QPushButton *>(QStringLiteral("btnNemKell"))->isVisible());
            QTest::mouseClick(link, Qt::LeftButton);
            QCOMPARE(DesktopServices::opened(), QList<QUrl>{QUrl(QStringLiteral("https://pelda.hu/hir"))});
            QTest::mouseClick(panel->findChild<QPushButton *>(QStringLiteral("btnRendben")), Qt::LeftButton);
            QVERIFY(!panel->isVisible());
            QCOMPARE(SelectText(QStringLiteral("SELECT olvasva FROM uzenet WHERE uzenet = 1"), {}),
                     QStringLiteral("N"));
            QCOMPARE(messageRead(1, "dat_olvasva IS NOT NULL"), 1);
        }
        {
            // Only acknowledged: it comes back; the second button ends it.
            auto w = openWindow();
            QVERIFY(w);
            QCOMPARE(w->messagePanel()->messageKey(), 1);
            QTest::mouseClick(w->messagePanel()->findChild<QPushButton *>(QStringLiteral("btnNemKell")),
                              Qt::LeftButton);
            QVERIFY(!w->messagePanel()->isVisible());
            QCOMPARE(SelectText(QStringLiteral("SELECT olvasva FROM uzenet WHERE uzenet = 1"), {}),
                     QStringLiteral("I"));
        }
        {
            auto w = openWindow();
            QVERIFY(w);
            MessagePanel *panel = w->messagePanel();
            QCOMPARE(panel->messageKey(), 2);
            QCOMPARE(panel->palette().color(QPalette::Window), QColor(255, 128, 128));
            QVERIFY(!panel->findChild<QPushButton *>(QStringLiteral("btnNemKell"))->isVisible());
            QVERIFY(!panel->findChild<QLabel *>(QStringLiteral("lblLink"))->isVisible());
        }
        ExecSql(QStringLiteral("DELETE FROM uzenet"));
        auto w = openWindow();
        QVERIFY(w);
        QVERIFY(!w->messagePanel()->isVisible());
    }

    void fontSizeActions()
    {
        auto w = openWindow();
        QVERIFY(w);
        QCOMPARE(session().local.fontSize, 9);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(w.get(), Qt::Key_F11);
        QCOMPARE(session().local.fontSize, 10);
        QCOMPARE(w->font().pointSize(), 10);
        QCOMPARE(w->listView()->font().pointSize(), 10);
        QCOMPARE(w->searchBox()->font().pointSize(), 9); // keeps the size it got when shown
        // Rows grow and shrink with the font, in the list and in the file grid.
        for (QTableView *grid : {static_cast<QTableView *>(w->listView()), w->detailPanel()->fileGrid()})
            QCOMPARE(grid->verticalHeader()->defaultSectionSize(), grid->fontMetrics().height() + 4);
        const int tall = w->listView()->verticalHeader()->defaultSectionSize();
        QTest::keyClick(w.get(), Qt::Key_F12);
        QTest::keyClick(w.get(), Qt::Key_F12);
        QCOMPARE(w->listView()->verticalHeader()->defaultSectionSize(), w->listView()->fontMetrics().height() + 4);
        QVERIFY(w->listView()->verticalHeader()->defaultSectionSize() < tall);
        session().local.fontSize = 8;
        QTest::keyClick(w.get(), Qt::Key_F12);
        QCOMPARE(session().local.fontSize, 8);
    }

    void windowActionsWinOverTheSearchBox()
    {
        auto w = openWindow();
        QVERIFY(w);
        QVERIFY(w->searchBox()->hasFocus());
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(w->searchBox(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("0101/01/01/2024"));
        QCOMPARE(LastAction(), QStringLiteral("frm_Main.aMasol"));
        QTest::keyClick(w->listView(), Qt::Key_Down);
        QTest::keyClick(w->listView(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("0102/01/02/2024"));

        QSignalSpy edits(action(*w, "aSzerkeszt"), &QAction::triggered);

        const QRect cell = w->listView()->visualRect(w->listModel()->index(1, 5));
        ModalDriver::onModal(QStringLiteral("frm_Szerkeszt"), [](QDialog *d) { d->reject(); });
        doubleClick(w->listView()->viewport(), cell.center());
        QCOMPARE(edits.count(), 1);
        QCOMPARE(LastAction(), QStringLiteral("frm_Main.aSzerkeszt"));
        // The editor it opened has closed; the window is active again.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));

        QTest::keyClick(w.get(), Qt::Key_F1);
        QCOMPARE(DesktopServices::opened().size(), 1);
        QVERIFY(DesktopServices::opened().first().toString().endsWith(
            QStringLiteral("/prgdocs/index.php?prg=7")));
        action(*w, "aLevel")->trigger();
        QCOMPARE(DesktopServices::opened().last().scheme(), QStringLiteral("mailto"));
        QVERIFY(
            DesktopServices::opened().last().toString().contains(QStringLiteral("subject=Korvena program")));
    }

    void wheelMovesTheListRowByRow()
    {
        auto w = openWindow();
        QVERIFY(w);
        w->listView()->setFocus();
        QCOMPARE(w->currentDocument(), 101);
        const QPoint at = w->listView()->viewport()->rect().center();
        QWheelEvent towards(at, w->listView()->viewport()->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton,
                            Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w->listView()->viewport(), &towards);
        QTRY_COMPARE(w->currentDocument(), 102);
        QWheelEvent away(at, w->listView()->viewport()->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w->listView()->viewport(), &away);
        QTRY_COMPARE(w->currentDocument(), 101);
    }

    void hintsShowInTheMiddlePanel()
    {
        auto w = openWindow();
        QVERIFY(w);
        QToolButton *reminder = nullptr;
        for (QToolButton *b : w->actionCatalogue().largeToolBar()->findChildren<QToolButton *>())
            if (b->defaultAction() == action(*w, "aFigyelmeztet"))
                reminder = b;
        QVERIFY(reminder);
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), reminder->mapToGlobal(QPointF(2, 2)));
        QApplication::sendEvent(reminder, &enter);
        QCOMPARE(w->hintPanel()->text(), QStringLiteral("Figyelmeztetés beállítása"));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(reminder, &leave);
        QVERIFY(w->hintPanel()->text().isEmpty());
        QMenu *tools = w->menuBar()->actions().at(4)->menu();
        tools->popup(QPoint(0, 0));
        tools->setActiveAction(action(*w, "aVisszavesz"));
        QCOMPARE(w->hintPanel()->text(), QStringLiteral("Visszavesz"));
        tools->close();
    }

    void menusToolbarsAndPopups()
    {
        auto w = openWindow();
        QVERIFY(w);
        QStringList menus;
        for (QAction *a : w->menuBar()->actions())
            menus << a->text();
        QCOMPARE(menus, (QStringList{"Korvena", "Szűrés", "Nézet", "Törzsadatok", "Eszközök", "Nyomtatások",
                                     "Rendszer", "Súgó"}));
        const auto menu = [&](int i) { return w->menuBar()->actions().at(i)->menu(); };
        QCOMPARE(texts(menu(0)), (QStringList{"Frissít", "Új", "Szerkeszt", "Töröl", "Nyomtat", "Excelbe...",
                                              "Html export", "Bezár"}));
        QCOMPARE(texts(menu(1)), (QStringList{"Nincs szűrés", "Csak a mai nap", "Nyomtatásra jelöltek",
                                              "Főszámra", "Kiadottak"}));
        // The register's own captions (defaults of a new register).
        QCOMPARE(texts(menu(3)), (QStringList{"Csoportok", "Státuszok", "Projekt", "Munkaszám", "Típus",
                                              "Főszámok", "Ügyfelek"}));
        QCOMPARE(
            texts(w->actionCatalogue().filterDropDown()),
            (QStringList{"Csak az utolsó hét", "Csak a mai nap", "Időszak", "-", "Nyomtatásra jelöltek",
                         "Főszámra", "Kiadottak", "Típusra", "Lejártak", "Csoportra", "Figyelmeztetésekre",
                         "Ahol nincs csatolt file", "Egyéb csoportra", "-", "Nincs szűrés"}));
        QCOMPARE(texts(w->actionCatalogue().listPopup()),
                 (QStringList{"Új", "Szerkeszt", "Töröl", "-", "Iktatószám másolása", "Vágólapra", "-",
                              "Nyomtat", "Excelbe...", "-", "Bezár"}));
        QCOMPARE(texts(w->actionCatalogue().filePopup()), QStringList{"Megnéz"});
        QCOMPARE(texts(w->actionCatalogue().markDropDown()),
                 (QStringList{"Jelöl", "Jelölések megszűntetése", "-", "Projekt szűrésre jelölés",
                              "Munkaszám szűrésre jelölés", "Ügyfél szűrése (kitől)",
                              "Ügyfél szűrése (kinek)", "-", "Jelöltek szűrése"}));
        QCOMPARE(texts(w->actionCatalogue().printDropDown()),
                 (QStringList{"Nyomtat", "-", "Excelbe...", "Html export", "-", "Boríték", "Ajánlott", "-",
                              "Vonalkód"}));
        QStringList small;
        for (QAction *a : w->actionCatalogue().smallToolBar()->actions())
            small << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        QCOMPARE(small, (QStringList{"aFrissit", "-", "aBetuNovel", "aBetuCsokkent", "-", "aBeallit", "-",
                                     "aFelhasznalo", "aSQL", "-", "aSugo", "-", "aHonlap", "aLevel", "-",
                                     "aBezar"}));
        // Every action has a caption (statuses once loaded), a hint and an icon where it sits on a toolbar.
        for (QAction *a : w->actionCatalogue().actions()) {
            QVERIFY2(!a->objectName().isEmpty(), qPrintable(a->text()));
            if (a->isVisible())
                QVERIFY2(!a->statusTip().isEmpty(), qPrintable(a->objectName()));
        }
        QCOMPARE(w->actionCatalogue().filterGroup()->actions().size(), 13);
        QVERIFY(w->actionCatalogue().filterGroup()->isExclusive());
    }

    void settingsFromTheMainWindow()
    {
        auto w = openWindow();
        QVERIFY(w);
        QCOMPARE(w->listModel()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Sorszám"));

        // Without the administrator right only the refusal shows.
        session().user.administrator = false;
        {
            ModalSequence driver;
            driver.then([](QWidget *d) { static_cast<QDialog *>(d)->reject(); });
            action(*w, "aBeallit")->trigger();
            QVERIFY(driver.seen().isEmpty());
        }
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().text, QStringLiteral("Nincs jogosultság a művelethez."));

        // An administrator switches column 5 to the main number; the list shows it at once.
        session().user.administrator = true;
        ModalSequence driver;
        driver.then([](QWidget *d) {
            d->findChild<QCheckBox *>(QStringLiteral("azhelyettfoszam"))->setChecked(true);
            d->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        });
        action(*w, "aBeallit")->trigger();
        QCOMPARE(driver.seen(), QStringList{QStringLiteral("frm_Beallit")});
        QCOMPARE(SelectText(QStringLiteral("SELECT azhelyettfoszam FROM beallit"), QString()), QStringLiteral("I"));
        QVERIFY(session().settings.azhelyettfoszam);
        QCOMPARE(w->listModel()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Főszám"));
        ExecSql(QStringLiteral("UPDATE beallit SET azhelyettfoszam = 'N'"));
    }

    // Every action a right guards, for a user without rights, a master-data editor
    // and an administrator: the screen opens or only the refusal shows.
    void gatedActions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("screen");
        enum { Plain, MasterData, Administrator };
        const struct
        {
            const char *action;
            const char *screen;
            bool administrator; // else master-data editing
        } gated[] = {
            {"aProjekt", "frm_Torzsadat", false},     {"aMunkaszam", "frm_Torzsadat", false},
            {"aTipus", "frm_Torzsadat", false},       {"aFoszam", "frm_TorzsFoszam", false},
            {"aCsoport", "frm_Torzsadat", true},      {"aStatusz", "frm_TorzsStatusz", true},
            {"aFelhasznalo", "frm_Felhasznalo", true}, {"aBeallit", "frm_Beallit", true},
        };
        for (const auto &g : gated) {
            const QString screen = QString::fromLatin1(g.screen);
            QTest::addRow("%s/no right", g.action) << QString::fromLatin1(g.action) << int(Plain) << QString();
            QTest::addRow("%s/master data", g.action)
                << QString::fromLatin1(g.action) << int(MasterData) << (g.administrator ? QString() : screen);
            QTest::addRow("%s/administrator", g.action)
                << QString::fromLatin1(g.action) << int(Administrator) << (g.administrator ? screen : QString());
        }
        for (int kind : {Plain, MasterData, Administrator})
            QTest::addRow("aUgyfel/%d", kind) << QStringLiteral("aUgyfel") << kind << QStringLiteral("frm_TorzsUgyfel");
    }
    void gatedActions()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QFETCH(QString, screen);
        auto w = openWindow();
        QVERIFY(w);
        SessionUser user;
        user.login = QStringLiteral("proba");
        user.code = 1;
        user.masterDataEditing = kind == 1;
        user.administrator = kind == 2;
        session().user = user;
        MessageBox::clearShown();
        const QString sql = LastSql();
        ModalSequence driver;
        driver.then([](QWidget *d) { static_cast<QDialog *>(d)->reject(); });
        w->actionCatalogue().action(name)->trigger();
        if (screen.isEmpty()) {
            QVERIFY(driver.seen().isEmpty());
            QCOMPARE(MessageBox::shown().size(), 1);
            QCOMPARE(MessageBox::shown().first().text, QStringLiteral("Nincs jogosultság a művelethez."));
            // A refusal does nothing else: not even the list is read again.
            QCOMPARE(LastSql(), sql);
        } else {
            QCOMPARE(driver.seen(), QStringList{screen});
            QVERIFY(MessageBox::shown().isEmpty());
        }
    }

    void settingsKeepTheCurrentDocument()
    {
        auto w = openWindow();
        QVERIFY(w);
        w->listView()->moveToDatasetRow(1);
        QCOMPARE(w->currentDocument(), 102);
        ModalSequence driver;
        driver.then([](QWidget *d) { d->findChild<QPushButton *>(QStringLiteral("btnOK"))->click(); });
        action(*w, "aBeallit")->trigger();
        QCOMPARE(driver.seen().size(), 1);
        QCOMPARE(w->currentDocument(), 102);
        QCOMPARE(w->listView()->currentDatasetRow(), 1);
    }

    // Users name statuses and captions; an "&" in them is text, not a keyboard mnemonic.
    void ampersandsInUsersCaptionsShowAsTyped()
    {
        ExecSql(QStringLiteral("UPDATE statusz SET statusz_nev = 'Kész & lezárt' WHERE statusz = 5"));
        ExecSql(QStringLiteral("UPDATE beallit SET mezo2 = 'Projekt & Co', mezo6 = 'Egyéb & más'"));
        auto w = openWindow();
        QVERIFY(w);
        ExecSql(QStringLiteral("UPDATE statusz SET statusz_nev = 'Kész' WHERE statusz = 5"));
        ExecSql(QStringLiteral("UPDATE beallit SET mezo2 = NULL, mezo6 = NULL"));
        QCOMPARE(action(*w, "aStatusz5")->iconText(), QStringLiteral("Kész & lezárt (5)"));
        QCOMPARE(action(*w, "aProjekt")->iconText(), QStringLiteral("Projekt & Co"));
        QCOMPARE(w->directionTabs()->tabText(Other), QStringLiteral("Egyéb && más"));
        auto *caption = w->detailPanel()->findChild<QLabel *>(QStringLiteral("lblprojekt_nev"));
        QVERIFY(caption);
        QCOMPARE(caption->text(), QStringLiteral("Projekt && Co"));
    }

    void storedTextIsNeverMarkup()
    {
        ExecSql(QStringLiteral("UPDATE iktato SET targy = '<img src=x><b>Vastag</b>' WHERE iktato = 101"));
        auto w = openWindow();
        QVERIFY(w);
        ExecSql(QStringLiteral("UPDATE iktato SET targy = 'Pécsi fiók bérleti szerződése' WHERE iktato = 101"));
        w->listView()->moveToDatasetRow(0);
        QCOMPARE(w->currentDocument(), 101);
        const QList<QLabel *> labels = w->findChildren<QLabel *>();
        bool shown = false;
        for (QLabel *label : labels) {
            if (label->text().contains(QLatin1Char('<'))) {
                QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
                shown = true;
            }
        }
        QVERIFY(shown);
        for (QLabel *panel : {w->rowPanel(), w->hintPanel(), w->sortPanel()})
            QCOMPARE(panel->textFormat(), Qt::PlainText);
        QCOMPARE(w->messagePanel()->findChild<QLabel *>(QStringLiteral("lblUzenet"))->textFormat(), Qt::PlainText);
    }

    // A column title whose column shows no field of the list (a setting naming a
    // field the view lacks) neither sorts nor sends a statement.
    void titleOfAColumnWithoutFieldDoesNothing()
    {
        ExecSql(QStringLiteral("UPDATE beallit SET m3 = 'nincsilyen'"));
        auto w = openWindow();
        QVERIFY(w);
        ExecSql(QStringLiteral("UPDATE beallit SET m3 = NULL"));
        const QString order = w->documentList().query().lines().at(2);
        const QList<qint64> before = keys(*w);
        const QString sql = LastSql();
        clickTitle(*w, 6);
        QCOMPARE(w->documentList().query().lines().at(2), order);
        QCOMPARE(keys(*w), before);
        QCOMPARE(LastSql(), sql);
        QVERIFY(MessageBox::shown().isEmpty());
    }

    // The attached-file grid reloads on its own timer: the error report must still
    // name what the user did last.
    void internalTimersLeaveTheLastActionAlone()
    {
        auto w = openWindow();
        QVERIFY(w);
        action(*w, "aFrissit")->trigger();
        QCOMPARE(LastAction(), QStringLiteral("frm_Main.aFrissit"));
        w->listView()->moveToDatasetRow(1);
        QTest::qWait(20);
        QCOMPARE(LastAction(), QStringLiteral("frm_Main.aFrissit"));
    }

    void writeProtectionDisablesWriting()
    {
        ExecSql(QStringLiteral("UPDATE beallit SET irasvedett = 'I'"));
        auto w = openWindow();
        QVERIFY(w);
        for (const char *name : {"aUj", "aTorol", "aFigyelmeztet", "aStatusz0", "aStatusz5"})
            QVERIFY2(!action(*w, name)->isEnabled(), name);
        QVERIFY(action(*w, "aSzerkeszt")->isEnabled());
    }

    void timersFollowTheSettings()
    {
        {
            auto w = openWindow();
            QVERIFY(w);
            QStringList running;
            for (QTimer *t : w->findChildren<QTimer *>(Qt::FindDirectChildrenOnly))
                if (t->isActive() && t->objectName() != QLatin1String("tmrFile")) // the file grid's
                    running << t->objectName();
            running.sort();
            QCOMPARE(running, (QStringList{"tmrHir", "tmrKeepAlive", "tmrVerzio"}));
        }
        ExecSql(QStringLiteral("UPDATE beallit SET hatidfigyel = 0"));
        IniFile(m_data->file(QStringLiteral("Korvena.ini")))
            .writeBool(QStringLiteral("Alapertek"), QStringLiteral("VanFigyu"), true);
        bool onlyIfAny = false;
        int deadlines = 0;
        mainWindowRoutines().showReminders = [&](QWidget *, bool only) { onlyIfAny = only; };
        mainWindowRoutines().showExpiringDeadlines = [&](QWidget *) { ++deadlines; };
        auto w = openWindow();
        QVERIFY(w);
        auto *reminder = w->findChild<QTimer *>(QStringLiteral("tmrFigyu"));
        QVERIFY(reminder && reminder->isActive() && reminder->isSingleShot());
        QCOMPARE(reminder->interval(), 3000);
        QTRY_COMPARE_WITH_TIMEOUT(deadlines, 1, 6000);
        QVERIFY(onlyIfAny);
        QCOMPARE(w->findChild<QTimer *>(QStringLiteral("tmrKeepAlive"))->interval(), 60000);
    }

    void wideWindowShowsMoreDetailAndColumns()
    {
        auto w = openWindow();
        QVERIFY(w);
        auto *reference = w->detailPanel()->findChild<QLabel *>(QStringLiteral("valhivszam"));
        w->resize(1300, 700);
        QVERIFY(!reference->isVisible());
        w->resize(1100, 700);
        QVERIFY(w->listView()->isColumnHidden(8));
        w->resize(1301, 700);
        QVERIFY(reference->isVisible());
        QVERIFY(!w->listView()->isColumnHidden(8));
        QCOMPARE(w->listView()->columnWidth(0), 18);
        QCOMPARE(w->listView()->columnWidth(4),
                 DocumentListView::ruleWidth(4, w->listView()->width(), w->width()));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
