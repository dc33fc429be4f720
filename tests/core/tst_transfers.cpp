#include "core/FtpTransfer.h"
#include "core/HttpTransfer.h"

#include "LocalServers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

QByteArray randomBytes(qsizetype size)
{
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator generator(42);
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

} // namespace

class TestTransfers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void addressEscapesEveryPart_data();
    void addressEscapesEveryPart();
    void uploadThenDownloadIsByteIdentical();
    void absoluteFolderCountsFromTheServerRoot();
    void remoteNameThatLeavesTheFolderIsRefused_data();
    void remoteNameThatLeavesTheFolderIsRefused();
    void stalledServerFailsInsteadOfHanging_data();
    void stalledServerFailsInsteadOfHanging();
    void downloadReplacesAPlantedLink();
    void refusedUploadSaysWhy();
    void missingRemoteFileFailsTheDownload();
    void unreachableServerFails();
    void cancelStopsTheTransfer();
    void httpAnswerIsSaved();
    void httpErrorStatusFails();
    void httpsAnswerIsSavedAndHttpMayRedirectToIt();
    void httpRefusals_data();
    void httpRefusals();
    void httpAnswerReplacesAPlantedLink();

private:
    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<QTemporaryDir> m_local;
    std::unique_ptr<LocalServer> m_ftp;
    std::unique_ptr<LocalServer> m_http;
    std::unique_ptr<LocalServer> m_https;

    QString http(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_http->port()).arg(path);
    }
    QString https(const QString &path) const
    {
        return QStringLiteral("https://127.0.0.1:%1%2").arg(m_https->port()).arg(path);
    }
    // The test servers' answer to /to?ADDRESS is a redirect to ADDRESS.
    static QString redirect(const QString &address)
    {
        return QStringLiteral("/to?") + QString::fromLatin1(QUrl::toPercentEncoding(address));
    }
    QByteArray httpLog() const { return readFile(m_local->filePath(QStringLiteral("http.log"))); }

    FtpTarget writer() const
    {
        return {m_ftp->host(), QStringLiteral("iro"), QStringLiteral("jelszo"), QStringLiteral("dok")};
    }
};

void TestTransfers::initTestCase()
{
    m_root = std::make_unique<QTemporaryDir>();
    m_local = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_root->path()).mkpath(QStringLiteral("dok")));
    m_ftp = std::make_unique<LocalServer>("ftp_server.py", QStringList{m_root->path()});
    QVERIFY2(m_ftp->port() > 0, "the local FTP server did not start");
    m_http = std::make_unique<LocalServer>("http_server.py",
                                           QStringList{m_local->filePath(QStringLiteral("http.log"))});
    QVERIFY2(m_http->port() > 0, "the local HTTP server did not start");
    const QString pem = QStringLiteral(KORVENA_TEST_DATA "/../core/https_test.pem");
    m_https = std::make_unique<LocalServer>(
        "http_server.py", QStringList{m_local->filePath(QStringLiteral("https.log")), pem});
    QVERIFY2(m_https->port() > 0, "the local HTTPS server did not start");
    HttpTransfer::setExtraCertificatesForTests(pem);
}

void TestTransfers::cleanupTestCase()
{
    m_ftp.reset();
    m_http.reset();
    m_https.reset();
}

void TestTransfers::addressEscapesEveryPart_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("url");
    QTest::newRow("relative") << "ftp.example.hu" << "iratok/2024 év/" << "0000007-1.pdf"
                              << "ftp://ftp.example.hu/iratok/2024%20%C3%A9v/0000007-1.pdf";
    // An escaped first slash: libcurl starts from the root, not the login folder.
    QTest::newRow("absolute") << "ftp.example.hu" << "/srv/iratok" << "0000007-1.pdf"
                              << "ftp://ftp.example.hu/%2Fsrv/iratok/0000007-1.pdf";
    QTest::newRow("root") << "h" << "/" << "a.csv" << "ftp://h/%2Fa.csv";
    QTest::newRow("login folder") << "h:2121" << "" << "a#b" << "ftp://h:2121/a%23b";
}

