// korvena-admin demo: fills a register with demo documents and master data.
#include "AdminCli.h"

#include "demo/DemoData.h"

#include <QElapsedTimer>

namespace {

const int MaxDocuments = 10000000;

int numberOption(const QCommandLineParser &parser, const QString &name, qint64 low, qint64 high, bool &ok)
{
    const qint64 value = parser.value(name).toLongLong(&ok);
    ok = ok && value >= low && value <= high;
    if (!ok) {
        AdminCli::err() << "Érvénytelen érték: --" << name << " " << parser.value(name) << " (" << low
                        << " és " << high << " között lehet)\n";
        AdminCli::err().flush();
    }
    return int(value);
}

void printSummary(const DemoSummary &s, qint64 ms)
{
    QTextStream &o = AdminCli::out();
    o << "Kész (" << QString::number(double(ms) / 1000.0, 'f', 1) << " mp).\n"
      << "  Dokumentumok:        " << s.documents << " (törölt " << s.deleted << ", kölcsönadott " << s.lent
      << ", nyomtatásra jelölt " << s.marked << ")\n"
      << "  Figyelmeztetések:    " << s.reminders << " (ebből mára " << s.remindersToday << ")\n"
      << "  Napló sorok:         " << s.journalRows << "\n"
      << "  Csatolt file-ok:     " << s.attachments << "\n"
      << "  Másolatok:           " << s.copies << "\n"
      << "  Ügyfelek:            " << s.clients << " külső, " << s.internalClients << " belső\n"
      << "  Irányítószámok:      " << s.postalCodes << "\n"
      << "  Felhasználók:        " << s.users << " új\n"
      << "  Csoportok:           " << s.groups << "\n"
      << "  Főszámok:            " << s.mainNumbers << "\n"
      << "  Projektek:           " << s.projects << ", munkaszámok: " << s.workNumbers
      << ", típusok: " << s.types << ", egyéb csoportosítások: " << s.otherGroupings << "\n"
      << "  Státuszok:           " << s.statuses << " új\n"
      << "  Minta állományok:    " << s.sampleFiles.size()
      << (s.sampleFilesNote.isEmpty() ? QString() : QStringLiteral(" (") + s.sampleFilesNote + QLatin1Char(')'))
      << "\n";
    for (const DemoSampleFile &f : s.sampleFiles)
        o << "    " << f.originalName << " (" << f.document << ". dokumentum): keresőszó \"" << f.word << "\"\n";
    if (!s.sampleFiles.isEmpty())
        o << "  A szövegük beolvasása: korvena-admin index-attachments (ugyanazokkal a kapcsolókkal)\n";
    o << "Belépés: rendszergazda vagy " << DemoData::demoLogins().join(QStringLiteral(", "))
      << ", mindegyik jelszava: " << DemoData::demoPassword() << "\n";
    o.flush();
}

} // namespace

