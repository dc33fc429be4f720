// Korvena iktatás: the desktop program.
#include "app/MainWindow.h"
#include "common/ui/MessageBox.h"
#include "core/ui/Application.h"
#include "core/ui/Startup.h"

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Korvena iktatás"));
    installHungarianTranslation(app);
    // A start-up that ended has shown why; there is no window to close.
    std::unique_ptr<Connection> connection = runStartup();
    if (!connection)
        return 0;
    MainWindow window(std::move(connection));
    window.show();
    return app.exec();
}
