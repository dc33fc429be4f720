#include "core/ui/ErrorHandler.h"

#include "common/LastAction.h"
#include "common/ui/DesktopServices.h"
#include "common/ui/MessageBox.h"
#include "core/ErrorReport.h"
#include "db/Connection.h"
#include "db/DbError.h"

#include <QApplication>
#include <QWidget>

namespace {

bool handling = false;

QString activeWindowName()
{
    QWidget *window = QApplication::activeWindow();
    if (!window)
        window = QApplication::activeModalWidget();
    return window ? window->objectName() : QString();
}

} // namespace

void ReportUnhandledError(const QString &m, const QString &lastSql)
{
    const QString window = activeWindowName();
    appendErrorLog(window, m);
    // The boxes below run their own event loops; a failure that arrives
    // meanwhile has already been logged, and one report at a time is enough.
    if (handling)
        return;
    handling = true;
    try {
        const ErrorReaction reaction = classifyUnhandledError(m, lastSql, window);
        if (!reaction.ignored) {
            for (const QString &text : reaction.errorBoxes)
                ShowError(text);
            if (reaction.offerReport && AskYesNoError(reaction.reportQuestion(), QStringLiteral("Hiba")))
                DesktopServices::openUrl(errorReportUrl(window, reaction.message));
        }
    } catch (...) {
        appendErrorLog(window, unhandledErrorMessage(std::current_exception()));
    }
    handling = false;
}

QString failureText(std::exception_ptr failure)
{
    try {
        if (failure)
            std::rethrow_exception(failure);
    } catch (const KorvenaError &e) {
        return e.text();
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
    }
    return QStringLiteral("Ismeretlen hiba");
}

QString unhandledErrorMessage(std::exception_ptr failure)
{
    return LastAction() + QLatin1Char('-') + failureText(failure);
}

void reportUnhandledException(std::exception_ptr failure) noexcept
{
    try {
        ReportUnhandledError(unhandledErrorMessage(failure), LastSql());
    } catch (...) {
        // Only building the texts can get here; there is nothing left to report with.
    }
}

bool runGuarded(const QString &action, const std::function<void()> &work) noexcept
{
    try {
        if (!action.isEmpty())
            setLastAction(action);
        work();
        return true;
    } catch (...) {
        reportUnhandledException();
        return false;
    }
}
