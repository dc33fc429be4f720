// korvena-admin check: does a live register hold everything server/ creates?
#include "AdminCli.h"

#include "core/ClusterReadiness.h"
#include "core/RegisterSchema.h"

namespace {

void printList(const char *title, const QStringList &items)
{
    if (items.isEmpty())
        return;
    AdminCli::out() << title << " (" << items.size() << "):\n";
    for (const QString &item : items)
        AdminCli::out() << "  " << item << "\n";
}

// Whether the server is a cluster node and the register fit for one; false when it is a
// node and the register is not fit.
bool printClusterReport(Connection &connection, const QString &database)
{
    const ClusterReport cluster = ClusterReadiness::check(connection, database);
    if (cluster.clusterNode)
        AdminCli::out() << "A kiszolgáló Galera-fürt csomópontja (" << cluster.nodeState << ", "
                        << cluster.clusterStatus << ", " << cluster.clusterSize << " csomópont).\n";
    else
        AdminCli::out() << "A kiszolgáló nem fürt-csomópont.\n";
    if (cluster.fit()) {
        AdminCli::out() << "A nyilvántartás fürtön is használható.\n";
        return true;
    }
    AdminCli::out() << "A nyilvántartás fürtön nem használható:\n";
    printList("Nem InnoDB táblák", cluster.nonInnoDbTables);
    printList("Elsődleges kulcs nélküli táblák", cluster.tablesWithoutPrimaryKey);
    printList("Kiszolgáló-beállítások", cluster.serverSettings);
    printList("A fürt által nem továbbított utasítások", cluster.unreplicatedStatements);
    return !cluster.clusterNode;
}

} // namespace

int adminCheck(const QStringList &args)
{
    QCommandLineParser parser;
    AdminCli::addConnectionOptions(parser);
    int exitCode = AdminCli::Ok;
    if (!AdminCli::parse(
            parser, args,
            QStringLiteral("Egy élő nyilvántartás összevetése a server/ mappa szkriptjeivel: hiányzó "
                           "táblák, oszlopok, nézetek, nézetoszlopok, tárolt eljárások, elsődleges "
                           "kulcs nélküli táblák, hiányzó FULLTEXT kulcsok, hiányzó vagy megváltozott változásnyom-triggerek; fürt-csomóponton az is, hogy a nyilvántartás fürtön használható-e.\n"
                           "Az összevetéshez ideiglenes adatbázist hoz létre és töröl a "
                           "kiszolgálón.\n"
                           "Kilépési kód: 0, ha a nyilvántartás teljes; 1, ha valami hiányzik, "
                           "a nyilvántartás fürt-csomóponton a fürtre alkalmatlan, vagy hiba történt."),
            exitCode))
        return exitCode;

    const QString database = AdminCli::requiredDatabase(parser);
    if (database.isEmpty())
        return AdminCli::Usage;

    const ConnectionParams params = AdminCli::connectionParams(parser, false);
    Connection connection;
    AdminCli::connect(connection, params);
    const RegisterSchema::CheckReport report = RegisterSchema::check(connection, database);
    if (report.complete()) {
        AdminCli::out() << "A nyilvántartás teljes: " << database << "\n";
        const bool fit = printClusterReport(connection, database);
        AdminCli::out().flush();
        return fit ? AdminCli::Ok : AdminCli::Failure;
    }
    AdminCli::out() << "A nyilvántartás hiányos: " << database << "\n";
    printList("Hiányzó táblák", report.missingTables);
    printList("Hiányzó oszlopok", report.missingColumns);
    printList("Hiányzó nézetek", report.missingViews);
    printList("Hiányzó nézetoszlopok", report.missingViewColumns);
    printList("Hibás (nem olvasható) nézetek", report.invalidViews);
    printList("Hiányzó tárolt eljárások és függvények", report.missingRoutines);
    printList("Elsődleges kulcs nélküli táblák", report.tablesWithoutPrimaryKey);
    printList("Hiányzó FULLTEXT kulcsok", report.missingFulltextKeys);
    printList("Hiányzó változásnyom-triggerek", report.missingTriggers);
    printList("Megváltozott változásnyom-triggerek és -eljárások", report.changedTriggers);
    printClusterReport(connection, database);
    AdminCli::out().flush();
    return AdminCli::Failure;
}
