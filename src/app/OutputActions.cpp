#include "app/ActionWiring.h"

#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"
#include "core/Session.h"
#include "output/DocumentClipboard.h"
#include "output/ui/ExportDialog.h"
#include "output/ui/HtmlExportDialog.h"
#include "output/ui/StoredExportScreens.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/DocumentListView.h"
#include "register/ui/FilterController.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <memory>

namespace {

// The list grid as the HTML page shows it: its columns in the order they stand on screen.
HtmlPage listPage(MainWindow *w, const Dataset &rows)
{
    DocumentListView *view = w->listView();
    DocumentListModel *model = w->listModel();
    const QHeaderView *header = view->horizontalHeader();
    HtmlPage page;
    page.title = QStringLiteral("Iktatókönyv");
    page.gridWidth = view->width();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        const QString name = model->columnField(logical);
        const int field = name.isEmpty() ? -1 : rows.fieldIndex(name);
        if (field < 0)
            continue;
        page.columns.append({field, model->headerData(logical, Qt::Horizontal).toString(),
                             header->sectionSize(logical), rows.field(field).alignment});
    }
    return page;
}

} // namespace

void connectOutputActions(MainWindow &window)
{
    ActionCatalogue &actions = window.actionCatalogue();
    MainWindow *w = &window;

    actions.connectHandler(QStringLiteral("aExcel"), [w] {
        const std::shared_ptr<Dataset> rows = w->listModel()->wholeList();
        ExportDialog::run(w, *rows, QStringLiteral("Iktato.csv"));
        // The export leaves the list on the row it reached; the grid follows it.
        w->documentList().followRow(*rows);
    });

    actions.connectHandler(QStringLiteral("aVagolapra"), [w] {
        const std::shared_ptr<Dataset> rows = w->listModel()->wholeList();
        const QString text = documentClipboardText(*rows, session().local.masolMezok, markedDocumentCount());
        QGuiApplication::clipboard()->setText(text);
    });

    actions.connectHandler(QStringLiteral("aHtml"), [w] {
        const std::shared_ptr<Dataset> rows = w->listModel()->wholeList();
        HtmlExportDialog::run(w, *rows, listPage(w, *rows));
    });

    actions.connectHandler(QStringLiteral("aAdatcentrum"), [w] { StoredExportList::run(w); });
}
