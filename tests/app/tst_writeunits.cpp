#include "MainWindowFixture.h"
// The main window's writing actions: every statement that changes the register runs
// as a unit of work, and two workstations on one document do not undo each other.
#include "DocumentFixture.h"
#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"
#include "common/Clock.h"
#include "common/ui/MessageBox.h"
#include "core/ui/ListScreen.h"
#include "db/DbHelpers.h"
#include "db/UnitOfWork.h"
#include "register/Lending.h"
#include "register/Reminders.h"
#include "register/ui/DocumentEditor.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/DocumentListView.h"
#include "register/ui/FilterController.h"
#include "register/ui/LendDialog.h"
#include "register/ui/ReminderDialog.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace ModalDriver;

namespace {

QString cell(qint64 document, const char *column)
{
    return SelectText(QStringLiteral("SELECT IFNULL(%1, 'NULL') FROM iktato WHERE iktato = %2")
                          .arg(QLatin1String(column))
                          .arg(document),
                      QStringLiteral("<none>"));
}

// Closes each document editor once it tracks changes: the first count with Ctrl+Enter
// (after typing a subject), the rest with Esc.
class EditorCloser : public QObject
{
public:
    EditorCloser(int saves, const QString &subject) : m_saves(saves), m_subject(subject)
    {
        m_poll.setInterval(5);
        connect(&m_poll, &QTimer::timeout, this, [this] { step(); });
        m_poll.start();
    }
    int opened = 0;

private:
    void step()
    {
        auto *editor = qobject_cast<DocumentEditor *>(QApplication::activeModalWidget());
        if (!editor || editor->property("seen").toBool() || !editor->trackingOn())
            return;
        editor->setProperty("seen", true);
        if (++opened > m_saves) {
            QTest::keyClick(editor, Qt::Key_Escape);
            return;
        }
        auto *subject = editor->findChild<QComboBox *>(QStringLiteral("targy"));
        subject->setFocus();
        subject->lineEdit()->selectAll();
        QTest::keyClick(subject->lineEdit(), Qt::Key_Delete);
        typeText(subject->lineEdit(), m_subject);
        editor->findChild<QLineEdit *>(QStringLiteral("hivszam"))->setFocus();
        QTest::keyClick(subject, Qt::Key_Return, Qt::ControlModifier);
    }
    int m_saves;
    QString m_subject;
    QTimer m_poll;
};

} // namespace

