#include "core/Login.h"

#include "db/DbHelpers.h"
#include "common/SqlText.h"
#include "core/ProgramSettings.h"
#include "db/Connection.h"
#include "db/Dataset.h"

namespace {

QString credentialCondition(const QString &login, const QString &password)
{
    return QStringLiteral(" WHERE (felhasznalo = ") + SqlLiteral(login) +
           QStringLiteral(") AND (jelszomd5 = MD5(") + SqlLiteral(password) +
           QStringLiteral(")) AND (torolve = 'N');");
}

} // namespace

std::optional<SessionUser> checkCredentials(const QString &login, const QString &password)
{
    const QString condition = credentialCondition(login, password);
    if (SelectInt(QStringLiteral("SELECT COUNT(*) FROM felhasznalo") + condition, 0) != 1)
        return std::nullopt;
    const Dataset data = db().query(QStringLiteral("SELECT * FROM felhasznalo") + condition);
    // The row may have gone between the two statements.
    if (data.isEmpty())
        return std::nullopt;
    return sessionUserFromRow(data, 0);
}

void changePassword(const QString &login, const QString &newPassword)
{
    ExecSql(QStringLiteral("UPDATE felhasznalo SET jelszomd5 = MD5(") + SqlLiteral(newPassword) +
            QStringLiteral(") WHERE felhasznalo = ") + SqlLiteral(login) + QStringLiteral(";"));
}

SessionUser sessionUserFromRow(const Dataset &data, int row)
{
    const auto text = [&](QStringView column) { return data.text(row, data.requireField(column)); };
    SessionUser u;
    u.login = text(u"felhasznalo");
    u.fullName = text(u"felhasznalo_nev");
    u.code = int(data.toInt(row, data.requireField(u"felhkod"), 0));
    u.administrator = isFlagOn(text(u"rendszergazda"));
    u.masterDataEditing = isFlagOn(text(u"torzsszerkeszt"));
    u.mayInsert = isFlagOn(text(u"canins"));
    u.mayEdit = isFlagOn(text(u"canedit"));
    u.mayDelete = isFlagOn(text(u"candel"));
    return u;
}

void announceUser(Connection &connection, const SessionUser &user)
{
    connection.setSessionVariable(UserCodeVariable, SqlInt(user.code));
}
