#include "masterdata/ui/Pickers.h"

#include "db/DbHelpers.h"
#include "core/Session.h"
#include "core/ui/RightsGate.h"
#include "core/ui/SettingsDialog.h"
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
    const ProgramSettings &s = session().settings;
    if (actionName == QLatin1String("aProjekt")) {
        if (CheckRight(Right::MasterDataEditing))
            MasterDataPicker(parent, -1, false, QStringLiteral("projekt"), s.mezo2, false, false);
    } else if (actionName == QLatin1String("aMunkaszam")) {
        if (CheckRight(Right::MasterDataEditing))
            MasterDataPicker(parent, -1, false, QStringLiteral("munkaszam"), s.mezo1, false, false);
    } else if (actionName == QLatin1String("aTipus")) {
        if (CheckRight(Right::MasterDataEditing))
            MasterDataPicker(parent, -1, false, QStringLiteral("tipus"), s.mezo3, true, false);
    } else if (actionName == QLatin1String("aCsoport")) {
        if (CheckRight(Right::Administrator))
            MasterDataPicker(parent, -1, false, QStringLiteral("csoport"), QStringLiteral("Csoport"), true,
                             false);
    } else if (actionName == QLatin1String("aFoszam")) {
        if (CheckRight(Right::MasterDataEditing))
            MainNumberPicker(parent, -1, false);
    } else if (actionName == QLatin1String("aUgyfel")) {
        ClientPicker(parent, -1, ClientKind::All, false, QStringLiteral("Ügyfél választás"));
    } else if (actionName == QLatin1String("aStatusz")) {
        if (CheckRight(Right::Administrator))
            StatusAdmin(parent);
    } else if (actionName == QLatin1String("aFelhasznalo")) {
        if (CheckRight(Right::Administrator))
            UserAdmin(parent);
    } else {
        return false;
    }
    return true;
}

void registerMasterDataPickers()
{
    SettingsDialog::setGroupPicker([](QWidget *parent) -> std::optional<std::pair<int, QString>> {
        const PickResult r =
            MasterDataPicker(parent, session().settings.alapcsoport, true, QStringLiteral("csoport"),
                             QStringLiteral("Csoport"), true, false);
        if (!r.picked())
            return std::nullopt;
        return std::make_pair(r.key, r.name);
    });
}
