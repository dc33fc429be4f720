#include "core/VendorNotices.h"

#include "common/Encoding.h"
#include "common/Numbers.h"
#include "common/SqlText.h"
#include "common/Text.h"
#include "common/Version.h"
#include "core/AppFolders.h"
#include "core/ErrorReport.h"
#include "core/FtpTransfer.h"
#include "core/HttpTransfer.h"
#include "db/DbHelpers.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <atomic>
#include <thread>

namespace VendorNotices {

namespace {

// The transfer runs on a thread of its own while this thread's events go on: a
// vendor host that never answers must not freeze the window for the time-outs.
bool fetch(const QString &address, const QString &path)
{
    ensureCurlReady();
    std::atomic<bool> ok{false};
    QEventLoop loop;
    std::thread worker([&] {
        HttpTransfer http;
        ok = http.get(address, path);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    return ok;
}

} // namespace

int buildNumber(const QString &version)
{
    return TextToInt(Token(QStringLiteral("."), version, 4));
}

std::optional<VersionNotice> versionNoticeOf(const QString &answer, const QString &accepted,
                                             const QString &programVersion)
{
    const QString remote = Token(QStringLiteral("|"), answer, 1);
    const int offered = buildNumber(remote);
    const int dismissed = buildNumber(accepted.isEmpty() ? programVersion : accepted);
    if (offered <= dismissed || offered <= buildNumber(programVersion))
        return std::nullopt;
    return VersionNotice{remote, Token(QStringLiteral("|"), answer, 2)};
}

std::optional<NewsItem> newsItemOf(const QString &answer)
{
    NewsItem item;
    item.idText = Token(QStringLiteral("|"), answer, 1);
    if (item.idText.isEmpty() || item.idText == QLatin1String("0"))
        return std::nullopt;
    item.id = TextToInt(item.idText);
    item.title = Token(QStringLiteral("|"), answer, 2);
    item.text = Token(QStringLiteral("|"), answer, 3);
    item.detailsAddress = newsDetailsAddress(item.idText);
    return item;
}

QString versionAddress()
{
    return vendorBaseUrl() + QStringLiteral("/verziokovetes.php?prg=") + QString::number(ProgramId);
}

QString newsAddress(int acceptedNews)
{
    return vendorBaseUrl() + QStringLiteral("/hirfolyam.php?prg=") + QString::number(ProgramId) +
           QStringLiteral("&hir=") + QString::number(acceptedNews);
}

QString newsDetailsAddress(const QString &idText)
{
    return vendorBaseUrl() + QStringLiteral("/hirek.php?hir=") + idText;
}

std::optional<QString> downloadAnswer(const QString &address, const QString &fileName)
{
    const QString path = QDir(AppFolders::current().dataFolder).filePath(fileName);
    if (QFile::exists(path) && !QFile::remove(path))
        return std::nullopt;
    if (!fetch(address, path))
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return FromCp1250(RepairUtf8(bytes));
}

std::optional<VersionNotice> checkVersion()
{
    // The check is a courtesy: whatever goes wrong, the user is not bothered.
    try {
        const std::optional<QString> answer = downloadAnswer(versionAddress(), QStringLiteral("Verkov.txt"));
        if (!answer)
            return std::nullopt;
        const QString accepted =
            SelectText(QStringLiteral("SELECT verzioelfogadva FROM beallit;"), QString());
        return versionNoticeOf(*answer, accepted, QLatin1String(ProgramVersion));
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<NewsItem> checkNews()
{
    try {
        const int accepted = SelectInt(QStringLiteral("SELECT hirelfogadva FROM beallit;"), 0);
        const std::optional<QString> answer =
            downloadAnswer(newsAddress(accepted), QStringLiteral("hirkov.txt"));
        if (!answer)
            return std::nullopt;
        return newsItemOf(*answer);
    } catch (...) {
        return std::nullopt;
    }
}

void acceptVersion(const QString &version)
{
    ExecSql(QStringLiteral("UPDATE beallit SET verzioelfogadva = ") + SqlLiteral(version) + QLatin1Char(';'));
}

void acceptNews(int id)
{
    // A NULL counts as 0 here as everywhere, so it is raised too.
    const QString n = SqlInt(id);
    ExecSql(QStringLiteral("UPDATE beallit SET hirelfogadva = ") + n +
            QStringLiteral(" WHERE IFNULL(hirelfogadva, 0) < ") + n + QLatin1Char(';'));
}

} // namespace VendorNotices
