#pragma once

#include "core/AppFolders.h"
#include "core/IniFile.h"

#include <QRect>
#include <QString>
#include <QStringList>

// The workstation's own settings, kept in "Korvena.ini" in the data folder.
// Read at start-up, written back when the main window closes.
struct LocalConfig
{
    static constexpr int ProfileKeyCount = 25; // ConStr1 .. ConStr25
    static constexpr int FlagCount = 17;

    // Adatbazis
    QStringList conStr; // the stored (scrambled) ConStr1 .. ConStr25, empty when missing; never written here
    QString htmlUt;
    // Mezok
    QString masolMezok = QString(FlagCount, QLatin1Char('I'));
    QString mezok; // the server's displayed-fields setting, kept for reference; written, never read
    // User
    QString lastUser;
    // Font
    int fontSize = 9;
    // Printers
    QString printer;
    // Barcode label layout
    double vkLeft = 10.0;
    double vkTop = 10.0;
    int vkColumn = 4;
    double vkBcLeft = 2.0;
    double vkHeight = 19.2;
    int vkHanyadik = 1;
    int vkTipus = 0;
    int vkHova = 0;
    // Lang
    QString lang;
    // Alapertek: the main window; its place is that of the outer frame
    bool teljesKep = true;
    bool vanFigyu = false;
    int bal = 5;
    int felul = 5;
    int magas = 400;
    int szeles = 640;

    static LocalConfig defaults(const AppFolders &folders);
    static LocalConfig read(const IniFile &file, const AppFolders &folders);
    // Every key but ConStrN. Each key is written on its own, so one that
    // fails does not stop the rest; false when any failed.
    bool write(IniFile &file) const;

    // The process's file, from AppFolders::current(); a user's own data
    // folder without one starts from the all-users file first.
    static LocalConfig load();
    bool save() const;

    // Creates the HTML folder when missing (an empty setting creates nothing);
    // a failure is ignored.
    void createHtmlFolder() const;

    // Cut to 17 characters or padded with spaces.
    static QString normalizeFlags(const QString &flags);
    // Position from 0; set only when it holds 'I'.
    static bool isFlagSet(const QString &flags, int position);
};

// Copies the all-users Korvena.ini (seedConfigFile) into a user's own data
// folder that has no Korvena.ini yet, so an administrator hands every user the
// same profiles by placing one file. The copy is the user's alone. False when
// nothing was copied.
bool seedLocalConfig(const AppFolders &folders);

// The LocalConfig file of this process.
IniFile localConfigFile();

// A dialog's remembered place, under a section named after its object name:
// Left and Top (default 10) and, when resizable, Width and Height (default the
// designed size), fitted into the work area. The rectangle is the outer frame,
// title bar and borders included, as the work area is.
QRect readDialogGeometry(const IniFile &file, const QString &objectName, const QRect &designed,
                         bool resizable, const QRect &workArea);
QRect readDialogGeometry(const QString &objectName, const QRect &designed, bool resizable,
                         const QRect &workArea);
// False when a key could not be written; the others are written all the same.
bool writeDialogGeometry(IniFile &file, const QString &objectName, const QRect &rect, bool resizable);
bool writeDialogGeometry(const QString &objectName, const QRect &rect, bool resizable);

// A place beyond the right (bottom) edge starts at 0; a window that overhangs
// the edge moves left (up) to end at it, or, when it is wider (taller) than
// the edge's coordinate, starts at 0 and shrinks to it.
QRect fitIntoWorkArea(const QRect &rect, const QRect &workArea);
