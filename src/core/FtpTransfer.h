#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

// Where files go on an FTP server: "host" or "host:port" (port 21 when none),
// the account, and the remote directory: relative to the account's login
// folder, or from the server's root when it starts with "/" (empty: the login
// folder itself).
struct FtpTarget
{
    QString host;
    QString user;
    QString password;
    QString directory;
};

// One FTP file transfer through libcurl: connects, logs in, changes to the
// remote directory and moves one file. Blocking; safe to run on a worker
// thread, where the callbacks are called too.
class FtpTransfer
{
public:
    // Bytes moved so far and the transfer's size (0 while unknown).
    using Progress = std::function<void(qint64 done, qint64 total)>;
    // Asked now and then; true stops the transfer.
    using Cancel = std::function<bool()>;

    explicit FtpTransfer(FtpTarget target);

    void setProgress(Progress progress) { m_progress = std::move(progress); }
    void setCancel(Cancel cancel) { m_cancel = std::move(cancel); }
    // A server that sends no reply and moves no byte for this many seconds has
    // stalled: the transfer fails instead of waiting for ever.
    void setStallLimit(int seconds) { m_stallLimit = seconds; }
    static constexpr int DefaultStallLimit = 60;

    bool upload(const QString &localPath, const QString &remoteName);
    bool download(const QString &remoteName, const QString &localPath);

    // Why the last transfer failed: libcurl's reason and the server's last refusal.
    const QString &errorText() const { return m_error; }
    bool wasCancelled() const { return m_cancelled; }

    // The address of a file in the target's directory, every path part escaped.
    static QString url(const FtpTarget &target, const QString &remoteName);
    // A remote name stands for one file in the directory: names from the
    // register that could climb out of it (a separator, "..") are refused.
    static bool isSafeRemoteName(const QString &remoteName);

private:
    bool run(bool upload, const QString &localPath, const QString &remoteName);

    FtpTarget m_target;
    Progress m_progress;
    Cancel m_cancel;
    QString m_error;
    bool m_cancelled = false;
    int m_stallLimit = DefaultStallLimit;
};

// Makes libcurl ready once per process; transfers call it themselves.
void ensureCurlReady();

class QTemporaryFile;
// A download is written into a temporary file beside its target (created anew,
// readable by the owner only) and then put in the target's place: a link
// planted under the target's name is replaced, never followed. False, with the
// reason in *error, when the temporary file cannot be made or moved.
bool openDownloadFile(QTemporaryFile &file, const QString &target, QString *error);
bool commitDownloadFile(QTemporaryFile &file, const QString &target, QString *error);
