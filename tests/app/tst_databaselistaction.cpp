// aAdatbazisok opens the database list for an administrator only.
#include "MainWindowFixture.h"
#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "app/ActionCatalogue.h"
#include "common/ui/MessageBox.h"
#include "core/AppFolders.h"
#include "core/ConnectionProfile.h"
#include "core/IniFile.h"
#include "core/Session.h"
#include "core/ui/DatabaseList.h"
#include "db/DbHelpers.h"

#include <QAction>
#include <QtTest>
#include <memory>

class TestDatabaseListAction : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TempDataFolder> m_data;

private Q_SLOTS:
    void initTestCase() { m_db = std::make_unique<TestDatabase>(); }
    void init()
    {
        m_data = prepareStartup(*m_db, QStringLiteral("Teszt"));
        ExecSql(QStringLiteral("UPDATE beallit SET vanbelep = 'N', hatidfigyel = -1"));
    }
    void cleanup()
    {
        Connection::setCurrent(&m_db->connection());
        m_data.reset();
    }
    void cleanupTestCase() { m_db.reset(); }

    void onlyAnAdministratorOpensTheList_data()
    {
        QTest::addColumn<bool>("administrator");
        QTest::newRow("administrator") << true;
        QTest::newRow("other user") << false;
    }
    void onlyAnAdministratorOpensTheList()
    {
        QFETCH(bool, administrator);
        auto w = openMainWindow(&m_db->connection());
        QVERIFY(w);
        session().user.administrator = administrator;
        bool opened = false;
        if (administrator)
            ModalDriver::onModal(QString(DatabaseListDialog::ObjectName), [&](QDialog *d) {
                opened = true;
                d->reject();
            });
        MessageBox::clearShown();
        w->actionCatalogue().action(QStringLiteral("aAdatbazisok"))->trigger();
        QCOMPARE(opened, administrator);
        if (administrator) {
            QCOMPARE(MessageBox::shown().size(), 0);
        } else {
            QCOMPARE(MessageBox::shown().size(), 1);
            QCOMPARE(MessageBox::shown().first().text, QStringLiteral("Nincs jogosultság a művelethez."));
        }
    }
};

QTEST_MAIN(TestDatabaseListAction)
#include "tst_databaselistaction.moc"
