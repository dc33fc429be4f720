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

bool isUnder(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
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

QString AppFolders::dataFolderFor(const QString &programFolder, const QString &commonDataFolder)
{
    if (QFileInfo::exists(programFolder + QStringLiteral("/Korvena.ini")) || commonDataFolder.isEmpty())
        return programFolder;
    return cleanFolder(commonDataFolder) + QLatin1Char('/') + kFolderName;
}

QString AppFolders::commonDataFolder()
{
    // The first shared location is the all-users one (ProgramData on Windows,
    // /usr/local/share on a usual Linux); the home folder's are per user.
    const QString home = cleanFolder(QDir::homePath());
    for (const QString &location : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString base = cleanFolder(location);
        if (isUnder(base, home))
            continue;
        const QString folder = base + QLatin1Char('/') + kFolderName;
        if (QDir().mkpath(folder) && QFileInfo(folder).isWritable())
            return base;
        return {};
    }
    return {};
}

AppFolders AppFolders::detect()
{
    AppFolders folders;
    folders.programFolder = programFolderOf(QCoreApplication::applicationDirPath());
    const QString fromEnvironment = qEnvironmentVariable("KORVENA_DATA");
    if (!fromEnvironment.isEmpty())
        folders.dataFolder = cleanFolder(fromEnvironment);
    else if (QFileInfo::exists(folders.programFolder + QStringLiteral("/Korvena.ini")))
        folders.dataFolder = folders.programFolder;
    else
        folders.dataFolder = dataFolderFor(folders.programFolder, commonDataFolder());
    return folders;
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
