#pragma once

#include "core/ProgramSettings.h"

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// The SQL text and the small rules of the master-data screens, without any window.

// ---- generic tables: projekt, munkaszam, tipus, csoport, egyebcsop

namespace MasterTable {

// "(torolve = 'N')" in soft-delete mode, else "(1 = 1)".
QString baseCondition(bool softDelete);
// "SELECT * FROM " + table / "WHERE " + base condition / "ORDER BY " + table + "_nev;"
QStringList listQuery(const QString &table, bool softDelete);
// The name column: the table's name + "_nev".
QString nameColumn(const QString &table);
// Marks the row deleted (soft) or removes it.
QString deleteStatement(const QString &table, const QVariant &key, bool softDelete);
// The caption of a table when the caller gives none.
QString defaultCaption(const QString &table);

// Everyone who opens the generic list, and the modes each passes.
enum class Caller
{
    ProjectAdmin,      // main window aProjekt
    WorkNumberAdmin,   // main window aMunkaszam
    TypeAdmin,         // main window aTipus
    GroupAdmin,        // main window aCsoport
    TypeFilter,        // main window aSzur7
    OtherGroupFilter,  // main window aSzur12
    ProjectMarking,    // main window aSzurProjekt
    WorkNumberMarking, // main window aSzurMunkaszam
    EditorProject,     // document editor buttons
    EditorWorkNumber,
    EditorType,
    EditorOtherGroup,
    NewDocumentType, // new-document questions
    NewDocumentWorkNumber,
    NewDocumentProject,
    SettingsDefaultGroup, // settings screen, default group button
    MembershipNewGroup,   // group membership, "Új csoport"
};
inline constexpr int CallerCount = int(Caller::MembershipNewGroup) + 1;

struct CallModes
{
    QString table;
    QString caption;                           // when no settings label names the list
    QString ProgramSettings::*label = nullptr; // the renamable label that names it instead
    bool pickMode = false;
    bool softDelete = false;
    bool readOnly = false;

    QString captionIn(const ProgramSettings &settings) const { return label ? settings.*label : caption; }
};

CallModes callModes(Caller caller);

} // namespace MasterTable

// ---- clients

enum class ClientKind
{
    All = 0,
    Internal = 1,
    External = 2,
};

namespace Clients {

// "(ugyfel > 0)", "(belso = 'I')", "(belso = 'N')".
QString kindFilter(ClientKind kind);
QStringList listQuery();
QString searchFields();
QString deleteStatement(const QVariant &key);
QString postalCodeQuery(const QString &postalCode);
// 'I' for internal clients, else 'N'.
QString belsoPreset(ClientKind kind);

} // namespace Clients

// ---- main numbers

namespace MainNumbers {

QString baseCondition(); // "(1=1)"
QStringList listQuery();
QString searchFields();
QString deleteStatement(const QVariant &key);
// A number the editor may save: digits, a "-" only in front; at least one digit.
bool isValidNumber(const QString &text);
// Eight digits with leading zeros.
QString displayText(qint64 number);

} // namespace MainNumbers

// ---- statuses

namespace Statuses {

QString baseCondition(); // "(1=1)"
QStringList listQuery();
QString deleteStatement(const QVariant &key);
// The ten colour names of the web interface, the empty one first.
const QStringList &colours();
// 0..9; an empty number passes too.
bool isValidNumber(const QString &text);

} // namespace Statuses

// ---- users

namespace Users {

QString baseCondition(); // "(torolve = 'N')"
QStringList listQuery();
QString searchFields();
QString deleteStatement(const QVariant &key);
QString defaultPassword(); // "pirkalo"
QString loginQuery(const QString &login);
QStringList groupsQuery(int userKey);
QString addGroupStatement(int userKey, const QVariant &group);
QString addAllGroupsStatement(int userKey);
QString removeGroupStatement(int userKey, const QVariant &group);

} // namespace Users

// ---- the SQL picker's column list

struct PickerColumn
{
    QString field;
    QString title;
    int percent = 0;
};

// "field,title,width;..." : up to 20 items; an item whose width is not a positive whole
// number is skipped.
QList<PickerColumn> parsePickerColumns(const QString &columns);

// ---- the parameterised SQL picker (frm_SqlValaszt)

struct SqlPickRequest
{
    QStringList sql;       // the query as lines; the first "WHERE" line is rebuilt by the search
    QString columns;       // "field,title,width%;..." (see parsePickerColumns)
    QString keyField;      // returned
    QString baseCondition; // of the search
    QString caption;
    QString searchField;
};

// The user's own groups.
SqlPickRequest groupPickerRequest(int userKey);

// ---- typing rules of the name fields

// The character to put into a field for a typed one: typed into an empty field it is
// upper-cased (only a–z when asciiOnly, national letters too otherwise).
QChar firstLetterCase(const QString &textBefore, QChar typed, bool asciiOnly);
// Clients' names and contact persons: upper-cased in an empty field or right after a space
// (cursor is the position the character goes to).
QChar nameLetterCase(const QString &textBefore, int cursor, QChar typed);
