#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>

// An ini-style text file: "[Section]" lines open a section, "Key=Value" lines
// follow. Section and key names match without regard to letter case, so
// "Barcode" and "BarCode" are one section. The file is read (or read and
// rewritten) on every call and never held open, so several screens and a text
// editor can share it. A damaged file gives defaults, never a failure: lines
// without '=' are skipped and the first of duplicate keys wins.
//
// The file is stored in windows-1250, the code page the register's text comes
// from; characters it cannot hold are written as '?'.
class IniFile
{
public:
    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    // Reals are written and read in this locale's decimal notation (the
    // system locale by default); reading falls back to the C notation.
    void setLocale(const QLocale &locale);
    const QLocale &locale() const { return m_locale; }

    QString readString(const QString &section, const QString &key, const QString &defaultValue = {}) const;
    // Decimal, or hexadecimal with "$" or "0x"; anything else gives the default.
    int readInt(const QString &section, const QString &key, int defaultValue) const;
    // Stored as "1" / "0"; any non-zero number reads true, a non-number the default.
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    double readReal(const QString &section, const QString &key, double defaultValue) const;

    // Each write rewrites the file, keeping every other line as it was. False
    // when the file cannot be written, or a name or value would break the
    // line structure (a line break, '=' in a key, ']' in a section name).
    bool writeString(const QString &section, const QString &key, const QString &value);
    bool writeInt(const QString &section, const QString &key, int value);
    bool writeBool(const QString &section, const QString &key, bool value);
    bool writeReal(const QString &section, const QString &key, double value);

    bool removeKey(const QString &section, const QString &key);
    bool removeSection(const QString &section);

    bool exists() const;
    bool hasSection(const QString &section) const;
    bool hasKey(const QString &section, const QString &key) const;
    // Names as written in the file, in file order, each once.
    QStringList sections() const;
    QStringList keys(const QString &section) const;

private:
    QStringList readLines(QString *lineBreak) const;
    bool writeLines(const QStringList &lines, const QString &lineBreak) const;

    QString m_path;
    QLocale m_locale;
};

