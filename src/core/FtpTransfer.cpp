#include "core/FtpTransfer.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QUrl>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <curl/curl.h>
#include <memory>
#include <mutex>

void ensureCurlReady()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool openDownloadFile(QTemporaryFile &file, const QString &target, QString *error)
{
    const QFileInfo info(target);
    file.setFileTemplate(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    file.setAutoRemove(true);
    if (file.open())
        return true;
    if (error)
        *error = file.errorString() + QStringLiteral(": ") + target;
    return false;
}

bool commitDownloadFile(QTemporaryFile &file, const QString &target, QString *error)
{
    if (!file.flush()) {
        if (error)
            *error = file.errorString() + QStringLiteral(": ") + target;
        return false;
    }
    const QByteArray from = QFile::encodeName(file.fileName());
    const QByteArray to = QFile::encodeName(target);
    file.close();
    // rename() puts the new file in place of whatever the name was, a link included.
    if (std::rename(from.constData(), to.constData()) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno)) + QStringLiteral(": ") + target;
        return false;
    }
    file.setAutoRemove(false);
    return true;
}

namespace {

struct Job
{
    QIODevice *file = nullptr;
    const FtpTransfer::Progress *progress = nullptr;
    const FtpTransfer::Cancel *cancel = nullptr;
    bool cancelled = false;
    bool writeFailed = false;
    QString lastReply;
};

size_t readChunk(char *buffer, size_t size, size_t count, void *user)
{
    auto *job = static_cast<Job *>(user);
    const qint64 n = job->file->read(buffer, qint64(size * count));
    return n < 0 ? CURL_READFUNC_ABORT : size_t(n);
}

size_t writeChunk(char *buffer, size_t size, size_t count, void *user)
{
    auto *job = static_cast<Job *>(user);
    const qint64 wanted = qint64(size * count);
    if (job->file->write(buffer, wanted) != wanted) {
        job->writeFailed = true;
        return 0;
    }
    return size_t(wanted);
}

int transferInfo(void *user, curl_off_t downTotal, curl_off_t downNow, curl_off_t upTotal, curl_off_t upNow)
{
    auto *job = static_cast<Job *>(user);
    if (*job->progress) {
        if (upTotal > 0 || upNow > 0)
            (*job->progress)(upNow, upTotal);
        else
            (*job->progress)(downNow, downTotal);
    }
    if (*job->cancel && (*job->cancel)()) {
        job->cancelled = true;
        return 1;
    }
    return 0;
}

// Keeps the server's last reply line: libcurl's own text names only the code.
int watchReplies(CURL *, curl_infotype type, char *data, size_t size, void *user)
{
    if (type == CURLINFO_HEADER_IN) {
        const QString line = QString::fromLatin1(data, qsizetype(size)).trimmed();
        if (!line.isEmpty())
            static_cast<Job *>(user)->lastReply = line;
    }
    return 0;
}

} // namespace

FtpTransfer::FtpTransfer(FtpTarget target) : m_target(std::move(target))
{
    ensureCurlReady();
}

QString FtpTransfer::url(const FtpTarget &target, const QString &remoteName)
{
    QString address = QStringLiteral("ftp://") + target.host.trimmed() + QLatin1Char('/');
    // A URL's path counts from the login folder; an escaped leading slash makes
    // libcurl start from the server's root.
    if (target.directory.trimmed().startsWith(QLatin1Char('/')))
        address += QStringLiteral("%2F");
    const QStringList parts = target.directory.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts)
        address += QString::fromLatin1(QUrl::toPercentEncoding(part)) + QLatin1Char('/');
    return address + QString::fromLatin1(QUrl::toPercentEncoding(remoteName));
}

bool FtpTransfer::isSafeRemoteName(const QString &remoteName)
{
    if (remoteName.isEmpty() || remoteName.contains(QLatin1String("..")))
        return false;
    for (const QChar c : remoteName) {
        // libcurl takes an escaped separator in the path as a folder step.
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

bool FtpTransfer::upload(const QString &localPath, const QString &remoteName)
{
    return run(true, localPath, remoteName);
}

bool FtpTransfer::download(const QString &remoteName, const QString &localPath)
{
    return run(false, localPath, remoteName);
}

bool FtpTransfer::run(bool upload, const QString &localPath, const QString &remoteName)
{
    m_error.clear();
    m_cancelled = false;
    if (!isSafeRemoteName(remoteName)) {
        m_error = QStringLiteral("Érvénytelen távoli állománynév: ") + remoteName;
        return false;
    }
    QFile source(localPath);
    QTemporaryFile target;
    if (upload) {
        if (!source.open(QIODevice::ReadOnly)) {
            m_error = source.errorString() + QStringLiteral(": ") + localPath;
            return false;
        }
    } else if (!openDownloadFile(target, localPath, &m_error)) {
        // A download never leaves a cut copy under the wanted name.
        return false;
    }
    QFileDevice &file = upload ? static_cast<QFileDevice &>(source) : target;
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) {
        m_error = QStringLiteral("Az FTP kapcsolat nem indítható.");
        return false;
    }
    Job job;
    job.file = &file;
    job.progress = &m_progress;
    job.cancel = &m_cancel;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    const QByteArray address = url(m_target, remoteName).toUtf8();
    const QByteArray user = m_target.user.toUtf8();
    const QByteArray password = m_target.password.toUtf8();
    const long stall = qMax(1, m_stallLimit);
    CURL *c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, address.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, qMin(30L, stall));
    // The control connection's replies and the data's bytes both count as signs of life.
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, stall);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, stall);
    // One CWD to the whole folder, absolute or relative, as the address gives it.
    curl_easy_setopt(c, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_SINGLECWD));
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, transferInfo);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &job);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, watchReplies);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &job);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    if (upload) {
        curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(c, CURLOPT_READFUNCTION, readChunk);
        curl_easy_setopt(c, CURLOPT_READDATA, &job);
        curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, curl_off_t(file.size()));
    } else {
        curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, writeChunk);
        curl_easy_setopt(c, CURLOPT_WRITEDATA, &job);
    }
    const CURLcode result = curl_easy_perform(c);
    if (result == CURLE_OK)
        return upload || commitDownloadFile(target, localPath, &m_error);
    m_cancelled = job.cancelled;
    if (job.cancelled)
        m_error = QStringLiteral("Az átvitel megszakítva.");
    else if (job.writeFailed)
        m_error = file.errorString() + QStringLiteral(": ") + localPath;
    else
        m_error = QString::fromUtf8(errorBuffer[0] ? errorBuffer : curl_easy_strerror(result));
    if (!job.cancelled && !job.lastReply.isEmpty() &&
        (job.lastReply.startsWith(QLatin1Char('4')) || job.lastReply.startsWith(QLatin1Char('5'))))
        m_error += QStringLiteral("\r\n") + job.lastReply;
    return false;
}
