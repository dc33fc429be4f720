// Window places under a real window manager: the frame (title bar and borders)
// exists only there, so this runs on a virtual X display managed by openbox.
#include "TestDatabase.h"
#include "TestSupport.h"
#include "app/MainWindow.h"
#include "common/ui/Dialog.h"
#include "common/ui/MessageBox.h"
#include "core/AppFolders.h"
#include "core/ConnectionProfile.h"
#include "core/IniFile.h"
#include "core/Session.h"
#include "core/ui/ConnectionSetupDialog.h"
#include "core/ui/DatabaseChooser.h"
#include "core/ui/Startup.h"
#include "db/DbHelpers.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <QTest>

namespace {

bool isFramed(const QWidget *window)
{
    return windowFrameGeometry(window) != window->geometry();
}

} // namespace

class TestWindowFrames : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TempDataFolder> m_data;

    IniFile ini() const { return IniFile(m_data->file(QStringLiteral("Korvena.ini"))); }

    std::unique_ptr<MainWindow> showMainWindow()
    {
        std::unique_ptr<Connection> connection = runStartup();
        if (!connection)
            return nullptr;
        auto window = std::make_unique<MainWindow>(std::move(connection));
        window->show();
        return QTest::qWaitForWindowExposed(window.get()) ? std::move(window) : nullptr;
    }

    std::unique_ptr<QWidget> showScreen(const QString &screen)
    {
        if (screen == MainWindow::ObjectName)
            return showMainWindow();
        std::unique_ptr<QWidget> dialog;
        if (screen == DatabaseChooser::ObjectName)
            dialog = std::make_unique<DatabaseChooser>(
                QList<ProfileChoice>{{1, QStringLiteral("a;b;3306;c;d;Első")}});
        else
            dialog = std::make_unique<ConnectionSetupDialog>();
        dialog->show();
        return QTest::qWaitForWindowExposed(dialog.get()) ? std::move(dialog) : nullptr;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        m_db = std::make_unique<TestDatabase>();
        MessageBox::setRecording(true);
    }
    void init()
    {
        m_data = std::make_unique<TempDataFolder>();
        AppFolders::refresh();
        session() = Session();
        Connection::setCurrent(&m_db->connection());
        ExecSql(QStringLiteral("UPDATE beallit SET vanbelep = 'N'"));
        const ConnectionParams p = m_db->params();
        IniFile file = ini();
        storeNewProfile(file, profileLine(p.database, p.host, QString::number(p.port), p.user, p.password,
                                          QStringLiteral("Teszt")));
    }
    void cleanup()
    {
        Connection::setCurrent(&m_db->connection());
        m_data.reset();
    }
    void cleanupTestCase()
    {
        Connection::setCurrent(&m_db->connection());
        m_db.reset();
    }

    void fullScreenFrameFitsTheWorkArea()
    {
        const auto window = showMainWindow();
        QVERIFY(window);
        const QRect area = window->screen()->availableGeometry();
        QTRY_COMPARE(windowFrameGeometry(window.get()), area);
        QVERIFY(isFramed(window.get()));
        QVERIFY(area.contains(window->geometry()));
        QStatusBar *bar = window->statusBar();
        QVERIFY(bar->isVisible());
        QVERIFY(window->screen()->geometry().contains(QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size())));
        window->close();
    }

    void rememberedPlaceSurvivesRestarts_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QRect>("place");
        QTest::newRow("main window") << QString(MainWindow::ObjectName) << QRect(120, 90, 1000, 640);
        QTest::newRow("resizable dialog")
            << QString(DatabaseChooser::ObjectName) << QRect(300, 200, 520, 360);
        QTest::newRow("fixed dialog") << QString(ConnectionSetupDialog::ObjectName) << QRect(260, 140, 0, 0);
    }
    void rememberedPlaceSurvivesRestarts()
    {
        QFETCH(QString, screen);
        QFETCH(QRect, place);
        const bool mainWindow = screen == MainWindow::ObjectName;
        const bool sized = place.isValid();
        const QString section = mainWindow ? QStringLiteral("Alapertek") : screen;
        const QStringList keys = mainWindow ? QStringList{QStringLiteral("Bal"), QStringLiteral("Felul"),
                                                          QStringLiteral("Szeles"), QStringLiteral("Magas")}
                                            : QStringList{QStringLiteral("Left"), QStringLiteral("Top"),
                                                          QStringLiteral("Width"), QStringLiteral("Height")};
        const QList<int> values{place.x(), place.y(), place.width(), place.height()};
        IniFile file = ini();
        if (mainWindow)
            QVERIFY(file.writeBool(section, QStringLiteral("TeljesKep"), false));
        for (int i = 0; i < (sized ? 4 : 2); ++i)
            QVERIFY(file.writeInt(section, keys[i], values[i]));

        for (int start = 1; start <= 3; ++start) {
            const auto window = showScreen(screen);
            QVERIFY2(window, qPrintable(QStringLiteral("start %1").arg(start)));
            QTRY_COMPARE(windowFrameGeometry(window.get()).topLeft(), place.topLeft());
            if (sized)
                QTRY_COMPARE(windowFrameGeometry(window.get()).size(), place.size());
            QVERIFY(isFramed(window.get()));
            window->close(); // writes the place
            for (int i = 0; i < (sized ? 4 : 2); ++i)
                QCOMPARE(file.readInt(section, keys[i], -1), values[i]);
        }
    }
};

QTEST_MAIN(TestWindowFrames)
#include "windowframes_x11.moc"
