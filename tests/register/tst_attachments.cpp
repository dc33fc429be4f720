#include "core/AppFolders.h"
#include "core/Session.h"
#include "db/DbError.h"
#include "db/DbHelpers.h"
#include "db/UnitOfWork.h"
#include "register/Attachments.h"

#include "TestDatabase.h"
#include "TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace Attachments;

namespace {

QByteArray randomBytes(qsizetype size, quint32 seed = 7)
{
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    for (qsizetype i = 0; i < size; ++i)
        data[i] = char(generator.bounded(256));
    return data;
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(data), data.size());
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int fileRows()
{
    return SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktato_file;"), -1);
}

QStringList journal(qint64 document)
{
    QStringList rows;
    FillList(rows,
             QStringLiteral("SELECT szoveg FROM iktnaplo WHERE iktato=%1 ORDER BY iktnaplo;").arg(document));
    return rows;
}

const QByteArray kKey = QCryptographicHash::hash("pirkalo", QCryptographicHash::Md5).toHex();

} // namespace

class TestAttachments : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void storageNames_data();
    void storageNames();
    void groupFolders();
    void originalNameLength_data();
    void originalNameLength();
    void keyIsTheServersDigest();
    void scrambledFileSurvives_data();
    void scrambledFileSurvives();
    void keyRestartsEveryBlock();

    void attachAndOpen_data();
    void attachAndOpen();
    void nextFileFollowsTheHighestKey();
    void missingFolderIsCreatedAndJournalled();
    void folderThatCannotBeMade();
    void tooLongNameIsRefused();
    void failedCopyLeavesNoRow_data();
    void failedCopyLeavesNoRow();
    void unreadableFileWhileScramblingLeavesNoRow();
    void refusedUploadLeavesNoRow();
    void ftpStoresWithoutScramblingOrLocalFolder();
    void fetchFailures();
    void sameNameOpenedTwiceKeepsTheSecond();

    void attachesAtOnceKeepTheirOwnFiles_data();
    void attachesAtOnceKeepTheirOwnFiles();
    void keptCopyOfADeletedRowIsNotReplaced_data();
    void keptCopyOfADeletedRowIsNotReplaced();
    void namesTheRowCannotHoldAreRefusedFirst_data();
    void namesTheRowCannotHoldAreRefusedFirst();
    void rowAndJournalCommitTogether_data();
    void rowAndJournalCommitTogether();
    void fetchNeverFollowsAPlantedLink_data();
    void fetchNeverFollowsAPlantedLink();
    void storageFoldersFollowOneRule();

private:
    ProgramSettings settings(bool groups, bool scramble = false) const;
    QString chosen(const QString &name, const QByteArray &data) const;

    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<QTemporaryDir> m_work;
};

void TestAttachments::initTestCase()
{
    m_folder = std::make_unique<TempDataFolder>();
    AppFolders::refresh();
    m_db = std::make_unique<TestDatabase>();
}

void TestAttachments::init()
{
    resetProcessState();
    session().user.code = 1;
    ExecSql(QStringLiteral("DELETE FROM iktato_file;"));
    ExecSql(QStringLiteral("DELETE FROM iktnaplo;"));
    m_work = std::make_unique<QTemporaryDir>();
}

void TestAttachments::cleanup()
{
    UnitOfWork::setStatementHookForTests({});
    Connection::setCurrent(&m_db->connection());
}

ProgramSettings TestAttachments::settings(bool groups, bool scramble) const
{
    ProgramSettings s;
    s.mentesutvonal = m_work->filePath(QStringLiteral("tar"));
    s.megnyitasutvonal = m_work->filePath(QStringLiteral("nyit"));
    s.mentescsoport = groups;
    s.doksititkosit = scramble;
    return s;
}

QString TestAttachments::chosen(const QString &name, const QByteArray &data) const
{
    QDir().mkpath(m_work->filePath(QStringLiteral("valasztott")));
    const QString path = m_work->filePath(QStringLiteral("valasztott/") + name);
    writeFile(path, data);
    return path;
}

