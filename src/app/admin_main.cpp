// korvena-admin: creating, checking and filling registers from the command line.
#include "AdminCli.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>
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
    {"index-attachments", "A csatolt állományok szövegének beolvasása a tartalomkereséshez.",
     adminIndexAttachments},
};

int usage(QTextStream &s)
{
    s << "Korvena iktatás – adminisztrációs eszköz\n\n"
      << "Használat: korvena-admin <parancs> [kapcsolók]\n\nParancsok:\n";
    for (const Command &c : commands)
        s << "  " << QString::fromLatin1(c.name).leftJustified(19) << QString::fromUtf8(c.summary) << "\n";
    s << "\nA parancsok kapcsolói: korvena-admin <parancs> --help\n";
    s.flush();
    return AdminCli::Usage;
}

} // namespace

int main(int argc, char *argv[])
{
    // The demo draws its sample files' text, which takes a GUI application; the
    // offscreen platform needs no display. The other commands stay without one.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && qstrcmp(argv[1], "demo") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("korvena-admin"));
    const QStringList args = QCoreApplication::arguments().mid(1);
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
