#pragma once

#include <QString>
#include <QStringList>

// The folders the program works in. Paths use '/' and have no trailing separator.
//
// The data folder is the program folder when "Korvena.ini" lies there (a
// portable install); otherwise the all-users application data folder +
// "/Korvena"; the program folder again when the platform has no usable such
// folder. KORVENA_DATA in the environment names the data folder outright.
struct AppFolders
{
    QString programFolder;
    QString dataFolder;

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
    // The rule for a given program folder and the platform's all-users data
    // folder (empty when the platform has none), without the environment.
    static QString dataFolderFor(const QString &programFolder, const QString &commonDataFolder);
    // Where the executable lies: lower-cased where file names ignore case.
    static QString programFolderOf(const QString &executableFolder);
    // The all-users application data folder of the platform, if it exists or
    // can be made and is writable for the "Korvena" folder; empty otherwise.
    static QString commonDataFolder();

    // Decided once per process (on first use), as every screen must agree on it.
    static const AppFolders &current();
    // Runs the rule again; the main window does so when it is created.
    static const AppFolders &refresh();
    static void setCurrent(const AppFolders &folders);
};
