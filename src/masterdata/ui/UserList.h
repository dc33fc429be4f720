#pragma once

#include "core/ui/ListScreen.h"
#include "db/EditRecord.h"
#include "masterdata/ui/EditorBase.h"

#include <QHash>

class QCheckBox;
class QLineEdit;

// frm_Felhasznalo: the users, for administration or as a picker.
class UserList : public ListScreen
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Felhasznalo"};
    UserList(QWidget *parent, bool pickMode);

    void openAt(int initialKey);
    // The current row's felhkod, 0 on an empty list.
    int result() const;

private:
    void edit(int key);
    void deleteRow();
    void editGroups();
};

// frm_FelhasznaloSzerkeszt: one user's login, name and rights; a new user gets the next key,
// the default rights and the default password.
class UserEditor : public EditorBase
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_FelhasznaloSzerkeszt"};
    explicit UserEditor(QWidget *parent);

    // Shows the user (key -1: a new one) and saves him when accepted; his key, or -1.
    static int edit(QWidget *parent, int key);

    void load(int key);
    bool isNew() const { return m_isNew; }
    EditRecord record() const;
    // The columns "OK" writes for an existing user: those edited, and the password after a reset.
    QStringList changedColumns() const;
    QLineEdit *loginEdit() const { return m_login; }
    QLineEdit *nameEdit() const { return m_name; }
    QCheckBox *rightBox(const QString &column) const { return m_rights.value(column); }
    // "Visszaállítás": the default password again, saved with "OK".
    void resetPassword();

protected:
    bool mayClose() override;

private:
    EditRecord m_record;
    EditRecord m_original;
    bool m_passwordReset = false;
    bool m_isNew = false;
    int m_key = -1;
    QLineEdit *m_login = nullptr;
    QLineEdit *m_name = nullptr;
    QHash<QString, QCheckBox *> m_rights;
};