class TestWriteUnits : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TempDataFolder> m_data;

    // The list over all years, where the fixture's documents are.
    Window openWindow()
    {
        Window w = openMainWindow(&m_db->connection());
        if (w) {
            w->documentList().filter().year = 0;
            w->documentList().rebuild(w->documentList().filter().direction);
        }
        return w;
    }
    static QAction *action(MainWindow &w, const char *name)
    {
        return w.actionCatalogue().action(QLatin1String(name));
    }
    // On the document once the list has been read again after the last change.
    static void toDocument(MainWindow &w, qint64 key)
    {
        QTRY_VERIFY(!w.listModel()->isRereading());
        QVERIFY(w.documentList().moveToDocument(key));
    }
    static QString listed(MainWindow &w, const char *field)
    {
        const Dataset &d = w.listModel()->dataset();
        return d.text(d.current(), d.fieldIndex(QString::fromLatin1(field)));
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        DocumentFixture::load();
        ExecSql(QStringLiteral("INSERT INTO iktato (iktato, az1, az2, targy, dat_erk, irany, csoport, nyomtatni, "
                               "kolcsonadva, torolve) VALUES "
                               "(111, 1, 7, 'Kölcsön', '2024-05-01', 0, 1, 'N', 'N', 'N'), "
                               "(112, 1, 8, 'Emlékeztető', '2024-05-02', 0, 1, 'N', 'N', 'N')"));
        ExecSql(QStringLiteral("INSERT INTO projekt (projekt, projekt_nev) VALUES (9, 'Alfa')"));
    }
    void init()
    {
        m_data = prepareStartup(*m_db, QStringLiteral("Teszt"));
        ExecSql(QStringLiteral("UPDATE beallit SET vanbelep = 'N', irasvedett = 'N', hatidfigyel = -1, "
                               "vancsoport = 'N', vanfoszam = 'N', vantipuskerdes = 'N', "
                               "vanmunkaszamkerdes = 'N', vanprojektkerdes = 'N'"));
    }
    void cleanup()
    {
        UnitOfWork::watchWritesOutsideUnits(nullptr);
        clearFixedNow();
        documentPickers() = DocumentPickers::standard();
        Connection::setCurrent(&m_db->connection());
        m_data.reset();
    }
    void cleanupTestCase()
    {
        Connection::setCurrent(&m_db->connection());
        m_db.reset();
    }

    // The list of writes made outside a unit stays empty through every writing action.
    void everyWriteOfTheMainWindowIsAUnit()
    {
        auto w = openWindow();
        QVERIFY(w);
        UnitOfWork::watchWritesOutsideUnits(Connection::current());
        const int journal = SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktnaplo"), -1);

        // New documents: one saved, the next left with Esc.
        documentPickers().client = [](QWidget *, int, ClientKind, const QString &) {
            return DocumentChoice{1, QString()};
        };
        {
            EditorCloser closer(1, QStringLiteral("Új irat"));
            action(*w, "aUj")->trigger();
            QCOMPARE(closer.opened, 2);
        }
        toDocument(*w, 111);
        {
            EditorCloser closer(1, QStringLiteral("Kölcsön, javítva"));
            action(*w, "aSzerkeszt")->trigger();
            QCOMPARE(closer.opened, 1);
        }
        QCOMPARE(cell(111, "targy"), QStringLiteral("Kölcsön, javítva"));

        toDocument(*w, 111);
        action(*w, "aStatusz5")->trigger();
        QCOMPARE(cell(111, "statusz"), QStringLiteral("5"));
        toDocument(*w, 111);
        action(*w, "aNyomniJelol")->trigger();
        QCOMPARE(cell(111, "nyomtatni"), QStringLiteral("I"));
        action(*w, "aNyomniMegszuntet")->trigger();
        onModal(QStringLiteral("frm_Torzsadat"), [](QDialog *d) {
            QVERIFY(static_cast<ListScreen *>(d)->locateKey(9));
            trigger(d, "aElfogad");
        });
        action(*w, "aSzurProjekt")->trigger();

        toDocument(*w, 111);
        onModal(LendDialog::ObjectName, [](QDialog *d) {
            auto *lend = static_cast<LendDialog *>(d);
            typeText(lend->nameBox()->lineEdit(), QStringLiteral("Kiss Béla"));
            lend->okButton()->click();
        });
        action(*w, "aKiad")->trigger();
        QCOMPARE(cell(111, "kolcsonadva"), QStringLiteral("I"));
        toDocument(*w, 111);
        MessageBox::setNextAnswer(true);
        action(*w, "aVisszavesz")->trigger();
        QCOMPARE(cell(111, "kolcsonadva"), QStringLiteral("N"));

        toDocument(*w, 111);
        onModal(ReminderDialog::ObjectName, [](QDialog *d) {
            auto *dialog = static_cast<ReminderDialog *>(d);
            typeText(dialog->textEdit(), QStringLiteral("Hívd"));
            dialog->okButton()->click();
        });
        action(*w, "aFigyelmeztet")->trigger();
        QCOMPARE(cell(111, "figy_szoveg"), QStringLiteral("Hívd"));
        toDocument(*w, 111);
        onModal(ReminderDialog::ObjectName,
                [](QDialog *d) { static_cast<ReminderDialog *>(d)->clearButton()->click(); });
        action(*w, "aFigyelmeztet")->trigger();
        QCOMPARE(cell(111, "figy_szoveg"), QStringLiteral("NULL"));

        toDocument(*w, 111);
        MessageBox::setNextAnswer(true);
        action(*w, "aTorol")->trigger();
        QCOMPARE(cell(111, "torolve"), QStringLiteral("I"));

        // the new document, the edit, the status and the deletion journalled
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktnaplo"), -1), journal + 4);
        QCOMPARE(UnitOfWork::writesOutsideUnits(), QStringList());
    }

    // Another workstation lent the document after this one read its list.
    void lendingWhatWasLentMeanwhileKeepsTheFirstBorrower()
    {
        auto w = openWindow();
        QVERIFY(w);
        ExecSql(QStringLiteral("UPDATE iktato SET kolcsonadva = 'N', kolcsonadva_kinek = '' WHERE iktato = 112"));
        action(*w, "aFrissit")->trigger();
        toDocument(*w, 112);
        QCOMPARE(listed(*w, "kolcsonadva"), QStringLiteral("N"));
        {
            auto other = m_db->newConnection();
            CurrentConnectionScope scope(other.get());
            QVERIFY(Lending::lend(112, QDate(2024, 6, 1), QStringLiteral("Első Ernő")));
        }
        MessageBox::clearShown();
        onModal(LendDialog::ObjectName, [](QDialog *d) {
            auto *lend = static_cast<LendDialog *>(d);
            typeText(lend->nameBox()->lineEdit(), QStringLiteral("Második Márta"));
            lend->okButton()->click();
        });
        action(*w, "aKiad")->trigger();
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().text, Lending::lentMeanwhileMessage());
        QCOMPARE(cell(112, "kolcsonadva_kinek"), QStringLiteral("Első Ernő"));
        toDocument(*w, 112);
        QCOMPARE(listed(*w, "kolcsonadva"), QStringLiteral("I"));

        // and taken back meanwhile
        {
            auto other = m_db->newConnection();
            CurrentConnectionScope scope(other.get());
            QVERIFY(Lending::takeBack(112));
        }
        MessageBox::clearShown();
        MessageBox::setNextAnswer(true);
        action(*w, "aVisszavesz")->trigger();
        QCOMPARE(MessageBox::shown().last().text, Lending::returnedMeanwhileMessage());
        toDocument(*w, 112);
        QCOMPARE(listed(*w, "kolcsonadva"), QStringLiteral("N"));
    }

    // The dialog shows the reminder another workstation set after the list was read.
    void theReminderDialogShowsTheServersReminder()
    {
        setFixedNow(QDateTime(QDate(2024, 6, 3), QTime(9, 0)));
        ExecSql(QStringLiteral("UPDATE iktato SET dat_figy = '2024-01-01', figy_szoveg = 'Régi' WHERE iktato = 112"));
        auto w = openWindow();
        QVERIFY(w);
        toDocument(*w, 112);
        {
            auto other = m_db->newConnection();
            CurrentConnectionScope scope(other.get());
            Reminders::set(112, QDate(2024, 7, 15), QStringLiteral("Másik gépről"));
        }
        QString shownText;
        QDate shownDate;
        onModal(ReminderDialog::ObjectName, [&](QDialog *d) {
            auto *dialog = static_cast<ReminderDialog *>(d);
            shownText = dialog->textEdit()->text();
            shownDate = dialog->dateEdit()->date();
            dialog->cancelButton()->click();
        });
        action(*w, "aFigyelmeztet")->trigger();
        QCOMPARE(shownText, QStringLiteral("Másik gépről"));
        QCOMPARE(shownDate, QDate(2024, 7, 15));

        // cleared meanwhile: an empty text and today
        {
            auto other = m_db->newConnection();
            CurrentConnectionScope scope(other.get());
            Reminders::clear(112);
        }
        onModal(ReminderDialog::ObjectName, [&](QDialog *d) {
            auto *dialog = static_cast<ReminderDialog *>(d);
            shownText = dialog->textEdit()->text();
            shownDate = dialog->dateEdit()->date();
            dialog->cancelButton()->click();
        });
        action(*w, "aFigyelmeztet")->trigger();
        QVERIFY(shownText.isEmpty());
        QCOMPARE(shownDate, QDate(2024, 6, 3));
    }
};

QTEST_MAIN(TestWriteUnits)
#include "tst_writeunits.moc"
