// korvena-admin: creating, checking and filling registers from the command line.
#include "AdminCli.h"

#include <QCoreApplication>
#include <functional>

namespace {

struct Command
{
    const char *name;
    const char *summary;
    std::function<int(const QStringList &)> run;
};

const Command commands[] = {
    {"install", "Új nyilvántartás létrehozása a server/ mappa alapján.", adminInstall},
    {"check", "Egy élő nyilvántartás összevetése a server/ mappával.", adminCheck},
    {"verify", "A változásnyom (hash-lánc) ellenőrzése és a lánc fejének kiírása.", adminVerify},
    {"demo", "Nyilvántartás feltöltése bemutató adatokkal.", adminDemo},
    {"profile", "Kapcsolati profil felvétele egy helyi beállítófájlba.", adminProfile},
    {"backup", "Biztonsági mentés (SQL szkript vagy ZIP) egy nyilvántartásról.", adminBackup},
    {"restore-check", "Egy mentés visszatöltése próbaképp és összevetése az élő nyilvántartással.",
     adminRestoreCheck},
};

int usage(QTextStream &s)
{
    s << "Korvena iktatás – adminisztrációs eszköz\n\n"
      << "Használat: korvena-admin <parancs> [kapcsolók]\n\nParancsok:\n";
    for (const Command &c : commands)
        s << "  " << QString::fromLatin1(c.name).leftJustified(15) << QString::fromUtf8(c.summary) << "\n";
    s << "\nA parancsok kapcsolói: korvena-admin <parancs> --help\n";
    s.flush();
    return AdminCli::Usage;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korvena-admin"));
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage(AdminCli::err());
    if (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h") || args[0] == QLatin1String("help")) {
        usage(AdminCli::out());
        return AdminCli::Ok;
    }
    for (const Command &c : commands) {
        if (args[0] == QLatin1String(c.name)) {
            try {
                return c.run(args);
            } catch (const KorvenaError &e) {
                AdminCli::err() << "Hiba: " << e.text() << "\n";
                AdminCli::err().flush();
                return AdminCli::Failure;
            } catch (const std::exception &e) {
                AdminCli::err() << "Hiba: " << QString::fromUtf8(e.what()) << "\n";
                AdminCli::err().flush();
                return AdminCli::Failure;
            }
        }
    }
    AdminCli::err() << "Ismeretlen parancs: " << args[0] << "\n\n";
    return usage(AdminCli::err());
}
