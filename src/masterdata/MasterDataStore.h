#pragma once

#include "db/EditRecord.h"
#include "masterdata/MasterData.h"

#include <QStringList>
#include <QVariant>

// Reading and writing the rows the master-data editors edit, through the current connection.
// Server errors are not caught: they reach the general error handling.
namespace MasterDataStore {

// The table's fields with NULL values, for a new row.
EditRecord newRecord(const QString &table);
// The row with that key; the fields with NULL values when there is none.
EditRecord loadRecord(const QString &table, const QString &keyColumn, const QVariant &key);

// Runs the INSERT; the server-assigned key of the new row.
qint64 insertWithServerKey(const QString &table, const EditRecord &record, const QStringList &columns);

// ---- generic tables: the row's key after saving (the server's for a new row, key -1).
int saveMasterRow(const QString &table, int key, const QString &name);

// ---- clients
QStringList clientColumns();
EditRecord newClient(ClientKind kind);
// Inserts every client column (originalKey -1), or updates those of the listed columns that are
// client columns, so values others saved meanwhile survive; the client's key.
int saveClient(int originalKey, const EditRecord &record, const QStringList &changed);
// The town of the postal code, empty when unknown.
QString townOfPostalCode(const QString &postalCode);

// ---- main numbers: largest + 1 (deleted ones count), 1 for an empty table.
int proposeMainNumber();
// Inserts (originalKey -1) or updates the row (its number may change); the saved number.
int saveMainNumber(int originalKey, const QVariant &number, const QString &name);

// ---- statuses
int proposeStatus();
QStringList statusColumns();
int saveStatus(int originalKey, const EditRecord &record);

// ---- users
QStringList userColumns();
// The next key, the default rights and the default password's MD5.
EditRecord newUser();
// Whether a row (deleted ones too) has the login, compared in the server's collation.
bool loginExists(const QString &login);
// jelszomd5 = the server's MD5 of the default password.
void resetPassword(EditRecord &record);
// Inserts every user column for a new user, or updates those of the listed columns that are user
// columns (a password changed meanwhile at login stays unless the editor reset it).
int saveUser(bool isNew, int originalKey, const EditRecord &record, const QStringList &changed);

} // namespace MasterDataStore
