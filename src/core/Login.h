#pragma once

#include "core/SessionUser.h"

#include <QString>
#include <optional>

class Connection;
class Dataset;

// The user whose login name and password match exactly one non-deleted row of
// felhasznalo; nothing when none or several match. The server hashes the
// password and compares both in its collation.
std::optional<SessionUser> checkCredentials(const QString &login, const QString &password);

// Sets the password of every row with that login name.
void changePassword(const QString &login, const QString &newPassword);

// A SessionUser from a felhasznalo row: each right only for exactly 'I'.
SessionUser sessionUserFromRow(const Dataset &data, int row);

// The variable by which the server's trail of document changes knows the program's user;
// a change made without it counts as made outside the program.
inline constexpr QLatin1StringView UserCodeVariable{"korvena_felhkod"};

// Tells the server, for this session and every reconnection of it, who works on it.
void announceUser(Connection &connection, const SessionUser &user);
