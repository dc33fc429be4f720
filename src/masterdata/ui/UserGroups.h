#pragma once

#include "core/ui/ListScreen.h"

// frm_FelhCsop: the groups one user belongs to.
class UserGroups : public ListScreen
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_FelhCsop"};
    UserGroups(QWidget *parent, int userKey, const QString &userName, const QString &login);

    static void run(QWidget *parent, int userKey, const QString &userName, const QString &login);

private:
    void addGroup();
    void addAllGroups();
    void removeGroup();

    int m_user;
};
