#include "register/ui/ReminderList.h"

#include "common/SqlText.h"
#include "core/Session.h"
#include "db/DbHelpers.h"
#include "register/Reminders.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

namespace {

// Both lists leave this much of the grid's width to its frame and row headers.
constexpr int ReservedWidth = 44;

} // namespace

ReminderList::ReminderList(QWidget *parent, const QDate &today) : ListScreen(parent, ObjectName), m_today(today)
{
    setWindowTitle(QStringLiteral("Figyelmeztetések"));
    setQuery(Reminders::listQuery(today));
    setKeyField(QStringLiteral("iktatoaz"));
    setSortField(QStringLiteral("iktatoaz"));
    setSortsByColumnTitle(true);
    setColumns({{QStringLiteral("iktatoaz"), QStringLiteral("Azonosító"), 0.2},
                {QStringLiteral("targy"), QStringLiteral("Tárgy"), 0.4},
                {QStringLiteral("figy_szoveg"), QStringLiteral("Szöveg"), 0.4}},
               ReservedWidth);
    searchBox()->hide();

    QAction *back = makeAction(QStringLiteral("aTegnap"), QStringLiteral("Tegnap"),
                               QKeySequence(Qt::CTRL | Qt::Key_Left), {}, [this] { showDay(m_day.addDays(-1)); });
    QAction *today_ = makeAction(QStringLiteral("aMa"), QStringLiteral("Ma"), QKeySequence(Qt::CTRL | Qt::Key_Down),
                                 {}, [this] { showDay(m_today); });
    QAction *forward = makeAction(QStringLiteral("aHolnap"), QStringLiteral("Holnap"),
                                  QKeySequence(Qt::CTRL | Qt::Key_Right), {}, [this] { showDay(m_day.addDays(1)); });
    QAction *closeAction = makeCloseAction();
    setToolBarActions({back, today_, forward, nullptr, closeAction});
    setPopupActions({back, today_, forward, nullptr, closeAction});
    setPickMode(false);
    showDay(today);
}

void ReminderList::showDay(const QDate &day)
{
    m_day = day;
    captionPanel()->setText(day.toString(QStringLiteral("yyyy.MM.dd")) + QStringLiteral("  "));
    QStringList lines = queryLines();
    SetWhere(lines, Reminders::dayCondition(day));
    setQuery(lines);
    requery();
}

DeadlineList::DeadlineList(QWidget *parent, int days) : ListScreen(parent, ObjectName)
{
    setCaption(QStringLiteral("Lejáró határidők"));
    setQuery(Reminders::deadlineQuery(days));
    setKeyField(QStringLiteral("iktatoaz"));
    setSortField(QStringLiteral("iktatoaz"));
    setSortsByColumnTitle(true);
    setColumns({{QStringLiteral("iktatoaz"), QStringLiteral("Azonosító"), 0.2},
                {QStringLiteral("targy"), QStringLiteral("Tárgy"), 0.6},
                {QStringLiteral("dat_hatid"), QStringLiteral("Határidő"), 0.2}},
               ReservedWidth);
    searchBox()->hide();
    QAction *closeAction = makeCloseAction();
    setToolBarActions({closeAction});
    setPopupActions({closeAction});
    setPickMode(false);
    requery();
}

void ShowReminders(QWidget *parent, bool onlyIfAny)
{
    if (onlyIfAny && Reminders::countToday() == 0)
        return;
    ReminderList list(parent, ServerDate());
    list.exec();
}

void ShowExpiringDeadlines(QWidget *parent)
{
    const int days = session().settings.hatidfigyel;
    if (!Reminders::deadlinesWatched(days) || Reminders::countExpiring(days) == 0)
        return;
    DeadlineList list(parent, days);
    list.exec();
}
