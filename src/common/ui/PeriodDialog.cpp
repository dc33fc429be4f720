#include "common/ui/PeriodDialog.h"

#include "common/Clock.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QDateEdit *newDateEdit(const QDate &date, const QString &objectName, const QString &name)
{
    auto *edit = new QDateEdit;
    edit->setObjectName(objectName);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
    edit->setMinimumDate(QDate(1900, 1, 1));
    edit->setDate(date.isValid() ? date : Today());
    edit->setAccessibleName(name);
    return edit;
}

} // namespace

PeriodDialog::PeriodDialog(QWidget *parent, const QDate &first, const QDate &last, const QString &title)
    : Dialog(parent, ObjectName)
{
    setWindowTitle(title.isEmpty() ? QStringLiteral("Időszak megadása") : title);

    m_first = newDateEdit(first, QStringLiteral("deKezdet"), QStringLiteral("Első nap"));
    m_last = newDateEdit(last, QStringLiteral("deVeg"), QStringLiteral("Utolsó nap"));
    auto *period = new QGroupBox(QStringLiteral("Időszak"));
    auto *periodLayout = new QHBoxLayout(period);
    periodLayout->addWidget(m_first);
    periodLayout->addWidget(new QLabel(QStringLiteral("-")));
    periodLayout->addWidget(m_last);

    const QStringList captions = {QStringLiteral("Ez a hét"),       QStringLiteral("Ez a hónap"),
                                  QStringLiteral("Múlt hónap"),     QStringLiteral("Idén"),
                                  QStringLiteral("Csak a mai nap"), QStringLiteral("Tavaly")};
    auto *intervals = new QGroupBox(QStringLiteral("Intervallum"));
    auto *intervalLayout = new QGridLayout(intervals);
    for (int i = 0; i < captions.size(); ++i) {
        auto *button = new QPushButton(captions.at(i));
        const auto interval = Interval(i);
        connect(button, &QPushButton::clicked, this, [this, interval] {
            const auto [from, to] = intervalAround(interval, Today());
            m_first->setDate(from);
            m_last->setDate(to);
        });
        intervalLayout->addWidget(button, i / 2, i % 2);
        m_intervals.append(button);
    }

    m_ok = new QPushButton(QStringLiteral("OK"));
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Mégsem"));
    m_cancel->setObjectName(QStringLiteral("btnMegsem"));
    connect(m_ok, &QPushButton::clicked, this, &PeriodDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &PeriodDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(period);
    layout->addWidget(intervals);
    layout->addLayout(buttons);
    m_first->setFocus();
}

QDate PeriodDialog::first() const
{
    return m_first->date();
}

QDate PeriodDialog::last() const
{
    return m_last->date();
}

QPushButton *PeriodDialog::intervalButton(Interval interval) const
{
    return m_intervals.value(int(interval));
}

std::pair<QDate, QDate> PeriodDialog::intervalAround(Interval interval, const QDate &today)
{
    const QDate monthStart(today.year(), today.month(), 1);
    switch (interval) {
    case ThisWeek: {
        const QDate monday = today.addDays(1 - today.dayOfWeek());
        return {monday, monday.addDays(6)};
    }
    case ThisMonth:
        return {monthStart, monthStart.addMonths(1).addDays(-1)};
    case LastMonth:
        return {monthStart.addMonths(-1), monthStart.addDays(-1)};
    case ThisYear:
        return {QDate(today.year(), 1, 1), QDate(today.year(), 12, 31)};
    case TodayOnly:
        return {today, today};
    case LastYear:
        return {QDate(today.year() - 1, 1, 1), QDate(today.year() - 1, 12, 31)};
    }
    return {today, today};
}
