#pragma once

#include "core/SessionUser.h"

#include <QString>
#include <optional>

class Dataset;

// The user whose login name and password match exactly one non-deleted row of
// felhasznalo; nothing when none or several match. The server hashes the
// password and compares both in its collation.
std::optional<SessionUser> checkCredentials(const QString &login, const QString &password);

// Sets the password of every row with that login name.
void changePassword(const QString &login, const QString &newPassword);

// A SessionUser from a felhasznalo row: each right only for exactly 'I'.
SessionUser sessionUserFromRow(const Dataset &data, int row);
