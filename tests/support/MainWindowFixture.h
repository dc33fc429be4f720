#pragma once

#include "app/MainWindow.h"
#include "core/ui/Startup.h"
#include "db/Connection.h"

#include <QTest>
#include <memory>

// The program's main window as a test opens it: start-up first, then the window
// on the connection start-up opened. Closing it hands the current connection back
// to the test's own register.
struct WindowCloser
{
    Connection *fallback = nullptr;
    void operator()(MainWindow *window) const
    {
        delete window;
        Connection::setCurrent(fallback);
    }
};
using Window = std::unique_ptr<MainWindow, WindowCloser>;

// Nothing when start-up ended or the window never showed.
inline Window openMainWindow(Connection *fallback)
{
    std::unique_ptr<Connection> connection = runStartup();
    if (!connection)
        return Window(nullptr, WindowCloser{fallback});
    Window window(new MainWindow(std::move(connection)), WindowCloser{fallback});
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return Window(nullptr, WindowCloser{fallback});
    return window;
}
