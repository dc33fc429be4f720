#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class Connection;
class DbError;

// How a unit holds together on the server.
enum class UnitKind {
    // The program's statements (the change, its journal row, ...) in one transaction.
    Transaction,
    // One call of a server routine that commits on its own, or one statement in
    // autocommit: no transaction around it.
    Routine,
};

// Every write the program makes is one unit: all of it commits or none of it does.
// A unit is re-run whole when the server failed it to resolve a conflict (a deadlock or a
// cluster certification failure, 1213; a cluster node not ready, 1047; a lock wait
// time-out, 1205) or when the link was lost before COMMIT went out, since the server then
// rolled everything back; a few tries with a short random wait, then the error goes on to
// the caller. A link lost while COMMIT (or a routine's CALL) was under way is handed on at
// once: the unit may have been committed. A table "missing" (1146) or a trigger "with an
// error in its body" is what a statement stopped by the server while reading them leaves
// behind: the unit runs again on a renewed session (Connection::renewSession), a few times
// at most. A unit started inside another joins it.
// work may run more than once: it must not keep state that an earlier run changed.
void RunUnit(Connection &c, const std::function<void()> &work, UnitKind kind = UnitKind::Transaction);
// The same on Connection::current().
void RunUnit(const std::function<void()> &work, UnitKind kind = UnitKind::Transaction);

// The server failed the statement and rolled its transaction back so that another could go on.
bool IsRetryableConflict(const DbError &e);

namespace UnitOfWork {
// How many times a unit runs at most. On a cluster, workstations on three nodes taking
// the same counter row fail one another at commit for a while before they fall out of step.
constexpr int MaxTries = 12;
// Called before every statement sent inside a unit, with its text: a test's seam for
// breaking the link between two statements of one unit. Empty to remove it.
void setStatementHookForTests(std::function<void(Connection &, const QString &)> hook);
// How many times units were re-run since the program started (a test reads it).
int retries();

// A statement that changes what the server holds (INSERT, UPDATE, DELETE, REPLACE, CALL of
// a routine that writes, TRUNCATE, LOAD, DDL), judged by its first word.
bool isWritingStatement(QStringView sql);
// From now on, every writing statement sent on connection outside a unit is noted (tests
// read the list to find a write path that does not run as a unit); nullptr stops it and
// keeps the list. Starting clears it.
void watchWritesOutsideUnits(Connection *connection);
QStringList writesOutsideUnits();
} // namespace UnitOfWork

namespace UnitOfWork::detail {
// The connection calls it before each statement of a unit.
void beforeStatement(Connection &c, const QString &sql);
// And this before each statement sent outside one.
void outsideUnit(Connection &c, const QString &sql);
} // namespace UnitOfWork::detail
