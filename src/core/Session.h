#pragma once

#include "core/LocalConfig.h"
#include "core/ProgramSettings.h"
#include "core/SessionUser.h"

#include <QStringList>

// The session of this process: the workstation's settings, the register's settings
// and the logged-in user, with the few session facts every screen may need. Start-up
// fills it; screens read it and return what they change to their caller.
struct Session
{
    LocalConfig local;
    ProgramSettings settings;
    SessionUser user;
    QString profileLine;         // the picked connection profile
    QString ownerName;           // tulajdonos of the register, shown in the title
    QStringList subjects;        // subject completion list of the editor
};

// The one session of the process.
Session &session();
// Back to a fresh session (tests, and a start-up that is tried again).
void resetSession();
