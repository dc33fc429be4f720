#include "db/ServerList.h"

#include <QHash>
#include <QMutex>

namespace {

QMutex nodeMutex;
QHash<QString, int> preferredNodes;
int nodeMoves = 0;

QString keyOf(const QString &hosts, unsigned defaultPort)
{
    return hosts + QLatin1Char('|') + QString::number(defaultPort);
}

} // namespace

QList<ServerAddress> ParseServerList(const QString &hosts, unsigned defaultPort)
{
    QList<ServerAddress> list;
    for (const QString &raw : hosts.split(QLatin1Char(','))) {
        const QString entry = raw.trimmed();
        if (entry.isEmpty())
            continue;
        ServerAddress a{entry, defaultPort};
        qsizetype colon = -1;
        if (entry.startsWith(QLatin1Char('['))) {
            const qsizetype close = entry.indexOf(QLatin1Char(']'));
            if (close > 0) {
                a.host = entry.mid(1, close - 1);
                if (close + 1 < entry.size() && entry.at(close + 1) == QLatin1Char(':'))
                    colon = close + 1;
            }
        } else if (entry.count(QLatin1Char(':')) == 1) {
            // More than one colon is an IPv6 address without a port.
            colon = entry.indexOf(QLatin1Char(':'));
            a.host = entry.left(colon);
        }
        if (colon >= 0) {
            bool ok = false;
            const uint port = entry.mid(colon + 1).toUInt(&ok, 10);
            // A port the server cannot have is left for the connection to refuse, not dropped.
            a.port = ok && port > 0 && port <= 65535 ? port : 0;
        }
        list.append(a);
    }
    return list;
}

int ClusterNode::preferred(const QString &hosts, unsigned defaultPort)
{
    QMutexLocker lock(&nodeMutex);
    return preferredNodes.value(keyOf(hosts, defaultPort), 0);
}

void ClusterNode::setPreferred(const QString &hosts, unsigned defaultPort, int index)
{
    QMutexLocker lock(&nodeMutex);
    int &current = preferredNodes[keyOf(hosts, defaultPort)];
    if (current != index)
        ++nodeMoves;
    current = index;
}

int ClusterNode::moves()
{
    QMutexLocker lock(&nodeMutex);
    return nodeMoves;
}
