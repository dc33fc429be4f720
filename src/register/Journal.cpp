#include "register/Journal.h"

#include "common/SqlText.h"
#include "core/Session.h"
#include "db/DbHelpers.h"

namespace Journal {

QString rowStatement(qint64 documentKey, int userKey, const QString &text)
{
    return QStringLiteral("INSERT INTO iktnaplo (iktato,felhkod,szoveg) VALUES (") + QString::number(documentKey) +
           QLatin1Char(',') + QString::number(userKey) + QLatin1Char(',') + SqlLiteral(text) + QStringLiteral(");");
}

QString rowStatementWithoutText(qint64 documentKey, int userKey)
{
    return QStringLiteral("INSERT INTO iktnaplo (iktato,felhkod) VALUES (") + QString::number(documentKey) +
           QLatin1Char(',') + QString::number(userKey) + QStringLiteral(");");
}

void write(qint64 documentKey, const QString &text)
{
    ExecSql(rowStatement(documentKey, session().user.code, text));
}

void writeWithoutText(qint64 documentKey)
{
    ExecSql(rowStatementWithoutText(documentKey, session().user.code));
}

} // namespace Journal
