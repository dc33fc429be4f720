#include "core/ui/RightsGate.h"

#include "common/ui/MessageBox.h"

QString noRightMessage()
{
    return QStringLiteral("Nincs jogosultság a művelethez.");
}

bool CheckRight(Right right)
{
    if (hasRight(right))
        return true;
    ShowError(noRightMessage());
    return false;
}

bool CheckWritable()
{
    if (!isWriteProtected())
        return true;
    ShowError(noRightMessage());
    return false;
}
