#include "register/JournalQuery.h"

#include "common/SqlText.h"

namespace JournalQuery {

QStringList lines()
{
    return {
        QStringLiteral("SELECT"),
        QStringLiteral(" iktnaplo.*,"),
        QStringLiteral(" fn_iktatoaz(iktato.iktato, iktato.az1, iktato.az2, iktato.dat_erk) iktatoaz,"),
        QStringLiteral(" felhasznalo.felhasznalo_nev"),
        QStringLiteral("FROM iktnaplo"),
        QStringLiteral(" LEFT JOIN iktato ON (iktnaplo.iktato=iktato.iktato)"),
        QStringLiteral(" LEFT JOIN felhasznalo ON (iktnaplo.felhkod=felhasznalo.felhkod)"),
        QStringLiteral("WHERE iktnaplo.iktnaplo>0"),
        QStringLiteral("ORDER BY 1;"),
    };
}

QString documentCondition(qint64 document)
{
    return QStringLiteral("iktnaplo.iktato=") + QString::number(document);
}

QString userCondition(int userKey)
{
    return QStringLiteral("iktnaplo.felhkod=") + QString::number(userKey);
}

QString periodCondition(const QDate &first, const QDate &last)
{
    return QStringLiteral("iktnaplo.datum BETWEEN ") + SqlDate(first) + QStringLiteral(" AND ") +
           SqlDate(last.addDays(1));
}

} // namespace JournalQuery
