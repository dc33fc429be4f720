#pragma once

#include "common/ui/Dialog.h"

#include <exception>

class QLineEdit;
class QPushButton;

// frm_Login: asks for the login name and password and checks them on the
// server; the password can be changed from here too.
class LoginDialog : public Dialog
{
    Q_OBJECT
public:
    explicit LoginDialog(QWidget *parent = nullptr);

    // Shows the screen modally. True when a user logged in (Beall().user holds
    // him); false when the user cancelled, after which the process should end.
    // A failure other than wrong credentials closes the screen and is thrown.
    static bool login(QWidget *parent);

    // "OK" (also Ctrl+Enter): closes only when the credentials match.
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool checkAndFillUser();
    void changePassword();
    template <typename F> void guarded(F work);

    QLineEdit *m_login;
    QLineEdit *m_password;
    std::exception_ptr m_failure;
};
