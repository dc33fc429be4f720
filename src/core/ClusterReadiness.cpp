#include "core/ClusterReadiness.h"

#include "common/SqlText.h"
#include "db/Connection.h"
#include "db/DbError.h"

#include <QRegularExpression>

namespace {

QString status(Connection &c, const char *name)
{
    const Dataset d = c.query(QStringLiteral("SHOW GLOBAL STATUS LIKE ") + SqlLiteral(QLatin1String(name)));
    return d.rowCount() > 0 ? d.text(0, 1) : QString();
}

QString variable(Connection &c, const char *name)
{
    const Dataset d = c.query(QStringLiteral("SHOW GLOBAL VARIABLES LIKE ") + SqlLiteral(QLatin1String(name)));
    return d.rowCount() > 0 ? d.text(0, 1) : QString();
}

QStringList column(const Dataset &d)
{
    QStringList items;
    for (int r = 0; r < d.rowCount(); ++r)
        items << d.text(r, 0);
    return items;
}

// Statements a node runs only for itself: table locks and named locks are local, and
// rows of other engines than InnoDB are not replicated.
const QRegularExpression &unreplicated()
{
    static const QRegularExpression re(
        QStringLiteral("\\b(LOCK\\s+TABLES?|GET_LOCK|RELEASE_LOCK|XA\\s+START|ENGINE\\s*=?\\s*(MyISAM|Aria|MEMORY|"
                       "CSV|ARCHIVE|MRG_MyISAM))\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

} // namespace

ClusterReport ClusterReadiness::check(Connection &c, const QString &database)
{
    ClusterReport report;
    report.clusterNode = variable(c, "wsrep_on").compare(QLatin1String("ON"), Qt::CaseInsensitive) == 0;
    if (report.clusterNode) {
        report.nodeState = status(c, "wsrep_local_state_comment");
        report.clusterStatus = status(c, "wsrep_cluster_status");
        report.clusterSize = status(c, "wsrep_cluster_size").toInt();
    }
    const QString schema = SqlLiteral(database);
    report.nonInnoDbTables = column(c.query(
        QStringLiteral("SELECT CONCAT(table_name, ' (', IFNULL(engine, '?'), ')') FROM information_schema.tables "
                       "WHERE table_schema = %1 AND table_type = 'BASE TABLE' AND IFNULL(engine, '') <> 'InnoDB' "
                       "ORDER BY table_name")
            .arg(schema)));
    report.tablesWithoutPrimaryKey = column(c.query(
        QStringLiteral("SELECT t.table_name FROM information_schema.tables t WHERE t.table_schema = %1 "
                       "AND t.table_type = 'BASE TABLE' AND NOT EXISTS (SELECT 1 FROM "
                       "information_schema.table_constraints k WHERE k.table_schema = t.table_schema AND "
                       "k.table_name = t.table_name AND k.constraint_type = 'PRIMARY KEY') ORDER BY t.table_name")
            .arg(schema)));

    const QString binlogFormat = variable(c, "binlog_format");
    if (binlogFormat.compare(QLatin1String("ROW"), Qt::CaseInsensitive) != 0)
        report.serverSettings << QStringLiteral("binlog_format=%1 (ROW kell)").arg(binlogFormat);
    const QString lockMode = variable(c, "innodb_autoinc_lock_mode");
    if (lockMode != QLatin1String("2"))
        report.serverSettings << QStringLiteral("innodb_autoinc_lock_mode=%1 (2 kell)").arg(lockMode);

    const struct
    {
        const char *what;
        const char *sql;
    } sources[] = {
        {"eljárás", "SELECT routine_name, routine_definition FROM information_schema.routines WHERE routine_schema = %1"},
        {"nézet", "SELECT table_name, view_definition FROM information_schema.views WHERE table_schema = %1"},
        {"trigger", "SELECT trigger_name, action_statement FROM information_schema.triggers WHERE trigger_schema = %1"},
        {"esemény", "SELECT event_name, event_definition FROM information_schema.events WHERE event_schema = %1"},
    };
    for (const auto &source : sources) {
        const Dataset d = c.query(QString::fromLatin1(source.sql).arg(schema));
        for (int r = 0; r < d.rowCount(); ++r) {
            const QRegularExpressionMatch m = unreplicated().match(d.text(r, 1));
            if (m.hasMatch())
                report.unreplicatedStatements
                    << QStringLiteral("%1 %2: %3").arg(QString::fromUtf8(source.what), d.text(r, 0), m.captured(1));
        }
    }
    return report;
}
