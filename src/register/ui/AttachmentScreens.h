#pragma once

#include <QDialog>
#include <QString>
#include <QtGlobal>
#include <atomic>

class QProgressBar;
struct FtpTarget;

// Asks for a file and stores it for the document (group's folder, scrambled
// copy or FTP). True when a file was stored; its original name then goes to
// *originalName. Every refusal is shown in a "Hiba" box.
bool AttachFile(QWidget *parent, qint64 document, int group, QString *originalName = nullptr);
// Fetches a stored copy into the opening folder and asks the desktop to open it.
void OpenAttachment(QWidget *parent, const QString &storageName, const QString &originalName, int group);

// "FTP kommunikáció": a small tool window centred on the desktop whose bar
// follows one FTP transfer. The transfer runs on a worker thread, so the
// program keeps repainting; Esc or closing the window stops it.
class FtpWindow : public QDialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Ftp"};

    // The register's FTP store (ftp_host, ftp_user, ftp_pwd, ftp_mappa).
    static FtpTarget registerTarget();
    // True when the file was moved; otherwise the reason goes to *error, and
    // *cancelled tells whether the user stopped it.
    static bool upload(QWidget *parent, const FtpTarget &target, const QString &localPath,
                       const QString &remoteName, QString *error, bool *cancelled = nullptr);
    static bool download(QWidget *parent, const FtpTarget &target, const QString &remoteName,
                         const QString &localPath, QString *error, bool *cancelled = nullptr);

    QProgressBar *progressBar() const { return m_bar; }

protected:
    void done(int result) override;

private:
    explicit FtpWindow(QWidget *parent);
    static bool run(QWidget *parent, const FtpTarget &target, bool upload, const QString &localPath,
                    const QString &remoteName, QString *error, bool *cancelled);

    QProgressBar *m_bar;
    std::atomic<bool> m_cancel{false};
    bool m_finished = false;
};
