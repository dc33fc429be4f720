#pragma once

#include "masterdata/MasterData.h"

#include <QString>
#include <QStringList>

class QWidget;

// The entry points of the master-data screens. Each opens its screen modally over the
// parent and returns plain values; the pickers check no right.

// A picker's answer: the chosen key and name, key -1 when the user closed without choosing.
struct PickResult
{
    int key = -1;
    QString name;
    bool picked() const { return key != -1; }
};

// ---- generic tables: projekt, munkaszam, tipus, csoport, egyebcsop (frm_Torzsadat)

// The list positioned on initialKey (-1: none). In pick mode "Elfogad" is offered and the
// accepted row's key and name are returned; soft delete lists only rows not marked deleted
// and deletes by marking; read-only offers only "Elfogad" and "Bezár".
PickResult MasterDataPicker(QWidget *parent, int initialKey, bool pickMode, const QString &table,
                            const QString &caption, bool softDelete, bool readOnly);
// The list as that caller opens it: its table, caption (from the session's settings where a
// renamable label names it) and modes.
PickResult MasterDataPicker(QWidget *parent, int initialKey, MasterTable::Caller caller);
// frm_Torzsadat_Szerkeszt on the row (-1: a new row); its key after saving (the server's for a
// new row), -1 when cancelled. The caption is the title and the label; empty: the table's own.
int EditMasterRow(QWidget *parent, int key, const QString &table, const QString &caption = {});

// ---- clients (frm_TorzsUgyfel)

// In pick mode after "Elfogad": the row's ugyfel (0 on an empty list) and ugyfel_nev.
PickResult ClientPicker(QWidget *parent, int initialKey, ClientKind kind, bool pickMode,
                        const QString &caption = QStringLiteral("Ügyfél választás"));
// frm_TorzsUgyfel_Szerkeszt; a new client (-1) gets belso preset by the kind.
int EditClient(QWidget *parent, int key, ClientKind kind);

// ---- main numbers (frm_TorzsFoszam)

// In pick mode after "Elfogad": foszam and foszam_nev (0 and "" on an empty list).
PickResult MainNumberPicker(QWidget *parent, int initialKey, bool pickMode);
// The saved foszam (as typed), -1 when cancelled.
int EditMainNumber(QWidget *parent, int key);

// ---- statuses (frm_TorzsStatusz)

void StatusAdmin(QWidget *parent);
// The saved statusz, -1 when cancelled.
int EditStatus(QWidget *parent, int key);

// ---- users (frm_Felhasznalo, frm_FelhasznaloSzerkeszt, frm_FelhCsop)

void UserAdmin(QWidget *parent);
// The accepted felhkod (0 on an empty list), -1 when closed otherwise.
int UserPicker(QWidget *parent, int initialKey = -1);
// A new user (-1) gets the next key, the default rights and the default password.
int EditUser(QWidget *parent, int key);
void EditUserGroups(QWidget *parent, int userKey);

// ---- the parameterised SQL picker (frm_SqlValaszt) and the group picker

// Runs the query; with more than one row shows the dialog and returns the chosen row's key
// (-1 when closed with "Bezár"); otherwise returns the key of the only row without showing
// anything, 0 when there is none (or the key is NULL).
int SqlPicker(QWidget *parent, const SqlPickRequest &request);
// The session user's groups ("Csoport választás").
int GroupPicker(QWidget *parent);

// ---- main-window entries

// The main window's master-data actions: aProjekt, aMunkaszam, aTipus, aFoszam (master-data
// editing right), aCsoport, aStatusz, aFelhasznalo (administrator), aUgyfel (no right).
QStringList masterDataActionNames();
// Checks the action's right (refusal shown when missing) and opens its screen. Whether a
// screen ran: false when the right was missing or the name is not one of masterDataActionNames().
bool openMasterDataFromMainWindow(QWidget *parent, const QString &actionName);

// Wires the pickers into the screens that take them from outside (the settings screen's
// default group). Call once at start-up; calling again does no harm.
void registerMasterDataPickers();
