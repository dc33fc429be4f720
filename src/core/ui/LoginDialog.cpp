#include "core/ui/LoginDialog.h"

#include "common/ui/InputDialogs.h"
#include "common/ui/MessageBox.h"
#include "core/Session.h"
#include "core/Login.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

// An unexpected failure must not unwind through the event loop: the screen
// closes and login() hands the failure to its caller.
template <typename F> void LoginDialog::guarded(F work)
{
    try {
        work();
    } catch (...) {
        m_failure = std::current_exception();
        Dialog::reject();
    }
}

LoginDialog::LoginDialog(QWidget *parent) : Dialog(parent, ObjectName)
{
    setWindowTitle(QStringLiteral("Belépés azonosítás"));

    m_login = new QLineEdit(session().local.lastUser, this);
    m_login->setObjectName(QStringLiteral("edtFelhasznalo"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("edtJelszo"));
    maskPasswordBox(m_password);

    auto *form = new QFormLayout;
    auto *loginLabel = new QLabel(QStringLiteral("Felhasználó"), this);
    loginLabel->setBuddy(m_login);
    auto *passwordLabel = new QLabel(QStringLiteral("Jelszó"), this);
    passwordLabel->setBuddy(m_password);
    form->addRow(loginLabel, m_login);
    form->addRow(passwordLabel, m_password);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    auto *cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    cancel->setObjectName(QStringLiteral("btnMegsem"));
    auto *newPassword = new QPushButton(QStringLiteral("Új jelszó"), this);
    newPassword->setObjectName(QStringLiteral("btnUjJelszo"));
    connect(ok, &QPushButton::clicked, this, &LoginDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &LoginDialog::reject);
    connect(newPassword, &QPushButton::clicked, this, [this] { guarded([this] { changePassword(); }); });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    buttons->addWidget(newPassword);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // With a remembered name the password is what is left to type.
    if (m_login->text().isEmpty())
        m_login->setFocus();
    else
        m_password->setFocus();
}

std::optional<SessionUser> LoginDialog::login(QWidget *parent)
{
    LoginDialog dialog(parent);
    const bool loggedIn = dialog.exec() == QDialog::Accepted;
    if (dialog.m_failure)
        std::rethrow_exception(dialog.m_failure);
    return loggedIn ? dialog.m_user : std::nullopt;
}

void LoginDialog::accept()
{
    guarded([this] {
        if (checkAndFillUser())
            Dialog::accept();
    });
}

void LoginDialog::showEvent(QShowEvent *event)
{
    Dialog::showEvent(event);
    // The login screen always opens in the middle of the screen, whatever place was remembered.
    if (const QScreen *s = screen()) {
        QRect frame(QPoint(), size().grownBy(windowFrameMargins(this)));
        frame.moveCenter(s->availableGeometry().center());
        placeWindowFrame(this, frame, false);
    }
}

// Always centred, so there is no place to remember: a login that ends start-up
// leaves the local configuration as it was.
void LoginDialog::done(int result)
{
    QDialog::done(result);
}

bool LoginDialog::checkAndFillUser()
{
    const std::optional<SessionUser> user = checkCredentials(m_login->text(), m_password->text());
    if (!user) {
        ShowError(QStringLiteral("Érvénytelen felhasználó, vagy jelszó"));
        return false;
    }
    m_user = user;
    return true;
}

void LoginDialog::changePassword()
{
    if (!checkAndFillUser())
        return;
    const QString title = QStringLiteral("Jelszó megadása");
    const QString prompt = QStringLiteral("Add meg az új jelszót");
    QString first;
    QString second;
    if (!AskText(title, prompt, true, 0, -1, first, this))
        return;
    if (!AskText(title, prompt, true, 0, -1, second, this))
        return;
    if (first != second) {
        ShowError(QStringLiteral("A megadott jelszavak nem egyezőek"));
        return;
    }
    ::changePassword(m_login->text(), first);
    ShowInfo(QStringLiteral("Jelszó változtatás kész."));
}
