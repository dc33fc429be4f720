#include "masterdata/ui/Pickers.h"

#include "core/Session.h"
#include "core/ui/RightsGate.h"
#include "core/ui/SettingsDialog.h"
#include "db/DbHelpers.h"
#include "masterdata/ui/ClientEditor.h"
#include "masterdata/ui/ClientList.h"
#include "masterdata/ui/MainNumberList.h"
#include "masterdata/ui/MasterDataList.h"
#include "masterdata/ui/MasterRowEditor.h"
#include "masterdata/ui/SqlPickerDialog.h"
#include "masterdata/ui/StatusList.h"
#include "masterdata/ui/UserGroups.h"
#include "masterdata/ui/UserList.h"

PickResult MasterDataPicker(QWidget *parent, int initialKey, bool pickMode, const QString &table,
                            const QString &caption, bool softDelete, bool readOnly)
{
    MasterDataList list(parent, table, caption, pickMode, softDelete, readOnly);
    list.openAt(initialKey);
    if (list.exec() != QDialog::Accepted)
        return {};
    return list.result();
}

PickResult MasterDataPicker(QWidget *parent, int initialKey, MasterTable::Caller caller)
{
    const MasterTable::CallModes m = MasterTable::callModes(caller);
    return MasterDataPicker(parent, initialKey, m.pickMode, m.table, m.captionIn(session().settings),
                            m.softDelete, m.readOnly);
}

int EditMasterRow(QWidget *parent, int key, const QString &table, const QString &caption)
{
    return MasterRowEditor::edit(parent, key, table, caption);
}

PickResult ClientPicker(QWidget *parent, int initialKey, ClientKind kind, bool pickMode,
                        const QString &caption)
{
    ClientList list(parent, kind, pickMode, caption);
    list.openAt(initialKey);
    if (list.exec() != QDialog::Accepted)
        return {};
    return list.result();
}

int EditClient(QWidget *parent, int key, ClientKind kind)
{
    return EditClientDialog::edit(parent, key, kind);
}

PickResult MainNumberPicker(QWidget *parent, int initialKey, bool pickMode)
{
    MainNumberList list(parent, pickMode);
    list.openAt(initialKey);
    if (list.exec() != QDialog::Accepted)
        return {};
    return list.result();
}

int EditMainNumber(QWidget *parent, int key)
{
    return MainNumberEditor::edit(parent, key);
}

void StatusAdmin(QWidget *parent)
{
    StatusList list(parent);
    list.openAt(-1);
    list.exec();
}

int EditStatus(QWidget *parent, int key)
{
    return StatusEditor::edit(parent, key);
}

void UserAdmin(QWidget *parent)
{
    UserList list(parent, false);
    list.openAt(-1);
    list.exec();
}

int UserPicker(QWidget *parent, int initialKey)
{
    UserList list(parent, true);
    list.openAt(initialKey);
    if (list.exec() != QDialog::Accepted)
        return -1;
    return list.result();
}

int EditUser(QWidget *parent, int key)
{
    return UserEditor::edit(parent, key);
}

void EditUserGroups(QWidget *parent, int userKey)
{
    const Dataset user =
        db().query(QStringLiteral("SELECT felhasznalo, felhasznalo_nev FROM felhasznalo WHERE felhkod = ") +
                   QString::number(userKey) + QLatin1Char(';'));
    UserGroups::run(parent, userKey, user.isEmpty() ? QString() : user.text(0, 1),
                    user.isEmpty() ? QString() : user.text(0, 0));
}

int SqlPicker(QWidget *parent, const SqlPickRequest &request)
{
    const Dataset rows = db().query(request.sql.join(QLatin1Char('\n')));
    if (rows.rowCount() <= 1) {
        const int col = rows.fieldIndex(request.keyField);
        if (rows.isEmpty() || col < 0)
            return 0;
        return int(rows.toInt(0, col, 0));
    }
    SqlPickerDialog dialog(parent, request);
    dialog.requery();
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    return dialog.result();
}

int GroupPicker(QWidget *parent)
{
    return SqlPicker(parent, groupPickerRequest(session().user.code));
}

QStringList masterDataActionNames()
{
    return {QStringLiteral("aProjekt"), QStringLiteral("aMunkaszam"),  QStringLiteral("aTipus"),
            QStringLiteral("aCsoport"), QStringLiteral("aFoszam"),     QStringLiteral("aUgyfel"),
            QStringLiteral("aStatusz"), QStringLiteral("aFelhasznalo")};
}

bool openMasterDataFromMainWindow(QWidget *parent, const QString &actionName)
{
    using MasterTable::Caller;
    auto list = [parent](Right right, Caller caller) {
        if (!CheckRight(right))
            return false;
        MasterDataPicker(parent, -1, caller);
        return true;
    };
    auto screen = [parent](Right right, void (*open)(QWidget *)) {
        if (!CheckRight(right))
            return false;
        open(parent);
        return true;
    };
    if (actionName == QLatin1String("aProjekt"))
        return list(Right::MasterDataEditing, Caller::ProjectAdmin);
    if (actionName == QLatin1String("aMunkaszam"))
        return list(Right::MasterDataEditing, Caller::WorkNumberAdmin);
    if (actionName == QLatin1String("aTipus"))
        return list(Right::MasterDataEditing, Caller::TypeAdmin);
    if (actionName == QLatin1String("aCsoport"))
        return list(Right::Administrator, Caller::GroupAdmin);
    if (actionName == QLatin1String("aFoszam"))
        return screen(Right::MasterDataEditing, [](QWidget *p) { MainNumberPicker(p, -1, false); });
    if (actionName == QLatin1String("aUgyfel")) {
        ClientPicker(parent, -1, ClientKind::All, false, QStringLiteral("Ügyfél választás"));
        return true;
    }
    if (actionName == QLatin1String("aStatusz"))
        return screen(Right::Administrator, StatusAdmin);
    if (actionName == QLatin1String("aFelhasznalo"))
        return screen(Right::Administrator, UserAdmin);
    return false;
}

void registerMasterDataPickers()
{
    SettingsDialog::setGroupPicker([](QWidget *parent) -> std::optional<std::pair<int, QString>> {
        const PickResult r = MasterDataPicker(parent, session().settings.alapcsoport,
                                              MasterTable::Caller::SettingsDefaultGroup);
        if (!r.picked())
            return std::nullopt;
        return std::make_pair(r.key, r.name);
    });
}
