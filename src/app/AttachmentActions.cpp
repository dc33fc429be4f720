#include "app/ActionWiring.h"

#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"
#include "db/ui/DatasetModel.h"
#include "register/ui/AttachmentScreens.h"
#include "register/ui/AttachmentsPage.h"
#include "register/ui/DetailPanel.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/EditorHooks.h"
#include "register/ui/FilterController.h"
#include "register/ui/JournalViewer.h"
#include "register/ui/OnlineStoreScreens.h"

#include <QAction>
#include <QTableView>

namespace {

// The group of the list's current document, 0 on an empty list.
int currentGroup(MainWindow &window)
{
    const Dataset &data = window.listModel()->dataset();
    const int col = data.fieldIndex(u"csoport");
    return data.current() >= 0 && col >= 0 ? int(data.toInt(data.current(), col, 0)) : 0;
}

void openSelectedFile(MainWindow &window)
{
    QTableView *grid = window.detailPanel()->fileGrid();
    DatasetModel *model = window.detailPanel()->fileModel();
    const Dataset &files = model->dataset();
    const QModelIndex index = grid->currentIndex();
    const int row = index.isValid() ? model->datasetRow(index.row()) : (files.rowCount() > 0 ? 0 : -1);
    const int stored = files.fieldIndex(u"filenev");
    const int original = files.fieldIndex(u"origfilenev");
    const QString storageName = row >= 0 && stored >= 0 ? files.text(row, stored) : QString();
    const QString originalName = row >= 0 && original >= 0 ? files.text(row, original) : QString();
    OpenAttachment(&window, storageName, originalName, currentGroup(window));
}

} // namespace

void connectAttachmentActions(MainWindow &window)
{
    ActionCatalogue &a = window.actionCatalogue();
    a.connectHandler(QStringLiteral("aCsatol"), [&window] {
        const qint64 document = window.currentDocument();
        if (document <= 0)
            return;
        AttachFile(&window, document, currentGroup(window));
        window.documentList().refreshChanged(document);
        window.focusSearchBox();
    });
    a.connectHandler(QStringLiteral("aMegnez"), [&window] { openSelectedFile(window); });
    QObject::connect(window.detailPanel()->fileGrid(), &QTableView::doubleClicked, &window,
                     [&a] { a.action(QStringLiteral("aMegnez"))->trigger(); });
    a.connectHandler(QStringLiteral("aIktNaplo"), [&window] {
        JournalViewer::run(&window, window.currentDocument());
        window.focusSearchBox();
    });
    a.connectHandler(QStringLiteral("aSvBeallit"), [&window] { OnlineStoreSettingsDialog::run(&window); });

    EditorHooks &hooks = editorHooks();
    hooks.attachmentsPage = [](QWidget *parent, qint64 document, std::function<int()> group,
                               bool readOnly) -> QWidget * {
        return new AttachmentsPage(parent, document, std::move(group), readOnly);
    };
    hooks.sendToOnlineStore = [](QWidget *parent, qint64 document) { SendToOnlineStore(parent, document); };
}
