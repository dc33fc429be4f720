// Export benchmark, run by hand against a register filled by
// "korvena-admin demo --documents 100000":
//
//   export_bench --port 3306 --user korvena --password korvena --database demo [--keep folder]
//
// For the main list ("Összes" tab, all years) it times the delimited text and
// the spreadsheet written from the list, and the mariadb client writing the same
// SQL's rows to a file. Each figure is the median of the runs: "write" is the
// writer alone, "query+write" adds reading the list. The spreadsheet format holds
// 16 383 data rows, so its case reads that many rows (LIMIT) on both sides.
#include "BenchSupport.h"
#include "core/Session.h"
#include "db/Connection.h"
#include "output/BiffWriter.h"
#include "output/DelimitedText.h"
#include "register/DocumentFilter.h"
#include "register/DocumentListQuery.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {

using bench::clientSeconds;
using bench::median;
using bench::out;

QList<int> allColumns(const Dataset &data)
{
    QList<int> cols;
    for (int c = 0; c < data.fieldCount(); ++c)
        cols << c;
    return cols;
}

struct Figures
{
    QList<double> query, write, client;
    qint64 rows = 0, bytes = 0, clientBytes = 0;
};

void report(const QString &name, const Figures &f)
{
    const double q = median(f.query), w = median(f.write), m = median(f.client);
    out() << name << ": " << f.rows << " rows, " << QString::number(f.bytes / 1048576.0, 'f', 1)
          << " MB (client file " << QString::number(f.clientBytes / 1048576.0, 'f', 1) << " MB)\n";
    out() << QStringLiteral("  write: %1 s   query+write: %2 s   mariadb -e > file: %3 s\n")
                 .arg(w, 0, 'f', 3)
                 .arg(q + w, 0, 'f', 3)
                 .arg(m, 0, 'f', 3);
    out() << QStringLiteral("  ratio write/client %1, query+write/client %2\n\n")
                 .arg(m > 0 ? w / m : 0, 0, 'f', 2)
                 .arg(m > 0 ? (q + w) / m : 0, 0, 'f', 2);
    out().flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Export benchmark"));
    parser.addHelpOption();
    const bench::ServerOptions server(parser, 3);
    const QCommandLineOption keep(QStringLiteral("keep"), QStringLiteral("Folder to leave the written files in."),
                                  QStringLiteral("folder"));
    parser.addOption(keep);
    parser.process(app);

    const ConnectionParams params = server.params();
    Connection connection;
    connection.open(params);
    Connection::setCurrent(&connection);
    session().user.code = server.userCode();
    const int runCount = server.runs();

    QTemporaryDir temp;
    const QString folder = parser.isSet(keep) ? parser.value(keep) : temp.path();

    DocumentFilter filter;
    filter.year = 0;
    filter.condition = filter.compose(AllDirections, session().user.code);
    DocumentListQuery list;
    list.setCondition(filter.condition);
    const QString allSql = list.sql();
    QString limitedSql = allSql;
    limitedSql.chop(1); // the order line's ";"
    limitedSql += QStringLiteral(" LIMIT %1;").arg(BiffWriter::MaxDataRows);

    out() << "Register " << params.database << ", user code " << session().user.code << ", " << runCount
          << " runs per case (median)\n\n";

    const auto measure = [&](const QString &sql, const QString &fileName, auto write) {
        Figures f;
        const QString file = folder + QLatin1Char('/') + fileName;
        const QString clientFile = folder + QStringLiteral("/client.txt");
        for (int run = 0; run <= runCount; ++run) {
            Dataset data;
            QElapsedTimer timer;
            timer.start();
            connection.query(sql, data);
            applyDocumentLabels(data, session().settings);
            const double q = timer.nsecsElapsed() / 1e9;
            timer.restart();
            write(data, file);
            const double w = timer.nsecsElapsed() / 1e9;
            const double m = clientSeconds(params, sql, clientFile);
            if (run == 0)
                continue; // warms the server's caches
            f.query << q;
            f.write << w;
            f.client << m;
            f.rows = data.rowCount();
            f.bytes = QFileInfo(file).size();
            f.clientBytes = QFileInfo(clientFile).size();
        }
        return f;
    };

    report(QStringLiteral("Delimited text (all fields, labels, \";\")"),
           measure(allSql, QStringLiteral("Iktato.csv"), [](Dataset &data, const QString &file) {
               DelimitedOptions o;
               o.columns = allColumns(data);
               writeWholeFile(file, buildDelimitedText(data, o, [](int, int) { return true; }).lines);
           }));
    report(QStringLiteral("Spreadsheet (all fields)"),
           measure(limitedSql, QStringLiteral("Iktato.xls"), [](Dataset &data, const QString &file) {
               BiffWriter::writeFile(&data, allColumns(data), file, [](int, int) { return true; });
           }));
    return 0;
}
