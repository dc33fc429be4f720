// A backup of a whole demo register, read back by the mariadb client (plain script)
// and by the program's own loader (archive), gives every table back unchanged.
#include "BackupFixture.h"
#include "TestDatabase.h"
#include "core/DatabaseBackup.h"
#include "core/TrailVerifier.h"
#include "demo/DemoData.h"

#include <QTemporaryDir>
#include <QTest>

class TestDemoBackup : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        DemoOptions o;
        o.documents = 700;
        o.seed = 3;
        o.today = QDate(2024, 3, 15);
        DemoData(m_db->connection(), o).run();
    }
    void cleanupTestCase() { m_db.reset(); }

    void everyTableComesBack_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("script by the client") << QStringLiteral("mentes.sql");
        QTest::newRow("archive by the loader") << QStringLiteral("mentes.zip");
    }
    void everyTableComesBack()
    {
        QFETCH(QString, fileName);
        QTemporaryDir dir;
        const QString file = dir.filePath(fileName);
        QCOMPARE(DatabaseBackup::scriptBackup(m_db->params(), file), DatabaseBackup::Outcome::Written);

        // A fresh register: what initial.sql put in it has to give way to the backup.
        TestDatabase target;
        if (DatabaseBackup::isZipTarget(file)) {
            DatabaseBackup::loadScript(target.connection(), file);
        } else {
            const QString failure = BackupFixture::loadWithClient(target.name(), file);
            QVERIFY2(failure.isEmpty(), qPrintable(failure));
        }
        Connection &c = m_db->connection();
        const QMap<QString, QString> live = BackupFixture::checksums(c, m_db->name());
        QCOMPARE(live.size(), 27);
        QCOMPARE(BackupFixture::checksums(c, target.name()), live);
        // The restored documents fired the triggers; the backup's trail replaced what they wrote.
        auto trail = target.newConnection();
        auto rows = target.newConnection();
        const TrailVerifier::Result verified = TrailVerifier::verify(*trail, *rows);
        QVERIFY2(verified.ok, qPrintable(verified.problem));
        QVERIFY(
            c.selectValue(QStringLiteral("SELECT COUNT(*) FROM `%1`.iktato").arg(target.name())).toInt() >=
            700);
    }
};

QTEST_GUILESS_MAIN(TestDemoBackup)
#include "tst_demobackup.moc"
