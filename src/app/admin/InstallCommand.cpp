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

    const QString database = parser.value(QStringLiteral("database"));
    if (database.isEmpty()) {
        AdminCli::err() << "Hiba: meg kell adni az adatbázis nevét (--database).\n";
        AdminCli::err().flush();
        return AdminCli::Usage;
    }
    RegisterSchema::checkDatabaseName(database);

    const ConnectionParams params = AdminCli::connectionParams(parser, false);
    Connection connection;
    try {
        connection.open(params);
    } catch (const DbError &e) {
        throw KorvenaError(QStringLiteral("Nem sikerült kapcsolódni a kiszolgálóhoz (%1:%2): %3")
                               .arg(params.host)
                               .arg(params.port)
                               .arg(e.text()));
    }
    RegisterSchema::install(connection, database);
    AdminCli::out() << "A nyilvántartás elkészült: " << database << " (" << params.host << ":" << params.port
                    << ", szkriptek: " << QDir::toNativeSeparators(RegisterSchema::serverDir()) << ").\n";
    AdminCli::out().flush();
    return AdminCli::Ok;
}
