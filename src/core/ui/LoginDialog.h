#pragma once

#include "common/ui/Dialog.h"
#include "core/SessionUser.h"

#include <exception>
#include <optional>

class QLineEdit;
class QPushButton;

// frm_Login: asks for the login name and password and checks them on the
// server; the password can be changed from here too.
class LoginDialog : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Login"};
    explicit LoginDialog(QWidget *parent = nullptr);

    // Shows the screen modally and gives back the user who logged in; nothing when
    // the user cancelled, after which the process should end. A failure other than
    // wrong credentials closes the screen and is thrown.
    static std::optional<SessionUser> login(QWidget *parent);

    // "OK" (also Ctrl+Enter): closes only when the credentials match.
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    bool checkAndFillUser();
    void changePassword();
    template <typename F> void guarded(F work);

    QLineEdit *m_login;
    QLineEdit *m_password;
    std::exception_ptr m_failure;
    std::optional<SessionUser> m_user;
};
