#include "app/ActionWiring.h"

#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"

void connectOutputActions(MainWindow &window)
{
    (void)window;
}
