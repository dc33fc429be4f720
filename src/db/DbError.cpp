#include "db/DbError.h"

bool DbError::isConnectionLost() const
{
    switch (m_code) {
    case 2006: // server has gone away
    case 2013: // lost connection during query
    case 2055: // lost connection (system error)
    case 1927: // connection was killed
    case 4031: // disconnected for inactivity
        return true;
    default:
        return false;
    }
}
