#pragma once

#include <QString>
#include <QStringList>

// Splits SQL scripts the way the mariadb / mysql client reads them, so that the
// register's server/ scripts run statement by statement through a Connection.
namespace SqlScript {

// The statements of a script, trimmed, without their delimiters, in order.
// Honours DELIMITER lines (any delimiter string), '...' and "..." strings with
// backslash escapes and doubled quotes, `...` identifiers with doubled
// backquotes, -- and # line comments and /* */ comments. Comments are dropped,
// except /*! */, /*M! */ and /*+ */ comments, which the server executes or reads
// and so stay in the statement. Statements left empty are dropped.
QStringList split(const QString &script);

} // namespace SqlScript
