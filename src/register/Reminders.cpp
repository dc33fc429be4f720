#include "register/Reminders.h"

#include "common/SqlText.h"
#include "db/DbHelpers.h"

namespace Reminders {

QString setStatement(qint64 document, const QDate &date, const QString &text)
{
    return QStringLiteral("UPDATE iktato SET dat_figy = ") + SqlDate(date) + QStringLiteral(", figy_szoveg = ") +
           SqlLiteral(text) + QStringLiteral(" WHERE iktato = ") + SqlInt(document) + QLatin1Char(';');
}

QString clearStatement(qint64 document)
{
    return QStringLiteral("UPDATE iktato SET dat_figy = NULL, figy_szoveg = NULL WHERE iktato = ") +
           SqlInt(document) + QLatin1Char(';');
}

void set(qint64 document, const QDate &date, const QString &text)
{
    ExecSql(setStatement(document, date, text));
}

void clear(qint64 document)
{
    ExecSql(clearStatement(document));
}

std::optional<Stored> stored(qint64 document)
{
    const Dataset row = db().query(QStringLiteral("SELECT dat_figy, figy_szoveg FROM iktato WHERE iktato = ") +
                                   SqlInt(document) + QLatin1Char(';'));
    if (row.rowCount() == 0)
        return std::nullopt;
    return Stored{row.isNull(0, 0) ? QDate() : row.toDate(0, 0), row.isNull(0, 1) ? QString() : row.text(0, 1)};
}

int countToday()
{
    return SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktato WHERE dat_figy = CURDATE();"), 0);
}

QString dayCondition(const QDate &day)
{
    return QStringLiteral("dat_figy = ") + SqlDate(day);
}

QStringList listQuery(const QDate &day)
{
    return {QStringLiteral("SELECT DISTINCT"),
            QStringLiteral(" iktatoaz,"),
            QStringLiteral(" targy,"),
            QStringLiteral(" figy_szoveg,"),
            QStringLiteral(" dat_figy"),
            QStringLiteral("FROM vw_iktato"),
            QStringLiteral("WHERE ") + dayCondition(day),
            QStringLiteral("ORDER BY 1;")};
}

bool deadlinesWatched(int days)
{
    return days >= 0;
}

QString deadlineCondition(int days)
{
    return QStringLiteral("(dat_hatid <= ADDDATE(CURDATE(), +") + SqlInt(days) +
           QStringLiteral(")) AND (kesz = 'N')");
}

int countExpiring(int days)
{
    return SelectInt(QStringLiteral("SELECT COUNT(*) FROM vw_iktato WHERE ") + deadlineCondition(days) +
                         QLatin1Char(';'),
                     0);
}

QStringList deadlineQuery(int days)
{
    return {QStringLiteral("SELECT DISTINCT"),
            QStringLiteral(" iktatoaz,"),
            QStringLiteral(" targy,"),
            QStringLiteral(" dat_hatid"),
            QStringLiteral("FROM vw_iktato"),
            QStringLiteral("WHERE ") + deadlineCondition(days),
            QStringLiteral("ORDER BY 1;")};
}

} // namespace Reminders
