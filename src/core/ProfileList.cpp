#include "core/ProfileList.h"

#include "common/Numbers.h"
#include "core/ConnectionProfile.h"
#include "core/IniFile.h"

#include <QFile>
#include <filesystem>
#include <system_error>

namespace {

const QString Section = QStringLiteral("Adatbazis");
const QString ToolSection = QStringLiteral("frm_Adatbazis");
const QString ToolKey = QStringLiteral("MysqlDump");

QString key(int n)
{
    return QStringLiteral("ConStr") + QString::number(n);
}

} // namespace

ProfileRow ProfileRow::fromLine(const QString &line)
{
    ProfileRow r;
    r.database = profileField(line, 1);
    r.server = profileField(line, 2);
    r.port = TextToInt(profileField(line, 3));
    r.user = profileField(line, 4);
    r.password = profileField(line, 5);
    r.displayName = profileField(line, 6);
    r.tls = tlsFromField(profileField(line, 7));
    return r;
}

QString ProfileRow::line() const
{
    const QChar sep = QLatin1Char(';');
    const QString field = tlsField(tls);
    return database + sep + server + sep + QString::number(port) + sep + user + sep + password + sep +
           displayName + sep + (field.isEmpty() ? QString() : field + sep);
}

ConnectionParams ProfileRow::connectionParams() const
{
    ConnectionParams p;
    p.host = server;
    p.port = unsigned(qBound(0, port, 65535));
    p.user = user;
    p.password = password;
    p.database = database;
    p.tls = tls;
    p.tlsCaFile = tlsCaFile();
    return p;
}

namespace ProfileList {

QList<ProfileRow> read(const IniFile &file)
{
    QList<ProfileRow> rows;
    for (int n = 1; n <= MaxProfiles; ++n) {
        const QString line = UnscrambleProfile(file.readString(Section, key(n)));
        if (!line.trimmed().isEmpty())
            rows << ProfileRow::fromLine(line);
    }
    return rows;
}

bool write(IniFile &file, const QList<ProfileRow> &rows)
{
    for (int n = 1; n <= MaxProfiles; ++n)
        if (file.hasKey(Section, key(n)) && !file.removeKey(Section, key(n)))
            return false;
    for (int k = 0; k < rows.size() && k < MaxProfiles; ++k)
        if (!file.writeString(Section, key(k + 1), ScrambleProfile(rows[k].line())))
            return false;
    return true;
}

bool save(const QString &iniPath, const QList<ProfileRow> &rows, const QString &toolPath)
{
    const QString side = iniPath + QStringLiteral(".uj");
    QFile::remove(side);
    // The copy keeps the other sections; the passwords are for the owner's eyes only.
    const bool copied = QFile::exists(iniPath) ? QFile::copy(iniPath, side) : QFile(side).open(QIODevice::WriteOnly);
    if (!copied || !QFile::setPermissions(side, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        QFile::remove(side);
        return false;
    }
    IniFile file(side);
    bool ok = file.writeString(ToolSection, ToolKey, toolPath) && write(file, rows);
    if (ok) {
        std::error_code error;
        // A rename over the old file: a reader sees the old file or the new one, never a part.
        std::filesystem::rename(QFile::encodeName(side).toStdString(), QFile::encodeName(iniPath).toStdString(),
                                error);
        ok = !error;
    }
    if (!ok)
        QFile::remove(side);
    return ok;
}

QString dumpToolPath(const IniFile &file)
{
    return file.readString(ToolSection, ToolKey);
}

void setDumpToolPath(IniFile &file, const QString &path)
{
    file.writeString(ToolSection, ToolKey, path);
}

} // namespace ProfileList
