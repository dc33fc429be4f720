// korvena-admin backup and restore-check: the program's script backup from the
// command line, and proof that a backup file gives the live register back.
#include "AdminCli.h"

#include "core/DatabaseBackup.h"
#include "core/RegisterSchema.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <unistd.h>

namespace {

bool onTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

// One line on the terminal, rewritten in place; nothing when stderr is a file or a pipe.
void showProgress(const QString &text)
{
    if (!onTerminal())
        return;
    AdminCli::err() << "\r" << text.leftJustified(70).left(79);
    AdminCli::err().flush();
}

void endProgress()
{
    if (!onTerminal())
        return;
    AdminCli::err() << "\r" << QString(79, QLatin1Char(' ')) << "\r";
    AdminCli::err().flush();
}

QString quoted(const QString &name)
{
    return QLatin1Char('`') + name + QLatin1Char('`');
}

// Drops the scratch database however the check ends.
struct ScratchDatabase
{
    Connection &connection;
    QString name;
    ~ScratchDatabase()
    {
        try {
            connection.exec(QStringLiteral("DROP DATABASE IF EXISTS ") + quoted(name));
        } catch (const KorvenaError &e) {
            AdminCli::err() << "Figyelmeztetés: az ideiglenes adatbázis (" << name
                            << ") nem törölhető: " << e.text() << "\n";
            AdminCli::err().flush();
        }
    }
};

} // namespace

int adminBackup(const QStringList &args)
{
    QCommandLineParser parser;
    AdminCli::addConnectionOptions(parser);
    parser.addOption(
        {QStringLiteral("format"),
         QStringLiteral("script: SQL szkript (.sql); zip: a szkript tömörítve (.zip). Alapérték: "
                        "a kimeneti fájl kiterjesztése szerint."),
         QStringLiteral("formátum")});
    parser.addOption({QStringLiteral("output"), QStringLiteral("A mentés fájlja."), QStringLiteral("fájl")});
    int exitCode = AdminCli::Ok;
    if (!AdminCli::parse(
            parser, args,
            QStringLiteral("Biztonsági mentés egy nyilvántartásról, ugyanabban a formában, mint a "
                           "program Tárhelyek ablaka: táblánként TRUNCATE és INSERT IGNORE.\n"
                           "A sorokat egyenként olvassa, így a nagy nyilvántartás mentése sem "
                           "foglal sok memóriát."),
            exitCode))
        return exitCode;

    const QString database = AdminCli::requiredDatabase(parser);
    if (database.isEmpty())
        return AdminCli::Usage;
    QString output = parser.value(QStringLiteral("output"));
    if (output.isEmpty()) {
        AdminCli::err() << "Hiba: meg kell adni a mentés fájlját (--output).\n";
        AdminCli::err().flush();
        return AdminCli::Usage;
    }
    const QString format = parser.value(QStringLiteral("format")).toLower();
    const bool zipName = DatabaseBackup::isZipTarget(output);
    if (format == QLatin1String("zip") && !zipName) {
        output += QStringLiteral(".zip");
    } else if (format == QLatin1String("script") && zipName) {
        AdminCli::err() << "Hiba: a szkript formátumú mentés nem kaphat .zip kiterjesztést.\n";
        AdminCli::err().flush();
        return AdminCli::Usage;
    } else if (!format.isEmpty() && format != QLatin1String("zip") && format != QLatin1String("script")) {
        AdminCli::err() << "Hiba: ismeretlen formátum: " << format << " (script vagy zip).\n";
        AdminCli::err().flush();
        return AdminCli::Usage;
    }

    const ConnectionParams params = AdminCli::connectionParams(parser);
    {
        Connection probe; // a refusal reads better with the server named
        AdminCli::connect(probe, params);
    }
    const auto outcome = DatabaseBackup::scriptBackup(params, output, [](const DatabaseBackup::Progress &p) {
        if (p.tableIndex < p.tableCount)
            showProgress(QStringLiteral("Mentés: %1 (%2/%3), %4 sor")
                             .arg(p.table)
                             .arg(p.tableIndex + 1)
                             .arg(p.tableCount)
                             .arg(p.totalRows));
        return true;
    });
    endProgress();
    if (outcome != DatabaseBackup::Outcome::Written)
        return AdminCli::Failure;
    AdminCli::out() << "A mentés elkészült: " << QFileInfo(output).absoluteFilePath() << "\n";
    AdminCli::out().flush();
    return AdminCli::Ok;
}

