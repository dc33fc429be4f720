#include "core/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <array>
#include <cmath>

namespace {

// 0x80..0xFF of windows-1250.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9};

const QHash<char16_t, uchar> &upperHalfCodes()
{
    static const QHash<char16_t, uchar> codes = [] {
        QHash<char16_t, uchar> h;
        for (size_t i = 0; i < kUpperHalf.size(); ++i)
            h.insert(kUpperHalf[i], uchar(0x80 + i));
        return h;
    }();
    return codes;
}

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

namespace Cp1250 {

QString decode(QByteArrayView bytes)
{
    QString s(bytes.size(), Qt::Uninitialized);
    QChar *out = s.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = character(uchar(bytes[i]));
    return s;
}

QByteArray encode(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int c = code(text[i]);
        bytes[i] = c < 0 ? '?' : char(c);
    }
    return bytes;
}

int code(QChar c)
{
    if (c.unicode() < 0x80)
        return c.unicode();
    const auto &codes = upperHalfCodes();
    const auto it = codes.constFind(c.unicode());
    return it == codes.cend() ? -1 : *it;
}

QChar character(uchar code)
{
    return code < 0x80 ? QChar(code) : QChar(kUpperHalf[code - 0x80]);
}

} // namespace Cp1250

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
    QStringList lines = Cp1250::decode(bytes).split(QLatin1Char('\n'));
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
    const QByteArray bytes = Cp1250::encode(text);
    if (file.write(bytes) != bytes.size())
        return false;
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
