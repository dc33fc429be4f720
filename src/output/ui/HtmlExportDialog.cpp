#include "output/ui/HtmlExportDialog.h"

#include "common/Text.h"
#include "common/ui/DesktopServices.h"
#include "common/ui/FileDialog.h"
#include "core/AppFolders.h"
#include "core/Session.h"
#include "core/ui/ErrorHandler.h"
#include "db/Dataset.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

const QString HtmlExportDialog::FileFilter = QStringLiteral("HTML dokumentum (*.htm *.html)");
const QString HtmlExportDialog::MailText = QStringLiteral("Html küldés");

HtmlExportDialog::HtmlExportDialog(QWidget *parent, Dataset &rows, HtmlPage page)
    : Dialog(parent, ObjectName), m_rows(rows), m_page(std::move(page))
{
    setWindowTitle(QStringLiteral("HTML export"));

    auto *label = new QLabel(QStringLiteral("Mentés helye"), this);
    m_fileName = new QLineEdit(defaultFileName(m_page.title), this);
    m_fileName->setObjectName(QStringLiteral("edMentesHelye"));
    label->setBuddy(m_fileName);
    m_browse = new QPushButton(QStringLiteral("..."), this);
    m_browse->setObjectName(QStringLiteral("btnTallozas"));
    m_browse->setToolTip(QStringLiteral("Tallózás"));
    m_browse->setAccessibleName(QStringLiteral("Tallózás"));
    m_browse->setAutoDefault(false);
    m_openAfter = new QCheckBox(QStringLiteral("Mentés után megnyitás"), this);
    m_openAfter->setObjectName(QStringLiteral("cbMegnyitas"));
    m_openAfter->setChecked(true);
    m_mail = new QPushButton(QStringLiteral("E-Mail"), this);
    m_mail->setObjectName(QStringLiteral("btnEMail"));
    m_mail->setAutoDefault(false);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    m_cancel->setObjectName(QStringLiteral("btnMegsem"));
    m_cancel->setAutoDefault(false);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("pbHaladas"));
    m_progress->setTextVisible(false);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(m_fileName, 1);
    fileRow->addWidget(m_browse);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_mail);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(fileRow);
    layout->addWidget(m_openAfter);
    layout->addStretch(1);
    layout->addLayout(buttons);
    layout->addWidget(m_progress);
    resize(460, 160);

    const QString screen = QString(ObjectName) + QLatin1Char('.');
    connect(m_browse, &QPushButton::clicked, this,
            guarded(screen + QStringLiteral("btnTallozas"), [this] { browse(); }));
    connect(m_mail, &QPushButton::clicked, this,
            guarded(screen + QStringLiteral("btnEMail"), [this] { mail(); }));
    connect(m_ok, &QPushButton::clicked, this, &HtmlExportDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &HtmlExportDialog::reject);
}

void HtmlExportDialog::run(QWidget *parent, Dataset &rows, const HtmlPage &page)
{
    HtmlExportDialog dialog(parent, rows, page);
    dialog.exec();
}

QString HtmlExportDialog::defaultFileName(const QString &title)
{
    QString folder = QDir::fromNativeSeparators(session().local.htmlUt);
    if (folder.isEmpty())
        folder = AppFolders::current().dataFolder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return QDir::toNativeSeparators(folder + SafeFileName(title + QStringLiteral(".htm")));
}

void HtmlExportDialog::accept()
{
    if (!m_running)
        runGuarded(QString(ObjectName) + QStringLiteral(".btnOK"), [this] { save(); });
}

void HtmlExportDialog::reject()
{
    if (!m_running)
        Dialog::reject();
}

void HtmlExportDialog::browse()
{
    const QString name =
        FileDialog::getSaveFileName(this, QStringLiteral("Mentés"), m_fileName->text(), FileFilter);
    if (!name.isEmpty())
        m_fileName->setText(name);
}

QString HtmlExportDialog::writePage()
{
    const QString fileName = QFileInfo(m_fileName->text()).absoluteFilePath();
    m_running = true;
    for (QWidget *w : {static_cast<QWidget *>(m_ok), static_cast<QWidget *>(m_mail),
                       static_cast<QWidget *>(m_cancel), static_cast<QWidget *>(m_browse)})
        w->setEnabled(false);
    struct End
    {
        HtmlExportDialog *d;
        ~End()
        {
            d->m_progress->setValue(0);
            for (QWidget *w : {static_cast<QWidget *>(d->m_ok), static_cast<QWidget *>(d->m_mail),
                               static_cast<QWidget *>(d->m_cancel), static_cast<QWidget *>(d->m_browse)})
                w->setEnabled(true);
            d->m_running = false;
        }
    } end{this};
    m_progress->setRange(0, qMax(1, m_rows.visibleCount()));
    // The screen repaints now and then, not at every tenth row of a long list.
    QElapsedTimer sinceRepaint;
    writeHtmlFile(fileName, m_rows, m_page, [this, &sinceRepaint](int done, int) {
        if (!sinceRepaint.isValid() || sinceRepaint.elapsed() >= 40) {
            m_progress->setValue(done);
            QCoreApplication::processEvents();
            sinceRepaint.restart();
        }
        return true;
    });
    if (m_openAfter->isChecked())
        DesktopServices::openFile(fileName);
    return fileName;
}

void HtmlExportDialog::save()
{
    const QString fileName = writePage();
    session().local.htmlUt = QDir::toNativeSeparators(QFileInfo(fileName).absolutePath() + QLatin1Char('/'));
    Dialog::accept();
}

void HtmlExportDialog::mail()
{
    if (m_running)
        return;
    m_openAfter->setChecked(false);
    const QString fileName = writePage();
    DesktopServices::sendMail(MailText, MailText, fileName);
}
