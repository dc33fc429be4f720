#include "core/ui/ConnectionSetupDialog.h"

#include "common/ui/MessageBox.h"
#include "core/AppFolders.h"
#include "core/ConnectionProfile.h"
#include "core/LocalConfig.h"
#include "core/ui/ErrorHandler.h"

#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ConnectionSetupDialog::ConnectionSetupDialog(QWidget *parent)
    : Dialog(parent, ObjectName)
{
    setWindowTitle(QStringLiteral("Adatbázis beállítás"));
    auto *form = new QFormLayout;
    auto field = [&](const QString &name, const QString &caption) {
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        form->addRow(caption, e);
        return e;
    };
    m_server = field(QStringLiteral("edServer"), QStringLiteral("Kiszolgáló (webszerver) név, vagy IP cím"));
    m_user = field(QStringLiteral("edUser"), QStringLiteral("Felhasználó"));
    m_password = field(QStringLiteral("edPassword"), QStringLiteral("Jelszó"));
    maskPasswordBox(m_password);
    m_database = field(QStringLiteral("edDatabase"), QStringLiteral("Tárhely, vagy adatbázis neve"));
    m_displayName = field(QStringLiteral("edDisplayName"), QStringLiteral("Adatbázis megjelenített neve"));
    m_port = field(QStringLiteral("edPort"), QStringLiteral("Port"));
    m_port->setText(QStringLiteral("3306"));
    m_tls = new QComboBox(this);
    m_tls->setObjectName(QStringLiteral("cbTls"));
    m_tls->addItems(tlsCaptions());
    m_tls->setCurrentIndex(int(TlsMode::Preferred));
    form->addRow(QStringLiteral("Titkosítás (TLS)"), m_tls);

    m_test = new QPushButton(QStringLiteral("Kapcsolat tesztelése"), this);
    m_test->setObjectName(QStringLiteral("btnTeszt"));
    m_ok = new QPushButton(QStringLiteral("Rendben"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setEnabled(false);
    m_cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    m_cancel->setObjectName(QStringLiteral("btnMegsem"));
    for (QPushButton *b : {m_test, m_ok, m_cancel})
        b->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_test);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(m_test, &QPushButton::clicked, this,
            guarded(QStringLiteral("frm_Init.btnTeszt"), [this] { testConnection(); }));
    connect(m_ok, &QPushButton::clicked, this, &ConnectionSetupDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &ConnectionSetupDialog::reject);
    m_server->setFocus();
}

QString ConnectionSetupDialog::profileLine() const
{
    return ::profileLine(m_database->text(), m_server->text(), m_port->text(), m_user->text(), m_password->text(),
                         m_displayName->text(), TlsMode(m_tls->currentIndex()));
}

bool ConnectionSetupDialog::fieldsAreStorable()
{
    const QString refusal = profileFieldsRefusal({m_server->text(), m_user->text(), m_password->text(),
                                                  m_database->text(), m_displayName->text(), m_port->text()});
    if (refusal.isEmpty())
        return true;
    ShowError(refusal);
    return false;
}

void ConnectionSetupDialog::testConnection()
{
    if (!fieldsAreStorable())
        return;
    // A port that is not a number raises: the error handler takes it, the screen stays open.
    const QString error = testProfile(ConnectionProfile::fromLine(profileLine()));
    if (!error.isEmpty()) {
        ShowError(QStringLiteral("Hiba: ") + error);
        return;
    }
    m_ok->setEnabled(true);
    m_ok->setFocus();
}

void ConnectionSetupDialog::accept()
{
    if (!fieldsAreStorable())
        return;
    // A configuration that cannot be written goes to the error handler; the screen stays open.
    runGuarded(QStringLiteral("frm_Init.btnOK"), [this] {
        IniFile file = localConfigFile();
        const QString line = profileLine();
        storeNewProfile(file, line);
        m_stored = line;
        Dialog::accept();
    });
}

void ConnectionSetupDialog::done(int result)
{
    // A cancelled first start leaves no configuration file behind, not even for this screen's place.
    if (result == QDialog::Rejected && !QFile::exists(AppFolders::current().configFile())) {
        QDialog::done(result);
        return;
    }
    Dialog::done(result);
}

QString ConnectionSetupDialog::run(QWidget *parent)
{
    ConnectionSetupDialog d(parent);
    return d.exec() == QDialog::Accepted ? d.m_stored : QString();
}
