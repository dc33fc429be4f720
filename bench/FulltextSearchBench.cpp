// The search half of fulltext_bench, run by hand against a register filled by
// "korvena-admin demo --documents 100000":
//
//   fulltext_bench search --port P --user U --password W --database NAME
//
// When the register has fewer attachment texts than documents, every document without
// one first gets a text of a few hundred words of Hungarian office vocabulary under an
// attachment key of its own (1 000 000 000 + its key, clear of real attachments), in
// batches. A few words are planted at known rates: "zúzmarás" in one text of 5000,
// "határozat" in about a third, "önkormányzat" and "közbeszerzés" in about one in ten.
//
// For a rare word, a common word and two words it prints the time from issuing the
// list query (the "Összes" tab, all years) to the first screen painted, with the
// attached files' text searched and without, as the main list runs them.
#include "BenchSupport.h"
#include "ListTiming.h"
#include "FulltextBench.h"
#include "core/Session.h"
#include "db/Connection.h"
#include "common/SqlText.h"
#include "db/DbHelpers.h"
#include "register/DocumentFilter.h"
#include "register/DocumentListQuery.h"
#include "register/TextSearch.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/DocumentListView.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QRandomGenerator>

namespace {

using bench::median;
using bench::out;

const QStringList &vocabulary()
{
    static const QStringList words = QStringLiteral(
        "tisztelt hivatal kérelem ügyfél számla levél szerződés melléklet beadvány iroda "
        "igazgató osztály vezető munkatárs határidő teljesítés fizetés összeg forint "
        "dátum aláírás pecsét tárgy hivatkozás ügyintéző telefon cím irányítószám utca "
        "város megye község kerület ingatlan helyrajzi szám tulajdonos bérlő bérbeadó "
        "megállapodás módosítás felmondás értesítés tájékoztatás válasz kérdés javaslat "
        "döntés engedély bejelentés nyilvántartás adat személyes védelem jogszabály "
        "rendelet törvény bekezdés pont alapján szerint valamint továbbá illetve azonban "
        "kérjük szíveskedjen megküldeni részére napon belül követően előtt után során "
        "pályázat támogatás beruházás fejlesztés felújítás építés terv költség ajánlat "
        "árajánlat megrendelés szállítás átvétel jegyzőkönyv helyszíni szemle ellenőrzés "
        "vizsgálat eredmény jelentés beszámoló költségvetés előirányzat kifizetés utalás "
        "bankszámla adószám cégjegyzék társaság korlátolt felelősségű betéti alapítvány "
        "egyesület egyház iskola óvoda kórház rendelő gyógyszertár könyvtár múzeum "
        "tanács bizottság közgyűlés ülés napirend előterjesztés meghívó emlékeztető "
        "köszönettel üdvözlettel tisztelettel budapest debrecen szeged pécs győr miskolc")
                                           .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return words;
}

QString documentText(QRandomGenerator &random)
{
    const QStringList &words = vocabulary();
    QStringList text;
    const int count = 150 + random.bounded(250);
    for (int i = 0; i < count; ++i)
        text << words.at(random.bounded(int(words.size())));
    auto plant = [&](const QString &word) { text[random.bounded(int(text.size()))] = word; };
    if (random.bounded(5000) == 0)
        plant(QStringLiteral("zúzmarás"));
    if (random.bounded(3) == 0)
        plant(QStringLiteral("határozat"));
    if (random.bounded(10) == 0)
        plant(QStringLiteral("önkormányzat"));
    if (random.bounded(10) == 0)
        plant(QStringLiteral("közbeszerzés"));
    return text.join(QLatin1Char(' '));
}

void fillTexts(Connection &connection)
{
    const qint64 texts = SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktato_szoveg"), 0);
    const qint64 documents = SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktato"), 0);
    if (texts >= documents)
        return;
    out() << "Filling iktato_szoveg: " << texts << " texts for " << documents << " documents\n";
    out().flush();
    QElapsedTimer timer;
    timer.start();
    const Dataset missing = connection.query(QStringLiteral(
        "SELECT i.iktato FROM iktato i WHERE NOT EXISTS "
        "(SELECT 1 FROM iktato_szoveg s WHERE s.iktato = i.iktato) ORDER BY 1"));
    QRandomGenerator random(20240611);
    constexpr int Batch = 250;
    for (int first = 0; first < missing.rowCount(); first += Batch) {
        QString sql = QStringLiteral("INSERT INTO iktato_szoveg (iktato_file, iktato, szoveg, modszer) VALUES ");
        const int last = qMin(first + Batch, missing.rowCount());
        for (int row = first; row < last; ++row) {
            const qint64 key = missing.toInt(row, 0, 0);
            if (row > first)
                sql += QLatin1Char(',');
            sql += QLatin1Char('(') + QString::number(1000000000 + key) + QLatin1Char(',') +
                   QString::number(key) + QLatin1Char(',') + SqlLiteral(documentText(random)) +
                   QStringLiteral(",'bench')");
        }
        connection.exec(sql);
        if ((first / Batch) % 40 == 0) {
            out() << "  " << last << "/" << missing.rowCount() << "\n";
            out().flush();
        }
    }
    out() << QStringLiteral("Filled in %1 s\n\n").arg(timer.nsecsElapsed() / 1e9, 0, 'f', 1);
}

struct Case
{
    QString name;
    QString sql;
};

} // namespace

int fulltextSearchBench(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Attachment text search benchmark"));
    parser.addHelpOption();
    const bench::ServerOptions server(parser, 3);
    parser.process(app);

    const ConnectionParams params = server.params();
    Connection connection;
    connection.open(params);
    Connection::setCurrent(&connection);
    session().user.code = server.userCode();
    const int runCount = server.runs();
    fillTexts(connection);

    DocumentFilter filter;
    filter.year = 0;
    filter.condition = filter.compose(AllDirections, session().user.code);
    QList<Case> cases;
    for (const QString &text : {QStringLiteral("zúzmarás"), QStringLiteral("határozat"),
                                QStringLiteral("önkormányzat közbeszerzés")}) {
        for (const bool inText : {true, false}) {
            DocumentListQuery query;
            query.setCondition(filter.condition + documentSearchPiece(text, inText));
            cases << Case{QLatin1Char('"') + text + QLatin1Char('"') +
                              (inText ? QStringLiteral(", files' text too") : QStringLiteral(", fields only")),
                          query.sql()};
        }
    }

    DocumentListModel model;
    DocumentListView view;
    view.resize(1400, 800);
    view.setDocumentModel(&model);
    view.show();

    out() << "Register " << params.database << ", user code " << session().user.code << ", "
          << SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktato_szoveg"), 0) << " texts, " << runCount
          << " runs per case (median)\n\n";
    for (const Case &c : cases) {
        QList<double> firstScreen, whole;
        qint64 rows = 0;
        for (int run = 0; run <= runCount; ++run) {
            // Run 0 warms the server's caches and is not counted.
            const bench::ListTiming t = bench::timeListReading(app, model, view, params, c.sql);
            if (run == 0)
                continue;
            firstScreen << t.firstScreen;
            whole << t.whole;
            rows = model.dataset().rowCount();
        }
        out() << c.name << ": " << rows << " rows\n";
        out() << QStringLiteral("  first screen painted: %1 s (goal 0.300)\n").arg(median(firstScreen), 0, 'f', 3);
        out() << QStringLiteral("  whole list in the model: %1 s\n\n").arg(median(whole), 0, 'f', 3);
        out().flush();
    }
    return 0;
}
