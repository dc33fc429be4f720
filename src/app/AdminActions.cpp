#include "app/ActionWiring.h"

#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"
#include "core/ui/DatabaseList.h"
#include "core/ui/RightsGate.h"
#include "core/ui/VendorNoticeWindows.h"
#include "output/ui/SqlConsole.h"

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

// The free SQL console and the vendor's notices after start-up.
void connectSqlAndNotices(MainWindow &window)
{
    MainWindow *w = &window;
    window.actionCatalogue().connectHandler(QStringLiteral("aSQL"), [w] {
        if (!CheckRight(Right::Administrator))
            return;
        SqlConsole::run(w);
        // The console may have changed anything the list shows.
        w->refreshList();
    });

    MainWindowRoutines &routines = mainWindowRoutines();
    routines.checkVersionNotice = [](QWidget *parent) { checkVersionNotice(parent); };
    routines.checkNews = [](QWidget *parent) { checkNews(parent); };
}

} // namespace

void connectAdminActions(MainWindow &window)
{
    connectDatabaseListAction(window);
    connectSqlAndNotices(window);
}
