#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Connection;

// The text rules of the free SQL console: which editor text opens a table, which
// runs as one query and which runs as a script, and the script runner itself.
// Unlike SqlScript (the register's own scripts), a script here is read line by
// line the way administrators have always written them for this console: only a
// lower-case "delimiter" line switches the delimiter, and a statement ends with
// the line that ends with the delimiter.
namespace FreeSql {

// The table that a first line "table: name" asks for (the first line, lower-cased,
// begins with "table"; the name is what follows the first ':', trimmed). Empty
// optional when the editor's first line asks for no table.
std::optional<QString> requestedTable(const QString &editorText);

// Trimmed and upper-cased, the text begins with SELECT or SHOW: it is sent as one query.
bool isQuery(const QString &statement);

// The text up to its first ';' (all of it when there is none).
QString firstStatement(const QString &text);

// The statements the script runner would execute, in order, without their delimiters.
// Text after the last delimiter is left out.
QStringList scriptStatements(const QString &script);

struct ScriptOutcome
{
    enum Status
    {
        Completed,
        Failed,
        Stopped
    };
    Status status = Completed;
    int executed = 0; // statements that ran without error
    QString error;    // the failure's text (server message and number)
    QString failedStatement;
};

// Runs the script on the connection statement by statement, stopping at the first
// failure (statements already run stay run; there is no transaction). progress is
// called after every line with the lines read and the line count; returning false
// stops the run before the next line.
ScriptOutcome runScript(Connection &connection, const QString &script,
                        const std::function<bool(int done, int total)> &progress = {});

} // namespace FreeSql
