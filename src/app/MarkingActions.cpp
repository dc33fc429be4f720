#include "app/ActionWiring.h"

#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"

void connectMarkingActions(MainWindow &window)
{
    (void)window;
}
