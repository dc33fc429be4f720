#include "app/ActionWiring.h"

#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"

void connectAdminActions(MainWindow &window)
{
    (void)window;
}
