// Document list benchmark, run by hand against a register filled by
// "korvena-admin demo --documents 100000":
//
//   document_list_bench --port 3306 --user korvena --password korvena --database demo
//
// For the "Összes" tab with all years and for a two-word search it prints the
// time from issuing the list query to the first screen painted, to the whole
// list in the model (rows streaming in while the event loop runs), the time the
// mariadb client needs for the same SQL in the same run, the memory the list
// holds and the bytes of the result.
#include "BenchSupport.h"
#include "ListTiming.h"
#include "core/Session.h"
#include "db/Connection.h"
#include "register/DocumentFilter.h"
#include "register/DocumentListQuery.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/DocumentListView.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QProcess>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {

using bench::clientSeconds;
using bench::median;
using bench::out;

qint64 resultBytes(const Dataset &data)
{
    qint64 bytes = 0;
    for (int r = 0; r < data.rowCount(); ++r)
        for (int c = 0; c < data.fieldCount(); ++c)
            bytes += data.raw(r, c).size();
    return bytes;
}

struct Case
{
    QString name;
    QString sql;
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Document list benchmark"));
    parser.addHelpOption();
    const bench::ServerOptions server(parser, 3);
    const QCommandLineOption search(QStringLiteral("search"), QStringLiteral("The two-word search text."),
                                    QStringLiteral("text"), QStringLiteral("kft 2024"));
    parser.addOption(search);
    parser.process(app);

    const ConnectionParams params = server.params();
    Connection connection;
    connection.open(params);
    Connection::setCurrent(&connection);
    session().user.code = server.userCode();
    const int runCount = server.runs();

    // The list as the "Összes" tab with all years leaves it.
    DocumentFilter filter;
    filter.year = 0;
    filter.condition = filter.compose(AllDirections, session().user.code);
    DocumentListQuery all;
    all.setCondition(filter.condition);
    DocumentListQuery searched;
    searched.setCondition(filter.condition + documentSearchPiece(parser.value(search)));
    const QList<Case> cases = {
        {QStringLiteral("Összes, minden év"), all.sql()},
        {QStringLiteral("Keresés \"") + parser.value(search) + QLatin1Char('"'), searched.sql()}};

    DocumentListModel model;
    DocumentListView view;
    view.resize(1400, 800);
    view.setDocumentModel(&model);
    view.show();

    out() << "Register " << params.database << ", user code " << session().user.code << ", " << runCount
          << " runs per case (median)\n\n";
    for (const Case &c : cases) {
        QList<double> firstScreen, whole, client;
        qint64 memory = 0, bytes = 0, rows = 0;
        for (int run = 0; run <= runCount; ++run) {
            // Run 0 warms the server's caches and is not counted.
            const bench::ListTiming t = bench::timeListReading(app, model, view, params, c.sql);
            const double viaClient = clientSeconds(params, c.sql);
            if (run == 0)
                continue;
            firstScreen << t.firstScreen;
            whole << t.whole;
            client << viaClient;
            memory = model.dataset().memoryBytes();
            bytes = resultBytes(model.dataset());
            rows = model.dataset().rowCount();
        }
        const double f = median(firstScreen), w = median(whole), m = median(client);
        out() << c.name << ": " << rows << " rows\n";
        out() << QStringLiteral("  first screen painted: %1 s\n").arg(f, 0, 'f', 3);
        out() << QStringLiteral("  whole list in the model: %1 s\n").arg(w, 0, 'f', 3);
        out() << QStringLiteral("  mariadb --compress -e, same SQL: %1 s   ratio %2\n")
                     .arg(m, 0, 'f', 3)
                     .arg(m > 0 ? w / m : 0, 0, 'f', 2);
        out() << QStringLiteral("  dataset memory: %1 MB, result bytes: %2 MB   ratio %3\n")
                     .arg(memory / 1048576.0, 0, 'f', 1)
                     .arg(bytes / 1048576.0, 0, 'f', 1)
                     .arg(bytes > 0 ? double(memory) / double(bytes) : 0, 0, 'f', 2);
        out() << "\n";
        out().flush();
    }
    return 0;
}
