#include "app/ActionWiring.h"

#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"
#include "common/ui/MessageBox.h"
#include "core/ui/RightsGate.h"
#include "register/DocumentEdit.h"
#include "register/ui/DocumentEditor.h"
#include "register/ui/FilterController.h"

namespace {

// New documents one after the other, until the editor is cancelled.
void registerDocuments(MainWindow &window)
{
    if (!CheckRight(Right::Insert))
        return;
    for (;;) {
        const qint64 key = OpenDocumentEditor(&window, -1, window.documentList().filter().direction);
        if (key == -1) {
            // A cancelled editor may leave the numbered row behind; the list shows it
            // once read again, while the grid stays on the last saved document.
            window.documentList().refreshChanged(window.currentDocument());
            break;
        }
        window.documentList().refreshChanged(key);
    }
    window.focusSearchBox();
}

void editDocument(MainWindow &window)
{
    if (!CheckRight(Right::Edit))
        return;
    const qint64 key = window.currentDocument();
    if (key <= 0)
        return;
    OpenDocumentEditor(&window, key, window.documentList().filter().direction);
    window.documentList().refreshChanged(key);
    window.focusSearchBox();
}

void deleteDocument(MainWindow &window)
{
    if (!CheckRight(Right::Delete))
        return;
    const qint64 key = window.currentDocument();
    if (key > 0 && AskYesNo(QStringLiteral("Valóban töröljem a sort?"), QStringLiteral("Megerősítés"))) {
        DocumentEdit::remove(key);
        window.refreshList();
    }
    window.focusSearchBox();
}

} // namespace

void connectDocumentActions(MainWindow &window)
{
    ActionCatalogue &a = window.actionCatalogue();
    a.connectHandler(QStringLiteral("aUj"), [&window] { registerDocuments(window); });
    a.connectHandler(QStringLiteral("aSzerkeszt"), [&window] { editDocument(window); });
    a.connectHandler(QStringLiteral("aTorol"), [&window] { deleteDocument(window); });
}
