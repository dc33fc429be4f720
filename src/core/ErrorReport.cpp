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

// Length of the quoted text starting at from (the opening quote included), to
// its closing quote or the end: a doubled quote or a backslash escape stays inside.
qsizetype quotedLength(const QString &text, qsizetype from)
{
    const QChar quote = text.at(from);
    qsizetype i = from + 1;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\')) {
            i += 2;
        } else if (c == quote) {
            if (i + 1 < text.size() && text.at(i + 1) == quote)
                i += 2;
            else
                return i + 1 - from;
        } else {
            ++i;
        }
    }
    return text.size() - from;
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// The server quotes values and statement pieces without escaping the quotes
// inside them ("near 'x'' WHERE ...' at line 1"), so everything from the
// first quote to the last goes, whatever lies between.
QString quotesLeftOut(const QString &m)
{
    const qsizetype first = m.indexOf(QLatin1Char('\''));
    if (first < 0)
        return m;
    const qsizetype last = m.lastIndexOf(QLatin1Char('\''));
    if (last == first)
        return m.left(first) + QStringLiteral("'?'");
    return m.left(first) + QStringLiteral("'?'") + m.mid(last + 1);
}

} // namespace

bool touchesPasswords(const QString &sql)
{
    const QString lower = sql.toLower();
    for (const char *part : {"pwd", "jelsz", "passw", "identified"}) {
        if (lower.contains(QLatin1String(part)))
            return true;
    }
    return false;
}

QString withoutValues(const QString &sql)
{
    QString out;
    for (qsizetype i = 0; i < sql.size();) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            out += QStringLiteral("'?'");
            i += quotedLength(sql, i);
        } else if (c == QLatin1Char('`')) {
            // A quoted name is a name, not a value.
            const qsizetype n = quotedLength(sql, i);
            out += sql.mid(i, n);
            i += n;
        } else if (c.isDigit() && (i == 0 || !isNameChar(sql.at(i - 1)))) {
            // 12, 3.5, 1e3, 0x1F: a number and whatever sticks to it.
            while (i < sql.size() && (isNameChar(sql.at(i)) || sql.at(i) == QLatin1Char('.')))
                ++i;
            out += QLatin1Char('?');
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

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
        QFile file(errorLogPath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
            return;
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
    // What goes to the maker leaves out the values of a statement about passwords,
    // and the server's quotes of it in the message.
    const bool secret = touchesPasswords(lastSql);
    if (secret)
        reaction.message = quotesLeftOut(m);
    if (m.contains(QLatin1String("check the manual that"))) {
        reaction.errorBoxes << QStringLiteral("SQL probléma: indítsa újra a programot.\r\n") + m;
        if (!lastSql.isEmpty())
            reaction.message += QStringLiteral(".sql: ") + Base64(secret ? withoutValues(lastSql) : lastSql);
    }
    for (const KnownMessage &rule : knownMessages) {
        if (containsAny(m, rule.parts)) {
            reaction.errorBoxes << rule.text(reaction.message);
            return reaction;
        }
    }
    if (m.contains(QLatin1String("(1267)")))
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
