#include "DocumentFixture.h"
#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "core/Session.h"
#include "db/DbHelpers.h"
#include "db/ui/DatasetModel.h"
#include "register/ui/LendDialog.h"
#include "register/ui/ReminderDialog.h"
#include "register/ui/ReminderList.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace ModalDriver;

namespace {

QString reminderOf(int document)
{
    return SelectText(QStringLiteral("SELECT CONCAT(IFNULL(dat_figy, 'NULL'), '|', IFNULL(figy_szoveg, 'NULL')) "
                                     "FROM iktato WHERE iktato = ") +
                          QString::number(document),
                      QString());
}

QStringList column(const ListScreen &list, const char *field)
{
    QStringList values;
    const int col = list.data().fieldIndex(QString::fromLatin1(field));
    for (int i = 0; i < list.model()->rowCount(); ++i)
        values << list.data().text(list.data().visibleRow(i), col);
    return values;
}

} // namespace

// The lending dialog, the reminder dialog and the two lists of reminders and deadlines.
class TestReminderScreens : public QObject
{
    Q_OBJECT
    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<TestDatabase> m_db;

private Q_SLOTS:
    void initTestCase()
    {
        m_folder = std::make_unique<TempDataFolder>();
        m_db = std::make_unique<TestDatabase>();
        DocumentFixture::load();
        // Two members of group 1 double the view's rows of its documents; group 2 gets one.
        ExecSql(QStringLiteral("INSERT INTO felhkod_csoport (felhkod, csoport) VALUES (2, 1), (2, 2)"));
    }
    void init()
    {
        resetScreenState();
        ExecSql(QStringLiteral("UPDATE iktato SET dat_figy = NULL, figy_szoveg = NULL"));
    }
    void cleanupTestCase()
    {
        m_db.reset();
        m_folder.reset();
    }

    void reminderDialogButtons()
    {
        const QDate day(2025, 5, 6);
        {
            ReminderDialog dialog(nullptr, 103, QStringLiteral("régi"), day);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Figyelmeztetés"));
            QCOMPARE(dialog.dateEdit()->date(), day);
            dialog.textEdit()->clear();
            // The 101st character does not go in.
            typeText(dialog.textEdit(), QString(101, QLatin1Char('x')));
            QCOMPARE(dialog.textEdit()->text().size(), 100);
            dialog.okButton()->click();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(reminderOf(103), QStringLiteral("2025-05-06|") + QString(100, QLatin1Char('x')));
        }
        {
            ReminderDialog dialog(nullptr, 103, QStringLiteral("x"), day);
            dialog.textEdit()->clear();
            dialog.dateEdit()->setDate(day.addDays(-400));
            dialog.cancelButton()->click();
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QCOMPARE(reminderOf(103).left(11), QStringLiteral("2025-05-06|"));
        }
        {
            // An empty text is kept as an empty text: the reminder stays.
            ReminderDialog dialog(nullptr, 104, QString(), day);
            dialog.okButton()->click();
            QCOMPARE(reminderOf(104), QStringLiteral("2025-05-06|"));
        }
        onModal(QStringLiteral("frm_Figyu"),
                [](QDialog *d) { d->findChild<QPushButton *>(QStringLiteral("btnTorles"))->click(); });
        QVERIFY(SetReminder(nullptr, 103, QStringLiteral("x"), day));
        QCOMPARE(reminderOf(103), QStringLiteral("NULL|NULL"));
        onModal(QStringLiteral("frm_Figyu"), [](QDialog *d) { QTest::keyClick(d, Qt::Key_Escape); });
        QVERIFY(!SetReminder(nullptr, 104, QString(), day));
    }

