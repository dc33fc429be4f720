// korvena-admin verify: is the register's trail whole, and do the documents hold what it says?
#include "AdminCli.h"

#include "core/TrailVerifier.h"

int adminVerify(const QStringList &args)
{
    QCommandLineParser parser;
    AdminCli::addConnectionOptions(parser);
    parser.addOption({QStringLiteral("head"),
                      QStringLiteral("Egy korábban kiírt lánc-fej (SORSZÁM:HASH): a nyom addig a sorig nem "
                                     "változhatott."),
                      QStringLiteral("SORSZÁM:HASH")});
    int exitCode = AdminCli::Ok;
    if (!AdminCli::parse(
            parser, args,
            QStringLiteral("A nyilvántartás változásnyomának (iktato_nyom) ellenőrzése: a hash-lánc sorai "
                           "hiánytalanok és változatlanok-e, és az iratok, csatolt fájlok mai értékei "
                           "megegyeznek-e azzal, amit a nyom mond róluk. Kiírja az első hibát, vagy siker "
                           "esetén a lánc fejét (SORSZÁM:HASH), amelyet a kiszolgálón kívül érdemes őrizni.\n"
                           "Kilépési kód: 0, ha a nyom ép; 1, ha nem, vagy hiba történt."),
            exitCode))
        return exitCode;

    const QString database = AdminCli::requiredDatabase(parser);
    if (database.isEmpty())
        return AdminCli::Usage;
    TrailVerifier::Head expected;
    const bool withHead = parser.isSet(QStringLiteral("head"));
    if (withHead && !TrailVerifier::parseHead(parser.value(QStringLiteral("head")), expected)) {
        AdminCli::err() << "Hibás lánc-fej: " << parser.value(QStringLiteral("head"))
                        << " (alakja: SORSZÁM:HASH, a HASH 64 hexadecimális jegy).\n";
        AdminCli::err().flush();
        return AdminCli::Usage;
    }

    const ConnectionParams params = AdminCli::connectionParams(parser);
    Connection trail;
    Connection rows;
    AdminCli::connect(trail, params);
    AdminCli::connect(rows, params);
    const TrailVerifier::Result result = TrailVerifier::verify(trail, rows, withHead ? &expected : nullptr);
    if (!result.ok) {
        AdminCli::out() << "A változásnyom NEM ép: " << database << "\n" << result.problem << "\n";
        AdminCli::out().flush();
        return AdminCli::Failure;
    }
    AdminCli::out() << "A változásnyom ép: " << database << ", " << result.head.count << " sor"
                    << (withHead ? QStringLiteral(", a megadott fejjel együtt") : QString()) << ".\n"
                    << "A lánc feje:\n"
                    << TrailVerifier::headText(result.head) << "\n"
                    << "Őrizze meg ezt a sort a kiszolgálón kívül (nyomtatott lista, mentési napló, "
                       "feljegyzés): később a --head kapcsolóval igazolható, hogy a nyom addig a sorig nem "
                       "változott.\n";
    AdminCli::out().flush();
    return AdminCli::Ok;
}
