#pragma once

#include "core/ui/ListScreen.h"

#include <QDate>

// frm_FigyuLista: the documents with a reminder on one day, starting from the
// server's today; "Tegnap", "Ma" and "Holnap" move the day.
class ReminderList : public ListScreen
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_FigyuLista"};

    ReminderList(QWidget *parent, const QDate &today);

    QDate shownDay() const { return m_day; }
    void showDay(const QDate &day);

protected:
    // The list has no search: its condition is the day's.
    void search(const QString &) override {}

private:
    QDate m_today;
    QDate m_day;
};

// frm_LejarLista: unfinished documents whose deadline is at most the warning
// window's days ahead, overdue ones included.
class DeadlineList : public ListScreen
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_LejarLista"};

    DeadlineList(QWidget *parent, int days);

protected:
    void search(const QString &) override {}
};

// The reminder list, modal. With onlyIfAny nothing shows unless a document has
// a reminder for the server's today.
void ShowReminders(QWidget *parent, bool onlyIfAny);
// The deadline list, modal, when the setting hatidfigyel asks for one and
// something is due.
void ShowExpiringDeadlines(QWidget *parent);