    void lendDialogOffersEveryNameUsed()
    {
        ExecSql(QStringLiteral("UPDATE iktato SET kolcsonadva_kinek = 'O''Brien Ödön' WHERE iktato = 104"));
        LendDialog dialog(nullptr, QDate(2024, 3, 9));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Dokumentum kiadás"));
        QCOMPARE(dialog.dateEdit()->date(), QDate(2024, 3, 9));
        QStringList offered;
        for (int i = 0; i < dialog.nameBox()->count(); ++i)
            offered << dialog.nameBox()->itemText(i);
        QCOMPARE(offered, (QStringList{"", "O'Brien Ödön", "Szabó Éva"}));
        QVERIFY(dialog.nameBox()->currentText().isEmpty());

        onModal(LendDialog::ObjectName, [](QDialog *d) {
            auto *lend = static_cast<LendDialog *>(d);
            lend->dateEdit()->setDate(QDate(2020, 1, 31));
            lend->nameBox()->setCurrentIndex(1);
            lend->okButton()->click();
        });
        const auto answer = LendDialog::ask(nullptr, QDate(2024, 3, 9));
        QVERIFY(answer);
        QCOMPARE(answer->date, QDate(2020, 1, 31));
        QCOMPARE(answer->name, QStringLiteral("O'Brien Ödön"));
        onModal(LendDialog::ObjectName, [](QDialog *d) { QTest::keyClick(d, Qt::Key_Escape); });
        QVERIFY(!LendDialog::ask(nullptr, QDate(2024, 3, 9)));
    }

    void reminderListWalksTheDays()
    {
        const QDate today = ServerDate();
        ExecSql(QStringLiteral("UPDATE iktato SET dat_figy = CURDATE(), figy_szoveg = 'ma' WHERE iktato IN (101, 108)"));
        ExecSql(QStringLiteral("UPDATE iktato SET dat_figy = CURDATE() - INTERVAL 2 DAY, figy_szoveg = 'tegnapelőtt' "
                               "WHERE iktato = 103"));
        ReminderList list(nullptr, today);
        QCOMPARE(list.windowTitle(), QStringLiteral("Figyelmeztetések"));
        QCOMPARE(list.captionPanel()->text().trimmed(), today.toString(QStringLiteral("yyyy.MM.dd")));
        QCOMPARE(column(list, "figy_szoveg"), (QStringList{"ma", "ma"}));
        const auto run = [&list](const char *name) { trigger(&list, name); };
        run("aTegnap");
        QCOMPARE(list.model()->rowCount(), 0);
        run("aTegnap");
        QCOMPARE(list.captionPanel()->text().trimmed(), today.addDays(-2).toString(QStringLiteral("yyyy.MM.dd")));
        QCOMPARE(column(list, "figy_szoveg"), QStringList{"tegnapelőtt"});
        run("aMa");
        QCOMPARE(list.shownDay(), today);
        QCOMPARE(list.model()->rowCount(), 2);
        run("aHolnap");
        QCOMPARE(list.shownDay(), today.addDays(1));
        QCOMPARE(list.rowCountText(), QStringLiteral("0: 0"));
    }

    void startupListsShowOnlyWhenSomethingIsDue()
    {
        {
            ModalWatch nothing;
            ShowReminders(nullptr, true);
            session().settings.hatidfigyel = -1;
            ShowExpiringDeadlines(nullptr);
            QTest::qWait(20);
            QCOMPARE(nothing.seen(), 0);
        }

        ExecSql(QStringLiteral("UPDATE iktato SET dat_figy = CURDATE() WHERE iktato = 102"));
        QStringList shown;
        onModal(ReminderList::ObjectName, [&shown](QDialog *d) {
            shown = column(*static_cast<ListScreen *>(d), "targy");
            d->reject();
        });
        ShowReminders(nullptr, true);
        QCOMPARE(shown, QStringList{"Számla 50% kedvezménnyel"});

        // Fixture deadlines lie in the past; status 5 is not finished there.
        session().settings.hatidfigyel = 0;
        onModal(DeadlineList::ObjectName, [&shown](QDialog *d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Lejáró határidők"));
            shown = column(*static_cast<ListScreen *>(d), "dat_hatid");
            d->reject();
        });
        ShowExpiringDeadlines(nullptr);
        QCOMPARE(shown.size(), 5);
    }
};

QTEST_MAIN(TestReminderScreens)
#include "tst_reminderscreens.moc"
