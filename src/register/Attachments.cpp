#include "register/Attachments.h"

#include "common/SqlText.h"
#include "core/AppFolders.h"
#include "core/ProgramSettings.h"
#include "core/Session.h"
#include "db/DbError.h"
#include "db/DbHelpers.h"
#include "register/Journal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <memory>

namespace Attachments {

namespace {

// Folders shown in messages and the journal in the platform's own spelling.
QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString storageRoot(const ProgramSettings &settings)
{
    // An empty setting would put the files at the root of the disk.
    return settings.mentesutvonal.isEmpty() ? AppFolders::current().documentFolder() : settings.mentesutvonal;
}

} // namespace

QString groupFolder(const ProgramSettings &settings, int group)
{
    QString folder = storageRoot(settings) + QLatin1Char('/');
    if (settings.mentescsoport)
        folder += QStringLiteral("%1/").arg(group, 5, 10, QLatin1Char('0'));
    return folder;
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

void scrambleFile(const QString &from, const QString &to, const QByteArray &key, bool unscramble)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw KorvenaError(QStringLiteral("Nem olvasható állomány: ") + shown(from) + QStringLiteral("\r\n") +
                           source.errorString());
    QFile target(to);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        throw KorvenaError(QStringLiteral("Nem írható állomány: ") + shown(to) + QStringLiteral("\r\n") +
                           target.errorString());
    const auto pattern = patternOf(key);
    // Several blocks per read and write: fewer system calls, the same rule.
    constexpr qsizetype ChunkSize = 16 * ScrambleBlockSize;
    QByteArray chunk(ChunkSize, Qt::Uninitialized);
    auto fail = [&](const QString &what, const QFile &file) {
        const QString reason = file.errorString();
        target.close();
        target.remove();
        throw KorvenaError(what + shown(file.fileName()) + QStringLiteral("\r\n") + reason);
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
        auto *bytes = reinterpret_cast<unsigned char *>(chunk.data());
        for (qsizetype start = 0; start < filled; start += ScrambleBlockSize)
            applyPattern(bytes + start, qMin(ScrambleBlockSize, filled - start), *pattern, unscramble);
        if (target.write(chunk.constData(), filled) != filled)
            fail(QStringLiteral("Hiba az állomány írása közben: "), target);
        if (filled < ChunkSize)
            break;
    }
    if (!target.flush())
        fail(QStringLiteral("Hiba az állomány írása közben: "), target);
    target.close();
    if (target.error() != QFileDevice::NoError)
        fail(QStringLiteral("Hiba az állomány írása közben: "), target);
}

bool copyFile(const QString &from, const QString &to)
{
    if (QFileInfo::exists(to) && !QFile::remove(to))
        return false;
    return QFile::copy(from, to);
}

Step prepareFolder(const ProgramSettings &settings, qint64 document, int group)
{
    const QString folder = groupFolder(settings, group);
    if (!QFileInfo(folder).isDir()) {
        Journal::write(document,
                       QStringLiteral("Hiba: Nem létező mentés útvonal, létrehozás próba: ") + shown(folder));
        QDir().mkpath(folder);
    }
    if (!QFileInfo(folder).isDir() && !settings.isftp) {
        Journal::write(document, QStringLiteral("Hiba: Nem létező mentés útvonal: ") + shown(folder));
        return {false, QStringLiteral("Nem létező mentés útvonal: \"") + shown(folder) + QLatin1Char('"')};
    }
    return {true, {}};
}

Stored store(const ProgramSettings &settings, qint64 document, int group, const QString &chosenPath,
             const Upload &upload)
{
    Stored result;
    const QString folder = groupFolder(settings, group);
    result.originalName = originalName(chosenPath);
    if (!isAcceptableName(result.originalName)) {
        Journal::write(document, QStringLiteral("Hiba: Érvénytelen, vagy túl hosszú file név: ") +
                                     shown(folder) + result.originalName);
        result.message = QStringLiteral("Érvénytelen, vagy túl hosszú file név.");
        return result;
    }
    result.storageName = storageName(document, nextSequence(document), result.originalName);
    if (settings.isftp) {
        QString error;
        // The register must not list a file the server refused.
        if (!upload || !upload(chosenPath, result.storageName, &error)) {
            result.message = QStringLiteral("Hiba a feltöltés közben.\r\n") + error;
            return result;
        }
    } else if (settings.doksititkosit) {
        scrambleFile(chosenPath, folder + result.storageName, scrambleKey(), false);
    } else if (!copyFile(chosenPath, folder + result.storageName)) {
        Journal::write(document,
                       QStringLiteral("Hiba: Hiba a másolás közben: ") + shown(folder) + result.originalName);
        result.message = QStringLiteral("Hiba a másolás közben.");
        return result;
    }
    ExecSql(insertStatement(document, result.storageName, result.originalName, session().user.code));
    result.ok = true;
    return result;
}

Fetched fetch(const ProgramSettings &settings, const QString &storage, const QString &original, int group,
              const Download &download)
{
    Fetched result;
    if (storage.isEmpty()) {
        result.message = QStringLiteral("Nincs melléklet létrehozva");
        return result;
    }
    QDir().mkpath(openingFolder(settings));
    result.target = openingPath(settings, original);
    if (settings.isftp) {
        QString error;
        if (!download || !download(storage, result.target, &error))
            result.message = QStringLiteral("Hiba a letöltés közben.\r\n") + error;
        // As after a good download: an older copy may still be there to open.
        result.open = true;
        return result;
    }
    const QString stored = groupFolder(settings, group) + originalName(storage);
    if (!QFileInfo::exists(stored)) {
        result.message = QStringLiteral("Nem létező állomány");
        return result;
    }
    if (settings.doksititkosit) {
        scrambleFile(stored, result.target, scrambleKey(), true);
    } else if (!copyFile(stored, result.target)) {
        result.message = QStringLiteral("Hiba a másolás közben.");
        return result;
    }
    result.open = true;
    return result;
}

} // namespace Attachments
