#pragma once

#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "app/MainWindow.h"
#include "core/AppFolders.h"
#include "core/ConnectionProfile.h"
#include "core/IniFile.h"
#include "core/ui/Startup.h"
#include "db/Connection.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/FilterController.h"

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

// Before each test of the main window: no screen state left from the last one, a
// fresh data folder whose Korvena.ini holds one profile of the test's register (so
// start-up connects without asking), and that register as the current connection.
inline std::unique_ptr<TempDataFolder> prepareStartup(TestDatabase &db, const QString &profileName)
{
    ModalDriver::resetScreenState();
    auto data = std::make_unique<TempDataFolder>();
    AppFolders::refresh();
    Connection::setCurrent(&db.connection());
    const ConnectionParams p = db.params();
    IniFile ini(data->file(QStringLiteral("Korvena.ini")));
    storeNewProfile(ini, profileLine(p.database, p.host, QString::number(p.port), p.user, p.password, profileName));
    return data;
}

// The keys of the documents the main list shows, in its order.
inline QList<qint64> listedKeys(MainWindow &w)
{
    QList<qint64> list;
    const DocumentListModel *m = w.listModel();
    const Dataset &d = m->dataset();
    for (int i = 0; i < m->rowCount(); ++i)
        list << d.toInt(m->datasetRow(i), d.fieldIndex(u"iktato"));
    return list;
}

// The main list query's condition line (its second line).
inline QString conditionLine(MainWindow &w)
{
    return w.documentList().query().lines().at(1);
}