void TestAttachments::storageNames_data()
{
    QTest::addColumn<qint64>("document");
    QTest::addColumn<qint64>("sequence");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first file") << qint64(7) << qint64(1) << "Level.pdf"
                                << "0000007-1.pdf";
    QTest::newRow("no extension") << qint64(42) << qint64(901) << "README"
                                  << "0000042-901";
    QTest::newRow("last extension only") << qint64(5) << qint64(2) << "mentes.tar.gz"
                                         << "0000005-2.gz";
    QTest::newRow("folder dropped") << qint64(5) << qint64(3) << "C:\\Dok\\a.b\\level.doc"
                                    << "0000005-3.doc";
    QTest::newRow("dot in a folder only") << qint64(5) << qint64(4) << "/x.y/level"
                                          << "0000005-4";
    QTest::newRow("wider key") << qint64(123456789) << qint64(12) << "x.PDF"
                               << "123456789-12.PDF";
}

void TestAttachments::storageNames()
{
    QFETCH(qint64, document);
    QFETCH(qint64, sequence);
    QFETCH(QString, file);
    QFETCH(QString, expected);
    QCOMPARE(storageName(document, sequence, file), expected);
}

void TestAttachments::groupFolders()
{
    const ProgramSettings perGroup = settings(true);
    QCOMPARE(groupFolder(perGroup, 7), perGroup.mentesutvonal + QStringLiteral("/00007/"));
    QCOMPARE(groupFolder(perGroup, 123456), perGroup.mentesutvonal + QStringLiteral("/123456/"));
    QCOMPARE(groupFolder(settings(false), 7), perGroup.mentesutvonal + QStringLiteral("/"));
    // An empty storage setting keeps files in the data folder, never at the disk's root.
    ProgramSettings empty;
    QCOMPARE(groupFolder(empty, 1), AppFolders::current().documentFolder() + QStringLiteral("/"));
}

void TestAttachments::originalNameLength_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("127") << QString(123, QLatin1Char('a')) + QStringLiteral(".pdf") << true;
    QTest::newRow("128") << QString(124, QLatin1Char('a')) + QStringLiteral(".pdf") << false;
    QTest::newRow("127 accented") << QString(123, QChar(0x0151)) + QStringLiteral(".pdf") << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("parent folder") << QStringLiteral("..") << false;
}

void TestAttachments::originalNameLength()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    QCOMPARE(isAcceptableName(name), accepted);
}

void TestAttachments::keyIsTheServersDigest()
{
    QCOMPARE(scrambleKey(), kKey);
    QCOMPARE(scrambleKey().size(), 32);
}

void TestAttachments::scrambledFileSurvives_data()
{
    QTest::addColumn<int>("size");
    for (int size : {0, 1, 65535, 65536, 70000, 10 * 1024 * 1024})
        QTest::newRow(qPrintable(QString::number(size))) << size;
}

void TestAttachments::scrambledFileSurvives()
{
    QFETCH(int, size);
    const QByteArray data = randomBytes(size);
    const QString plain = chosen(QStringLiteral("eredeti.bin"), data);
    const QString scrambled = m_work->filePath(QStringLiteral("titkos.bin"));
    const QString back = m_work->filePath(QStringLiteral("vissza.bin"));
    scrambleFile(plain, scrambled, kKey, false);
    const QByteArray stored = readFile(scrambled);
    QCOMPARE(stored.size(), data.size());
    if (size > 0)
        QVERIFY(stored != data);
    scrambleFile(scrambled, back, kKey, true);
    QVERIFY(readFile(back) == data);
}

void TestAttachments::keyRestartsEveryBlock()
{
    const QByteArray data = randomBytes(70000, 3);
    const QString plain = chosen(QStringLiteral("blokk.bin"), data);
    const QString scrambled = m_work->filePath(QStringLiteral("blokk.tit"));
    scrambleFile(plain, scrambled, kKey, false);
    const QByteArray stored = readFile(scrambled);
    auto expected = [&](int offset, int keyIndex) {
        return char(quint8(data[offset]) + quint8(kKey[keyIndex]));
    };
    QCOMPARE(stored[0], expected(0, 0));
    QCOMPARE(stored[31], expected(31, 31));
    QCOMPARE(stored[32], expected(32, 0));
    // 65534 = 2047 * 32 + 30: the last byte of the first block.
    QCOMPARE(stored[65534], expected(65534, 30));
    QCOMPARE(stored[65535], expected(65535, 0));
    QCOMPARE(stored[65536], expected(65536, 1));
    QCOMPARE(stored[69999], expected(69999, (69999 - 65535) % 32));

    // Scrambling in memory follows the same rule.
    QByteArray inMemory = data;
    scrambleBlock(inMemory.data(), inMemory.size(), kKey, false);
    QVERIFY(inMemory == stored);
}

