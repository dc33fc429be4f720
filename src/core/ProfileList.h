#pragma once

#include "db/Connection.h"

#include <QList>
#include <QString>

class IniFile;

// The profiles of the database list screen: every stored ConStr1 .. ConStr100,
// a profile without a display name too, and the dump tool's path.
struct ProfileRow
{
    QString displayName; // adatbazisnev
    QString database;    // adatbazis
    QString server;      // kiszolgalo
    int port = 3306;
    QString user;     // felhasznalo
    QString password; // jelszo
    TlsMode tls = TlsMode::Preferred;
    QString version;  // verzio: filled by a test, never stored

    static ProfileRow fromLine(const QString &line);
    // Each field followed by ';', the port in decimal.
    QString line() const;
    // The program's connection settings aimed at this profile.
    ConnectionParams connectionParams() const;
};

namespace ProfileList {

constexpr int MaxProfiles = 100;

// In key order; lines that are empty once unscrambled are skipped.
QList<ProfileRow> read(const IniFile &file);
// Replaces ConStr1 .. ConStr100 by the rows in the given order (row k as ConStrk),
// key by key; false when any of them could not be written.
bool write(IniFile &file, const QList<ProfileRow> &rows);
// What the database list keeps when it closes: the dump tool's path and the rows (as
// write). The new file is made beside the old one and takes its place only once it
// holds everything, so a failure leaves the stored profiles as they were; false then.
bool save(const QString &iniPath, const QList<ProfileRow> &rows, const QString &toolPath);

QString dumpToolPath(const IniFile &file);
void setDumpToolPath(IniFile &file, const QString &path);

} // namespace ProfileList
