// The demo register's sample attachments: real files of every kind, stored as the
// program stores them and without their text, which index-attachments then reads.
#include "TestDatabase.h"
#include "TestSupport.h"
#include "common/SqlText.h"
#include "core/AppFolders.h"
#include "core/ProgramSettings.h"
#include "db/Connection.h"
#include "db/DbHelpers.h"
#include "demo/DemoData.h"
#include "register/AttachmentIndexing.h"
#include "register/Attachments.h"

#include <QDir>
#include <QFile>
#include <QtTest>

class TestDemoSampleFiles : public QObject
{
    Q_OBJECT
    std::unique_ptr<TempDataFolder> m_data;
    std::unique_ptr<TestDatabase> m_db;

    Connection &db() { return m_db->connection(); }
    int count(const QString &sql) { return db().selectValue(sql).toInt(); }

private Q_SLOTS:
    void initTestCase()
    {
        m_data = std::make_unique<TempDataFolder>();
        AppFolders::refresh();
        m_db = std::make_unique<TestDatabase>();
        Connection::setCurrent(&db());
    }
    void cleanupTestCase() { m_db.reset(); }

    void withoutSampleFilesNothingIsWritten()
    {
        TestDatabase demoDb;
        DemoOptions o;
        o.documents = 50;
        o.today = QDate(2024, 3, 15);
        const DemoSummary summary = DemoData(demoDb.connection(), o).run();
        QVERIFY(summary.sampleFiles.isEmpty());
        QVERIFY(
            !QDir(AppFolders::current().documentFolder()).exists() ||
            QDir(AppFolders::current().documentFolder()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));
    }

    void sampleFilesAreStoredUnreadThenIndexed_data()
    {
        QTest::addColumn<bool>("scramble");
        QTest::newRow("plain copies") << false;
        QTest::newRow("scrambled copies") << true;
    }
    void sampleFilesAreStoredUnreadThenIndexed()
    {
        QFETCH(bool, scramble);
        TestDatabase demoDb;
        Connection &c = demoDb.connection();
        CurrentConnectionScope current(&c);
        c.exec(QStringLiteral("UPDATE beallit SET mentescsoport = 'I', doksititkosit = %1")
                   .arg(SqlLiteral(QString::fromLatin1(scramble ? "I" : "N"))));
        DemoOptions o;
        o.documents = 120;
        o.today = QDate(2024, 3, 15);
        o.sampleFiles = true;
        const DemoSummary summary = DemoData(c, o).run();
        QVERIFY2(!summary.sampleFiles.isEmpty(), qPrintable(summary.sampleFilesNote));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM `%1`.iktato_file").arg(demoDb.name())),
                 summary.attachments);

        // Only the rows without a stored copy have a text: the sample files wait for the indexing.
        const int fileless = summary.attachments - int(summary.sampleFiles.size());
        QCOMPARE(count(QStringLiteral(
                           "SELECT COUNT(*) FROM `%1`.iktato_szoveg WHERE modszer = 'nincs' AND szoveg = ''")
                           .arg(demoDb.name())),
                 fileless);
        const ProgramSettings settings = ProgramSettings::load(AppFolders::current());
        for (const DemoSampleFile &f : summary.sampleFiles) {
            const Dataset row =
                c.query(QStringLiteral("SELECT f.filenev, i.csoport FROM iktato_file f JOIN iktato i "
                                       "ON i.iktato = f.iktato WHERE f.origfilenev = ") +
                        SqlLiteral(f.originalName));
            QCOMPARE(row.rowCount(), 1);
            const QString path = Attachments::groupFolder(settings, int(row.toInt(0, 1))) + row.text(0, 0);
            QVERIFY2(QFile::exists(path), qPrintable(path));
            QVERIFY(path.contains(QStringLiteral("/%1/").arg(row.toInt(0, 1), 5, 10, QLatin1Char('0'))));
        }
        const auto plainText = [&](const QString &name) {
            const Dataset row =
                c.query(QStringLiteral("SELECT f.filenev, i.csoport FROM iktato_file f JOIN iktato i "
                                       "ON i.iktato = f.iktato WHERE f.origfilenev = ") +
                        SqlLiteral(name));
            QFile stored(Attachments::groupFolder(settings, int(row.toInt(0, 1))) + row.text(0, 0));
            return stored.open(QIODevice::ReadOnly) ? stored.readAll() : QByteArray();
        };
        const QByteArray utf8 = plainText(QStringLiteral("bemutato_ertesites.txt"));
        QCOMPARE(utf8.contains("sárkányrepülő"), !scramble);

        const AttachmentIndexing::Summary indexed = AttachmentIndexing::run(settings, false, {}, {});
        QCOMPARE(indexed.failed, 0);
        QCOMPARE(indexed.total, int(summary.sampleFiles.size()));
        QVERIFY(indexed.read >= 1);
        for (const DemoSampleFile &f : summary.sampleFiles) {
            const QString method = SelectText(QStringLiteral("SELECT s.modszer FROM iktato_szoveg s JOIN "
                                                             "iktato_file f ON f.iktato_file = s.iktato_file "
                                                             "WHERE f.origfilenev = ") +
                                                  SqlLiteral(f.originalName),
                                              QString());
            if (method == QLatin1String("nincs"))
                continue; // a kind this build does not read
            QStringList found;
            FillList(found, QStringLiteral(
                                "SELECT DISTINCT iktato FROM iktato_szoveg WHERE MATCH(szoveg) AGAINST(") +
                                SqlLiteral(f.word) + QStringLiteral(" IN BOOLEAN MODE)"));
            QVERIFY2(found == QStringList{QString::number(f.document)},
                     qPrintable(f.originalName + QStringLiteral(": ") + found.join(QLatin1Char(','))));
        }
        QVERIFY(count(QStringLiteral(
                          "SELECT COUNT(*) FROM `%1`.iktato_szoveg s JOIN `%1`.iktato_file f "
                          "ON f.iktato_file = s.iktato_file WHERE f.origfilenev = 'bemutato_ertesites.txt' "
                          "AND s.modszer = 'szoveg'")
                          .arg(demoDb.name())) == 1);
        // Nothing is read twice.
        QCOMPARE(AttachmentIndexing::run(settings, false, {}, {}).total, 0);
    }
};

QTEST_MAIN(TestDemoSampleFiles)
#include "tst_demosamplefiles.moc"
