#include "core/HttpTransfer.h"

#include "core/FtpTransfer.h"

#include <QTemporaryFile>
#include <QUrl>
#include <curl/curl.h>
#include <memory>

namespace {

QString extraCertificates;

struct Answer
{
    QIODevice *file = nullptr;
    qint64 written = 0;
    qint64 maxSize = 0;
    bool tooLarge = false;
};

size_t writeAnswer(char *buffer, size_t size, size_t count, void *user)
{
    auto *answer = static_cast<Answer *>(user);
    const qint64 wanted = qint64(size * count);
    // A server that sends no length, or lies about it, is stopped here.
    if (answer->written + wanted > answer->maxSize) {
        answer->tooLarge = true;
        return 0;
    }
    if (answer->file->write(buffer, wanted) != wanted)
        return 0;
    answer->written += wanted;
    return size_t(wanted);
}

} // namespace

void HttpTransfer::setExtraCertificatesForTests(const QString &pemFile)
{
    extraCertificates = pemFile;
}

bool HttpTransfer::get(const QString &url, const QString &savePath)
{
    m_error.clear();
    ensureCurlReady();
    const QString scheme = QUrl(url).scheme().toLower();
    if (scheme != QLatin1String("https") && scheme != QLatin1String("http")) {
        m_error = QStringLiteral("Nem támogatott cím: ") + url;
        return false;
    }
    QTemporaryFile file;
    if (!openDownloadFile(file, savePath, &m_error))
        return false;
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) {
        m_error = QStringLiteral("A HTTP kérés nem indítható.");
        return false;
    }
    Answer answer;
    answer.file = &file;
    answer.maxSize = m_maxSize;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    const QByteArray address = url.toUtf8();
    // From https a redirect may only stay on https; from an http address the
    // settings chose it may also go up to https.
    const char *protocols = scheme == QLatin1String("https") ? "https" : "http,https";
    const QByteArray certificates = QFile::encodeName(extraCertificates);
    CURL *c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, address.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, protocols);
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, protocols);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(m_maxSize));
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 30L);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, 120L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, writeAnswer);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &answer);
    if (!certificates.isEmpty())
        curl_easy_setopt(c, CURLOPT_CAINFO, certificates.constData());
    const CURLcode result = curl_easy_perform(c);
    if (result == CURLE_OK)
        return commitDownloadFile(file, savePath, &m_error);
    if (answer.tooLarge || result == CURLE_FILESIZE_EXCEEDED)
        m_error = QStringLiteral("A válasz túl nagy (legfeljebb %1 bájt).").arg(m_maxSize);
    else
        m_error = QString::fromUtf8(errorBuffer[0] ? errorBuffer : curl_easy_strerror(result));
    return false;
}
