#include "core/FtpTransfer.h"

#include <QFile>
#include <QUrl>
#include <curl/curl.h>
#include <memory>
#include <mutex>

void ensureCurlReady()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

namespace {

struct Job
{
    QFile *file = nullptr;
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
    const QStringList parts = target.directory.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts)
        address += QString::fromLatin1(QUrl::toPercentEncoding(part)) + QLatin1Char('/');
    return address + QString::fromLatin1(QUrl::toPercentEncoding(remoteName));
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
    // A download goes to a side file first, so a failure never leaves a cut copy
    // under the wanted name.
    const QString partPath = localPath + QStringLiteral(".part");
    QFile file(upload ? localPath : partPath);
    if (!file.open(upload ? QIODevice::ReadOnly : QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_error = file.errorString() + QStringLiteral(": ") + localPath;
        return false;
    }
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
    CURL *c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, address.constData());
    curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 30L);
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
    file.close();
    if (result == CURLE_OK && !upload) {
        QFile::remove(localPath);
        if (!QFile::rename(partPath, localPath)) {
            m_error = QFile(localPath).errorString() + QStringLiteral(": ") + localPath;
            QFile::remove(partPath);
            return false;
        }
    }
    if (result == CURLE_OK)
        return true;
    if (!upload)
        QFile::remove(partPath);
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
