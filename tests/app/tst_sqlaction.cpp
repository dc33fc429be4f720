#include "MainWindowFixture.h"
#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"
#include "common/ui/MessageBox.h"
#include "core/AppFolders.h"
#include "core/ConnectionProfile.h"
#include "core/IniFile.h"
#include "core/Session.h"
#include "db/DbHelpers.h"
#include "output/ui/SqlConsole.h"

#include <QAction>
#include <QtTest>
#include <memory>

class TestSqlAction : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TempDataFolder> m_data;

    Window openWindow() { return openMainWindow(&m_db->connection()); }

private Q_SLOTS:
    void initTestCase() { m_db = std::make_unique<TestDatabase>(); }
    void init()
    {
        m_data = prepareStartup(*m_db, QStringLiteral("Teszt"));
        ExecSql(QStringLiteral("UPDATE beallit SET vanbelep = 'N', irasvedett = 'N', hatidfigyel = -1"));
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

    void onlyTheAdministratorOpensTheConsole()
    {
        auto w = openWindow();
        QVERIFY(w);
        QAction *sql = w->actionCatalogue().action(QStringLiteral("aSQL"));

        session().user.administrator = false;
        {
            ModalDriver::ModalWatch watch;
            sql->trigger();
            QTest::qWait(50);
            QCOMPARE(watch.seen(), 0);
        }
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().title, QStringLiteral("Hiba"));
        QCOMPARE(MessageBox::shown().first().text, QStringLiteral("Nincs jogosultság a művelethez."));

        session().user.administrator = true;
        bool opened = false;
        ModalDriver::onModal(QString(SqlConsole::ObjectName), [&](QDialog *d) {
            opened = d->windowTitle() == QStringLiteral("SQL lekérdezés");
            d->reject();
        });
        sql->trigger();
        QVERIFY(opened);
        QCOMPARE(MessageBox::shown().size(), 1);
    }

    void vendorChecksAreTheTimersRoutines()
    {
        auto w = openWindow();
        QVERIFY(w);
        QVERIFY(mainWindowRoutines().checkVersionNotice);
        QVERIFY(mainWindowRoutines().checkNews);
    }
};

QTEST_MAIN(TestSqlAction)
#include "tst_sqlaction.moc"
