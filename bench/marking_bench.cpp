// Print-mark benchmark, run by hand against a register filled by
// "korvena-admin demo --documents 100000":
//
//   marking_bench --port 3306 --user korvena --password korvena --database demo
//
// Opens the "Összes" list with all years in a shown grid, then presses the
// mark key (the main window's handler code) on consecutive rows and prints the
// median and the slowest key press, next to one re-read of the same list for
// comparison. The marks it sets are cleared again on the rows it touched.
#include "BenchSupport.h"
#include "core/Session.h"
#include "db/Connection.h"
#include "register/DocumentFilter.h"
#include "register/DocumentListQuery.h"
#include "register/Marking.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/DocumentListView.h"
#include "register/ui/ListMarking.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>

using bench::out;

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Print-mark benchmark"));
    parser.addHelpOption();
    const bench::ServerOptions server(parser);
    const QCommandLineOption presses(QStringLiteral("presses"), QStringLiteral("Key presses measured."),
                                     QStringLiteral("n"), QStringLiteral("200"));
    parser.addOption(presses);
    parser.process(app);

    const ConnectionParams params = server.params();
    Connection connection;
    connection.open(params);
    Connection::setCurrent(&connection);
    session().user.code = server.userCode();
    const int pressCount = qMax(1, parser.value(presses).toInt());

    DocumentFilter filter;
    filter.year = 0;
    filter.condition = filter.compose(AllDirections, session().user.code);
    DocumentListQuery query;
    query.setCondition(filter.condition);

    DocumentListModel model;
    DocumentListView view;
    view.resize(1400, 800);
    view.setDocumentModel(&model);
    view.show();

    const auto reread = [&] {
        model.reload([&](Dataset &data) {
            connection.query(query.sql(), data);
            applyDocumentLabels(data, session().settings);
        });
        app.processEvents();
    };
    QElapsedTimer timer;
    timer.start();
    reread();
    const double rereadSeconds = timer.nsecsElapsed() / 1e9;
    const int rows = model.rowCount();
    out() << "Register " << params.database << ": " << rows << " rows in the list\n";
    if (rows < 2)
        return 1;

    // Every press is timed from the key to a repainted grid; the row it leaves is remembered to undo it.
    QList<double> times;
    QList<QPair<qint64, QByteArray>> touched;
    const Dataset &data = model.dataset();
    const int keyCol = data.fieldIndex(u"iktato");
    const int markCol = data.fieldIndex(u"nyomtatni");
    view.moveToDatasetRow(model.datasetRow(0));
    app.processEvents();
    for (int i = 0; i < pressCount && i + 1 < rows; ++i) {
        const int row = data.current();
        touched.append({data.toInt(row, keyCol), data.raw(row, markCol).toByteArray()});
        timer.restart();
        ToggleMarkInList(model, view);
        app.processEvents();
        times << timer.nsecsElapsed() / 1e6;
    }
    for (const auto &[document, flag] : std::as_const(touched))
        Marking::setMark(document, QString::fromLatin1(flag.isEmpty() ? QByteArray("N") : flag));

    std::sort(times.begin(), times.end());
    out() << QStringLiteral("Mark key, %1 presses: median %2 ms, p90 %3 ms, slowest %4 ms\n")
                 .arg(times.size())
                 .arg(times[times.size() / 2], 0, 'f', 2)
                 .arg(times[int(times.size() * 0.9)], 0, 'f', 2)
                 .arg(times.last(), 0, 'f', 2);
    out() << QStringLiteral("One re-read of the same list (what each press would cost otherwise): %1 ms\n")
                 .arg(rereadSeconds * 1000, 0, 'f', 1);
    return 0;
}