void TestAttachments::attachAndOpen_data()
{
    QTest::addColumn<bool>("scramble");
    QTest::newRow("plain") << false;
    QTest::newRow("scrambled") << true;
}

void TestAttachments::attachAndOpen()
{
    QFETCH(bool, scramble);
    const ProgramSettings s = settings(true, scramble);
    const QByteArray data = randomBytes(100000);
    const QString file = chosen(QStringLiteral("Level.pdf"), data);

    QVERIFY(prepareFolder(s, 7, 3).ok);
    ExecSql(QStringLiteral("DELETE FROM iktnaplo;"));
    const Stored stored = store(s, 7, 3, file, {});
    QVERIFY2(stored.ok, qPrintable(stored.message));
    QCOMPARE(stored.storageName, QStringLiteral("0000007-1.pdf"));
    const QString copy = s.mentesutvonal + QStringLiteral("/00003/0000007-1.pdf");
    QVERIFY(QFile::exists(copy));
    QCOMPARE(readFile(copy) == data, !scramble);

    const Dataset row =
        db().query(QStringLiteral("SELECT iktato, filenev, origfilenev, felhkod FROM iktato_file;"));
    QCOMPARE(row.rowCount(), 1);
    QCOMPARE(row.text(0, 0), QStringLiteral("7"));
    QCOMPARE(row.text(0, 1), QStringLiteral("0000007-1.pdf"));
    QCOMPARE(row.text(0, 2), QStringLiteral("Level.pdf"));
    QCOMPARE(row.text(0, 3), QStringLiteral("1"));
    // Attaching writes no journal row of its own on success.
    QVERIFY(journal(7).isEmpty());

    const Fetched fetched = fetch(s, stored.storageName, QStringLiteral("Level.pdf"), 3, {});
    QVERIFY(fetched.message.isEmpty());
    QVERIFY(fetched.open);
    QCOMPARE(fetched.target, s.megnyitasutvonal + QStringLiteral("/Level.pdf"));
    QVERIFY(readFile(fetched.target) == data);
}

void TestAttachments::nextFileFollowsTheHighestKey()
{
    ExecSql(
        QStringLiteral("INSERT INTO iktato_file (iktato_file, iktato, filenev, origfilenev, felhkod) VALUES "
                       "(900, 42, '0000042-1.txt', 'a.txt', 1), (950, 43, '0000043-1.txt', 'b.txt', 1);"));
    QCOMPARE(nextSequence(42), qint64(901));
    QCOMPARE(nextSequence(44), qint64(1));
    const ProgramSettings s = settings(false);
    QVERIFY(prepareFolder(s, 42, 1).ok);
    QCOMPARE(store(s, 42, 1, chosen(QStringLiteral("c"), "c"), {}).storageName,
             QStringLiteral("0000042-901"));
}

void TestAttachments::missingFolderIsCreatedAndJournalled()
{
    const ProgramSettings s = settings(true);
    const QString folder = QDir::toNativeSeparators(groupFolder(s, 3));
    QVERIFY(prepareFolder(s, 7, 3).ok);
    QVERIFY(QFileInfo(groupFolder(s, 3)).isDir());
    QCOMPARE(journal(7),
             QStringList{QStringLiteral("Hiba: Nem létező mentés útvonal, létrehozás próba: ") + folder});
    // An existing folder is taken as it is.
    QVERIFY(prepareFolder(s, 7, 3).ok);
    QCOMPARE(journal(7).size(), 1);
}

void TestAttachments::folderThatCannotBeMade()
{
    ProgramSettings s = settings(true);
    // A file where the storage folder should be: no folder can be made under it.
    writeFile(m_work->filePath(QStringLiteral("tar")), "x");
    const QString folder = QDir::toNativeSeparators(groupFolder(s, 3));
    const Step step = prepareFolder(s, 7, 3);
    QVERIFY(!step.ok);
    QCOMPARE(step.message, QStringLiteral("Nem létező mentés útvonal: \"") + folder + QLatin1Char('"'));
    QCOMPARE(journal(7),
             (QStringList{QStringLiteral("Hiba: Nem létező mentés útvonal, létrehozás próba: ") + folder,
                          QStringLiteral("Hiba: Nem létező mentés útvonal: ") + folder}));
    // FTP storage does not need the folder.
    s.isftp = true;
    QVERIFY(prepareFolder(s, 7, 3).ok);
}

