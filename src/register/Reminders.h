#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// One reminder per document (iktato.dat_figy, figy_szoveg) and the deadline
// warning over vw_iktato. "Today" for the lists is the server's date.
namespace Reminders {

// The longest reminder text the column takes.
constexpr int MaxTextLength = 100;

// An empty text is stored as '' (not NULL): the document keeps its reminder.
QString setStatement(qint64 document, const QDate &date, const QString &text);
QString clearStatement(qint64 document);
void set(qint64 document, const QDate &date, const QString &text);
void clear(qint64 document);

// The reminder as the server holds it now (another workstation may have changed it
// since the list was read): NULL gives an empty text or an invalid date. Nothing when
// the document does not exist.
struct Stored
{
    QDate date;
    QString text;
};
std::optional<Stored> stored(qint64 document);

// Documents with a reminder for the server's today.
int countToday();
// The reminder list of one day: one row per document, whatever its group and
// whether or not it is deleted.
QStringList listQuery(const QDate &day);
// The WHERE condition for a day.
QString dayCondition(const QDate &day);

// The deadline warning window (setting hatidfigyel): negative means none.
bool deadlinesWatched(int days);
// Unfinished documents due within the window, overdue ones included.
QString deadlineCondition(int days);
int countExpiring(int days);
QStringList deadlineQuery(int days);

} // namespace Reminders
