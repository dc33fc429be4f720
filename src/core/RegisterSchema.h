#pragma once

#include <QString>
#include <QStringList>

class Connection;

// What a new register holds, read from the server/ folder: creating a register
// and comparing a live one with it.
namespace RegisterSchema {

// The folder of schema.sql, views.sql, routines.sql and initial.sql: KORVENA_SERVER_DIR
// from the environment (a developer trying a changed script), else the copy built into
// the program (":/server").
QString serverDir();
// The scripts in the order they are run.
QStringList scriptFiles();

// Throws KorvenaError unless the name is 1 to 64 of a-z, A-Z, 0-9, _ and $: names
// go into SQL text in backquotes.
void checkDatabaseName(const QString &database);

// Creates the database and everything in it; the connection then works in it. Throws KorvenaError when the
// database exists already (nothing is touched then), DbError on server errors
// (the half-made database is dropped again).
void install(Connection &connection, const QString &database);

struct CheckReport
{
    QStringList missingTables;
    QStringList missingColumns; // "table.column"
    QStringList missingViews;
    QStringList missingViewColumns; // "view.column"
    QStringList invalidViews;       // present but unreadable: a table or column they use is gone
    QStringList missingRoutines;    // "PROCEDURE sp_x", "FUNCTION fn_x"
    QStringList tablesWithoutPrimaryKey;
    QStringList missingFulltextKeys; // "table(column, ...)": a search on them fails without one
    // The trail's triggers and the routine they call: missing, or not as server/ makes them.
    QStringList missingTriggers;
    QStringList changedTriggers; // triggers, and "PROCEDURE sp_nyom_ir"
    bool complete() const
    {
        return missingTables.isEmpty() && missingColumns.isEmpty() && missingViews.isEmpty() &&
               missingViewColumns.isEmpty() && invalidViews.isEmpty() && missingRoutines.isEmpty() &&
               tablesWithoutPrimaryKey.isEmpty() && missingFulltextKeys.isEmpty() &&
               missingTriggers.isEmpty() && changedTriggers.isEmpty();
    }
};

// Compares the live database with what server/ creates (it installs server/ into
// a scratch database on the same server, compares the catalogues and drops it).
CheckReport check(Connection &connection, const QString &database);

} // namespace RegisterSchema
