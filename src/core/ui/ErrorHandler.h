#pragma once

#include <QString>
#include <exception>
#include <functional>

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

// The guard around everything a user starts (an action, a button, a timer that does
// work): names it in LastAction, runs it and hands any failure to the error handler.
// An empty name keeps LastAction as it is, so internal timers do not hide what the
// user did last. True when the work ran to its end.
bool runGuarded(const QString &action, const std::function<void()> &work) noexcept;

// runGuarded as a slot: connect(button, &QPushButton::clicked, this, guarded(name, work)).
inline auto guarded(QString action, std::function<void()> work)
{
    return [action = std::move(action), work = std::move(work)] { runGuarded(action, work); };
}
