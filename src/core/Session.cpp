#include "core/Session.h"

Session &session()
{
    static Session record;
    return record;
}

void resetSession()
{
    session() = Session();
}