void TestTransfers::addressEscapesEveryPart()
{
    QFETCH(QString, host);
    QFETCH(QString, directory);
    QFETCH(QString, name);
    QFETCH(QString, url);
    QCOMPARE(FtpTransfer::url(FtpTarget{host, {}, {}, directory}, name), url);
}

void TestTransfers::uploadThenDownloadIsByteIdentical()
{
    const QByteArray data = randomBytes(300000);
    const QString source = m_local->filePath(QStringLiteral("forras.bin"));
    writeFile(source, data);
    FtpTransfer up(writer());
    qint64 lastDone = -1, lastTotal = -1;
    up.setProgress([&](qint64 done, qint64 total) {
        lastDone = done;
        lastTotal = total;
    });
    QVERIFY2(up.upload(source, QStringLiteral("0000007-1.bin")), qPrintable(up.errorText()));
    QCOMPARE(readFile(m_root->filePath(QStringLiteral("dok/0000007-1.bin"))), data);
    QCOMPARE(lastTotal, data.size());
    QCOMPARE(lastDone, data.size());

    const QString back = m_local->filePath(QStringLiteral("vissza.bin"));
    FtpTransfer down(writer());
    QVERIFY2(down.download(QStringLiteral("0000007-1.bin"), back), qPrintable(down.errorText()));
    QCOMPARE(readFile(back), data);
}

void TestTransfers::absoluteFolderCountsFromTheServerRoot()
{
    // "kint" logs in to /home/kint; "/dok" is the root's folder, "sajat" its own.
    QVERIFY(QDir(m_root->path()).mkpath(QStringLiteral("home/kint/sajat")));
    const QString source = m_local->filePath(QStringLiteral("kint.txt"));
    writeFile(source, "kint");
    const FtpTarget absolute{m_ftp->host(), QStringLiteral("kint"), QStringLiteral("jelszo"), QStringLiteral("/dok")};
    FtpTransfer up(absolute);
    QVERIFY2(up.upload(source, QStringLiteral("0000009-1.txt")), qPrintable(up.errorText()));
    QCOMPARE(readFile(m_root->filePath(QStringLiteral("dok/0000009-1.txt"))), QByteArray("kint"));
    FtpTransfer down(absolute);
    const QString back = m_local->filePath(QStringLiteral("kint-vissza.txt"));
    QVERIFY2(down.download(QStringLiteral("0000009-1.txt"), back), qPrintable(down.errorText()));
    QCOMPARE(readFile(back), QByteArray("kint"));

    FtpTarget relative = absolute;
    relative.directory = QStringLiteral("sajat");
    FtpTransfer own(relative);
    QVERIFY2(own.upload(source, QStringLiteral("0000009-2.txt")), qPrintable(own.errorText()));
    QCOMPARE(readFile(m_root->filePath(QStringLiteral("home/kint/sajat/0000009-2.txt"))), QByteArray("kint"));
}

void TestTransfers::remoteNameThatLeavesTheFolderIsRefused_data()
{
    QTest::addColumn<QString>("name");
    // libcurl turns an escaped slash into a folder step.
    QTest::newRow("escaped climb") << "..%2Ftitok.txt";
    QTest::newRow("climb") << "../titok.txt";
    QTest::newRow("parent") << "..";
    QTest::newRow("sub-folder") << "dok/0000007-1.bin";
    QTest::newRow("backslash") << "..\\titok.txt";
    QTest::newRow("line break") << "a.txt\r\nDELE titok.txt";
    QTest::newRow("empty") << "";
}

void TestTransfers::remoteNameThatLeavesTheFolderIsRefused()
{
    QFETCH(QString, name);
    writeFile(m_root->filePath(QStringLiteral("titok.txt")), "titok");
    const QString target = m_local->filePath(QStringLiteral("lopott.txt"));
    FtpTransfer down(writer());
    QVERIFY(!down.download(name, target));
    QVERIFY(!down.errorText().isEmpty());
    QVERIFY(!QFile::exists(target));

    const QString source = m_local->filePath(QStringLiteral("felul.txt"));
    writeFile(source, "felulirva");
    FtpTransfer up(writer());
    QVERIFY(!up.upload(source, name));
    QCOMPARE(readFile(m_root->filePath(QStringLiteral("titok.txt"))), QByteArray("titok"));
}

