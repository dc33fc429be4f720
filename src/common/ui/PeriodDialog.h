#pragma once

#include "common/ui/Dialog.h"

#include <QDate>

class QDateEdit;
class QPushButton;

// frm_Idoszak: a period of two dates, typed or set by one of the interval
// buttons (weeks run Monday to Sunday). The order of the dates is not checked.
class PeriodDialog : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Idoszak"};
    enum Interval
    {
        ThisWeek,
        ThisMonth,
        LastMonth,
        ThisYear,
        TodayOnly,
        LastYear
    };

    PeriodDialog(QWidget *parent, const QDate &first, const QDate &last, const QString &title);

    QDate first() const;
    QDate last() const;
    QDateEdit *firstEdit() const { return m_first; }
    QDateEdit *lastEdit() const { return m_last; }
    QPushButton *intervalButton(Interval interval) const;
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    // The first and last day of an interval around the given day.
    static std::pair<QDate, QDate> intervalAround(Interval interval, const QDate &today);

private:
    QDateEdit *m_first;
    QDateEdit *m_last;
    QList<QPushButton *> m_intervals;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
