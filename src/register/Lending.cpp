#include "register/Lending.h"

#include "common/SqlText.h"
#include "db/Connection.h"
#include "db/Dataset.h"
#include "db/DbHelpers.h"
#include "db/UnitOfWork.h"

namespace Lending {

bool refusesLending(QByteArrayView kolcsonadva)
{
    return kolcsonadva == "I";
}

bool refusesTakingBack(QByteArrayView kolcsonadva)
{
    return kolcsonadva == "N";
}

QString alreadyOutMessage()
{
    return QStringLiteral("Ez a tétel már ki lett adva");
}

QString notOutMessage()
{
    return QStringLiteral("Ez a tétel még nem lett kiadva");
}

QString takeBackQuestion()
{
    return QStringLiteral("Valóban visszaveszed a tételt?");
}

QString lentMeanwhileMessage()
{
    return QStringLiteral("Ezt a tételt közben egy másik munkahelyen kiadták.");
}

QString returnedMeanwhileMessage()
{
    return QStringLiteral("Ezt a tételt közben egy másik munkahelyen visszavették.");
}

// BINARY: the flag counts only as exactly 'I' or 'N', as the list checks it, not as the
// case-blind collation would compare it; <=> lets NULL through.
QString lendStatement(qint64 document, const QDate &date, const QString &name)
{
    return QStringLiteral("UPDATE iktato SET kolcsonadva='I',kolcsonadva_dat=") + SqlDate(date) +
           QStringLiteral(",kolcsonadva_kinek=") + SqlLiteral(name) + QStringLiteral(" WHERE iktato=") +
           SqlInt(document) + QStringLiteral(" AND NOT (BINARY kolcsonadva <=> 'I');");
}

QString takeBackStatement(qint64 document)
{
    return QStringLiteral("UPDATE iktato SET kolcsonadva='N',kolcsonadva_dat=NULL,kolcsonadva_kinek='' WHERE "
                          "iktato=") +
           SqlInt(document) + QStringLiteral(" AND NOT (BINARY kolcsonadva <=> 'N');");
}

QStringList namesQuery()
{
    return {QStringLiteral("SELECT DISTINCT kolcsonadva_kinek"), QStringLiteral("FROM iktato"),
            QStringLiteral("ORDER BY 1;")};
}

QStringList names()
{
    const Dataset rows = db().query(namesQuery().join(QLatin1Char('\n')));
    QStringList list;
    bool empty = false;
    for (int r = 0; r < rows.rowCount(); ++r) {
        const QString name = rows.text(r, 0);
        // NULL and '' are two rows of DISTINCT but one choice.
        if (name.isEmpty()) {
            if (empty)
                continue;
            empty = true;
        }
        list << name;
    }
    return list;
}

namespace {

bool changed(const QString &statement)
{
    quint64 rows = 0;
    Connection &c = db();
    RunUnit(c, [&] {
        c.exec(statement);
        rows = c.affectedRows();
    });
    return rows > 0;
}

} // namespace

bool lend(qint64 document, const QDate &date, const QString &name)
{
    return changed(lendStatement(document, date, name));
}

bool takeBack(qint64 document)
{
    return changed(takeBackStatement(document));
}

} // namespace Lending