int adminRestoreCheck(const QStringList &args)
{
    QCommandLineParser parser;
    AdminCli::addConnectionOptions(parser);
    parser.addPositionalArgument(QStringLiteral("fájl"), QStringLiteral("A mentés (.sql vagy .zip)."));
    int exitCode = AdminCli::Ok;
    if (!AdminCli::parse(
            parser, args,
            QStringLiteral("Egy mentés ellenőrzése: betölti egy ideiglenes adatbázisba ugyanazon "
                           "a kiszolgálón, táblánként összeveti a CHECKSUM TABLE értékét az élő "
                           "nyilvántartáséval, majd törli az ideiglenes adatbázist.\n"
                           "Kilépési kód: 0, ha minden tábla egyezik; 1 eltérés vagy hiba "
                           "esetén. (A mentés óta történt változás is eltérésnek számít.)"),
            exitCode, 1))
        return exitCode;
    const QString file = parser.positionalArguments().value(0);
    if (file.isEmpty()) {
        AdminCli::err() << "Hiba: meg kell adni a mentés fájlját.\n";
        AdminCli::err().flush();
        return AdminCli::Usage;
    }
    if (!QFileInfo(file).isFile()) {
        AdminCli::err() << "Hiba: a mentés nem található: " << file << "\n";
        AdminCli::err().flush();
        return AdminCli::Failure;
    }
    const QString database = AdminCli::requiredDatabase(parser);
    if (database.isEmpty())
        return AdminCli::Usage;

    const ConnectionParams params = AdminCli::connectionParams(parser);
    Connection live;
    AdminCli::connect(live, params);
    const QStringList tables = DatabaseBackup::tableNames(live);

    const QString scratchName =
        QStringLiteral("korvena_ellenorzes_%1").arg(QRandomGenerator::global()->bounded(1000000000));
    live.exec(QStringLiteral("CREATE DATABASE %1 CHARACTER SET latin2 COLLATE latin2_hungarian_ci")
                  .arg(quoted(scratchName)));
    ScratchDatabase scratch{live, scratchName};
    // The same tables, empty, so the checksums compare data and nothing else.
    for (const QString &t : tables)
        live.exec(QStringLiteral("CREATE TABLE %1.%2 LIKE %3.%2")
                      .arg(quoted(scratchName), quoted(t), quoted(database)));

    {
        ConnectionParams scratchParams = params;
        scratchParams.database = scratchName;
        Connection loader;
        AdminCli::connect(loader, scratchParams);
        DatabaseBackup::loadScript(loader, file, [](qint64 statements) {
            showProgress(QStringLiteral("Betöltés: %1 utasítás").arg(statements));
        });
        endProgress();
    }

    int width = 20;
    for (const QString &t : tables)
        width = qMax(width, int(t.size()) + 2);
    AdminCli::out() << QStringLiteral("Tábla").leftJustified(width)
                    << QStringLiteral("Élő").rightJustified(12)
                    << QStringLiteral("Mentésből").rightJustified(12) << "  Eredmény\n";
    int differences = 0;
    for (const QString &t : tables) {
        const QString a =
            live.query(QStringLiteral("CHECKSUM TABLE %1.%2").arg(quoted(database), quoted(t))).text(0, 1);
        const QString b =
            live.query(QStringLiteral("CHECKSUM TABLE %1.%2").arg(quoted(scratchName), quoted(t))).text(0, 1);
        const bool same = a == b;
        differences += same ? 0 : 1;
        AdminCli::out() << t.leftJustified(width) << a.rightJustified(12) << b.rightJustified(12) << "  "
                        << (same ? "egyezik" : "ELTÉR") << "\n";
    }
    if (differences == 0)
        AdminCli::out() << "Minden tábla egyezik (" << tables.size() << " tábla).\n";
    else
        AdminCli::out() << "Eltérő táblák: " << differences << " / " << tables.size() << ".\n";
    AdminCli::out().flush();
    return differences == 0 ? AdminCli::Ok : AdminCli::Failure;
}
