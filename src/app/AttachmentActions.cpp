#include "app/ActionWiring.h"

#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"

void connectAttachmentActions(MainWindow &window)
{
    (void)window;
}
