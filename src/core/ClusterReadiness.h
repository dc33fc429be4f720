#pragma once

#include <QString>
#include <QStringList>

class Connection;

// Whether the server is a Galera cluster node and whether a register on it suits a
// cluster: every node writable, rows replicated at commit.
struct ClusterReport
{
    bool clusterNode = false;  // wsrep is on
    QString nodeState;         // wsrep_local_state_comment ("Synced", ...)
    QString clusterStatus;     // wsrep_cluster_status ("Primary", ...)
    int clusterSize = 0;       // wsrep_cluster_size
    // What keeps the register from working on a cluster; empty when it is fit.
    QStringList nonInnoDbTables;      // only InnoDB rows are replicated
    QStringList tablesWithoutPrimaryKey; // rows without a key are applied slowly, or differently, on the other nodes
    QStringList serverSettings;       // "binlog_format=STATEMENT (ROW kell)" ...
    QStringList unreplicatedStatements; // routine, view, trigger or event using what Galera does not replicate
    bool fit() const
    {
        return nonInnoDbTables.isEmpty() && tablesWithoutPrimaryKey.isEmpty() && serverSettings.isEmpty() &&
               unreplicatedStatements.isEmpty();
    }
};

namespace ClusterReadiness {
ClusterReport check(Connection &connection, const QString &database);
}
