// Document editor benchmark, run by hand against a register filled by
// "korvena-admin demo --documents 100000":
//
//   document_editor_bench --port 3306 --user korvena --password korvena --database demo
//
// Registers --runs new incoming documents (they stay in the register) and prints the
// median of two times the user waits for: Ins to an editable editor (sp_iktato, the
// screen built, loaded and shown; the questions are the user's own time) and OK to
// the refreshed list (the UPDATE, the journal row, the document's row read and shown
// and the grid standing on it, painted), and OK until the rest of the list, read
// again behind the shown rows, has taken their place. On a register with the trail
// the UPDATE includes the trail row its trigger writes: drop the tr_*_nyom_* triggers
// (server/trail.sql puts them back) to see what they cost.
#include "BenchSupport.h"
#include "core/Login.h"
#include "core/Session.h"
#include "db/Connection.h"
#include "register/DocumentEdit.h"
#include "register/ui/DocumentEditor.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/DocumentListView.h"
#include "register/ui/FilterController.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTextStream>

#include <algorithm>

using bench::median;

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Document editor benchmark"));
    parser.addHelpOption();
    const bench::ServerOptions server(parser, 9);
    parser.process(app);

    const ConnectionParams params = server.params();
    Connection connection;
    connection.open(params);
    Connection::setCurrent(&connection);
    session().user.code = server.userCode();
    announceUser(connection, session().user); // the trail records saves as the program's
    session().settings.megjelenoAdatok = QString(17, QLatin1Char('I'));
    const int runCount = server.runs();

    DocumentListModel model;
    DocumentListView view;
    QLineEdit searchBox;
    view.resize(1400, 800);
    view.setDocumentModel(&model);
    view.show();
    FilterController list(&model, &view, &searchBox, &view);
    list.rebuild(0);
    while (model.isLoading())
        app.processEvents(QEventLoop::WaitForMoreEvents, 50);

    // A group of the user's, so the new documents are in the list.
    const int group = int(connection
                              .selectValue(QStringLiteral("SELECT MIN(csoport) FROM felhkod_csoport WHERE felhkod=") +
                                           QString::number(session().user.code))
                              .toInt());
    QTextStream out(stdout);
    out << "Register " << params.database << ", " << model.rowCount() << " documents listed, " << runCount
        << " runs (median)\n";
    QList<double> opening, saving, closing, standing;
    for (int run = 0; run <= runCount; ++run) {
        QElapsedTimer timer;
        timer.start();
        NewDocumentAnswers answers;
        answers.group = group;
        DocumentEditor editor(&view, DocumentEdit::create(answers, 0, session().user.code));
        editor.show();
        if (!QTest::qWaitForWindowExposed(&editor))
            return 1;
        const double opened = timer.nsecsElapsed() / 1e6;
        editor.findChild<QComboBox *>(QStringLiteral("targy"))->setCurrentText(QStringLiteral("Mérés %1").arg(run));

        timer.restart();
        editor.accept();
        const double saved = timer.nsecsElapsed() / 1e6;
        list.refreshChanged(editor.edit().key());
        view.viewport()->repaint();
        const double closed = timer.nsecsElapsed() / 1e6;
        if (list.currentDocument() != editor.edit().key()) {
            out << "the grid does not stand on the new document\n";
            return 1;
        }
        while (model.isLoading() || model.isRereading())
            app.processEvents(QEventLoop::WaitForMoreEvents, 20);
        const double stood = timer.nsecsElapsed() / 1e6;
        if (list.currentDocument() != editor.edit().key()) {
            out << "the list read again lost the new document\n";
            return 1;
        }
        if (run == 0)
            continue; // warms the caches
        opening << opened;
        saving << saved;
        closing << closed;
        standing << stood;
    }
    out << "Ins to an editable editor: " << median(opening) << " ms\n";
    out << "OK to the refreshed list:  " << median(closing) << " ms (of which the UPDATE and the journal row "
        << median(saving) << " ms)\n";
    out << "OK to the whole list read again, grid on the document: " << median(standing) << " ms\n";
    return 0;
}
