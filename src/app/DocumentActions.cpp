#include "app/ActionWiring.h"

#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"

void connectDocumentActions(MainWindow &window)
{
    (void)window;
}