void TestAttachments::tooLongNameIsRefused()
{
    const ProgramSettings s = settings(false);
    QVERIFY(prepareFolder(s, 7, 1).ok);
    ExecSql(QStringLiteral("DELETE FROM iktnaplo;"));
    const QString name = QString(124, QLatin1Char('b')) + QStringLiteral(".pdf");
    const Stored stored = store(s, 7, 1, chosen(name, "x"), {});
    QVERIFY(!stored.ok);
    QCOMPARE(stored.message, QStringLiteral("Érvénytelen, vagy túl hosszú file név."));
    QCOMPARE(journal(7), QStringList{QStringLiteral("Hiba: Érvénytelen, vagy túl hosszú file név: ") +
                                     QDir::toNativeSeparators(groupFolder(s, 1)) + name});
    QCOMPARE(fileRows(), 0);
}

void TestAttachments::failedCopyLeavesNoRow_data()
{
    QTest::addColumn<bool>("unreadable");
    QTest::newRow("file cannot be read") << true;
    QTest::newRow("storage folder vanished") << false;
}

void TestAttachments::failedCopyLeavesNoRow()
{
    QFETCH(bool, unreadable);
    const ProgramSettings s = settings(true);
    QVERIFY(prepareFolder(s, 7, 3).ok);
    QString file = chosen(QStringLiteral("Level.pdf"), "abc");
    if (unreadable)
        file = m_work->filePath(QStringLiteral("valasztott/eltunt.pdf"));
    else
        QVERIFY(QDir(groupFolder(s, 3)).removeRecursively());
    ExecSql(QStringLiteral("DELETE FROM iktnaplo;"));
    const Stored stored = store(s, 7, 3, file, {});
    QVERIFY(!stored.ok);
    QCOMPARE(stored.message, QStringLiteral("Hiba a másolás közben."));
    QCOMPARE(journal(7), QStringList{QStringLiteral("Hiba: Hiba a másolás közben: ") +
                                     QDir::toNativeSeparators(groupFolder(s, 3)) + originalName(file)});
    QCOMPARE(fileRows(), 0);
}

void TestAttachments::unreadableFileWhileScramblingLeavesNoRow()
{
    const ProgramSettings s = settings(true, true);
    QVERIFY(prepareFolder(s, 7, 3).ok);
    QVERIFY_THROWS_EXCEPTION(KorvenaError, store(s, 7, 3, m_work->filePath(QStringLiteral("nincs.pdf")), {}));
    QCOMPARE(fileRows(), 0);
    // A vanished folder: the target cannot be written, and nothing is left behind.
    QVERIFY(QDir(groupFolder(s, 3)).removeRecursively());
    QVERIFY_THROWS_EXCEPTION(KorvenaError, store(s, 7, 3, chosen(QStringLiteral("a.pdf"), "abc"), {}));
    QCOMPARE(fileRows(), 0);
}

void TestAttachments::refusedUploadLeavesNoRow()
{
    ProgramSettings s = settings(false);
    s.isftp = true;
    const Stored stored = store(s, 7, 1, chosen(QStringLiteral("Level.pdf"), "abc"),
                                [](const QString &, const QString &, QString *error) {
                                    *error = QStringLiteral("550 Not enough privileges.");
                                    return false;
                                });
    QVERIFY(!stored.ok);
    QCOMPARE(stored.message, QStringLiteral("Hiba a feltöltés közben.\r\n550 Not enough privileges."));
    QCOMPARE(fileRows(), 0);
}

