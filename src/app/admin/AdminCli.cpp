#include "AdminCli.h"

#include "core/RegisterSchema.h"

#include <QCoreApplication>
#include <cstdio>

namespace AdminCli {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

void addConnectionOptions(QCommandLineParser &parser)
{
    parser.addOption({QStringLiteral("host"), QStringLiteral("A kiszolgáló neve vagy IP címe (alapérték: 127.0.0.1)."),
                      QStringLiteral("gép"), QStringLiteral("127.0.0.1")});
    parser.addOption({QStringLiteral("port"), QStringLiteral("A kiszolgáló portja (alapérték: 3306)."),
                      QStringLiteral("port"), QStringLiteral("3306")});
    parser.addOption({QStringLiteral("user"), QStringLiteral("Felhasználó a kiszolgálón."), QStringLiteral("név"),
                      QStringLiteral("root")});
    parser.addOption({QStringLiteral("password"), QStringLiteral("Jelszó a kiszolgálón."), QStringLiteral("jelszó")});
    parser.addOption({QStringLiteral("database"), QStringLiteral("Az adatbázis (nyilvántartás) neve."),
                      QStringLiteral("név")});
}

bool parse(QCommandLineParser &parser, const QStringList &args, const QString &description, int &exitCode,
           int positionalArguments)
{
    parser.setApplicationDescription(description);
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Ez a súgó.")});
    QStringList argv = args;
    argv[0] = QStringLiteral("korvena-admin ") + args[0];
    if (!parser.parse(argv)) {
        err() << "Hibás paraméter: " << parser.errorText() << "\n"
              << "Súgó: korvena-admin " << args[0] << " --help\n";
        err().flush();
        exitCode = Usage;
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        QString help = parser.helpText();
        // The parser names the program by its path; the command reads better.
        const QString program = QCoreApplication::arguments().value(0);
        if (!program.isEmpty())
            help.replace(program, QStringLiteral("korvena-admin ") + args[0]);
        help.replace(QStringLiteral("Usage:"), QStringLiteral("Használat:"));
        help.replace(QStringLiteral("Options:"), QStringLiteral("Kapcsolók:"));
        help.replace(QStringLiteral("[options]"), QStringLiteral("[kapcsolók]"));
        out() << help;
        out().flush();
        exitCode = Ok;
        return false;
    }
    if (parser.positionalArguments().size() > positionalArguments) {
        err() << "Ismeretlen paraméter: " << parser.positionalArguments().value(positionalArguments) << "\n";
        err().flush();
        exitCode = Usage;
        return false;
    }
    return true;
}

ConnectionParams connectionParams(const QCommandLineParser &parser, bool withDatabase)
{
    ConnectionParams p;
    p.host = parser.value(QStringLiteral("host"));
    bool ok = false;
    p.port = parser.value(QStringLiteral("port")).toUInt(&ok);
    if (!ok || p.port == 0 || p.port > 65535)
        throw KorvenaError(QStringLiteral("Érvénytelen port: ") + parser.value(QStringLiteral("port")));
    p.user = parser.value(QStringLiteral("user"));
    p.password = parser.value(QStringLiteral("password"));
    if (withDatabase)
        p.database = parser.value(QStringLiteral("database"));
    return p;
}

QString requiredDatabase(const QCommandLineParser &parser)
{
    const QString database = parser.value(QStringLiteral("database"));
    if (database.isEmpty()) {
        err() << "Hiba: meg kell adni az adatbázis nevét (--database).\n";
        err().flush();
        return {};
    }
    RegisterSchema::checkDatabaseName(database);
    return database;
}

void connect(Connection &connection, const ConnectionParams &params)
{
    try {
        connection.open(params);
    } catch (const DbError &e) {
        throw KorvenaError(QStringLiteral("Nem sikerült kapcsolódni a kiszolgálóhoz (%1:%2): %3")
                               .arg(params.host)
                               .arg(params.port)
                               .arg(e.text()));
    }
}

} // namespace AdminCli
