#include "core/HttpTransfer.h"

#include "core/FtpTransfer.h"

#include <QFile>
#include <curl/curl.h>
#include <memory>

namespace {

size_t writeAnswer(char *buffer, size_t size, size_t count, void *user)
{
    auto *file = static_cast<QFile *>(user);
    const qint64 wanted = qint64(size * count);
    return file->write(buffer, wanted) == wanted ? size_t(wanted) : 0;
}

} // namespace

bool HttpTransfer::get(const QString &url, const QString &savePath)
{
    m_error.clear();
    ensureCurlReady();
    QFile file(savePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_error = file.errorString() + QStringLiteral(": ") + savePath;
        return false;
    }
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) {
        m_error = QStringLiteral("A HTTP kérés nem indítható.");
        return false;
    }
    char errorBuffer[CURL_ERROR_SIZE] = {};
    const QByteArray address = url.toUtf8();
    CURL *c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, address.constData());
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 30L);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, 120L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, writeAnswer);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &file);
    const CURLcode result = curl_easy_perform(c);
    file.close();
    if (result == CURLE_OK)
        return true;
    m_error = QString::fromUtf8(errorBuffer[0] ? errorBuffer : curl_easy_strerror(result));
    return false;
}
