#include "core/ErrorReport.h"

#include "common/Clock.h"
#include "common/Encoding.h"
#include "common/Version.h"
#include "core/AppFolders.h"
#include "core/Session.h"
#include "core/ConnectionProfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace {

const QString kDefaultVendorUrl = QStringLiteral("https://www.korvena.hu");
const QString kApplicationId = QStringLiteral("36");
const QString kVersion = QString::fromLatin1(ProgramVersion);
const QString kCrLf = QStringLiteral("\r\n");

template <typename Parts> bool containsAny(const QString &m, const Parts &parts)
{
    for (const char *part : parts) {
        if (part && m.contains(QString::fromUtf8(part)))
            return true;
    }
    return false;
}

bool containsAny(const QString &m, std::initializer_list<const char *> parts)
{
    return containsAny<std::initializer_list<const char *>>(m, parts);
}

struct KnownMessage
{
    const char *parts[4];
    QString (*text)(const QString &m);
};

// The first rule whose text occurs in m explains the failure.
const KnownMessage knownMessages[] = {
    {{"JPEG error"}, [](const QString &) -> QString { return QStringLiteral("Érvénytelen kép."); }},
    {{"WriteFile function failed"},
     [](const QString &m) -> QString {
         return QStringLiteral("Fájl, vagy soros port írási hiba, indítsa újra a programot.\r\n") + m;
     }},
    {{"A folyamat nem fér hozzá"},
     [](const QString &m) -> QString { return m + QStringLiteral("\r\nIndítsa újra a programot."); }},
    {{"not a valid"},
     [](const QString &) -> QString {
         return QStringLiteral(
             "Adat beviteli probléma: érvénytelen dátum, vagy idő formátum, nyomja meg az ESC "
             "gombot, vagy javítsa.");
     }},
    {{"Access violation at address"},
     [](const QString &) -> QString {
         return QStringLiteral("Szoftver probléma: lehet, hogy újra kell indítani a programot.");
     }},
    {{"Invalid input value"},
     [](const QString &) -> QString {
         return QStringLiteral("Érvénytelen érték megadás, ESC, majd add meg az újat.");
     }},
    {{"(2003)", "(2005)", "(2006)", "(2013)"},
     [](const QString &) -> QString {
         return QStringLiteral(
             "Internet kapcsolat megszakadt. Ellenőrizze, majd a program újraindítása szükséges.");
     }},
    {{"(1213)"},
     [](const QString &) -> QString {
         return QStringLiteral(
             "Adatbázis elérés probléma (1213 - Deadlock found...), a program újraindítása szükséges.");
     }},
    {{"(1040)"},
     [](const QString &) -> QString {
         return QStringLiteral("Adatbázis elérés probléma (1040 - Túl sok felhasználói kapcsolat), a program "
                               "újraindítása szükséges.");
     }},
    {{"(1205)"},
     [](const QString &) -> QString {
         return QStringLiteral(
             "Adatbázis elérés probléma (1205 - Lock wait timeout exceeded), hívja rendszergazdáját.");
     }},
    // Input the register refuses is the user's to correct, not a fault to report.
    {{"(1062)"},
     [](const QString &) -> QString {
         return QStringLiteral("Ez az érték már szerepel az adatbázisban (ismétlődő kulcs), adjon meg másikat.");
     }},
    {{"(1406)"},
     [](const QString &) -> QString {
         return QStringLiteral("Túl hosszú szöveg: a mező ennyit nem tud tárolni, rövidítse le.");
     }},
    {{"amelyet az adatbázis nem tud tárolni"},
     [](const QString &m) -> QString { return m.section(QLatin1Char('-'), 1); }},
};

// The locale's long time format carries the time zone, which a log line does not need.
QString logTimeFormat(const QLocale &locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return format.trimmed();
}

} // namespace

QString errorLogPath()
{
    const QFileInfo executable(QCoreApplication::applicationFilePath());
#ifdef Q_OS_WIN
    const QString name = executable.completeBaseName();
#else
    // Executables have no extension here: the whole name is the base.
    const QString name = executable.fileName();
#endif
    return AppFolders::current().dataFolder + QLatin1Char('/') + name + QStringLiteral(".log");
}

