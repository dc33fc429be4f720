#pragma once

#include "core/FtpTransfer.h"
#include "db/EditRecord.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

class Dataset;

// One stored export definition (a csvexp row) as a run needs it.
struct StoredExportDefinition
{
    QString name;
    QString sql;
    int separator = 0; // hatarolo: 0 ";", 1 tab, 2 ",", 3 "|"
    int quote = 0;     // szovegjelolo: 0 double quote, 1 apostrophe, 2 none
    QString localFile;
    bool ftp = false;
    QString ftpHost;
    QString ftpFolder;
    QString ftpUser;
    QString ftpPassword;

    static StoredExportDefinition fromRow(const Dataset &data, int row);
    static StoredExportDefinition fromRecord(const EditRecord &record);
};

// The stored exports: the csvexp rows, and running one to a file, to clipboard
// text or to an FTP server. Server errors are not caught here.
namespace StoredExport {

// The list query as lines, its base condition and the fields the search box searches.
QStringList listQuery();
QString baseCondition();
QString searchFields();
// Every category already used, for the editor's drop-down.
QString categoryQuery();

// The columns the editor writes, in the table's order.
QStringList columns();
// A new definition's fields with its starting values.
EditRecord newRecord();
EditRecord load(int key);
// Inserts (key -1) or updates the definition; its key.
int save(int key, const EditRecord &record);
QString deleteStatement(const QVariant &key);

// Why the statement may not run as a stored export (empty when it may): it must be one
// statement that reads (SELECT, WITH, SHOW, DESCRIBE), nothing hidden in an executable
// comment, no INTO OUTFILE. Stored statements run in a read-only transaction besides.
QString refusal(const QString &sql);

// The result columns of the statement, asked of the server without reading rows where
// it can, in a read-only transaction; throws KorvenaError with the refusal above or
// DbError with the server's.
QStringList resultColumns(const QString &sql);

char separatorChar(int hatarolo);
QByteArray quoteText(int szovegjelolo);

// The lines of the program's own delimited format, code page 1250, each followed by
// CR LF: a header of the column labels, then one line per row; every line keeps its
// final separator and values go out unchanged, large objects as "BLOB".
QByteArray lines(const Dataset &data, char separator, const QByteArray &quote);

// Makes the data folder the working folder; later relative names resolve there too.
void makeDataFolderCurrent();
// A relative local file name taken in the data folder ("." and ".." resolved).
QString localPath(const QString &fileLocal);
// The path lies outside the data folder and the user's documents folder: the user
// has to confirm it before anything is written there.
bool isOutsideOwnFolders(const QString &path);

// Runs the definition's statement (refused as refusal() says) in a read-only
// transaction after making the data folder current; a refusal propagates, so
// nothing is written.
Dataset runQuery(const StoredExportDefinition &definition);
// The rows into the local file; the reason when it could not be written, else empty.
QString writeFile(const StoredExportDefinition &definition, const Dataset &rows);
// The rows as clipboard text: the lines joined by CR LF.
QString clipboardText(const StoredExportDefinition &definition, const Dataset &rows);
// Where the FTP export goes: the definition's server, account and folder. The
// local file, whatever is there, goes under its own name (uploadName).
FtpTarget ftpTarget(const StoredExportDefinition &definition);
QString uploadName(const StoredExportDefinition &definition);
// Sends the local file there without a window; throws KorvenaError with the transfer's reason.
void upload(const StoredExportDefinition &definition);

} // namespace StoredExport
