#pragma once

#include <QString>

class QFileDevice;
class QSaveFile;

// Files that may hold register data or passwords (backups, exports, SQL files):
// readable by their owner only, and written beside the target and moved over it
// once complete, so a failed run never leaves a cut file under the chosen name.
namespace PrivateFile {

// Restricts an open or closed file to its owner (read and write); false on failure.
bool restrict(QFileDevice &file);
bool restrict(const QString &path);

// Opens the save file for writing, restricted to its owner (the save file would take
// over an existing target's permissions); false with the file's errorString().
bool open(QSaveFile &file);

// Moves a finished file over the target, replacing it in one step; the reason when it fails.
QString replace(const QString &from, const QString &to);

// The bytes into the file through a save file restricted to its owner; the reason
// when it could not be written (the previous file is then left as it was).
QString writeAll(const QString &path, const QByteArray &bytes);

} // namespace PrivateFile