int adminDemo(const QStringList &args)
{
    QCommandLineParser parser;
    AdminCli::addConnectionOptions(parser);
    parser.addOption({QStringLiteral("documents"),
                      QStringLiteral("A létrehozandó dokumentumok száma (alapérték: 1000)."),
                      QStringLiteral("szám"), QStringLiteral("1000")});
    parser.addOption(
        {QStringLiteral("seed"),
         QStringLiteral("A véletlen adatok kezdőértéke; ugyanazzal az értékkel (ugyanazon a napon) "
                        "ugyanaz a nyilvántartás készül (alapérték: 1)."),
         QStringLiteral("szám"), QStringLiteral("1")});
    parser.addOption(
        {QStringLiteral("force"),
         QStringLiteral("Akkor is feltölti, ha már vannak benne dokumentumok. A bemutató adatok a "
                        "meglévők mellé kerülnek, a kulcsok és a sorszámozás folytatódik; semmi nem "
                        "törlődik.")});
    int exitCode = AdminCli::Ok;
    if (!AdminCli::parse(
            parser, args,
            QStringLiteral("Egy meglévő nyilvántartás feltöltése bemutató adatokkal: ügyfelek, "
                           "irányítószámok, felhasználók, csoportok, törzsadatok és több év "
                           "dokumentumai naplóval, mellékletekkel, másolatokkal. A legújabb dokumentumok közül néhányhoz "
                           "minden olvasható fajtából (PDF, beszkennelt PDF, kép, DOCX, ODT, szöveg) valódi "
                           "állomány is kerül a nyilvántartás tárolási mappájába (üres mentési útvonalnál a "
                           "KORVENA_DATA vagy az adatmappa Dok mappájába), szöveg nélkül: a "
                           "korvena-admin index-attachments olvassa be. Dokumentumot már "
                           "tartalmazó nyilvántartást csak a --force kapcsolóval tölt fel."),
            exitCode))
        return exitCode;

    bool ok = false;
    DemoOptions options;
    options.sampleFiles = true;
    options.documents = numberOption(parser, QStringLiteral("documents"), 0, MaxDocuments, ok);
    if (!ok)
        return AdminCli::Usage;
    options.seed = quint32(numberOption(parser, QStringLiteral("seed"), 0, 4294967295LL, ok));
    if (!ok)
        return AdminCli::Usage;
    const ConnectionParams params = AdminCli::connectionParams(parser);
    if (params.database.isEmpty()) {
        AdminCli::err() << "Meg kell adni a feltöltendő adatbázist: --database <név>\n";
        AdminCli::err().flush();
        return AdminCli::Usage;
    }

    Connection connection;
    try {
        connection.open(params);
    } catch (const DbError &e) {
        if (e.code() == 1049)
            throw KorvenaError(
                QStringLiteral("Nincs %1 nevű adatbázis a kiszolgálón (%2:%3). Új nyilvántartás: "
                               "korvena-admin install")
                    .arg(params.database, params.host)
                    .arg(params.port));
        throw KorvenaError(QStringLiteral("Nem sikerült kapcsolódni a kiszolgálóhoz (%1:%2): %3")
                               .arg(params.host)
                               .arg(params.port)
                               .arg(e.text()));
    }
    qint64 existing = 0;
    try {
        existing = DemoData::documentCount(connection);
        connection.selectValue(QStringLiteral("SELECT COUNT(*) FROM szamlalo"));
    } catch (const DbError &e) {
        throw KorvenaError(QStringLiteral("A(z) %1 adatbázis nem Korvena nyilvántartás, vagy hiányos (%2). "
                                          "Új nyilvántartás: korvena-admin install")
                               .arg(params.database, e.text()));
    }
    if (existing > 0 && !parser.isSet(QStringLiteral("force"))) {
        AdminCli::err() << "A(z) " << params.database << " nyilvántartásban már van " << existing
                        << " dokumentum; nem töltöm fel.\n"
                        << "A meglévők mellé a --force kapcsolóval kerülnek a bemutató adatok.\n";
        AdminCli::err().flush();
        return AdminCli::Failure;
    }

    AdminCli::out() << "Bemutató adatok: " << params.database << ", " << options.documents
                    << " dokumentum, kezdőérték " << options.seed << "\n";
    AdminCli::out().flush();
    DemoData demo(connection, options);
    int shownTenth = -1;
    demo.setProgress([&shownTenth](const QString &phase, int done, int total) {
        const int tenth = total > 0 ? int(qint64(done) * 10 / total) : 10;
        if (phase == QLatin1String("Dokumentumok") && tenth == shownTenth)
            return;
        if (phase == QLatin1String("Dokumentumok"))
            shownTenth = tenth;
        else if (done < total)
            return;
        AdminCli::out() << "  " << phase << ": " << done << "/" << total << "\n";
        AdminCli::out().flush();
    });
    QElapsedTimer timer;
    timer.start();
    const DemoSummary summary = demo.run();
    printSummary(summary, timer.elapsed());
    return AdminCli::Ok;
}
