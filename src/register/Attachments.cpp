#include "register/Attachments.h"

#include "common/SqlText.h"
#include "core/AppFolders.h"
#include "core/ProgramSettings.h"
#include "core/Session.h"
#include "db/DbError.h"
#include "db/DbHelpers.h"
#include "db/Latin2.h"
#include "db/UnitOfWork.h"
#include "register/AttachmentTextStore.h"
#include "register/Journal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <array>
#include <filesystem>
#include <memory>

namespace Attachments {

namespace {

// Folders shown in messages and the journal in the platform's own spelling.
QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString groupFolder(const ProgramSettings &settings, int group)
{
    return GroupStorageFolder(settings, group);
}

QString openingFolder(const ProgramSettings &settings)
{
    return settings.megnyitasutvonal.isEmpty() ? AppFolders::current().tmpFolder()
                                               : settings.megnyitasutvonal;
}

QString openingPath(const ProgramSettings &settings, const QString &original)
{
    // The name comes from the register: only its last part may name the file.
    return openingFolder(settings) + QLatin1Char('/') + originalName(original);
}

QString originalName(const QString &path)
{
    QString name = path;
    const qsizetype slash = qMax(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    return slash >= 0 ? name.mid(slash + 1) : name;
}

bool isAcceptableName(const QString &original)
{
    return !original.isEmpty() && original != QLatin1String(".") && original != QLatin1String("..") &&
           original.size() < MaxOriginalNameLength;
}

QString storageName(qint64 document, qint64 sequence, const QString &fileName)
{
    const QString name = originalName(fileName);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot >= 0 ? name.mid(dot) : QString();
    return QStringLiteral("%1-%2").arg(document, 7, 10, QLatin1Char('0')).arg(sequence) + extension;
}

qint64 nextSequence(qint64 document)
{
    const QString highest =
        SelectText(QStringLiteral("SELECT MAX(iktato_file) FROM iktato_file WHERE iktato = ") +
                       QString::number(document) + QLatin1Char(';'),
                   QString());
    return highest.toLongLong() + 1;
}

QString insertStatement(qint64 document, const QString &storage, const QString &original, int userKey)
{
    return QStringLiteral("INSERT INTO iktato_file (iktato, filenev, origfilenev, felhkod) VALUES (") +
           QString::number(document) + QLatin1Char(',') + SqlLiteral(storage) + QLatin1Char(',') +
           SqlLiteral(original) + QLatin1Char(',') + QString::number(userKey) + QStringLiteral(");");
}

QByteArray scrambleKey()
{
    return ServerMd5(QStringLiteral("pirkalo")).toLatin1();
}

namespace {

// The key laid out over a whole block, so that a block is one pass of byte additions.
using Pattern = std::array<unsigned char, ScrambleBlockSize>;

std::unique_ptr<Pattern> patternOf(const QByteArray &key)
{
    auto pattern = std::make_unique<Pattern>();
    if (key.isEmpty()) {
        pattern->fill(0);
        return pattern;
    }
    const qsizetype n = qMin<qsizetype>(key.size(), 32);
    for (qsizetype i = 0; i < ScrambleBlockSize; ++i)
        (*pattern)[size_t(i)] = static_cast<unsigned char>(key.at(i % n));
    return pattern;
}

void applyPattern(unsigned char *data, qsizetype size, const Pattern &pattern, bool unscramble)
{
    if (unscramble)
        for (qsizetype i = 0; i < size; ++i)
            data[i] = static_cast<unsigned char>(data[i] - pattern[size_t(i)]);
    else
        for (qsizetype i = 0; i < size; ++i)
            data[i] = static_cast<unsigned char>(data[i] + pattern[size_t(i)]);
}

} // namespace

void scrambleBlock(char *data, qsizetype size, const QByteArray &key, bool unscramble)
{
    const auto pattern = patternOf(key);
    for (qsizetype start = 0; start < size; start += ScrambleBlockSize)
        applyPattern(reinterpret_cast<unsigned char *>(data) + start, qMin(ScrambleBlockSize, size - start),
                     *pattern, unscramble);
}

namespace {

// Copies an open source into an open target, scrambling (unscrambling) it when a
// pattern is given. Throws KorvenaError naming the file that failed.
void transfer(QFile &source, QFileDevice &target, const Pattern *pattern, bool unscramble)
{
    // Several blocks per read and write: fewer system calls, the same rule.
    constexpr qsizetype ChunkSize = 16 * ScrambleBlockSize;
    QByteArray chunk(ChunkSize, Qt::Uninitialized);
    auto fail = [](const QString &what, const QFileDevice &file) {
        throw KorvenaError(what + shown(file.fileName()) + QStringLiteral("\r\n") + file.errorString());
    };
    for (;;) {
        // Short reads are filled up, so the key restarts exactly every ScrambleBlockSize
        // bytes of the file.
        qsizetype filled = 0;
        while (filled < ChunkSize) {
            const qint64 n = source.read(chunk.data() + filled, ChunkSize - filled);
            if (n < 0)
                fail(QStringLiteral("Hiba az állomány olvasása közben: "), source);
            if (n <= 0)
                break;
            filled += qsizetype(n);
        }
        if (filled == 0)
            break;
        if (pattern) {
            auto *bytes = reinterpret_cast<unsigned char *>(chunk.data());
            for (qsizetype start = 0; start < filled; start += ScrambleBlockSize)
                applyPattern(bytes + start, qMin(ScrambleBlockSize, filled - start), *pattern, unscramble);
        }
        if (target.write(chunk.constData(), filled) != filled)
            fail(QStringLiteral("Hiba az állomány írása közben: "), target);
        if (filled < ChunkSize)
            break;
    }
    if (!target.flush())
        fail(QStringLiteral("Hiba az állomány írása közben: "), target);
}

void openSource(QFile &source)
{
    if (!source.open(QIODevice::ReadOnly))
        throw KorvenaError(QStringLiteral("Nem olvasható állomány: ") + shown(source.fileName()) +
                           QStringLiteral("\r\n") + source.errorString());
}

// A file of the opening folder in the making: a fresh name of its own in the
// folder, put in place of the target at the end. The target's name is known to
// every user of a shared folder; a link planted under it is replaced, never
// followed, and a failed fetch leaves whatever was there.
class SideFile
{
public:
    explicit SideFile(const QString &target)
        : m_target(target), m_file(QFileInfo(target).absolutePath() + QStringLiteral("/.korvena-XXXXXX"))
    {
    }
    bool open() { return m_file.open(); }
    QTemporaryFile &file() { return m_file; }
    QString path() const { return m_file.fileName(); }
    bool commit()
    {
        m_file.close();
        std::error_code error;
        std::filesystem::rename(std::filesystem::path(QFile::encodeName(path()).toStdString()),
                                std::filesystem::path(QFile::encodeName(m_target).toStdString()), error);
        if (error)
            return false;
        m_file.setAutoRemove(false);
        return true;
    }

private:
    QString m_target;
    QTemporaryFile m_file;
};

// A name the register's latin2 can hold in a journal row: the rest become "?".
QString journalSafe(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QStringView one = QStringView(text).mid(i, n);
        out += Latin2::canEncode(one) ? one.toString() : QStringLiteral("?");
        i += n - 1;
    }
    return out;
}

// A refusal found inside the unit: the unit is rolled back, then the message shown
// and the journal row (if any) written on its own.
struct Refusal
{
    QString message;
    QString journal;
};

} // namespace

void scrambleFile(const QString &from, const QString &to, const QByteArray &key, bool unscramble)
{
    QFile source(from);
    openSource(source);
    QFile target(to);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw KorvenaError(QStringLiteral("Nem írható állomány: ") + shown(to) + QStringLiteral("\r\n") +
                           target.errorString());
    const auto pattern = patternOf(key);
    try {
        transfer(source, target, pattern.get(), unscramble);
    } catch (...) {
        target.close();
        target.remove();
        throw;
    }
}

Step prepareFolder(const ProgramSettings &settings, qint64 document, int group)
{
    const QString folder = groupFolder(settings, group);
    if (!QFileInfo(folder).isDir()) {
        Journal::write(document, QStringLiteral("Hiba: Nem létező mentés útvonal, létrehozás próba: ") +
                                     journalSafe(shown(folder)));
        QDir().mkpath(folder);
    }
    if (!QFileInfo(folder).isDir() && !settings.isftp) {
        Journal::write(document,
                       QStringLiteral("Hiba: Nem létező mentés útvonal: ") + journalSafe(shown(folder)));
        return {false, QStringLiteral("Nem létező mentés útvonal: \"") + shown(folder) + QLatin1Char('"')};
    }
    return {true, {}};
}

bool isStorableName(qint64 document, const QString &original)
{
    return isAcceptableName(original) && Latin2::canEncode(original) &&
           storageName(document, nextSequence(document), original).size() <= MaxStorageNameLength;
}

bool removeRow(qint64 document, qint64 attachment, const QString &originalName, bool journalled);

// A remote copy cannot be made exclusively, and one whose row was deleted cannot be
// seen: the number is the row's own key, which no earlier attachment had (its number
// never passed its own row's key). The row and its journal line are committed before
// the upload, which may take long while the row's insert locks the change trail; a
// refused upload takes the row back out, with its journal line.
void storeRemote(qint64 document, const QString &chosenPath, const Upload &upload, bool journalled,
                 const Refusal &badName, Stored &result)
{
    RunUnit([&] {
        ExecSql(QStringLiteral("INSERT INTO iktato_file (iktato, filenev, origfilenev, felhkod) VALUES (") +
                QString::number(document) + QStringLiteral(",NULL,") + SqlLiteral(result.originalName) +
                QLatin1Char(',') + QString::number(session().user.code) + QStringLiteral(");"));
        const qint64 key = SelectText(QStringLiteral("SELECT LAST_INSERT_ID();"), QString()).toLongLong();
        result.key = key;
        result.storageName = storageName(document, key, result.originalName);
        if (result.storageName.size() > MaxStorageNameLength)
            throw badName;
        ExecSql(QStringLiteral("UPDATE iktato_file SET filenev=") + SqlLiteral(result.storageName) +
                QStringLiteral(" WHERE iktato_file=") + QString::number(key) + QLatin1Char(';'));
        if (journalled)
            Journal::write(document, QStringLiteral("File csatolás = ") + result.originalName);
    });
    QString error;
    // The register must not list a file the server refused.
    if (!upload || !upload(chosenPath, result.storageName, &error)) {
        removeRow(document, result.key, result.originalName, journalled);
        throw Refusal{QStringLiteral("Hiba a feltöltés közben.\r\n") + error, QString()};
    }
}

Stored store(const ProgramSettings &settings, qint64 document, int group, const QString &chosenPath,
             const Upload &upload, bool journalled)
{
    Stored result;
    const QString folder = groupFolder(settings, group);
    result.originalName = originalName(chosenPath);
    const Refusal badName{QStringLiteral("Érvénytelen, vagy túl hosszú file név."),
                          QStringLiteral("Hiba: Érvénytelen, vagy túl hosszú file név: ") +
                              journalSafe(shown(folder) + result.originalName)};
    // Refused before anything is stored: a name the row cannot hold would fail
    // only at the INSERT, after the copy.
    if (!isStorableName(document, result.originalName)) {
        Journal::write(document, badName.journal);
        result.message = badName.message;
        return result;
    }
    const Refusal copyFailed{QStringLiteral("Hiba a másolás közben."),
                             QStringLiteral("Hiba: Hiba a másolás közben: ") +
                                 journalSafe(shown(folder) + result.originalName)};
    const std::unique_ptr<Pattern> pattern =
        settings.doksititkosit && !settings.isftp ? patternOf(scrambleKey()) : nullptr;
    try {
        if (settings.isftp) {
            storeRemote(document, chosenPath, upload, journalled, badName, result);
            result.ok = true;
            return result;
        }
        RunUnit([&] {
            // The name is taken by the first that gets it: locally by creating the copy
            // exclusively (a copy whose row was deleted keeps its name), in the register by
            // the unique key on filenev (a workstation whose row is not committed yet holds
            // it until it is). Taken names are stepped over; nothing stored is replaced.
            QFile target;
            bool created = false;
            try {
                for (qint64 n = nextSequence(document);; ++n) {
                    result.storageName = storageName(document, n, result.originalName);
                    if (result.storageName.size() > MaxStorageNameLength)
                        throw badName;
                    const QString path = folder + result.storageName;
                    target.setFileName(path);
                    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
                        const QFileInfo there(path);
                        if (there.exists() || there.isSymLink())
                            continue;
                        // Scrambling's own failures go to the general error handling.
                        if (pattern)
                            throw KorvenaError(QStringLiteral("Nem írható állomány: ") + shown(path) +
                                               QStringLiteral("\r\n") + target.errorString());
                        throw copyFailed;
                    }
                    created = true;
                    // The copy is made before the row: the row's insert locks the register's
                    // change trail until the commit, and a copy may take long.
                    QFile source(chosenPath);
                    if (!source.open(QIODevice::ReadOnly)) {
                        if (!pattern)
                            throw copyFailed;
                        openSource(source);
                    }
                    try {
                        transfer(source, target, pattern.get(), false);
                    } catch (const KorvenaError &) {
                        if (!pattern)
                            throw copyFailed;
                        throw;
                    }
                    target.close();
                    if (target.error() != QFileDevice::NoError)
                        throw copyFailed;
                    try {
                        ExecSql(insertStatement(document, result.storageName, result.originalName,
                                                session().user.code));
                        result.key = qint64(db().lastInsertId());
                    } catch (const DbError &e) {
                        if (e.code() != DuplicateKey)
                            throw;
                        target.remove();
                        created = false;
                        continue;
                    }
                    break;
                }
                if (journalled)
                    Journal::write(document, QStringLiteral("File csatolás = ") + result.originalName);
            } catch (...) {
                // The unit is rolled back (and may run again): its copy goes with it.
                if (created) {
                    target.close();
                    target.remove();
                }
                throw;
            }
        });
    } catch (const Refusal &refusal) {
        if (!refusal.journal.isEmpty())
            Journal::write(document, refusal.journal);
        result.message = refusal.message;
        result.storageName.clear();
        return result;
    }
    result.ok = true;
    return result;
}

bool remove(qint64 document, qint64 attachment, const QString &originalName)
{
    return removeRow(document, attachment, originalName, true);
}

bool removeRow(qint64 document, qint64 attachment, const QString &originalName, bool journalled)
{
    bool removed = false;
    RunUnit([&] {
        db().exec(QStringLiteral("DELETE FROM iktato_file WHERE (iktato_file=") +
                  QString::number(attachment) + QStringLiteral(");"));
        // Another workstation may have removed it first: no row for a delete that did not happen.
        removed = db().affectedRows() > 0;
        if (removed) {
            AttachmentTextStore::remove(attachment);
            if (journalled)
                Journal::write(document, QStringLiteral("Csatolás törlés = ") + originalName);
        }
    });
    return removed;
}

Fetched fetch(const ProgramSettings &settings, const QString &storage, const QString &original, int group,
              const Download &download)
{
    Fetched result;
    // The name comes from the register: only its last part may name a file.
    const QString stored = originalName(storage);
    if (stored.isEmpty()) {
        result.message = QStringLiteral("Nincs melléklet létrehozva");
        return result;
    }
    QDir().mkpath(openingFolder(settings));
    result.target = openingPath(settings, original);
    const QString cut = originalName(original);
    if (cut.isEmpty() || cut == QLatin1String(".") || cut == QLatin1String("..")) {
        result.message = QStringLiteral("Érvénytelen, vagy túl hosszú file név.");
        return result;
    }
    SideFile side(result.target);
    if (!side.open()) {
        result.message = QStringLiteral("Hiba a másolás közben.");
        return result;
    }
    if (settings.isftp) {
        side.file().close();
        QString error;
        // Nothing is opened after a failed download: an older file of that name may be
        // another document's.
        if (!download || !download(stored, side.path(), &error)) {
            result.message = QStringLiteral("Hiba a letöltés közben.\r\n") + error;
            return result;
        }
    } else {
        QFile source(groupFolder(settings, group) + stored);
        if (!source.exists()) {
            result.message = QStringLiteral("Nem létező állomány");
            return result;
        }
        const std::unique_ptr<Pattern> pattern = settings.doksititkosit ? patternOf(scrambleKey()) : nullptr;
        if (!source.open(QIODevice::ReadOnly)) {
            if (pattern)
                openSource(source);
            result.message = QStringLiteral("Hiba a másolás közben.");
            return result;
        }
        try {
            transfer(source, side.file(), pattern.get(), true);
        } catch (const KorvenaError &) {
            if (pattern)
                throw;
            result.message = QStringLiteral("Hiba a másolás közben.");
            return result;
        }
    }
    if (!side.commit()) {
        result.message = QStringLiteral("Hiba a másolás közben.");
        return result;
    }
    result.open = true;
    return result;
}

Read readStored(const ProgramSettings &settings, const QString &storage, int group, const Download &download,
                qint64 maxBytes)
{
    Read result;
    // The name comes from the register: only its last part may name a file.
    const QString stored = originalName(storage);
    if (stored.isEmpty() || stored == QLatin1String(".") || stored == QLatin1String("..")) {
        result.message = QStringLiteral("Nincs melléklet létrehozva");
        return result;
    }
    QTemporaryFile downloaded; // owner-only
    QFile source;
    if (settings.isftp) {
        if (!downloaded.open()) {
            result.message = downloaded.errorString();
            return result;
        }
        downloaded.close();
        QString error;
        if (!download || !download(stored, downloaded.fileName(), &error)) {
            result.message = QStringLiteral("Hiba a letöltés közben: ") + error;
            return result;
        }
        source.setFileName(downloaded.fileName());
    } else {
        source.setFileName(groupFolder(settings, group) + stored);
        if (!source.exists()) {
            result.message = QStringLiteral("Nem létező állomány: ") + shown(source.fileName());
            return result;
        }
    }
    if (!source.open(QIODevice::ReadOnly)) {
        result.message = QStringLiteral("Nem olvasható állomány: ") + shown(source.fileName()) +
                         QStringLiteral(" (") + source.errorString() + QLatin1Char(')');
        return result;
    }
    if (source.size() > maxBytes) {
        result.message = QStringLiteral("túl nagy");
        return result;
    }
    result.bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) {
        result.message = QStringLiteral("Nem olvasható állomány: ") + shown(source.fileName()) +
                         QStringLiteral(" (") + source.errorString() + QLatin1Char(')');
        result.bytes.clear();
        return result;
    }
    // FTP copies are never scrambled.
    if (settings.doksititkosit && !settings.isftp)
        scrambleBlock(result.bytes.data(), result.bytes.size(), scrambleKey(), true);
    result.ok = true;
    return result;
}

} // namespace Attachments
