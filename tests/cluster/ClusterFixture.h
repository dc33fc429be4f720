#pragma once
// A local Galera cluster of three nodes (scripts/localdb cluster) in a temporary folder,
// started by the test binary and stopped when it ends.
#include "core/RegisterSchema.h"
#include "db/Connection.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class LocalCluster
{
public:
    LocalCluster() { m_dir.setAutoRemove(true); }
    ~LocalCluster() { run({QStringLiteral("stop")}); }

    bool start()
    {
        if (!run({QStringLiteral("start")}))
            return false;
        const QString hosts = output({QStringLiteral("hosts")});
        for (const QString &h : hosts.split(QLatin1Char(','), Qt::SkipEmptyParts))
            m_ports << h.section(QLatin1Char(':'), 1).toUInt();
        return m_ports.size() == 3;
    }
    bool stopNode(int n) { return run({QStringLiteral("stop"), QString::number(n)}); }
    bool startNode(int n) { return run({QStringLiteral("start"), QString::number(n)}); }

    // Node n (from 1) alone, or the list of all nodes starting at node n.
    ConnectionParams node(int n, const QString &database = {}) const
    {
        ConnectionParams p;
        p.host = QStringLiteral("127.0.0.1");
        p.port = m_ports.value(n - 1);
        p.user = QStringLiteral("korvena");
        p.password = QStringLiteral("korvena");
        p.database = database;
        return p;
    }
    ConnectionParams list(int first, const QString &database = {}) const
    {
        ConnectionParams p = node(first, database);
        QStringList hosts;
        for (int k = 0; k < m_ports.size(); ++k)
            hosts << QStringLiteral("127.0.0.1:%1").arg(m_ports.at((first - 1 + k) % m_ports.size()));
        p.host = hosts.join(QLatin1Char(','));
        return p;
    }

private:
    QProcess *process(const QStringList &args)
    {
        auto *p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KORVENA_CLUSTER_DIR"), m_dir.path());
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const QString script = QDir(QStringLiteral(KORVENA_TEST_DATA)).absoluteFilePath(QStringLiteral("../../scripts/localdb"));
        p->start(script, QStringList{QStringLiteral("cluster")} + args);
        return p;
    }
    bool run(const QStringList &args)
    {
        std::unique_ptr<QProcess> p(process(args));
        return p->waitForFinished(600000) && p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0;
    }
    QString output(const QStringList &args)
    {
        std::unique_ptr<QProcess> p(process(args));
        p->waitForFinished(60000);
        return QString::fromUtf8(p->readAllStandardOutput()).trimmed();
    }

    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/korvena-cluster-XXXXXX")};
    QList<unsigned> m_ports;
};