void TestTransfers::stalledServerFailsInsteadOfHanging_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("upload");
    QTest::newRow("no greeting") << "silent" << false;
    QTest::newRow("download stops") << "data" << false;
    QTest::newRow("upload not read") << "data" << true;
}

void TestTransfers::stalledServerFailsInsteadOfHanging()
{
    QFETCH(QString, mode);
    QFETCH(bool, upload);
    LocalServer stalled("stalled_ftp_server.py", QStringList{mode});
    QVERIFY(stalled.port() > 0);
    const QString source = m_local->filePath(QStringLiteral("sok.bin"));
    writeFile(source, randomBytes(16 * 1024 * 1024));
    const QString target = m_local->filePath(QStringLiteral("elakadt.bin"));
    FtpTransfer transfer(FtpTarget{stalled.host(), QStringLiteral("iro"), QStringLiteral("jelszo"), {}});
    transfer.setStallLimit(1);
    const bool ok = upload ? transfer.upload(source, QStringLiteral("sok.bin"))
                           : transfer.download(QStringLiteral("sok.bin"), target);
    QVERIFY(!ok);
    QVERIFY(!transfer.wasCancelled());
    QVERIFY(!transfer.errorText().isEmpty());
    QVERIFY(!QFile::exists(target));
}

void TestTransfers::downloadReplacesAPlantedLink()
{
    // Someone else's link under the name in a shared opening folder.
    const QString victim = m_local->filePath(QStringLiteral("masik.txt"));
    writeFile(victim, "masik");
    writeFile(m_root->filePath(QStringLiteral("dok/0000008-1.txt")), "csatolt");
    const QString target = m_local->filePath(QStringLiteral("Level.txt"));
    QFile::remove(target);
    QVERIFY(QFile::link(victim, target));
    FtpTransfer down(writer());
    QVERIFY2(down.download(QStringLiteral("0000008-1.txt"), target), qPrintable(down.errorText()));
    QVERIFY(!QFileInfo(target).isSymLink());
    QCOMPARE(readFile(target), QByteArray("csatolt"));
    QCOMPARE(readFile(victim), QByteArray("masik"));
}

void TestTransfers::refusedUploadSaysWhy()
{
    const QString source = m_local->filePath(QStringLiteral("tilos.txt"));
    writeFile(source, "szoveg");
    FtpTarget reader = writer();
    reader.user = QStringLiteral("olvaso");
    FtpTransfer up(reader);
    QVERIFY(!up.upload(source, QStringLiteral("tilos.txt")));
    QVERIFY(!up.wasCancelled());
    // The server's own refusal travels with libcurl's text.
    QVERIFY2(up.errorText().contains(QLatin1String("550")), qPrintable(up.errorText()));
    QVERIFY(!QFile::exists(m_root->filePath(QStringLiteral("dok/tilos.txt"))));
}

void TestTransfers::missingRemoteFileFailsTheDownload()
{
    FtpTransfer down(writer());
    QVERIFY(!down.download(QStringLiteral("nincs.pdf"), m_local->filePath(QStringLiteral("nincs.pdf"))));
    QVERIFY(!down.errorText().isEmpty());

    FtpTarget wrongPassword = writer();
    wrongPassword.password = QStringLiteral("rossz");
    FtpTransfer login(wrongPassword);
    QVERIFY(!login.download(QStringLiteral("x"), m_local->filePath(QStringLiteral("x"))));
    QVERIFY(!login.errorText().isEmpty());
}

void TestTransfers::unreachableServerFails()
{
    // Nobody listens on port 1 of the loopback: the connection is refused at once.
    const QString source = m_local->filePath(QStringLiteral("egy.txt"));
    writeFile(source, "1");
    FtpTransfer up(
        FtpTarget{QStringLiteral("127.0.0.1:1"), QStringLiteral("iro"), QStringLiteral("jelszo"), {}});
    QVERIFY(!up.upload(source, QStringLiteral("egy.txt")));
    QVERIFY(!up.errorText().isEmpty());
    QVERIFY(!up.upload(m_local->filePath(QStringLiteral("nincs-ilyen")), QStringLiteral("x")));
}

