#include "core/ConnectionProfile.h"

#include "common/Encoding.h"

#include "core/IniFile.h"
#include "core/LocalConfig.h"
#include "db/DbError.h"

#include <QRandomGenerator>

namespace {

const QString kSection = QStringLiteral("Adatbazis");

QString profileKey(int n)
{
    return QStringLiteral("ConStr%1").arg(n);
}

// The scrambling counts in code page 1250, as the stored lines always have;
// a character outside it keeps its Unicode value.
int codeOf(QChar c)
{
    const int code = Cp1250Code(c);
    return code >= 0 ? code : c.unicode();
}

QChar characterOf(int code)
{
    return code < 256 ? Cp1250Char(uchar(code)) : QChar(char16_t(code));
}

} // namespace

ConnectionProfile ConnectionProfile::fromLine(const QString &line)
{
    ConnectionProfile p;
    p.database = profileField(line, 1);
    p.server = profileField(line, 2);
    p.port = profileField(line, 3);
    p.user = profileField(line, 4);
    p.password = profileField(line, 5);
    p.displayName = profileField(line, 6);
    p.tls = tlsFromField(profileField(line, 7));
    return p;
}

QString ConnectionProfile::line() const
{
    return profileLine(database, server, port, user, password, displayName, tls);
}

QString tlsField(TlsMode tls)
{
    switch (tls) {
    case TlsMode::Off:
        return QStringLiteral("off");
    case TlsMode::Required:
        return QStringLiteral("required");
    case TlsMode::Preferred:
        break;
    }
    return {};
}

TlsMode tlsFromField(const QString &field)
{
    if (field.compare(QLatin1String("off"), Qt::CaseInsensitive) == 0)
        return TlsMode::Off;
    if (field.compare(QLatin1String("required"), Qt::CaseInsensitive) == 0)
        return TlsMode::Required;
    return TlsMode::Preferred;
}

QStringList tlsCaptions()
{
    return {QStringLiteral("nincs"), QStringLiteral("ha lehet"), QStringLiteral("kötelező")};
}

QString tlsCaFile()
{
    return localConfigFile().readString(kSection, QStringLiteral("TlsCaFile"));
}

ConnectionParams ConnectionProfile::connectionParams() const
{
    bool ok = false;
    const uint number = port.toUInt(&ok, 10);
    if (!ok || number > 65535)
        throw KorvenaError(QStringLiteral("Érvénytelen portszám: '%1'").arg(port));
    ConnectionParams params;
    params.database = database;
    params.host = server;
    params.port = number;
    params.user = user;
    params.password = password;
    params.tls = tls;
    params.tlsCaFile = tlsCaFile();
    return params;
}

QString profileField(const QString &line, int n)
{
    const QStringList fields = line.split(QLatin1Char(';'));
    if (n < 1 || n > fields.size())
        return {};
    return fields.at(n - 1).trimmed();
}

QString profileFieldsRefusal(const QStringList &fields)
{
    for (const QString &field : fields) {
        for (const QChar c : field) {
            if (c == QLatin1Char(';') || c.category() == QChar::Other_Control)
                return QStringLiteral("A mezők nem tartalmazhatnak pontosvesszőt (;) és vezérlőkaraktert.");
        }
        if (field != field.trimmed())
            return QStringLiteral("A mezők nem kezdődhetnek és nem végződhetnek szóközzel.");
    }
    return {};
}

QString profileLine(const QString &database, const QString &server, const QString &port, const QString &user,
                    const QString &password, const QString &displayName, TlsMode tls)
{
    const QChar sep = QLatin1Char(';');
    const QString line = database + sep + server + sep + port + sep + user + sep + password + sep + displayName;
    const QString field = tlsField(tls);
    return field.isEmpty() ? line : line + sep + field;
}

QString ScrambleProfile(const QString &line, QRandomGenerator *random)
{
    if (!random)
        random = QRandomGenerator::global();
    auto filler = [random] { return QChar(char16_t(random->bounded(33, 88))); };
    QString out;
    out.reserve(3 + 2 * line.size());
    for (int i = 0; i < 3; ++i)
        out += filler();
    for (QChar c : line) {
        out += characterOf(codeOf(c) + 1);
        out += filler();
    }
    return out;
}

QString UnscrambleProfile(const QString &stored)
{
    QString line;
    for (qsizetype i = 3; i < stored.size(); i += 2)
        line += characterOf(qMax(codeOf(stored.at(i)) - 1, 0));
    return line;
}

QString ProfileChoice::caption() const
{
    return QString::number(number) + QStringLiteral("; ") + profileField(line, 6);
}

QList<ProfileChoice> profileChoices(const QStringList &storedConStr)
{
    QList<ProfileChoice> choices;
    const int count = int(qMin<qsizetype>(storedConStr.size(), 25));
    for (int i = 0; i < count; ++i) {
        const QString line = UnscrambleProfile(storedConStr.at(i));
        if (!profileField(line, 6).isEmpty())
            choices.append({i + 1, line});
    }
    return choices;
}

QList<ProfileChoice> profileChoices(const IniFile &file)
{
    QStringList stored;
    for (int n = 1; n <= 25; ++n)
        stored << file.readString(kSection, profileKey(n));
    return profileChoices(stored);
}

int storeNewProfile(IniFile &file, const QString &line, QRandomGenerator *random)
{
    const QStringList existing = file.keys(kSection);
    int number = 0;
    for (int n = 1; n <= 100; ++n) {
        if (!existing.contains(profileKey(n), Qt::CaseInsensitive)) {
            number = n;
            break;
        }
    }
    if (!file.writeString(kSection, profileKey(number), ScrambleProfile(line, random)))
        throw KorvenaError(QStringLiteral("Nem sikerült menteni az adatbázis-kapcsolatot: ") + file.path());
    return number;
}

QString testProfile(const ConnectionProfile &profile)
{
    const ConnectionParams params = profile.connectionParams();
    try {
        Connection connection;
        connection.open(params);
        connection.close();
    } catch (const KorvenaError &e) {
        // Also a user or password the register's character set cannot carry.
        return e.text();
    }
    return {};
}
