#pragma once

#include <QList>
#include <QString>

// A profile's server may name several servers of one cluster: "10.0.0.5,10.0.0.6:3307,db3".
struct ServerAddress
{
    QString host;
    unsigned port = 0;
    bool operator==(const ServerAddress &) const = default;
};

// The servers of a host text in order; an entry without ":port" takes defaultPort. An IPv6
// address with a port is written in brackets ("[::1]:3307"); blank entries are dropped.
QList<ServerAddress> ParseServerList(const QString &hosts, unsigned defaultPort);

// The node a workstation works on, per server list: every connection of the process
// starts there, so the list stream and a backup read what the main connection wrote.
namespace ClusterNode {
// Index into the list; 0 until a connection reached one.
int preferred(const QString &hosts, unsigned defaultPort);
void setPreferred(const QString &hosts, unsigned defaultPort, int index);
// How many times the workstation moved to another node (tests read it).
int moves();
} // namespace ClusterNode
