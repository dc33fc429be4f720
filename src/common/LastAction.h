#pragma once

#include <QString>

// The action last started: screen name, ".", action name. Read by the error report.
QString LastAction();
void setLastAction(const QString &action);
