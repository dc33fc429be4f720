#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

// Where files go on an FTP server: "host" or "host:port" (port 21 when none),
// the account, and the remote directory relative to the account's home
// (empty: the home itself).
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

    bool upload(const QString &localPath, const QString &remoteName);
    bool download(const QString &remoteName, const QString &localPath);

    // Why the last transfer failed: libcurl's reason and the server's last refusal.
    const QString &errorText() const { return m_error; }
    bool wasCancelled() const { return m_cancelled; }

    // The address of a file in the target's directory, every path part escaped.
    static QString url(const FtpTarget &target, const QString &remoteName);

private:
    bool run(bool upload, const QString &localPath, const QString &remoteName);

    FtpTarget m_target;
    Progress m_progress;
    Cancel m_cancel;
    QString m_error;
    bool m_cancelled = false;
};

// Makes libcurl ready once per process; transfers call it themselves.
void ensureCurlReady();
