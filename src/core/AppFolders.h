#pragma once

#include <QString>
#include <QStringList>

// The folders the program works in. Paths use '/' and have no trailing separator.
//
// The data folder, first rule that holds:
//  - KORVENA_DATA in the environment names it outright;
//  - the program folder when "Korvena.ini" lies there (a portable install);
//  - the all-users folder (/usr/local/share/Korvena) when it exists or can be
//    made and is writable;
//  - the user's own folder ($XDG_DATA_HOME/Korvena), which starts from the
//    all-users Korvena.ini (seedConfigFile) the first time;
//  - the program folder when the platform offers neither.
struct AppFolders
{
    QString programFolder;
    QString dataFolder;
    // The all-users Korvena.ini that a user's own data folder starts from when
    // it has none yet; empty when the data folder is not the user's own.
    QString seedConfigFile;

    QString configFile() const;     // the LocalConfig file
    QString documentFolder() const; // default of the server's storage path
    QString tmpFolder() const;      // default opening folder
    QString htmlFolder() const;     // default of HtmlUt
    QString langFile() const;       // default of Lang

    // Creates the document folder when missing; a failure is left for later
    // users of the folder to meet.
    void createDocumentFolder() const;

    // The rule above, for this process.
    static AppFolders detect();
    // The rule without the environment: the program folder, the all-users and
    // the user's data folders (each empty when the platform has none). Makes
    // the folder it picks when it is missing.
    static AppFolders choose(const QString &programFolder, const QString &allUsersFolder,
                             const QString &userFolder);
    // Where the executable lies: lower-cased where file names ignore case.
    static QString programFolderOf(const QString &executableFolder);
    // The platform's all-users "Korvena" folder, whether or not it exists;
    // KORVENA_ALL_USERS_DATA names another one (the tests' own).
    static QString allUsersFolder();
    // The user's own "Korvena" data folder; empty without a home.
    static QString userFolder();

    // Decided once per process (on first use), as every screen must agree on it.
    static const AppFolders &current();
    // Runs the rule again; the main window does so when it is created.
    static const AppFolders &refresh();
    static void setCurrent(const AppFolders &folders);
};
