#include "core/FtpTransfer.h"
#include "core/HttpTransfer.h"

#include "LocalServers.h"

#include <QDir>
#include <QFile>
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

    void addressEscapesEveryPart();
    void uploadThenDownloadIsByteIdentical();
    void refusedUploadSaysWhy();
    void missingRemoteFileFailsTheDownload();
    void unreachableServerFails();
    void cancelStopsTheTransfer();
    void httpAnswerIsSaved();
    void httpErrorStatusFails();

private:
    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<QTemporaryDir> m_local;
    std::unique_ptr<LocalServer> m_ftp;
    std::unique_ptr<LocalServer> m_http;

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
}

void TestTransfers::cleanupTestCase()
{
    m_ftp.reset();
    m_http.reset();
}

void TestTransfers::addressEscapesEveryPart()
{
    const FtpTarget target{QStringLiteral("ftp.example.hu"), {}, {}, QStringLiteral("/iratok/2024 év/")};
    QCOMPARE(FtpTransfer::url(target, QStringLiteral("0000007-1.pdf")),
             QStringLiteral("ftp://ftp.example.hu/iratok/2024%20%C3%A9v/0000007-1.pdf"));
    QCOMPARE(FtpTransfer::url(FtpTarget{QStringLiteral("h:2121"), {}, {}, {}}, QStringLiteral("a#b")),
             QStringLiteral("ftp://h:2121/a%23b"));
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

QTEST_GUILESS_MAIN(TestTransfers)
#include "tst_transfers.moc"
