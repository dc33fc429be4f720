#pragma once

#include <QString>

// A plain HTTP GET through libcurl whose answer is saved into a file.
class HttpTransfer
{
public:
    // True when the server answered with a success status and the answer was
    // written; otherwise errorText() tells why.
    bool get(const QString &url, const QString &savePath);
    const QString &errorText() const { return m_error; }

private:
    QString m_error;
};