QString errorLogLine(const QDateTime &when, const QString &windowName, const QString &m)
{
    const QLocale locale;
    const QString stamp = locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                          locale.toString(when.time(), logTimeFormat(locale));
    return stamp + QStringLiteral(" : ") + windowName + QStringLiteral(" - ") + m;
}

void appendErrorLog(const QString &windowName, const QString &m) noexcept
{
    try {
        // Failures carry statements and register text: the log is the owner's alone.
        constexpr QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        QFile file(errorLogPath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text, ownerOnly))
            return;
        if (file.permissions() != ownerOnly)
            file.setPermissions(ownerOnly);
        file.write((errorLogLine(Now(), windowName, m) + QLatin1Char('\n')).toUtf8());
    } catch (...) {
        // The log is the handler's last resort; nothing is left to tell.
    }
}

QString ErrorReaction::reportQuestion() const
{
    return QStringLiteral("Kérem, az alábbi hibaüzenetet az OK gombra kattintva küldje el nekünk:\r\n") +
           message + QStringLiteral("\r\nNyomja meg az OK gombot!");
}

ErrorReaction classifyUnhandledError(const QString &m, const QString &lastSql, const QString &windowName)
{
    ErrorReaction reaction;
    reaction.message = m;

    if (containsAny(m, {"List index out of bounds", "Cannot focus", "Cannot open clipboard"})) {
        reaction.ignored = true;
        return reaction;
    }
    if (windowName == QLatin1String(ReportPreviewWindowName)) {
        reaction.errorBoxes << QStringLiteral(
            "Nyomtatási probléma, vagy érvénytelen nyomtató: Rendszer menü / Beállítások alatt válasszon ki "
            "érvényes nyomtatót, és indítsa újra a programot.");
        return reaction;
    }
    if (containsAny(m, {"Printer index out of range", "Printer selected is not valid",
                        "There is no default printer currently selected"})) {
        reaction.errorBoxes << QStringLiteral(
            "Érvénytelen nyomtató, válasszon ki érvényes nyomtatót, és indítsa újra a programot.");
        return reaction;
    }
    if (m.contains(QLatin1String("A component named qr"))) {
        reaction.errorBoxes << QStringLiteral("Nyomtatási probléma: indítsa újra a programot.");
        return reaction;
    }
    if (m.contains(QLatin1String("check the manual that"))) {
        reaction.errorBoxes << QStringLiteral("SQL probléma: indítsa újra a programot.\r\n") + m;
        if (!lastSql.isEmpty())
            reaction.message = m + QStringLiteral(".sql: ") + Base64(lastSql);
    }
    for (const KnownMessage &rule : knownMessages) {
        if (containsAny(reaction.message, rule.parts)) {
            reaction.errorBoxes << rule.text(reaction.message);
            return reaction;
        }
    }
    if (reaction.message.contains(QLatin1String("(1267)")))
        reaction.errorBoxes << QStringLiteral(
            "Helytelen adatbázis kódlap beállítás (1267). Jelezze rendszergazdájának.");
    reaction.offerReport = true;
    return reaction;
}

QString vendorBaseUrl()
{
    const QString fromEnvironment = qEnvironmentVariable("KORVENA_VENDOR_URL");
    QString url = fromEnvironment.isEmpty() ? kDefaultVendorUrl : fromEnvironment;
    while (url.endsWith(QLatin1Char('/')))
        url.chop(1);
    return url;
}

QString executableFileName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

QUrl errorReportUrl(const QString &windowName, const QString &database, const QString &client,
                    const QString &m)
{
    const std::pair<const char *, QString> items[] = {
        {"app", kApplicationId},
        {"appnev", QStringLiteral("Korvena-") + executableFileName()},
        {"ver", kVersion},
        {"form", windowName},
        {"database", database},
        {"client", client},
        {"err", m},
    };
    QByteArray query;
    for (const auto &[name, value] : items) {
        if (!query.isEmpty())
            query += '&';
        query += name;
        query += '=';
        query += QUrl::toPercentEncoding(value);
    }
    QUrl url(vendorBaseUrl() + QStringLiteral("/apperr.php"));
    url.setQuery(QString::fromLatin1(query), QUrl::StrictMode);
    return url;
}

QUrl errorReportUrl(const QString &windowName, const QString &m)
{
    return errorReportUrl(windowName, profileField(session().profileLine, 1), session().ownerName, m);
}
