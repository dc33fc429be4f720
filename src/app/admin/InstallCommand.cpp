// korvena-admin install: a new, empty register from the server/ scripts.
#include "AdminCli.h"

#include "core/RegisterSchema.h"

#include <QDir>

int adminInstall(const QStringList &args)
{
    QCommandLineParser parser;
    AdminCli::addConnectionOptions(parser);
    int exitCode = AdminCli::Ok;
    if (!AdminCli::parse(
            parser, args,
            QStringLiteral("Új nyilvántartás (adatbázis) létrehozása a server/ mappa szkriptjeiből: "
                           "táblák, nézetek, tárolt eljárások és a kezdő adatok.\n"
                           "A beépített rendszergazda: rendszergazda, jelszava: pirkalo."),
            exitCode))
        return exitCode;

    const QString database = AdminCli::requiredDatabase(parser);
    if (database.isEmpty())
        return AdminCli::Usage;

    const ConnectionParams params = AdminCli::connectionParams(parser, false);
    Connection connection;
    AdminCli::connect(connection, params);
    RegisterSchema::install(connection, database);
    AdminCli::out() << "A nyilvántartás elkészült: " << database << " (" << params.host << ":" << params.port
                    << ").\n";
    AdminCli::out().flush();
    return AdminCli::Ok;
}
