#include "app/ActionWiring.h"

#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"
#include "common/Clock.h"
#include "common/ui/InputDialogs.h"
#include "core/AppFolders.h"
#include "core/Session.h"
#include "masterdata/ui/Pickers.h"
#include "output/report/LabelSettings.h"
#include "output/report/ReportData.h"
#include "output/report/Reports.h"
#include "output/ui/BarcodeDialog.h"
#include "output/ui/EnvelopeChoice.h"
#include "output/ui/ReportOutput.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/DocumentListView.h"
#include "register/ui/FilterController.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <memory>

namespace {

// The text of the main window's title panel: the open database's name.
QString connectionName(MainWindow *w)
{
    const auto *panel = w->findChild<QLabel *>(QStringLiteral("lblAdatbazis"));
    return panel ? panel->text() : QString();
}

bool markedOnly(MainWindow *w)
{
    const QAction *a = w->actionCatalogue().action(QStringLiteral("aNyomniSzur"));
    return a && a->isChecked();
}

// The current row's display text of a list field; empty on an empty list.
QString currentText(MainWindow *w, QStringView field)
{
    const Dataset &rows = w->listModel()->dataset();
    const int col = rows.fieldIndex(field);
    if (rows.current() < 0 || col < 0)
        return {};
    return rows.displayText(rows.current(), col);
}

// The sender's logo: "Logo.bmp" in the program folder, or a PNG beside it.
QImage senderLogo()
{
    const QString folder = AppFolders::current().programFolder;
    for (const QString &name : {QStringLiteral("/Logo.bmp"), QStringLiteral("/Logo.png")})
        if (QFileInfo::exists(folder + name))
            return QImage(folder + name);
    return {};
}

// Prints the whole list as it shows it (the marked-only view too); the grid
// follows the row an export leaves the list on.
void printList(MainWindow *w, const ReportLayout &layout)
{
    const std::shared_ptr<Dataset> rows = w->listModel()->wholeList();
    const Dataset letterhead = ReportData::letterhead(w->connection());
    RunReport(w, layout, *rows, &letterhead);
    w->documentList().followRow(*rows);
}

bool askPeriod(MainWindow *w, QDate &from, QDate &to)
{
    from = to = Today();
    return AskPeriod(from, to, QString(), w);
}

void printDirectionPeriod(MainWindow *w, int direction)
{
    QDate from, to;
    if (!askPeriod(w, from, to))
        return;
    Dataset rows = ReportData::documents(
        w->connection(), ReportData::periodSql(w->documentList().query().lines(), direction, from, to));
    const Dataset letterhead = ReportData::letterhead(w->connection());
    const ProgramSettings &s = session().settings;
    RunReport(w, DetailedReport(connectionName(w), s.mezo3, s.mezo4, true), rows, &letterhead);
}

void printRecipients(MainWindow *w, Dataset &rows)
{
    const Dataset letterhead = ReportData::letterhead(w->connection());
    RunReport(w, RecipientReport(connectionName(w)), rows, &letterhead);
}

// The addressee of the current document, picked among all clients; -1 when cancelled.
int pickAddressee(MainWindow *w)
{
    const int current = currentText(w, u"ugyf_hova").toInt();
    return ClientPicker(w, current, ClientKind::All, true, QStringLiteral("Ügyfél választás")).key;
}

void printAddressed(MainWindow *w, const ReportLayout &layout, int client)
{
    Dataset addressee = ReportData::addressee(w->connection(), client);
    const Dataset sender = ReportData::sender(w->connection());
    RunReport(w, layout, addressee, &sender);
}

void printBarcode(MainWindow *w)
{
    if (!BarcodeDialog::ask(w))
        return;
    const qint64 document = w->currentDocument();
    LocalConfig &config = session().local;
    if (config.vkTipus == 1) {
        const LabelSheet sheet = labelSheetOf(config);
        const int position = PositionOnSheet(config.vkHanyadik, sheet);
        Dataset labels =
            ReportData::labelSheet(w->connection(), document, currentText(w, u"iktatoaz"), position);
        // The next print takes the next label, whatever this one came to.
        config.vkHanyadik = position + 1;
        RunReport(w, LabelSheetReport(sheet), labels);
    } else {
        const QString name = currentText(w, session().settings.azhelyettfoszam ? u"foszamstr" : u"iktatoaz");
        Dataset labels = ReportData::documentLabel(w->connection(), document, name);
        RunReport(w, CornerBarcodeReport(config.vkHova), labels);
    }
}

} // namespace

void connectReportActions(MainWindow &window)
{
    ActionCatalogue &actions = window.actionCatalogue();
    MainWindow *w = &window;

    actions.connectHandler(QStringLiteral("aNyomtat"), [w] { printList(w, ListReport(connectionName(w))); });
    actions.connectHandler(QStringLiteral("aNyomReszletes"), [w] {
        const ProgramSettings &s = session().settings;
        printList(w, DetailedReport(connectionName(w), s.mezo3, s.mezo4, false));
    });
    const QStringList periodActions = {QStringLiteral("aBeerkIdoszak"), QStringLiteral("aKimenoIdoszak"),
                                       QStringLiteral("aEgyebIdoszak"), QStringLiteral("aOsszesIdoszak")};
    for (int direction = 0; direction < periodActions.size(); ++direction)
        actions.connectHandler(periodActions[direction],
                               [w, direction] { printDirectionPeriod(w, direction); });

    actions.connectHandler(QStringLiteral("aNyomAtvevo"), [w] {
        Dataset rows = ReportData::documents(w->connection(), w->documentList().query().sql());
        if (markedOnly(w))
            ReportData::keepMarkedOnly(rows);
        printRecipients(w, rows);
    });
    actions.connectHandler(QStringLiteral("aAtvevo2"), [w] {
        QDate from, to;
        if (!askPeriod(w, from, to))
            return;
        Dataset rows =
            ReportData::documents(w->connection(), ReportData::periodSql(w->documentList().query().lines(),
                                                                         AllDirections, from, to));
        printRecipients(w, rows);
    });
    actions.connectHandler(QStringLiteral("aKiadott"), [w] {
        Dataset rows = ReportData::lentOut(w->connection(), session().user.code);
        const Dataset letterhead = ReportData::letterhead(w->connection());
        RunReport(w, LentOutReport(), rows, &letterhead);
    });
    actions.connectHandler(QStringLiteral("aMappa"), [w] {
        Dataset rows = ReportData::folderCover(w->connection(), w->currentDocument());
        const Dataset letterhead = ReportData::letterhead(w->connection());
        RunReport(w, FolderCoverReport(), rows, &letterhead);
    });

    actions.connectHandler(QStringLiteral("aBoritek"), [w] {
        const int client = pickAddressee(w);
        if (client == -1)
            return;
        const int size = EnvelopeChoice::ask(w);
        if (size < 0)
            return;
        printAddressed(w, EnvelopeReport(EnvelopeSize(size), senderLogo()), client);
    });
    actions.connectHandler(QStringLiteral("aAjanlott"), [w] {
        const int client = pickAddressee(w);
        if (client == -1)
            return;
        printAddressed(w, RegisteredMailReport(), client);
    });
    actions.connectHandler(QStringLiteral("aVKod"), [w] { printBarcode(w); });
}
