#include "register/ui/AttachmentScreens.h"

#include "common/ui/DesktopServices.h"
#include "common/ui/FileDialog.h"
#include "common/ui/MessageBox.h"
#include "core/FtpTransfer.h"
#include "core/Session.h"
#include "register/AttachmentTextQueue.h"
#include "register/Attachments.h"

#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <limits>
#include <thread>

bool AttachFile(QWidget *parent, qint64 document, int group, QString *originalName, bool journalled)
{
    const ProgramSettings &settings = session().settings;
    const Attachments::Step folder = Attachments::prepareFolder(settings, document, group);
    if (!folder.ok) {
        ShowError(folder.message);
        return false;
    }
    const QString chosen = FileDialog::getOpenFileName(parent, QStringLiteral("Megnyitás"), QString(),
                                                       QStringLiteral("Minden file (*)"));
    if (chosen.isEmpty())
        return false;
    const Attachments::Stored stored = Attachments::store(
        settings, document, group, chosen,
        [parent](const QString &local, const QString &remote, QString *error) {
            return FtpWindow::upload(parent, FtpWindow::registerTarget(), local, remote, error);
        },
        journalled);
    if (!stored.ok) {
        ShowError(stored.message);
        return false;
    }
    // Read from the file in hand, not the stored copy: it is plain and local.
    AttachmentTextQueue::instance().enqueue(stored.key, chosen);
    if (originalName)
        *originalName = stored.originalName;
    return true;
}

void OpenAttachment(QWidget *parent, const QString &storageName, const QString &originalName, int group)
{
    const Attachments::Fetched fetched = Attachments::fetch(
        session().settings, storageName, originalName, group,
        [parent](const QString &remote, const QString &local, QString *error) {
            return FtpWindow::download(parent, FtpWindow::registerTarget(), remote, local, error);
        });
    if (!fetched.message.isEmpty())
        ShowError(fetched.message);
    if (fetched.open)
        DesktopServices::openFile(fetched.target);
}

// ---- the transfer window

FtpWindow::FtpWindow(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(ObjectName);
    setWindowTitle(QStringLiteral("FTP kommunikáció"));
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("ProgressBar1"));
    m_bar->setAccessibleName(QStringLiteral("FTP kommunikáció"));
    m_bar->setRange(0, 0);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_bar);
    resize(320, 50);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

FtpTarget FtpWindow::registerTarget()
{
    const ProgramSettings &s = session().settings;
    return FtpTarget{s.ftpHost, s.ftpUser, s.ftpPwd, s.ftpMappa};
}

bool FtpWindow::upload(QWidget *parent, const FtpTarget &target, const QString &localPath,
                       const QString &remoteName, QString *error, bool *cancelled)
{
    return run(parent, target, true, localPath, remoteName, error, cancelled);
}

bool FtpWindow::download(QWidget *parent, const FtpTarget &target, const QString &remoteName,
                         const QString &localPath, QString *error, bool *cancelled)
{
    return run(parent, target, false, localPath, remoteName, error, cancelled);
}

void FtpWindow::done(int result)
{
    // Closing while bytes move asks the transfer to stop; the window goes when it has.
    if (!m_finished) {
        m_cancel = true;
        return;
    }
    QDialog::done(result);
}

bool FtpWindow::run(QWidget *parent, const FtpTarget &target, bool upload, const QString &localPath,
                    const QString &remoteName, QString *error, bool *cancelled)
{
    FtpWindow window(parent);
    std::atomic<qint64> done{0};
    std::atomic<qint64> total{0};
    std::atomic<bool> finished{false};
    bool ok = false;
    bool stopped = false;
    QString reason;

    FtpTransfer transfer(target);
    transfer.setProgress([&](qint64 d, qint64 t) {
        done = d;
        total = t;
    });
    transfer.setCancel([&window] { return window.m_cancel.load(); });
    std::thread worker([&] {
        ok = upload ? transfer.upload(localPath, remoteName) : transfer.download(remoteName, localPath);
        reason = transfer.errorText();
        stopped = transfer.wasCancelled();
        finished = true;
    });

    // QProgressBar counts in int: large files move in kilobytes.
    auto show = [&] {
        const qint64 t = total.load();
        const qint64 scale = t > std::numeric_limits<int>::max() ? 1024 : 1;
        if (t > 0) {
            window.m_bar->setRange(0, int(t / scale));
            window.m_bar->setValue(int(qMin(done.load(), t) / scale));
        }
    };
    QTimer poll;
    poll.setInterval(30);
    QObject::connect(&poll, &QTimer::timeout, &window, [&] {
        show();
        if (finished) {
            poll.stop();
            window.m_bar->setValue(0);
            window.m_finished = true;
            window.accept();
        }
    });
    poll.start();
    window.exec();
    worker.join();
    if (!ok && error)
        *error = reason;
    if (cancelled)
        *cancelled = !ok && stopped;
    return ok;
}
