#pragma once
// What the benchmarks share: printing, medians, the server options and the
// mariadb client run on the same SQL as the yardstick.
#include "db/Connection.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QProcess>
#include <QTextStream>

#include <algorithm>

namespace bench {

inline QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

inline double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

// --host, --port, --user, --password, --database, --user-code and, when the
// benchmark repeats its measures, --runs.
class ServerOptions
{
public:
    explicit ServerOptions(QCommandLineParser &parser, int defaultRuns = 0)
        : m_host(QStringLiteral("host"), QStringLiteral("Server."), QStringLiteral("host"),
                 QStringLiteral("127.0.0.1")),
          m_port(QStringLiteral("port"), QStringLiteral("Port."), QStringLiteral("port"), QStringLiteral("3306")),
          m_user(QStringLiteral("user"), QStringLiteral("User."), QStringLiteral("user"), QStringLiteral("korvena")),
          m_password(QStringLiteral("password"), QStringLiteral("Password."), QStringLiteral("password"),
                     QStringLiteral("korvena")),
          m_database(QStringLiteral("database"), QStringLiteral("Register."), QStringLiteral("database")),
          m_userCode(QStringLiteral("user-code"), QStringLiteral("Session user code (felhkod)."),
                     QStringLiteral("code"), QStringLiteral("1")),
          m_runs(QStringLiteral("runs"), QStringLiteral("Measured runs."), QStringLiteral("n"),
                 QString::number(defaultRuns)),
          m_parser(parser)
    {
        parser.addOptions({m_host, m_port, m_user, m_password, m_database, m_userCode});
        if (defaultRuns > 0)
            parser.addOption(m_runs);
    }

    ConnectionParams params() const
    {
        ConnectionParams p;
        p.host = m_parser.value(m_host);
        p.port = m_parser.value(m_port).toUInt();
        p.user = m_parser.value(m_user);
        p.password = m_parser.value(m_password);
        p.database = m_parser.value(m_database);
        return p;
    }
    int userCode() const { return m_parser.value(m_userCode).toInt(); }
    int runs() const { return qMax(1, m_parser.value(m_runs).toInt()); }

private:
    QCommandLineOption m_host, m_port, m_user, m_password, m_database, m_userCode, m_runs;
    const QCommandLineParser &m_parser;
};

// Seconds the mariadb client takes for sql on the program's compressed protocol,
// writing what it prints to file; -1 when it failed.
inline double clientSeconds(const ConnectionParams &p, const QString &sql,
                            const QString &file = QProcess::nullDevice())
{
    QProcess client;
    client.setStandardOutputFile(file);
    client.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QStringList args = {QStringLiteral("--compress"),
                              QStringLiteral("--default-character-set=latin2"),
                              QStringLiteral("-h"),
                              p.host,
                              QStringLiteral("-P"),
                              QString::number(p.port),
                              QStringLiteral("-u"),
                              p.user,
                              QStringLiteral("-p") + p.password,
                              p.database,
                              QStringLiteral("-e"),
                              sql};
    QElapsedTimer timer;
    timer.start();
    client.start(QStringLiteral("mariadb"), args);
    if (!client.waitForFinished(600000) || client.exitCode() != 0) {
        out() << "mariadb client failed for " << sql.left(80) << "\n";
        return -1;
    }
    return timer.nsecsElapsed() / 1e9;
}

} // namespace bench
