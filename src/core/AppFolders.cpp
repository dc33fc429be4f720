#include "core/AppFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <optional>

namespace {

const QString kFolderName = QStringLiteral("Korvena");

QString cleanFolder(const QString &path)
{
    return QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(path)).absoluteFilePath());
}

[[maybe_unused]] bool isUnder(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// The parents as usual, the folder itself closed to other users.
bool makeOwnFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return true;
    const QString parent = QFileInfo(folder).absolutePath();
    return QDir().mkpath(parent) &&
           QDir().mkdir(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

std::optional<AppFolders> &currentFolders()
{
    static std::optional<AppFolders> folders;
    return folders;
}

} // namespace

QString AppFolders::configFile() const
{
    return dataFolder + QStringLiteral("/Korvena.ini");
}

QString AppFolders::documentFolder() const
{
    return dataFolder + QStringLiteral("/Dok");
}

QString AppFolders::tmpFolder() const
{
    return dataFolder + QStringLiteral("/tmp");
}

QString AppFolders::htmlFolder() const
{
    return dataFolder + QStringLiteral("/Html");
}

QString AppFolders::langFile() const
{
    return dataFolder + QStringLiteral("/Lang.ini");
}

void AppFolders::createDocumentFolder() const
{
    QDir().mkpath(documentFolder());
}

QString AppFolders::programFolderOf(const QString &executableFolder)
{
    const QString folder = cleanFolder(executableFolder);
#ifdef Q_OS_WIN
    return folder.toLower();
#else
    // Lower-casing would name another folder on a case-sensitive file system.
    return folder;
#endif
}

AppFolders AppFolders::choose(const QString &programFolder, const QString &allUsersFolder,
                              const QString &userFolder)
{
    AppFolders folders;
    folders.programFolder = programFolder;
    folders.dataFolder = programFolder;
    if (QFileInfo::exists(programFolder + QStringLiteral("/Korvena.ini")))
        return folders;
    const QString allUsers = allUsersFolder.isEmpty() ? QString() : cleanFolder(allUsersFolder);
    if (!allUsers.isEmpty() && QDir().mkpath(allUsers) && QFileInfo(allUsers).isWritable()) {
        folders.dataFolder = allUsers;
        return folders;
    }
    // A user's folder holds the connection profiles and the log: the user's alone.
    const QString own = userFolder.isEmpty() ? QString() : cleanFolder(userFolder);
    if (!own.isEmpty() && makeOwnFolder(own) && QFileInfo(own).isWritable()) {
        folders.dataFolder = own;
        if (!allUsers.isEmpty())
            folders.seedConfigFile = allUsers + QStringLiteral("/Korvena.ini");
    }
    return folders;
}

QString AppFolders::allUsersFolder()
{
    const QString forTests = qEnvironmentVariable("KORVENA_ALL_USERS_DATA");
    if (!forTests.isEmpty())
        return cleanFolder(forTests);
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // The folder the administrator keeps for local programs; XDG_DATA_DIRS is
    // no guide, as desktop sessions put their own folders first.
    return QStringLiteral("/usr/local/share/") + kFolderName;
#else
    // The first shared location is the all-users one (ProgramData on Windows);
    // the home folder's are per user.
    const QString home = cleanFolder(QDir::homePath());
    for (const QString &location : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString base = cleanFolder(location);
        if (!isUnder(base, home))
            return base + QLatin1Char('/') + kFolderName;
    }
    return {};
#endif
}

QString AppFolders::userFolder()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base.isEmpty() ? QString() : cleanFolder(base) + QLatin1Char('/') + kFolderName;
}

AppFolders AppFolders::detect()
{
    const QString programFolder = programFolderOf(QCoreApplication::applicationDirPath());
    const QString fromEnvironment = qEnvironmentVariable("KORVENA_DATA");
    if (!fromEnvironment.isEmpty()) {
        AppFolders folders;
        folders.programFolder = programFolder;
        folders.dataFolder = cleanFolder(fromEnvironment);
        return folders;
    }
    return choose(programFolder, allUsersFolder(), userFolder());
}

const AppFolders &AppFolders::current()
{
    if (!currentFolders())
        currentFolders() = detect();
    return *currentFolders();
}

const AppFolders &AppFolders::refresh()
{
    currentFolders() = detect();
    return *currentFolders();
}

void AppFolders::setCurrent(const AppFolders &folders)
{
    currentFolders() = folders;
}
