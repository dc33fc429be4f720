#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// A test server (tests/core/*_server.py) on 127.0.0.1, stopped when this goes.
// The script prints its port first; port() is 0 when it did not start.
class LocalServer
{
public:
    LocalServer(const char *script, const QStringList &arguments)
    {
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.start(QStringLiteral("/usr/bin/python3"),
                        QStringList{QStringLiteral(KORVENA_TEST_DATA "/../core/") + QLatin1String(script)} +
                            arguments);
        if (!m_process.waitForStarted(10000))
            return;
        while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
        }
        m_port = QByteArray(m_process.readLine()).trimmed().toInt();
    }
    ~LocalServer()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    int port() const { return m_port; }
    QString host() const { return QStringLiteral("127.0.0.1:") + QString::number(m_port); }

private:
    QProcess m_process;
    int m_port = 0;
};
