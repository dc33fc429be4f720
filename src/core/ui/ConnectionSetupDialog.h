#pragma once

#include "common/ui/Dialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;

// frm_Init: the first connection of a workstation, or a new one from the chooser.
// On confirmation the profile line is stored (scrambled) in the local configuration.
class ConnectionSetupDialog : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Init"};
    explicit ConnectionSetupDialog(QWidget *parent = nullptr);

    QString profileLine() const;

    // Shows the screen; the stored profile line, or an empty text when cancelled.
    static QString run(QWidget *parent);

private Q_SLOTS:
    void testConnection();

protected:
    void accept() override;
    void done(int result) override;

private:
    bool fieldsAreStorable();

    QLineEdit *m_server;
    QLineEdit *m_user;
    QLineEdit *m_password;
    QLineEdit *m_database;
    QLineEdit *m_displayName;
    QLineEdit *m_port;
    QComboBox *m_tls;
    QPushButton *m_test;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    QString m_stored;
};
