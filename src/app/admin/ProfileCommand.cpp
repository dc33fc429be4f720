#include "AdminCli.h"

#include "core/ConnectionProfile.h"
#include "core/IniFile.h"

int adminProfile(const QStringList &args)
{
    QCommandLineParser parser;
    AdminCli::addConnectionOptions(parser);
    parser.addOption({QStringLiteral("ini"), QStringLiteral("A helyi beállítófájl (Korvena.ini) útvonala."),
                      QStringLiteral("fájl")});
    parser.addOption({QStringLiteral("name"), QStringLiteral("Az adatbázis megjelenített neve."),
                      QStringLiteral("név")});
    int exitCode = 0;
    if (!AdminCli::parse(parser, args,
                         QStringLiteral("Kapcsolati profil felvétele egy helyi beállítófájlba (ha még nincs benne)."),
                         exitCode))
        return exitCode;
    const QString ini = parser.value(QStringLiteral("ini"));
    const QString name = parser.value(QStringLiteral("name"));
    const ConnectionParams p = AdminCli::connectionParams(parser);
    if (ini.isEmpty() || name.isEmpty() || p.database.isEmpty()) {
        AdminCli::err() << "Az --ini, a --name és a --database megadása kötelező.\n";
        return AdminCli::Usage;
    }
    const QString line = profileLine(p.database, p.host, QString::number(p.port), p.user, p.password, name);
    IniFile file(ini);
    for (const ProfileChoice &c : profileChoices(file)) {
        if (c.line == line) {
            AdminCli::out() << "A profil már szerepel: ConStr" << c.number << "\n";
            return AdminCli::Ok;
        }
    }
    const int n = storeNewProfile(file, line);
    AdminCli::out() << "A profil felvéve: ConStr" << n << "\n";
    return AdminCli::Ok;
}
