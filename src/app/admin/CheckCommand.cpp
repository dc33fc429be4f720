// korvena-admin check: does a live register hold everything server/ creates?
#include "AdminCli.h"

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

} // namespace

int adminCheck(const QStringList &args)
{
    QCommandLineParser parser;
    AdminCli::addConnectionOptions(parser);
    int exitCode = AdminCli::Ok;
    if (!AdminCli::parse(
            parser, args,
            QStringLiteral("Egy élő nyilvántartás összevetése a server/ mappa szkriptjeivel: hiányzó "
                           "táblák, oszlopok, nézetek, nézetoszlopok, tárolt eljárások és elsődleges "
                           "kulcs nélküli táblák.\n"
                           "Az összevetéshez ideiglenes adatbázist hoz létre és töröl a "
                           "kiszolgálón.\n"
                           "Kilépési kód: 0, ha a nyilvántartás teljes; 1, ha valami hiányzik "
                           "vagy hiba történt."),
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
        AdminCli::out().flush();
        return AdminCli::Ok;
    }
    AdminCli::out() << "A nyilvántartás hiányos: " << database << "\n";
    printList("Hiányzó táblák", report.missingTables);
    printList("Hiányzó oszlopok", report.missingColumns);
    printList("Hiányzó nézetek", report.missingViews);
    printList("Hiányzó nézetoszlopok", report.missingViewColumns);
    printList("Hibás (nem olvasható) nézetek", report.invalidViews);
    printList("Hiányzó tárolt eljárások és függvények", report.missingRoutines);
    printList("Elsődleges kulcs nélküli táblák", report.tablesWithoutPrimaryKey);
    AdminCli::out().flush();
    return AdminCli::Failure;
}
