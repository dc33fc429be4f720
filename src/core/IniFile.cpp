#include "core/IniFile.h"

#include "common/Encoding.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cmath>

namespace {

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The name of a "[Section]" line.
bool sectionOf(const QString &line, QString *name)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return false;
    *name = t.mid(1, close - 1).trimmed();
    return true;
}

// The key and value of a "Key=Value" line; comments and lines without '=' are none.
bool entryOf(const QString &line, QString *key, QString *value = nullptr)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return false;
    const QString k = line.left(eq).trimmed();
    if (k.isEmpty() || k.startsWith(QLatin1Char(';')) || k.startsWith(QLatin1Char('[')))
        return false;
    *key = k;
    if (value)
        *value = line.mid(eq + 1).trimmed();
    return true;
}

// Index of the line holding the key in the first matching section that has it; -1 when none.
qsizetype findEntry(const QStringList &lines, const QString &section, const QString &key,
                    QString *value = nullptr, QString *storedKey = nullptr)
{
    bool inSection = false;
    QString name, k, v;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (sectionOf(lines.at(i), &name)) {
            inSection = sameName(name, section);
        } else if (inSection && entryOf(lines.at(i), &k, &v) && sameName(k, key)) {
            if (value)
                *value = v;
            if (storedKey)
                *storedKey = k;
            return i;
        }
    }
    return -1;
}

qsizetype findSection(const QStringList &lines, const QString &section)
{
    QString name;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (sectionOf(lines.at(i), &name) && sameName(name, section))
            return i;
    }
    return -1;
}

bool hasLineBreak(const QString &s)
{
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
}

bool validNames(const QString &section, const QString &key)
{
    if (section.trimmed().isEmpty() || section.contains(QLatin1Char(']')) || hasLineBreak(section))
        return false;
    const QString k = key.trimmed();
    return !k.isEmpty() && !k.contains(QLatin1Char('=')) && !k.startsWith(QLatin1Char(';')) &&
           !k.startsWith(QLatin1Char('[')) && !hasLineBreak(k);
}

} // namespace


IniFile::IniFile(QString path) : m_path(std::move(path)), m_locale(QLocale::system()) {}

void IniFile::setLocale(const QLocale &locale)
{
    m_locale = locale;
}

QStringList IniFile::readLines(QString *lineBreak) const
{
    if (lineBreak)
        *lineBreak = QStringLiteral("\r\n");
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (lineBreak) {
        // Keep the file's own line ends; a new file gets the Windows ones.
        *lineBreak =
            bytes.contains("\r\n") || !bytes.contains('\n') ? QStringLiteral("\r\n") : QStringLiteral("\n");
    }
    QStringList lines = FromCp1250(bytes).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

bool IniFile::writeLines(const QStringList &lines, const QString &lineBreak) const
{
    QSaveFile file(m_path);
    // A folder that only lets the existing file be changed still gets the write.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QString text = lines.join(lineBreak);
    if (!lines.isEmpty())
        text += lineBreak;
    const QByteArray bytes = ToCp1250(text);
    if (file.write(bytes) != bytes.size())
        return false;
    // The file holds the account passwords, scrambled only by a shift: the owner's alone,
    // an older file that others could read included.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return file.commit();
}

QString IniFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    QString value;
    if (findEntry(readLines(nullptr), section, key, &value) < 0)
        return defaultValue;
    return value;
}

int IniFile::readInt(const QString &section, const QString &key, int defaultValue) const
{
    const QString text = readString(section, key);
    bool ok = false;
    int value = 0;
    if (text.startsWith(QLatin1Char('$')))
        value = text.mid(1).toInt(&ok, 16);
    else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = text.mid(2).toInt(&ok, 16);
    else
        value = text.toInt(&ok, 10);
    return ok ? value : defaultValue;
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    return readInt(section, key, defaultValue ? 1 : 0) != 0;
}

double IniFile::readReal(const QString &section, const QString &key, double defaultValue) const
{
    const QString text = readString(section, key);
    if (text.isEmpty())
        return defaultValue;
    bool ok = false;
    double value = m_locale.toDouble(text, &ok);
    if (!ok)
        value = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(value) ? value : defaultValue;
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    if (!validNames(section, key) || hasLineBreak(value))
        return false;
    if (QFileInfo::exists(m_path) && !QFileInfo(m_path).isReadable())
        return false; // rewriting what we cannot read would lose it
    QString lineBreak;
    QStringList lines = readLines(&lineBreak);
    QString storedKey;
    const qsizetype at = findEntry(lines, section, key, nullptr, &storedKey);
    if (at >= 0) {
        lines[at] = storedKey + QLatin1Char('=') + value;
        return writeLines(lines, lineBreak);
    }
    const QString entry = key.trimmed() + QLatin1Char('=') + value;
    const qsizetype header = findSection(lines, section);
    if (header < 0) {
        lines << QLatin1Char('[') + section.trimmed() + QLatin1Char(']') << entry;
        return writeLines(lines, lineBreak);
    }
    // After the section's last non-blank line, so blank separators stay between sections.
    qsizetype insertAt = header + 1;
    QString name;
    for (qsizetype i = header + 1; i < lines.size() && !sectionOf(lines.at(i), &name); ++i) {
        if (!lines.at(i).trimmed().isEmpty())
            insertAt = i + 1;
    }
    lines.insert(insertAt, entry);
    return writeLines(lines, lineBreak);
}

bool IniFile::writeInt(const QString &section, const QString &key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::writeReal(const QString &section, const QString &key, double value)
{
    QLocale locale = m_locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return writeString(section, key, locale.toString(value, 'g', QLocale::FloatingPointShortest));
}

bool IniFile::removeKey(const QString &section, const QString &key)
{
    QString lineBreak;
    QStringList lines = readLines(&lineBreak);
    const qsizetype at = findEntry(lines, section, key);
    if (at < 0)
        return true;
    lines.removeAt(at);
    return writeLines(lines, lineBreak);
}

bool IniFile::removeSection(const QString &section)
{
    QString lineBreak;
    const QStringList lines = readLines(&lineBreak);
    QStringList kept;
    bool inSection = false;
    bool removed = false;
    QString name;
    for (const QString &line : lines) {
        if (sectionOf(line, &name))
            inSection = sameName(name, section);
        if (inSection)
            removed = true;
        else
            kept << line;
    }
    return !removed || writeLines(kept, lineBreak);
}

bool IniFile::exists() const
{
    return QFileInfo::exists(m_path);
}

bool IniFile::hasSection(const QString &section) const
{
    return findSection(readLines(nullptr), section) >= 0;
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    return findEntry(readLines(nullptr), section, key) >= 0;
}

QStringList IniFile::sections() const
{
    QStringList names;
    QString name;
    for (const QString &line : readLines(nullptr)) {
        if (sectionOf(line, &name) && !names.contains(name, Qt::CaseInsensitive))
            names << name;
    }
    return names;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList names;
    bool inSection = false;
    QString name, key;
    for (const QString &line : readLines(nullptr)) {
        if (sectionOf(line, &name))
            inSection = sameName(name, section);
        else if (inSection && entryOf(line, &key) && !names.contains(key, Qt::CaseInsensitive))
            names << key;
    }
    return names;
}