void TestAttachments::ftpStoresWithoutScramblingOrLocalFolder()
{
    ProgramSettings s = settings(true, true);
    s.isftp = true;
    const QByteArray data = randomBytes(1000);
    QString sentName;
    QByteArray sent;
    const Stored stored = store(s, 7, 3, chosen(QStringLiteral("Level.pdf"), data),
                                [&](const QString &local, const QString &remote, QString *) {
                                    sentName = remote;
                                    sent = readFile(local);
                                    return true;
                                });
    QVERIFY(stored.ok);
    // On FTP the number is the row's own key.
    QCOMPARE(sentName,
             storageName(7, SelectInt(QStringLiteral("SELECT MAX(iktato_file) FROM iktato_file;"), 0),
                         QStringLiteral("Level.pdf")));
    QCOMPARE(SelectText(QStringLiteral("SELECT filenev FROM iktato_file;"), {}), sentName);
    QVERIFY(sent == data);
    QVERIFY(!QFile::exists(groupFolder(s, 3) + sentName));
    QCOMPARE(fileRows(), 1);

    // Opening fetches into the opening folder under the original name, not unscrambled.
    const Fetched fetched = fetch(s, sentName, QStringLiteral("Level.pdf"), 3,
                                  [&](const QString &remote, const QString &local, QString *) {
                                      writeFile(local, remote == sentName ? sent : QByteArray());
                                      return true;
                                  });
    QVERIFY(fetched.open);
    QVERIFY(readFile(fetched.target) == data);
}

void TestAttachments::fetchFailures()
{
    const ProgramSettings s = settings(true);
    Fetched fetched = fetch(s, QString(), QStringLiteral("a.pdf"), 3, {});
    QCOMPARE(fetched.message, QStringLiteral("Nincs melléklet létrehozva"));
    QVERIFY(!fetched.open);
    fetched = fetch(s, QStringLiteral("0000007-9.pdf"), QStringLiteral("a.pdf"), 3, {});
    QCOMPARE(fetched.message, QStringLiteral("Nem létező állomány"));
    QVERIFY(!fetched.open);

    // A name from the register never leads out of the opening folder.
    QCOMPARE(openingPath(s, QStringLiteral("../../etc/level.pdf")),
             s.megnyitasutvonal + QStringLiteral("/level.pdf"));

    ProgramSettings ftp = s;
    ftp.isftp = true;
    fetched = fetch(ftp, QStringLiteral("0000007-1.pdf"), QStringLiteral("a.pdf"), 3,
                    [](const QString &, const QString &, QString *error) {
                        *error = QStringLiteral("550 No such file.");
                        return false;
                    });
    QCOMPARE(fetched.message, QStringLiteral("Hiba a letöltés közben.\r\n550 No such file."));
    // An older file of that name (maybe another document's) is not opened instead.
    QVERIFY(!fetched.open);
}

void TestAttachments::sameNameOpenedTwiceKeepsTheSecond()
{
    const ProgramSettings s = settings(false, true);
    QVERIFY(prepareFolder(s, 7, 1).ok);
    const Stored first = store(s, 7, 1, chosen(QStringLiteral("Level.pdf"), "elso"), {});
    const Stored second = store(s, 8, 1, chosen(QStringLiteral("Level.pdf"), "masodik"), {});
    QVERIFY(first.ok && second.ok);
    QVERIFY(fetch(s, first.storageName, QStringLiteral("Level.pdf"), 1, {}).open);
    const Fetched last = fetch(s, second.storageName, QStringLiteral("Level.pdf"), 1, {});
    QCOMPARE(readFile(last.target), QByteArray("masodik"));
}

