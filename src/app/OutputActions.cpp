#include "app/ActionWiring.h"

#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"
#include "core/Session.h"
#include "output/DocumentClipboard.h"
#include "output/ui/ExportDialog.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/DocumentListView.h"

#include <QClipboard>
#include <QGuiApplication>

void connectOutputActions(MainWindow &window)
{
    ActionCatalogue &actions = window.actionCatalogue();
    MainWindow *w = &window;

    actions.connectHandler(QStringLiteral("aExcel"), [w] {
        w->listModel()->finishLoading();
        Dataset &rows = w->listModel()->dataset();
        ExportDialog::run(w, rows, QStringLiteral("Iktato.csv"));
        // The export leaves the list on the row it reached; the grid follows it.
        if (rows.current() >= 0)
            w->listView()->moveToDatasetRow(rows.current());
    });

    actions.connectHandler(QStringLiteral("aVagolapra"), [w] {
        w->listModel()->finishLoading();
        Dataset &rows = w->listModel()->dataset();
        const QString text = documentClipboardText(rows, session().local.masolMezok, markedDocumentCount());
        QGuiApplication::clipboard()->setText(text);
    });
}
