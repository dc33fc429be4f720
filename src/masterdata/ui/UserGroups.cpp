#include "masterdata/ui/UserGroups.h"

#include "db/DbHelpers.h"
#include "masterdata/MasterData.h"
#include "masterdata/ui/Pickers.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

UserGroups::UserGroups(QWidget *parent, int userKey, const QString &userName, const QString &login)
    : ListScreen(parent, ObjectName), m_user(userKey)
{
    setWindowTitle(QStringLiteral("Felhasználó csoportjai"));
    captionPanel()->setText(userName + QStringLiteral(" (") + login + QStringLiteral(")  "));
    // The list is short and has no search.
    searchBox()->hide();
    setQuery(Users::groupsQuery(userKey));
    setKeyField(QStringLiteral("csoport"));
    setBaseCondition(QStringLiteral("felhkod = ") + QString::number(userKey));
    setColumns({{QStringLiteral("csoport_nev"), QStringLiteral("Csoport"), 1.0}}, 40);

    QAction *aUj = makeAction(QStringLiteral("aUj"), QStringLiteral("Új csoport"),
                              QKeySequence(Qt::Key_Insert), {}, [this] { addGroup(); });
    QAction *aUj2 =
        makeAction(QStringLiteral("aUj2"), QStringLiteral("Mindet!"), QKeySequence(Qt::CTRL | Qt::Key_Insert),
                   QStringLiteral("Összes hozzáad"), [this] { addAllGroups(); });
    QAction *aTorol = makeAction(QStringLiteral("aTorol"), QStringLiteral("Töröl"),
                                 QKeySequence(Qt::CTRL | Qt::Key_Delete), {}, [this] { removeGroup(); });
    QAction *aBezar = makeCloseAction();
    setToolBarActions({aUj, aUj2, aTorol, nullptr, aBezar});
    setPopupActions({aUj, aTorol, nullptr, aBezar});
    setWriteActions({aUj, aUj2, aTorol});
    resize(360, 320);
}

void UserGroups::run(QWidget *parent, int userKey, const QString &userName, const QString &login)
{
    UserGroups screen(parent, userKey, userName, login);
    screen.requery();
    screen.exec();
}

void UserGroups::addGroup()
{
    const PickResult group = MasterDataPicker(this, -1, MasterTable::Caller::MembershipNewGroup);
    if (group.picked())
        ExecSql(Users::addGroupStatement(m_user, group.key));
    requery();
}

void UserGroups::addAllGroups()
{
    ExecSql(Users::addAllGroupsStatement(m_user));
    requery();
}

void UserGroups::removeGroup()
{
    if (hasRows())
        ExecSql(Users::removeGroupStatement(m_user, currentValue(QStringLiteral("csoport"))));
    requery();
}
