#include "common/LastAction.h"

namespace {
QString lastActionText;
}

QString LastAction()
{
    return lastActionText;
}

void setLastAction(const QString &action)
{
    lastActionText = action;
}
