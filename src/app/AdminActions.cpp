#include "app/ActionWiring.h"

#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"
#include "core/ui/DatabaseList.h"
#include "core/ui/RightsGate.h"

namespace {

void connectDatabaseListAction(MainWindow &window)
{
    MainWindow *w = &window;
    window.actionCatalogue().connectHandler(QStringLiteral("aAdatbazisok"), [w] {
        if (!CheckRight(Right::Administrator))
            return;
        DatabaseListDialog::run(w);
    });
}

} // namespace

void connectAdminActions(MainWindow &window)
{
    connectDatabaseListAction(window);
}
