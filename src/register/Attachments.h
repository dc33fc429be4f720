#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <functional>

struct ProgramSettings;

// Attached files: where their stored copies live, how they are named and
// scrambled, and the steps of storing and fetching one. The screens only ask
// for the file, show the messages given here and open the fetched copy.
namespace Attachments {

// Original names must stay shorter than this.
constexpr int MaxOriginalNameLength = 128;
// What iktato_file.filenev holds.
constexpr int MaxStorageNameLength = 128;
// The server's answer to a second row with a taken storage name.
constexpr unsigned DuplicateKey = 1062;
// Scrambling restarts its key at every block of this many bytes.
constexpr qsizetype ScrambleBlockSize = 65535;

// The group's storage folder, ending in a separator (GroupStorageFolder).
QString groupFolder(const ProgramSettings &settings, int group);
// The folder attached files are fetched into, and the path of one there.
QString openingFolder(const ProgramSettings &settings);
QString openingPath(const ProgramSettings &settings, const QString &originalName);
// The chosen file's name without its folder.
QString originalName(const QString &path);
bool isAcceptableName(const QString &originalName);
// Whether the name can be stored for the document at all: acceptable, held by
// latin2, and giving a storage name the row can hold.
bool isStorableName(qint64 document, const QString &originalName);

// The stored copy's name: the document key with at least seven digits, "-",
// the sequence, and the extension of the file with its dot.
QString storageName(qint64 document, qint64 sequence, const QString &fileName);
// One more than the document's highest attachment key; 1 for its first file.
qint64 nextSequence(qint64 document);
QString insertStatement(qint64 document, const QString &storageName, const QString &originalName,
                        int userKey);

// The 32-character key, the server's MD5 of the built-in word; never stored.
QByteArray scrambleKey();
// Scrambles (or unscrambles) one block in place; the key starts at its first
// character at the block's first byte.
void scrambleBlock(char *data, qsizetype size, const QByteArray &key, bool unscramble);
// Writes the scrambled (unscrambled) copy of a file, replacing the target.
// A read or write failure removes the unfinished target and throws KorvenaError.
void scrambleFile(const QString &from, const QString &to, const QByteArray &key, bool unscramble);

// Moves a file to or from the FTP store; false with the reason in *error.
using Upload = std::function<bool(const QString &localPath, const QString &remoteName, QString *error)>;
using Download = std::function<bool(const QString &remoteName, const QString &localPath, QString *error)>;

// What a step asks the screen to show ("Hiba" box) when it failed.
struct Step
{
    bool ok = false;
    QString message;
};

// Makes sure the group folder exists before a file is asked for, journalling
// the attempt to create it. Fails (with the message) only when files are kept
// locally and the folder cannot be made.
Step prepareFolder(const ProgramSettings &settings, qint64 document, int group);

struct Stored
{
    bool ok = false;
    QString message;
    QString originalName;
    QString storageName;
    qint64 key = 0; // the iktato_file row's
};
// Stores the chosen file for the document under a name no other attachment has
// and records it in iktato_file, in one unit with its journal row when journalled
// ("File csatolás = "). No row is written unless the copy is in its place, and
// no stored copy is ever replaced.
Stored store(const ProgramSettings &settings, qint64 document, int group, const QString &chosenPath,
             const Upload &upload, bool journalled = false);

// Removes an attachment's row (the stored copy stays) with its text and its journal
// row in one unit. False when the row was already gone: then no journal row is written.
bool remove(qint64 document, qint64 attachment, const QString &originalName);

struct Fetched
{
    bool open = false; // ask the desktop to open target
    QString message;   // shown before anything is opened, when not empty
    QString target;
};
// Fetches the stored copy into the opening folder under its original name. The
// copy is made beside the target and put in its place only when it is whole;
// nothing is to be opened after a failure.
Fetched fetch(const ProgramSettings &settings, const QString &storageName, const QString &originalName,
              int group, const Download &download);

struct Read
{
    bool ok = false;
    QString message; // why not, when not ok
    QByteArray bytes;
};
// The plain bytes of a stored copy, unscrambled, in memory (the reading of its text).
// FTP copies pass through an owner-only temporary file. Copies larger than maxBytes
// are not read (message "túl nagy").
Read readStored(const ProgramSettings &settings, const QString &storageName, int group,
                const Download &download, qint64 maxBytes);

} // namespace Attachments
