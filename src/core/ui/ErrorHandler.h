#pragma once

#include <QString>
#include <exception>

// The one handler of failures that no screen expected: logs m, explains the
// failures it knows in an error box, otherwise offers to send the maker an
// error report (opened in the browser). The program goes on running.
// While it runs, a further failure is only logged, never reported again.
void ReportUnhandledError(const QString &m, const QString &lastSql);

// The failure's own message: the text of a KorvenaError (and so of a DbError),
// what() of another standard exception, "Ismeretlen hiba" for anything else.
QString failureText(std::exception_ptr failure);
// m of the report: LastAction() + "-" + the failure's message.
QString unhandledErrorMessage(std::exception_ptr failure);

// For catch blocks of event handlers, timers and actions: hands the failure to
// ReportUnhandledError with LastAction and LastSql. Never throws.
void reportUnhandledException(std::exception_ptr failure = std::current_exception()) noexcept;