namespace {

// An FTP store in memory: what was uploaded under each name.
Upload memoryUpload(QMap<QString, QByteArray> &remote, std::function<void()> before = {})
{
    return [&remote, before](const QString &local, const QString &name, QString *) {
        if (before)
            before();
        remote[name] = readFile(local);
        return true;
    };
}

QStringList storedFiles(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace

void TestAttachments::attachesAtOnceKeepTheirOwnFiles_data()
{
    QTest::addColumn<bool>("ftp");
    QTest::newRow("local folder") << false;
    QTest::newRow("FTP") << true;
}

// Two workstations attach to one document at once: the second comes in after the
// first has taken its name and before its row is committed.
void TestAttachments::attachesAtOnceKeepTheirOwnFiles()
{
    QFETCH(bool, ftp);
    ProgramSettings s = settings(false);
    s.isftp = ftp;
    QVERIFY(prepareFolder(s, 7, 1).ok);
    const QString first = chosen(QStringLiteral("a.pdf"), "elso");
    const QString second = chosen(QStringLiteral("b.pdf"), "masodik");
    QMap<QString, QByteArray> remote;
    auto other = m_db->newConnection();
    Stored theirs;
    bool ran = false;
    auto secondWorkstation = [&] {
        if (ran)
            return;
        ran = true;
        Connection::setCurrent(other.get());
        theirs = store(s, 7, 1, second, memoryUpload(remote));
        Connection::setCurrent(&m_db->connection());
    };
    if (!ftp)
        UnitOfWork::setStatementHookForTests([&](Connection &on, const QString &sql) {
            if (&on == &m_db->connection() && sql.startsWith(QLatin1String("INSERT INTO iktato_file")))
                secondWorkstation();
        });
    const Stored mine = store(s, 7, 1, first, memoryUpload(remote, secondWorkstation));
    QVERIFY(ran);
    QVERIFY(mine.ok && theirs.ok);
    QVERIFY2(mine.storageName != theirs.storageName, qPrintable(mine.storageName));
    QStringList names;
    FillList(names, QStringLiteral("SELECT filenev FROM iktato_file WHERE iktato=7 ORDER BY filenev;"));
    QStringList expected{mine.storageName, theirs.storageName};
    expected.sort();
    QCOMPARE(names, expected);
    if (ftp) {
        QCOMPARE(remote.value(mine.storageName), QByteArray("elso"));
        QCOMPARE(remote.value(theirs.storageName), QByteArray("masodik"));
    } else {
        QCOMPARE(readFile(groupFolder(s, 1) + mine.storageName), QByteArray("elso"));
        QCOMPARE(readFile(groupFolder(s, 1) + theirs.storageName), QByteArray("masodik"));
    }
}

void TestAttachments::keptCopyOfADeletedRowIsNotReplaced_data()
{
    QTest::addColumn<bool>("ftp");
    QTest::newRow("local folder") << false;
    QTest::newRow("FTP") << true;
}

void TestAttachments::keptCopyOfADeletedRowIsNotReplaced()
{
    QFETCH(bool, ftp);
    ProgramSettings s = settings(false);
    s.isftp = ftp;
    QVERIFY(prepareFolder(s, 7, 1).ok);
    QMap<QString, QByteArray> remote;
    const Stored first = store(s, 7, 1, chosen(QStringLiteral("a.pdf"), "elso"), memoryUpload(remote));
    QVERIFY(first.ok);
    // The copy stays when its row goes.
    ExecSql(QStringLiteral("DELETE FROM iktato_file WHERE iktato=7;"));
    const Stored second = store(s, 7, 1, chosen(QStringLiteral("a.pdf"), "masodik"), memoryUpload(remote));
    QVERIFY(second.ok);
    QVERIFY(second.storageName != first.storageName);
    const auto bytes = [&](const QString &name) {
        return ftp ? remote.value(name) : readFile(groupFolder(s, 1) + name);
    };
    QCOMPARE(bytes(first.storageName), QByteArray("elso"));
    QCOMPARE(bytes(second.storageName), QByteArray("masodik"));
}

void TestAttachments::namesTheRowCannotHoldAreRefusedFirst_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("journalled");
    QTest::newRow("a character latin2 has not") << QStringLiteral("Ωmega.pdf") << QStringLiteral("?mega.pdf");
    // 127 characters pass the original name's limit; the stored name would be 136.
    const QString longExtension = QStringLiteral("x.") + QString(125, QLatin1Char('e'));
    QTest::newRow("stored name over 128") << longExtension << longExtension;
}

void TestAttachments::namesTheRowCannotHoldAreRefusedFirst()
{
    QFETCH(QString, name);
    QFETCH(QString, journalled);
    const ProgramSettings s = settings(false);
    QVERIFY(prepareFolder(s, 7, 1).ok);
    ExecSql(QStringLiteral("DELETE FROM iktnaplo;"));
    const Stored stored = store(s, 7, 1, chosen(name, "x"), {});
    QVERIFY(!stored.ok);
    QCOMPARE(stored.message, QStringLiteral("Érvénytelen, vagy túl hosszú file név."));
    QCOMPARE(journal(7), QStringList{QStringLiteral("Hiba: Érvénytelen, vagy túl hosszú file név: ") +
                                     QDir::toNativeSeparators(groupFolder(s, 1)) + journalled});
    QCOMPARE(fileRows(), 0);
    QCOMPARE(storedFiles(groupFolder(s, 1)), QStringList());
}

void TestAttachments::rowAndJournalCommitTogether_data()
{
    QTest::addColumn<bool>("attach");
    QTest::newRow("attaching") << true;
    QTest::newRow("deleting") << false;
}

// The link breaks between the change and its journal row: both are there once.
void TestAttachments::rowAndJournalCommitTogether()
{
    QFETCH(bool, attach);
    const ProgramSettings s = settings(false);
    QVERIFY(prepareFolder(s, 7, 1).ok);
    Stored stored;
    if (!attach)
        stored = store(s, 7, 1, chosen(QStringLiteral("a.pdf"), "x"), {});
    ExecSql(QStringLiteral("DELETE FROM iktnaplo;"));
    bool killed = false;
    UnitOfWork::setStatementHookForTests([&](Connection &on, const QString &sql) {
        if (!killed && sql.startsWith(QLatin1String("INSERT INTO iktnaplo"))) {
            killed = true;
            m_db->newConnection()->exec(QStringLiteral("KILL ") + QString::number(on.threadId()));
        }
    });
    if (attach) {
        stored = store(s, 7, 1, chosen(QStringLiteral("a.pdf"), "x"), {}, true);
        QVERIFY(stored.ok);
    } else {
        const qint64 key = SelectInt(QStringLiteral("SELECT iktato_file FROM iktato_file;"), 0);
        QVERIFY(remove(7, key, QStringLiteral("a.pdf")));
    }
    QVERIFY(killed);
    QCOMPARE(fileRows(), attach ? 1 : 0);
    QCOMPARE(journal(7), QStringList{attach ? QStringLiteral("File csatolás = a.pdf")
                                            : QStringLiteral("Csatolás törlés = a.pdf")});
    // The run the link broke left no copy of its own behind.
    QCOMPARE(storedFiles(groupFolder(s, 1)), QStringList{stored.storageName});
    if (!attach) {
        // A row another workstation removed first: no journal row for a delete that did not happen.
        QVERIFY(!remove(7, SelectInt(QStringLiteral("SELECT MAX(iktato_file) FROM iktato_file;"), 0) + 1000,
                        QStringLiteral("a.pdf")));
        QCOMPARE(journal(7).size(), 1);
    }
}

void TestAttachments::fetchNeverFollowsAPlantedLink_data()
{
    QTest::addColumn<bool>("scramble");
    QTest::newRow("plain") << false;
    QTest::newRow("scrambled") << true;
}

void TestAttachments::fetchNeverFollowsAPlantedLink()
{
    QFETCH(bool, scramble);
    const ProgramSettings s = settings(false, scramble);
    QVERIFY(prepareFolder(s, 7, 1).ok);
    const Stored stored = store(s, 7, 1, chosen(QStringLiteral("Level.pdf"), "tartalom"), {});
    QVERIFY(stored.ok);
    QVERIFY(QDir().mkpath(s.megnyitasutvonal));
    const QString victim = m_work->filePath(QStringLiteral("masik.txt"));
    writeFile(victim, "eredeti");
    QVERIFY(QFile::link(victim, openingPath(s, QStringLiteral("Level.pdf"))));
    const Fetched fetched = fetch(s, stored.storageName, QStringLiteral("Level.pdf"), 1, {});
    QVERIFY(fetched.open);
    QCOMPARE(readFile(victim), QByteArray("eredeti"));
    QVERIFY(!QFileInfo(fetched.target).isSymLink());
    QCOMPARE(readFile(fetched.target), QByteArray("tartalom"));
    // Nothing of the making is left beside it.
    QCOMPARE(storedFiles(s.megnyitasutvonal), QStringList{QStringLiteral("Level.pdf")});
}

void TestAttachments::storageFoldersFollowOneRule()
{
    ExecSql(
        QStringLiteral("INSERT IGNORE INTO csoport (csoport, csoport_nev) VALUES (123456, 'Hosszú kulcs');"));
    ProgramSettings s = settings(true);
    s.mentesutvonal.clear();
    const QString documents = AppFolders::current().documentFolder();
    QCOMPARE(groupFolder(s, 123456), documents + QStringLiteral("/123456/"));
    // Preparing the folders puts them where attaching looks for them.
    QCOMPARE(ensureGroupFolders(s), QStringList());
    QVERIFY(QFileInfo(groupFolder(s, 123456)).isDir());
    QVERIFY(QFileInfo(documents + QStringLiteral("/00001")).isDir());
}

QTEST_GUILESS_MAIN(TestAttachments)
#include "tst_attachments.moc"
