#include "MainWindowFixture.h"
// The main window's new, edit and delete actions around the document editor.
#include "DocumentFixture.h"
#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"
#include "core/AppFolders.h"
#include "core/ConnectionProfile.h"
#include "core/IniFile.h"
#include "core/Session.h"
#include "db/DbHelpers.h"
#include "register/ui/DocumentEditor.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/FilterController.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

#include <memory>


class TestDocumentActions : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TempDataFolder> m_data;

    Window openWindow() { return openMainWindow(&m_db->connection()); }
    static int count(const QString &sql) { return SelectInt(sql, -1); }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        DocumentFixture::load();
    }
    void init()
    {
        m_data = prepareStartup(*m_db, QStringLiteral("Teszt"));
        ExecSql(QStringLiteral("UPDATE beallit SET vanbelep = 'N', irasvedett = 'N', hatidfigyel = -1, "
                               "vancsoport = 'I', vanfoszam = 'I', vantipuskerdes = 'I', vanmunkaszamkerdes = 'I', "
                               "vanprojektkerdes = 'I'"));
        ExecSql(QStringLiteral("INSERT IGNORE INTO munkaszam (munkaszam, munkaszam_nev) VALUES (1, 'M-1')"));
        ExecSql(QStringLiteral("INSERT IGNORE INTO projekt (projekt, projekt_nev) VALUES (1, 'Híd')"));
    }
    void cleanup()
    {
        documentPickers() = DocumentPickers::standard();
        Connection::setCurrent(&m_db->connection());
        m_data.reset();
    }
    void cleanupTestCase()
    {
        Connection::setCurrent(&m_db->connection());
        m_db.reset();
    }

    void newDocumentsFollowEachOtherUntilCancelled()
    {
        auto w = openWindow();
        QVERIFY(w);
        QStringList asked;
        DocumentPickers &p = documentPickers();
        p.group = [&](QWidget *) {
            asked << QStringLiteral("group");
            return 1;
        };
        p.client = [&](QWidget *, int, ClientKind, const QString &title) {
            asked << title;
            return DocumentChoice{title == QStringLiteral("Kitől") ? 3 : 1, QString()};
        };
        p.mainNumber = [&](QWidget *, int) {
            asked << QStringLiteral("main");
            return DocumentChoice{9, QString()};
        };
        p.masterData = [&](QWidget *, int, MasterTable::Caller caller) {
            asked << MasterTable::callModes(caller).table;
            return DocumentChoice{1, QStringLiteral("egy")};
        };
        const int before = count(QStringLiteral("SELECT MAX(iktato) FROM iktato"));

        // Each editor once it tracks changes: the first is saved with Ctrl+Enter, the second left with Esc.
        int opened = 0;
        QTimer poll;
        poll.setInterval(5);
        connect(&poll, &QTimer::timeout, this, [&opened] {
            auto *editor = qobject_cast<DocumentEditor *>(QApplication::activeModalWidget());
            if (!editor || editor->property("seen").toBool() || !editor->trackingOn())
                return;
            editor->setProperty("seen", true);
            if (++opened > 1) {
                QTest::keyClick(editor, Qt::Key_Escape);
                return;
            }
            auto *subject = editor->findChild<QComboBox *>(QStringLiteral("targy"));
            subject->setFocus();
            ModalDriver::typeText(subject->lineEdit(), QStringLiteral("„Első” – levél"));
            editor->findChild<QLineEdit *>(QStringLiteral("hivszam"))->setFocus();
            QTest::keyClick(subject, Qt::Key_Return, Qt::ControlModifier);
        });
        // New documents bear the server's date: the list over all years shows them.
        w->documentList().filter().year = 0;
        w->documentList().rebuild(w->documentList().filter().direction);
        poll.start();
        w->actionCatalogue().action(QStringLiteral("aUj"))->trigger();
        poll.stop();
        QCOMPARE(opened, 2);

        const QStringList round = {"group", "Kitől", "Kinek", "main", "tipus", "munkaszam", "projekt"};
        QCOMPARE(asked, round + round);
        // Two rows numbered, the first saved with its journal row, the second left as created.
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM iktato WHERE iktato > %1").arg(before)), 2);
        const qint64 first = before + 1;
        QCOMPARE(SelectText(QStringLiteral("SELECT targy FROM iktato WHERE iktato=%1").arg(first), QString()),
                 QStringLiteral("„Első” – levél"));
        QCOMPARE(SelectText(QStringLiteral("SELECT szoveg FROM iktnaplo WHERE iktato=%1").arg(first), QString()),
                 QStringLiteral("targy = „Első” – levél\r\n"));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM iktnaplo WHERE iktato=%1").arg(first + 1)), 0);
        QCOMPARE(count(QStringLiteral("SELECT az1 FROM iktato WHERE iktato=%1").arg(first)), 9);
        // The grid stands on the saved document; the row the cancelled editor numbered follows.
        QCOMPARE(w->currentDocument(), first);
        QTRY_VERIFY(!w->listModel()->isRereading());
        QCOMPARE(w->currentDocument(), first);
        QVERIFY(w->listModel()->dataset().locateValue(u"iktato", first + 1));
    }

    void deleteMarksTheDocumentAndJournalsWithoutText()
    {
        auto w = openWindow();
        QVERIFY(w);
        const qint64 key = w->currentDocument();
        QVERIFY(key > 0);
        MessageBox::setNextAnswer(true);
        w->actionCatalogue().action(QStringLiteral("aTorol"))->trigger();
        QCOMPARE(MessageBox::shown().last().text, QStringLiteral("Valóban töröljem a sort?"));
        QCOMPARE(MessageBox::shown().last().title, QStringLiteral("Megerősítés"));
        QCOMPARE(SelectText(QStringLiteral("SELECT torolve FROM iktato WHERE iktato=%1").arg(key), QString()),
                 QStringLiteral("I"));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM iktnaplo WHERE iktato=%1 AND szoveg IS NULL").arg(key)),
                 1);
        QVERIFY(w->currentDocument() != key);
    }

    void actionsWithoutTheRightAreRefused_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("new") << "aUj";
        QTest::newRow("edit") << "aSzerkeszt";
        QTest::newRow("delete") << "aTorol";
    }
    void actionsWithoutTheRightAreRefused()
    {
        QFETCH(QString, action);
        auto w = openWindow();
        QVERIFY(w);
        session().user.mayInsert = session().user.mayEdit = session().user.mayDelete = false;
        ModalDriver::ModalWatch watch;
        w->actionCatalogue().action(action)->trigger();
        QCOMPARE(watch.seen(), 0);
        QCOMPARE(MessageBox::shown().last().text, QStringLiteral("Nincs jogosultság a művelethez."));
    }
};

QTEST_MAIN(TestDocumentActions)
#include "tst_documentactions.moc"
