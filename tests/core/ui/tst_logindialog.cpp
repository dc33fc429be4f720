#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "db/DbHelpers.h"
#include "common/ui/MessageBox.h"
#include "common/ui/TextInputDialog.h"
#include "core/Session.h"
#include "core/Login.h"
#include "core/ui/LoginDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

void whenModal(const QString &objectName, std::function<void(QWidget *)> action)
{
    ModalDriver::onModal(objectName, [action = std::move(action)](QDialog *d) { action(d); });
}

void type(QWidget *dialog, const char *field, const QString &text)
{
    auto *edit = dialog->findChild<QLineEdit *>(QLatin1String(field));
    QVERIFY(edit);
    edit->setText(text);
}

void press(QWidget *dialog, const char *button)
{
    auto *b = dialog->findChild<QPushButton *>(QLatin1String(button));
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
}

// Answers the two new-password prompts.
void answerPrompts(const QString &first, const QString &second)
{
    whenModal(TextInputDialog::ObjectName, [=](QWidget *w) {
        auto *prompt = qobject_cast<TextInputDialog *>(w);
        QVERIFY(prompt);
        QCOMPARE(prompt->windowTitle(), QStringLiteral("Jelszó megadása"));
        QCOMPARE(prompt->edit()->echoMode(), QLineEdit::Password);
        prompt->edit()->setText(first);
        whenModal(TextInputDialog::ObjectName, [=](QWidget *w2) {
            auto *again = qobject_cast<TextInputDialog *>(w2);
            QVERIFY(again);
            again->edit()->setText(second);
            QTest::mouseClick(again->okButton(), Qt::LeftButton);
        });
        QTest::mouseClick(prompt->okButton(), Qt::LeftButton);
    });
}

QStringList errorsShown()
{
    QStringList texts;
    for (const MessageBox::ShownMessage &m : MessageBox::shown())
        texts.append(m.kind + QLatin1Char(':') + m.text);
    return texts;
}

} // namespace

class TestLoginDialog : public QObject
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
        ExecSql(
            QStringLiteral("INSERT INTO felhasznalo (felhkod, felhasznalo, felhasznalo_nev, rendszergazda, "
                           "jelszomd5, torolve) VALUES (20, 'valto', 'Váltó Vilma', 'N', MD5('regi'), 'N')"));
    }
    void init()
    {
        MessageBox::clearShown();
        session().user = SessionUser();
    }
    void cleanupTestCase() { m_db.reset(); }

    void showsTheLastUser()
    {
        session().local.lastUser = QStringLiteral("valto");
        LoginDialog dialog;
        QCOMPARE(dialog.objectName(), LoginDialog::ObjectName);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Belépés azonosítás"));
        QCOMPARE(dialog.findChild<QLineEdit *>(QStringLiteral("edtFelhasznalo"))->text(),
                 QStringLiteral("valto"));
        auto *password = dialog.findChild<QLineEdit *>(QStringLiteral("edtJelszo"));
        password->setText(QStringLiteral("titkos"));
        QCOMPARE(password->displayText(), QStringLiteral("******"));
        QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("btnUjJelszo"))->text(),
                 QStringLiteral("Új jelszó"));
    }

    void wrongPasswordKeepsTheScreenOpen()
    {
        bool stayedOpen = false;
        whenModal(LoginDialog::ObjectName, [&](QWidget *w) {
            type(w, "edtFelhasznalo", QStringLiteral("rendszergazda"));
            type(w, "edtJelszo", QStringLiteral("rossz"));
            press(w, "btnOK");
            stayedOpen = w->isVisible();
            type(w, "edtJelszo", QStringLiteral("pirkalo"));
            press(w, "btnOK");
        });
        const std::optional<SessionUser> user = LoginDialog::login(nullptr);
        QVERIFY(user);
        QVERIFY(stayedOpen);
        QCOMPARE(errorsShown(), QStringList({"error:Érvénytelen felhasználó, vagy jelszó"}));
        QCOMPARE(user->login, QStringLiteral("rendszergazda"));
        QCOMPARE(user->code, 1);
        QVERIFY(user->administrator);
    }

    void cancelReportsNoLogin()
    {
        whenModal(LoginDialog::ObjectName, [](QWidget *w) { press(w, "btnMegsem"); });
        QVERIFY(!LoginDialog::login(nullptr));
    }

    void changingThePassword()
    {
        whenModal(LoginDialog::ObjectName, [](QWidget *w) {
            type(w, "edtFelhasznalo", QStringLiteral("valto"));
            type(w, "edtJelszo", QStringLiteral("regi"));
            answerPrompts(QStringLiteral("új'jelszó\\"), QStringLiteral("más"));
            press(w, "btnUjJelszo");
            answerPrompts(QStringLiteral("új'jelszó\\"), QStringLiteral("új'jelszó\\"));
            press(w, "btnUjJelszo");
            // The old password is still typed.
            press(w, "btnOK");
            QVERIFY(w->isVisible());
            type(w, "edtJelszo", QStringLiteral("új'jelszó\\"));
            press(w, "btnOK");
        });
        const std::optional<SessionUser> user = LoginDialog::login(nullptr);
        QVERIFY(user);
        QCOMPARE(errorsShown(),
                 QStringList({"error:A megadott jelszavak nem egyezőek", "info:Jelszó változtatás kész.",
                              "error:Érvénytelen felhasználó, vagy jelszó"}));
        QCOMPARE(user->fullName, QStringLiteral("Váltó Vilma"));
        QVERIFY(!checkCredentials(QStringLiteral("valto"), QStringLiteral("regi")));
    }

    void cancelledPromptChangesNothing()
    {
        whenModal(LoginDialog::ObjectName, [](QWidget *w) {
            type(w, "edtFelhasznalo", QStringLiteral("rendszergazda"));
            type(w, "edtJelszo", QStringLiteral("pirkalo"));
            whenModal(TextInputDialog::ObjectName, [](QWidget *prompt) {
                QTest::mouseClick(qobject_cast<TextInputDialog *>(prompt)->cancelButton(), Qt::LeftButton);
            });
            press(w, "btnUjJelszo");
            press(w, "btnMegsem");
        });
        QVERIFY(!LoginDialog::login(nullptr));
        QCOMPARE(errorsShown(), QStringList());
        QVERIFY(checkCredentials(QStringLiteral("rendszergazda"), QStringLiteral("pirkalo")));
    }

    void serverFailureLeavesTheScreenAndIsThrown()
    {
        whenModal(LoginDialog::ObjectName, [](QWidget *w) {
            ExecSql(QStringLiteral("RENAME TABLE felhasznalo TO felhasznalo_el"));
            press(w, "btnOK");
        });
        QVERIFY_THROWS_EXCEPTION(KorvenaError, LoginDialog::login(nullptr));
        ExecSql(QStringLiteral("RENAME TABLE felhasznalo_el TO felhasznalo"));
    }
};

QTEST_MAIN(TestLoginDialog)
#include "tst_logindialog.moc"
