#pragma once

#include "db/Connection.h"

#include <QList>
#include <QString>
#include <QStringList>

class IniFile;
class QRandomGenerator;

// One server target, stored as "database;server;port;user;password;display name",
// with an optional seventh field for the TLS choice (see tlsField), which a reader
// of six fields passes over.
struct ConnectionProfile
{
    QString database;
    QString server;
    QString port;
    QString user;
    QString password;
    QString displayName;
    TlsMode tls = TlsMode::Preferred;

    static ConnectionProfile fromLine(const QString &line);
    QString line() const;

    // Throws KorvenaError when the port is not a number from 0 to 65535.
    ConnectionParams connectionParams() const;
};

// Field n (from 1) of a profile line, trimmed; empty when the line has fewer fields.
QString profileField(const QString &line, int n);
QString profileLine(const QString &database, const QString &server, const QString &port, const QString &user,
                    const QString &password, const QString &displayName, TlsMode tls = TlsMode::Preferred);

// The seventh field: empty for the default (TLS when the server offers it), so a line
// without a choice stays as it always was; "off" or "required" otherwise. A text this
// program does not know reads as the default.
QString tlsField(TlsMode tls);
TlsMode tlsFromField(const QString &field);
// The captions of the profile editors, in TlsMode order.
QStringList tlsCaptions();

// The certificate authority file that a required TLS link checks the server against
// (LocalConfig Adatbazis/TlsCaFile); empty: the system's trusted authorities.
QString tlsCaFile();

// Why these profile fields cannot be stored as typed; empty when they can. A ';'
// would shift the fields of the line, a control character would not survive the
// storing, and blanks at either end are trimmed when the line is read.
QString profileFieldsRefusal(const QStringList &fields);

// The stored form: three filler characters, then each character's code page
// 1250 code raised by one, each followed by a filler (codes 33 to 87). The
// filler comes from the given generator (the process-wide one by default).
QString ScrambleProfile(const QString &line, QRandomGenerator *random = nullptr);
QString UnscrambleProfile(const QString &stored);

// An entry of the start-up database choice.
struct ProfileChoice
{
    int number = 0;          // N of ConStrN
    QString line;            // unscrambled
    QString caption() const; // "N; display name"
};

// The profiles offered at start-up, from the stored ConStr1 .. ConStr25
// (index 0 holds ConStr1): those with a display name, in key order.
QList<ProfileChoice> profileChoices(const QStringList &storedConStr);
QList<ProfileChoice> profileChoices(const IniFile &file);

// Stores a new profile scrambled under the first ConStrN (N from 1) that does
// not exist, or under ConStr0 when ConStr1 .. ConStr100 all do; returns N.
// Throws KorvenaError when the file cannot be written.
int storeNewProfile(IniFile &file, const QString &line, QRandomGenerator *random = nullptr);

// Opens and closes a separate connection with the profile: empty on success,
// otherwise the server's message (or why the profile's text cannot be sent).
// A bad port throws (see connectionParams()).
QString testProfile(const ConnectionProfile &profile);
