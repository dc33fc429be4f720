#pragma once

#include "core/LocalConfig.h"
#include "core/ProgramSettings.h"
#include "core/SessionUser.h"

#include <QStringList>

// The process-wide record: the workstation's settings, the register's settings
// and the session user, with the few session facts every screen may need.
struct TBeall
{
    LocalConfig local;
    ProgramSettings settings;
    SessionUser user;
    QString profileLine;         // the picked connection profile
    QString ownerName;           // tulajdonos of the register, shown in the title
    QStringList subjects;        // subject completion list of the editor
};

// The one record of the process.
TBeall &Beall();