void TestTransfers::cancelStopsTheTransfer()
{
    const QString source = m_local->filePath(QStringLiteral("nagy.bin"));
    writeFile(source, randomBytes(4 * 1024 * 1024));
    FtpTransfer up(writer());
    up.setCancel([] { return true; });
    QVERIFY(!up.upload(source, QStringLiteral("nagy.bin")));
    QVERIFY(up.wasCancelled());
}

void TestTransfers::httpAnswerIsSaved()
{
    const QString answer = m_local->filePath(QStringLiteral("kesz.txt"));
    HttpTransfer request;
    QVERIFY2(request.get(QStringLiteral("http://127.0.0.1:%1/betolt.php?iktato=7&ids=12").arg(m_http->port()),
                         answer),
             qPrintable(request.errorText()));
    QCOMPARE(readFile(answer), QByteArray("kesz"));
    QVERIFY(
        readFile(m_local->filePath(QStringLiteral("http.log"))).contains("/betolt.php?iktato=7&ids=12\n"));
}

void TestTransfers::httpErrorStatusFails()
{
    HttpTransfer request;
    QVERIFY(!request.get(QStringLiteral("http://127.0.0.1:%1/missing").arg(m_http->port()),
                         m_local->filePath(QStringLiteral("hiba.txt"))));
    QVERIFY(request.errorText().contains(QLatin1String("404")));
}

void TestTransfers::httpsAnswerIsSavedAndHttpMayRedirectToIt()
{
    const QString answer = m_local->filePath(QStringLiteral("biztos.txt"));
    HttpTransfer direct;
    QVERIFY2(direct.get(https(QStringLiteral("/hirfolyam.php?prg=36")), answer), qPrintable(direct.errorText()));
    QCOMPARE(readFile(answer), QByteArray("kesz"));

    QFile::remove(answer);
    HttpTransfer upgraded;
    QVERIFY2(upgraded.get(http(redirect(https(QStringLiteral("/fel")))), answer), qPrintable(upgraded.errorText()));
    QCOMPARE(readFile(answer), QByteArray("kesz"));
}

void TestTransfers::httpRefusals_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QByteArray>("neverAsked"); // a request the http server must not see
    const QByteArray none;
    QTest::newRow("https down to http") << https(redirect(http(QStringLiteral("/le")))) << QByteArray("/le\n");
    QTest::newRow("http to a file") << http(redirect(QStringLiteral("file:///etc/passwd"))) << none;
    QTest::newRow("file address") << QStringLiteral("file:///etc/passwd") << none;
    QTest::newRow("ftp address") << QStringLiteral("ftp://%1/dok/x").arg(m_ftp->host()) << none;
    QTest::newRow("size announced") << http(QStringLiteral("/big")) << none;
    QTest::newRow("size not announced") << http(QStringLiteral("/bigstream")) << none;
}

void TestTransfers::httpRefusals()
{
    QFETCH(QString, address);
    QFETCH(QByteArray, neverAsked);
    const QString answer = m_local->filePath(QStringLiteral("tilos.txt"));
    QFile::remove(answer);
    HttpTransfer request;
    QVERIFY(!request.get(address, answer));
    QVERIFY(!request.errorText().isEmpty());
    QVERIFY(!QFile::exists(answer));
    if (!neverAsked.isEmpty())
        QVERIFY(!httpLog().contains(neverAsked));
}

void TestTransfers::httpAnswerReplacesAPlantedLink()
{
    const QString victim = m_local->filePath(QStringLiteral("beallitas.ini"));
    writeFile(victim, "sajat");
    const QString answer = m_local->filePath(QStringLiteral("Verkov.txt"));
    QFile::remove(answer);
    QVERIFY(QFile::link(victim, answer));
    HttpTransfer request;
    QVERIFY2(request.get(http(QStringLiteral("/verziokovetes.php")), answer), qPrintable(request.errorText()));
    QVERIFY(!QFileInfo(answer).isSymLink());
    QCOMPARE(readFile(answer), QByteArray("kesz"));
    QCOMPARE(readFile(victim), QByteArray("sajat"));
}

QTEST_GUILESS_MAIN(TestTransfers)
#include "tst_transfers.moc"
