#include "register/Marking.h"

#include "common/SqlText.h"
#include "db/DbHelpers.h"
#include "db/UnitOfWork.h"

namespace Marking {

bool isMarked(QByteArrayView flag)
{
    return flag == "I";
}

QString toggledMark(QByteArrayView current)
{
    return isMarked(current) ? QStringLiteral("N") : QStringLiteral("I");
}

QString markStatement(qint64 document, const QString &flag)
{
    return QStringLiteral("UPDATE iktato SET nyomtatni=") + SqlLiteral(flag) + QStringLiteral(" WHERE iktato=") +
           SqlInt(document) + QLatin1Char(';');
}

QString clearAllStatement()
{
    return QStringLiteral("UPDATE iktato SET nyomtatni='N';");
}

QString bulkColumn(BulkKey key)
{
    switch (key) {
    case BulkKey::Project:
        return QStringLiteral("projekt");
    case BulkKey::WorkNumber:
        return QStringLiteral("munkaszam");
    case BulkKey::Sender:
        return QStringLiteral("ugyf_kitol");
    case BulkKey::Addressee:
        return QStringLiteral("ugyf_hova");
    }
    return QString();
}

QString bulkMarkStatement(BulkKey key, qint64 value)
{
    return QStringLiteral("UPDATE iktato SET nyomtatni='I' WHERE ") + bulkColumn(key) + QLatin1Char('=') +
           SqlInt(value) + QLatin1Char(';');
}

QString setStatusStatement(qint64 document, qint64 user, int status)
{
    return QStringLiteral("CALL sp_setstatusz(") + SqlInt(document) + QLatin1Char(',') + SqlInt(user) +
           QLatin1Char(',') + SqlInt(status) + QStringLiteral(");");
}

void setMark(qint64 document, const QString &flag)
{
    ExecSql(markStatement(document, flag));
}

void clearAll()
{
    ExecSql(clearAllStatement());
}

void bulkMark(BulkKey key, qint64 value)
{
    ExecSql(bulkMarkStatement(key, value));
}

void setStatus(qint64 document, qint64 user, int status)
{
    // sp_setstatusz writes the status and its journal row in the unit's transaction.
    RunUnit([&] { db().exec(setStatusStatement(document, user, status)); });
}

} // namespace Marking
