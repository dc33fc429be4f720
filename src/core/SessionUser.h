#pragma once

#include <QString>

// Who is working, and the five rights he holds.
struct SessionUser
{
    QString login;
    QString fullName;
    int code = 0;
    bool administrator = false;
    bool masterDataEditing = false;
    bool mayInsert = false;
    bool mayEdit = false;
    bool mayDelete = false;

    // Used when the register asks for no login.
    static SessionUser builtInAdministrator()
    {
        SessionUser u;
        u.login = u.fullName = QStringLiteral("rendszergazda");
        u.code = 1;
        u.administrator = u.masterDataEditing = u.mayInsert = u.mayEdit = u.mayDelete = true;
        return u;
    }
};
