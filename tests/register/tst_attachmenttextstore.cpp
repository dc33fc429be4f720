// The text read from attached files: its rows, their removal with the attachment,
// and indexing a register's attachments from their stored copies.
#include "common/SqlText.h"
#include "core/AppFolders.h"
#include "core/ProgramSettings.h"
#include "core/Session.h"
#include "db/DbHelpers.h"
#include "register/AttachmentIndexing.h"
#include "register/AttachmentTextStore.h"
#include "register/Attachments.h"

#include "TestDatabase.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

int textRows()
{
    return SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktato_szoveg;"), -1);
}

QString textOf(qint64 attachment)
{
    return SelectText(
        QStringLiteral("SELECT szoveg FROM iktato_szoveg WHERE iktato_file=%1;").arg(attachment),
        QStringLiteral("<nincs sor>"));
}

// Documents whose attachments' text holds the word, as the content search asks.
QStringList documentsWith(const QString &word)
{
    QStringList keys;
    FillList(keys, QStringLiteral("SELECT DISTINCT iktato FROM iktato_szoveg WHERE MATCH(szoveg) AGAINST(") +
                       SqlLiteral(QString(QLatin1Char('+') + word)) +
                       QStringLiteral(" IN BOOLEAN MODE) ORDER BY iktato;"));
    return keys;
}

} // namespace

class TestAttachmentTextStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_folder = std::make_unique<TempDataFolder>();
        AppFolders::refresh();
        m_db = std::make_unique<TestDatabase>();
    }
    void cleanupTestCase() { m_db.reset(); }
    void init()
    {
        resetProcessState();
        session().user.code = 1;
        ExecSql(QStringLiteral("DELETE FROM iktato_file;"));
        ExecSql(QStringLiteral("DELETE FROM iktato_szoveg;"));
        m_work = std::make_unique<QTemporaryDir>();
    }

    void writeReplacesAndFollowsTheAttachmentsRow()
    {
        const qint64 key = attach(7, QStringLiteral("a.txt"), "x").key;
        QVERIFY(
            AttachmentTextStore::write(key, QStringLiteral("első   olvasás\n"), QStringLiteral("szoveg")));
        QCOMPARE(textOf(key), QStringLiteral("első olvasás"));
        QVERIFY(AttachmentTextStore::write(key, QStringLiteral("árvíztűrő tükörfúrógép 'idéz' \\"),
                                           QStringLiteral("pdf")));
        QCOMPARE(textRows(), 1);
        QCOMPARE(textOf(key), QStringLiteral("árvíztűrő tükörfúrógép 'idéz' \\"));
        QCOMPARE(
            SelectText(QStringLiteral("SELECT CONCAT(iktato, '/', modszer) FROM iktato_szoveg;"), QString()),
            QStringLiteral("7/pdf"));
        QCOMPARE(documentsWith(QStringLiteral("tükörfúrógép")), QStringList{QStringLiteral("7")});

        // A text read for an attachment deleted meanwhile is not kept.
        QVERIFY(!AttachmentTextStore::write(key + 1000, QStringLiteral("árva"), QStringLiteral("szoveg")));
        QCOMPARE(textRows(), 1);
    }

    void deletingTheAttachmentDeletesItsText()
    {
        const Attachments::Stored kept = attach(7, QStringLiteral("marad.txt"), "x");
        const Attachments::Stored gone = attach(7, QStringLiteral("torol.txt"), "y");
        QVERIFY(AttachmentTextStore::write(kept.key, QStringLiteral("marad"), QStringLiteral("szoveg")));
        QVERIFY(AttachmentTextStore::write(gone.key, QStringLiteral("megy"), QStringLiteral("szoveg")));
        QVERIFY(Attachments::remove(7, gone.key, gone.originalName));
        QCOMPARE(textOf(gone.key), QStringLiteral("<nincs sor>"));
        QCOMPARE(textOf(kept.key), QStringLiteral("marad"));
    }

    void indexingReadsWhatIsMissingOnce_data()
    {
        QTest::addColumn<bool>("scramble");
        QTest::newRow("plain copies") << false;
        QTest::newRow("scrambled copies") << true;
    }
    void indexingReadsWhatIsMissingOnce()
    {
        QFETCH(bool, scramble);
        m_scramble = scramble;
        const Attachments::Stored first = attach(7, QStringLiteral("level.txt"), "Kérelem a szélmalomról");
        const Attachments::Stored done = attach(8, QStringLiteral("kesz.txt"), "már olvasott");
        const Attachments::Stored lost = attach(9, QStringLiteral("elveszett.txt"), "nincs meg");
        const Attachments::Stored empty = attach(9, QStringLiteral("kep.bin"), "\x01\x02");
        QVERIFY(
            AttachmentTextStore::write(done.key, QStringLiteral("régi szöveg"), QStringLiteral("szoveg")));
        QVERIFY(QFile::remove(Attachments::groupFolder(settings(), 0) + lost.storageName));
        QFile storedCopy(Attachments::groupFolder(settings(), 0) + first.storageName);
        QVERIFY(storedCopy.open(QIODevice::ReadOnly));
        QCOMPARE(storedCopy.readAll() == "Kérelem a szélmalomról", !scramble);

        QStringList lines;
        const AttachmentIndexing::Summary summary = AttachmentIndexing::run(
            settings(), false, {},
            [&lines](int done, int total, const AttachmentTextStore::Pending &file, const QString &outcome) {
                lines << QStringLiteral("%1/%2 %3: %4").arg(done).arg(total).arg(file.originalName, outcome);
            });
        QCOMPARE(summary.total, 3);
        QCOMPARE(summary.read, 1);
        QCOMPARE(summary.empty, 1);
        QCOMPARE(summary.failed, 1);
        QCOMPARE(summary.failures.size(), 1);
        QVERIFY2(
            summary.failures[0].startsWith(lost.storageName + QStringLiteral(" (elveszett.txt): Nem létező")),
            qPrintable(summary.failures[0]));
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[0].startsWith(QStringLiteral("1/3 level.txt: szoveg, ")), qPrintable(lines[0]));
        QCOMPARE(textOf(first.key), QStringLiteral("Kérelem a szélmalomról"));
        QCOMPARE(textOf(done.key), QStringLiteral("régi szöveg"));
        QCOMPARE(textOf(empty.key), QString());
        QCOMPARE(documentsWith(QStringLiteral("szélmalomról")), QStringList{QStringLiteral("7")});

        // Only the missing file is tried again; --all reads everything that is there.
        const AttachmentIndexing::Summary again = AttachmentIndexing::run(settings(), false, {}, {});
        QCOMPARE(again.total, 1);
        QCOMPARE(again.failed, 1);
        lines.clear();
        const AttachmentIndexing::Summary all = AttachmentIndexing::run(
            settings(), true, {},
            [&lines](int done, int total, const AttachmentTextStore::Pending &file, const QString &outcome) {
                lines << QStringLiteral("%1/%2 %3: %4").arg(done).arg(total).arg(file.originalName, outcome);
            });
        QCOMPARE(all.total, 4);
        QCOMPARE(all.read, 2);
        QVERIFY2(lines.first().startsWith(QStringLiteral("1/4 level.txt: szoveg")),
                 qPrintable(lines.first()));
        QCOMPARE(textOf(done.key), QStringLiteral("már olvasott"));
    }

    void ftpCopiesAreReadThroughADownload()
    {
        ProgramSettings s = settings();
        s.isftp = true;
        s.doksititkosit = true; // never applies to FTP copies
        const QByteArray plain = "Távoli levél";
        const Attachments::Stored stored = attach(7, QStringLiteral("tavoli.txt"), "mindegy");
        QStringList asked;
        const AttachmentIndexing::Summary summary =
            AttachmentIndexing::run(s, false,
                                    [&](const QString &remote, const QString &local, QString *) {
                                        asked << remote;
                                        QFile f(local);
                                        return f.open(QIODevice::WriteOnly) && f.write(plain) == plain.size();
                                    },
                                    {});
        QCOMPARE(summary.read, 1);
        QCOMPARE(asked, QStringList{stored.storageName});
        QCOMPARE(textOf(stored.key), QString::fromUtf8(plain));
    }

private:
    ProgramSettings settings() const
    {
        ProgramSettings s;
        s.mentesutvonal = m_work->filePath(QStringLiteral("tar"));
        s.doksititkosit = m_scramble;
        return s;
    }
    Attachments::Stored attach(qint64 document, const QString &name, const QByteArray &data)
    {
        QDir().mkpath(m_work->filePath(QStringLiteral("valasztott")));
        QDir().mkpath(m_work->filePath(QStringLiteral("tar")));
        const QString path = m_work->filePath(QStringLiteral("valasztott/") + name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
            qFatal("cannot write the chosen file");
        f.close();
        const Attachments::Stored stored = Attachments::store(settings(), document, 0, path, {});
        if (!stored.ok || stored.key <= 0)
            qFatal("cannot attach");
        return stored;
    }

    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<QTemporaryDir> m_work;
    bool m_scramble = false;
};

QTEST_GUILESS_MAIN(TestAttachmentTextStore)
#include "tst_attachmenttextstore.moc"
