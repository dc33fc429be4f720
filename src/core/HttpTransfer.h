#pragma once

#include <QString>
#include <QtGlobal>

// A plain HTTP GET through libcurl whose answer is saved into a file.
//
// The address names its own protocol: https, or http where the settings name an
// http address; nothing else is fetched. Redirects keep to https once there, the
// answer is cut off at a size limit, and it is written into a new file that then
// takes the target's place, so a link planted under the target's name in a
// shared folder is replaced, never written through.
class HttpTransfer
{
public:
    static constexpr qint64 DefaultMaxSize = 1024 * 1024;

    // An answer above this many bytes fails the request.
    void setMaxSize(qint64 bytes) { m_maxSize = bytes; }

    // True when the server answered with a success status and the answer was
    // written; otherwise errorText() tells why.
    bool get(const QString &url, const QString &savePath);
    const QString &errorText() const { return m_error; }

    // Trusts only these certificates (a test server's own) instead of the system's.
    static void setExtraCertificatesForTests(const QString &pemFile);

private:
    QString m_error;
    qint64 m_maxSize = DefaultMaxSize;
};
