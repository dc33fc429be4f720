#include "core/Rights.h"

#include "core/Session.h"
#include "core/SessionUser.h"

bool hasRight(const SessionUser &user, Right right)
{
    switch (right) {
    case Right::Administrator:
        return user.administrator;
    case Right::MasterDataEditing:
        return user.masterDataEditing;
    case Right::Insert:
        return user.mayInsert;
    case Right::Edit:
        return user.mayEdit;
    case Right::Delete:
        return user.mayDelete;
    }
    return false;
}

bool hasRight(Right right)
{
    return hasRight(session().user, right);
}

bool isWriteProtected()
{
    return session().settings.irasvedett;
}
