#include "register/ui/OnlineStoreScreens.h"

#include "common/ui/MessageBox.h"
#include "core/HttpTransfer.h"
#include "core/Rights.h"
#include "db/Dataset.h"
#include "db/DbHelpers.h"
#include "register/OnlineStore.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QVBoxLayout>
#include <atomic>
#include <thread>

void UploadToSorvika(QWidget *parent, qint64 document, const QString &fileName)
{
    QWidget window(parent, Qt::Tool | Qt::FramelessWindowHint);
    window.setObjectName(QStringLiteral("frm_SvFeltolt"));
    auto *label = new QLabel(QStringLiteral("Feltöltés"), &window);
    label->setObjectName(QStringLiteral("lbFile"));
    label->setTextFormat(Qt::PlainText);
    auto *bar = new QProgressBar(&window);
    bar->setObjectName(QStringLiteral("ProgressBar1"));
    bar->setAccessibleName(QStringLiteral("Feltöltés"));
    bar->setRange(0, 5);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(label);
    layout->addWidget(bar);
    window.resize(300, 60);
    window.show();

    label->setText(QFileInfo(QString(fileName).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName());
    const QString address =
        OnlineStore::registerFile(document, fileName, [bar](int step) { bar->setValue(step); });

    // The store may be slow to answer: the window keeps repainting meanwhile.
    std::atomic<bool> finished{false};
    QEventLoop wait;
    std::thread worker([&] {
        HttpTransfer request;
        request.get(address, OnlineStore::answerFile());
        finished = true;
        QMetaObject::invokeMethod(&wait, "quit", Qt::QueuedConnection);
    });
    if (!finished)
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
}

void SendToOnlineStore(QWidget *parent, qint64 document)
{
    // Handing over saves the document, which a write-protected register forbids.
    if (isWriteProtected())
        return;
    const Dataset row =
        db().query(QStringLiteral("SELECT filenev, ugyf_intezkedesre FROM iktato WHERE iktato=") +
                   QString::number(document) + QLatin1Char(';'));
    const QString fileName = row.rowCount() > 0 ? row.text(0, 0) : QString();
    const qint64 client = row.rowCount() > 0 ? row.toInt(0, 1, 0) : 0;
    const QString refused = OnlineStore::refusal(fileName, client);
    if (!refused.isEmpty()) {
        ShowError(refused);
        return;
    }
    UploadToSorvika(parent, document, fileName);
}

// ---- settings

OnlineStoreSettingsDialog::OnlineStoreSettingsDialog(QWidget *parent) : EditorBase(parent, ObjectName)
{
    setWindowTitle(QStringLiteral("Sorvika beállítások"));
    auto line = [this](const char *name, int maxLength) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMaxLength(maxLength);
        return edit;
    };
    m_subject = line("edTargy", 100);
    m_sender = line("edFelado", 50);
    m_load = line("edBetoltes", 100);
    m_delete = line("edTorles", 100);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("mmSzoveg"));
    m_text->setTabChangesFocus(true);
    keepEnterKey(m_text);

    auto *mail = new QGroupBox(QStringLiteral("Levélküldés"), this);
    auto *mailForm = new QFormLayout(mail);
    mailForm->addRow(QStringLiteral("Tárgysor"), m_subject);
    mailForm->addRow(QStringLiteral("Feladó"), m_sender);
    auto *text = new QGroupBox(QStringLiteral("Levél szövege"), this);
    auto *textForm = new QFormLayout(text);
    textForm->addRow(QStringLiteral("Szöveg"), m_text);
    auto *server = new QGroupBox(QStringLiteral("Szerver oldali feldolgozó"), this);
    auto *serverForm = new QFormLayout(server);
    serverForm->addRow(QStringLiteral("Betöltés"), m_load);
    serverForm->addRow(QStringLiteral("Törlés"), m_delete);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mail);
    layout->addWidget(text, 1);
    layout->addWidget(server);
    layout->addLayout(buttonRow());
    resize(460, 400);
}

bool OnlineStoreSettingsDialog::run(QWidget *parent)
{
    OnlineStore::Settings settings = OnlineStore::loadSettings();
    OnlineStoreSettingsDialog dialog(parent);
    dialog.m_subject->setText(settings.targy);
    dialog.m_sender->setText(settings.felado);
    dialog.m_text->setPlainText(settings.szoveg);
    dialog.m_load->setText(settings.betoltphp);
    dialog.m_delete->setText(settings.torolphp);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    settings.targy = dialog.m_subject->text();
    settings.felado = dialog.m_sender->text();
    settings.szoveg = dialog.m_text->toPlainText();
    settings.betoltphp = dialog.m_load->text();
    settings.torolphp = dialog.m_delete->text();
    OnlineStore::saveSettings(settings);
    return true;
}
