#include "DocumentFixture.h"
#include "MainWindowFixture.h"
#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"
#include "common/ui/DesktopServices.h"
#include "common/ui/FileDialog.h"
#include "common/ui/MessageBox.h"
#include "core/IniFile.h"
#include "db/DbHelpers.h"
#include "db/ui/DatasetModel.h"
#include "demo/DemoAttachments.h"
#include "register/ui/DetailPanel.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/DocumentListView.h"
#include "register/ui/FilterController.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The main list's choice to search the attached files' text as well, driven from the
// keyboard: remembered in the ini file, and the passage of the text in the detail panel.
class TestTextSearchWindow : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TempDataFolder> m_data;

    Window openWindow() { return openMainWindow(&m_db->connection()); }
    static QList<qint64> keys(MainWindow &w) { return listedKeys(w); }
    static void key(int k, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), modifiers);
    }
    // The "Összes" tab, then the search box, as the keyboard reaches it.
    static void searchAllDirections(MainWindow &w, const QString &text)
    {
        QTest::mouseClick(w.directionTabs(), Qt::LeftButton, {},
                          w.directionTabs()->tabRect(3).center());
        w.searchBox()->setFocus();
        ModalDriver::typeText(QApplication::focusWidget(), text);
    }
    QString iniChoice() const
    {
        return IniFile(m_data->file(QStringLiteral("Korvena.ini")))
            .readString(QStringLiteral("Alapertek"), QStringLiteral("SzovegKeres"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        DocumentFixture::load();
        ExecSql(QStringLiteral(
            "INSERT INTO iktato_szoveg (iktato_file, iktato, szoveg, modszer) VALUES "
            "(1, 101, 'A díj emeléséről szóló értesítés. Árvíztűrő tükörfúrógép.', 'pdf'), "
            "(3, 103, 'Válasz bérleti ügyben: a tükörfúrógép javítva.', 'doc')"));
        MessageBox::setRecording(true);
        DesktopServices::setRecording(true);
    }
    void init()
    {
        m_data = prepareStartup(*m_db, QStringLiteral("Teszt nyilvántartás"));
        ExecSql(QStringLiteral("UPDATE beallit SET vanbelep = 'N', irasvedett = 'N', hatidfigyel = -1"));
    }
    void cleanup()
    {
        Connection::setCurrent(&m_db->connection());
        m_data.reset();
    }
    void cleanupTestCase()
    {
        Connection::setCurrent(&m_db->connection());
        m_db.reset();
    }

    void choiceFromTheKeyboardIsRememberedAcrossARestart()
    {
        {
            auto w = openWindow();
            QVERIFY(w);
            QCheckBox *choice = w->textSearchBox();
            QCOMPARE(choice->objectName(), QStringLiteral("chkSzovegben"));
            QCOMPARE(choice->text(), QStringLiteral("Csatolt állományok szövegében is"));
            QVERIFY(!choice->accessibleName().isEmpty());
            QVERIFY(!choice->isChecked());

            // Without the choice a word only the text holds finds nothing.
            searchAllDirections(*w, QStringLiteral("tükörfúrógép"));
            QTRY_VERIFY(conditionLine(*w).contains(QStringLiteral("LIKE '%tükörfúrógép%'")));
            QCOMPARE(keys(*w), QList<qint64>{});
            QVERIFY(!conditionLine(*w).contains(QStringLiteral("MATCH")));

            // Tab from the search box reaches the choice; Space ticks it and searches again.
            key(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(choice));
            key(Qt::Key_Space);
            QVERIFY(choice->isChecked());
            QTRY_COMPARE(keys(*w), (QList<qint64>{101, 103}));
            QCOMPARE(iniChoice(), QStringLiteral("1"));
            w->close();
        }
        QCOMPARE(iniChoice(), QStringLiteral("1"));
        {
            auto w = openWindow();
            QVERIFY(w);
            QVERIFY(w->textSearchBox()->isChecked());
            searchAllDirections(*w, QStringLiteral("TÜKÖRFÚRÓGÉP"));
            QTRY_COMPARE(keys(*w), (QList<qint64>{101, 103}));

            // Unticked: the search in force is the fields' alone again, and stays so.
            w->textSearchBox()->setFocus();
            key(Qt::Key_Space);
            QTRY_COMPARE(keys(*w), QList<qint64>{});
            w->close();
        }
        QCOMPARE(iniChoice(), QStringLiteral("0"));
        auto w = openWindow();
        QVERIFY(w);
        QVERIFY(!w->textSearchBox()->isChecked());
    }

    // As a user meets it: F6 attaches a PDF, its text is read behind the attach, and
    // with the choice ticked a word only the PDF holds finds the document.
    void attachedPdfIsFoundByAWordNoFieldHolds()
    {
        IniFile(m_data->file(QStringLiteral("Korvena.ini")))
            .writeBool(QStringLiteral("Alapertek"), QStringLiteral("SzovegKeres"), true);
        auto w = openWindow();
        QVERIFY(w);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        const qint64 document = w->currentDocument();
        QVERIFY(document > 0);
        QTemporaryDir files;
        const QString path = files.filePath(QStringLiteral("level.pdf"));
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::WriteOnly));
        pdf.write(korvena::demo::sampleFile(korvena::demo::SampleKind::PdfText,
                                            QStringLiteral("Értesítjük, hogy a szélvédőcsere elkészült.")));
        pdf.close();

        FileDialog::setNextFileName(path);
        key(Qt::Key_F6);
        QTRY_COMPARE_WITH_TIMEOUT(
            SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktato_szoveg WHERE iktato=%1 AND modszer='pdf' "
                                     "AND szoveg LIKE '%szélvédőcsere%'")
                          .arg(document),
                      0),
            1, 20000);

        searchAllDirections(*w, QStringLiteral("szélvédőcsere"));
        QTRY_COMPARE(keys(*w), QList<qint64>{document});
        QTRY_VERIFY(w->detailPanel()->passageText().contains(QStringLiteral("szélvédőcsere elkészült")));
        ExecSql(QStringLiteral("DELETE FROM iktato_szoveg WHERE szoveg LIKE '%szélvédőcsere%'"));
        ExecSql(QStringLiteral("DELETE FROM iktato_file WHERE origfilenev='level.pdf'"));
    }

    void passageForATextMatchOnly()
    {
        IniFile(m_data->file(QStringLiteral("Korvena.ini")))
            .writeBool(QStringLiteral("Alapertek"), QStringLiteral("SzovegKeres"), true);
        auto w = openWindow();
        QVERIFY(w);
        DetailPanel *detail = w->detailPanel();
        QVERIFY(detail->passageText().isEmpty()); // no search yet

        // 101 holds the word in its subject, 103 in its attachment's text.
        searchAllDirections(*w, QStringLiteral("bérleti"));
        QTRY_COMPARE(keys(*w), (QList<qint64>{101, 103}));
        QCOMPARE(w->currentDocument(), 101);
        QTRY_COMPARE(detail->fileModel()->rowCount(), 2);
        QVERIFY(detail->passageText().isEmpty());

        key(Qt::Key_Down); // to the list
        key(Qt::Key_Down);
        QTRY_COMPARE(w->currentDocument(), 103);
        QTRY_COMPARE(detail->passageText(),
                     QStringLiteral("valasz.doc: Válasz bérleti ügyben: a tükörfúrógép javítva."));

        // A rebuild drops the search, and the passage with it.
        w->actionCatalogue().action(QStringLiteral("aSzur0"))->trigger();
        QTRY_VERIFY(detail->passageText().isEmpty());
    }
};

QTEST_MAIN(TestTextSearchWindow)
#include "tst_textsearch.moc"
