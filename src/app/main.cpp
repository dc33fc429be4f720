// Korvena iktatás: the desktop program.
#include "common/ui/MessageBox.h"
#include "core/ui/Application.h"
#include "app/MainWindow.h"

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Korvena iktatás"));
    installHungarianTranslation(app);
    MainWindow window;
    if (!window.startupAborted())
        window.show();
    return app.exec();
}
