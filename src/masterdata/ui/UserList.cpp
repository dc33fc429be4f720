#include "masterdata/ui/UserList.h"

#include "common/ui/MessageBox.h"
#include "core/ui/ErrorHandler.h"
#include "db/DbHelpers.h"
#include "db/ui/DatasetModel.h"
#include "masterdata/MasterData.h"
#include "masterdata/MasterDataStore.h"
#include "masterdata/ui/MasterPictures.h"
#include "masterdata/ui/UserGroups.h"

#include <QAction>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct RightBox
{
    const char *column;
    const char *caption;
};

const RightBox kRights[] = {
    {"rendszergazda", "Rendszergazda"},          {"torzsszerkeszt", "Törzsadat szerkesztés"},
    {"canins", "Új dokumentumot rögzíthet"},     {"canedit", "Meglévő dokumentumot módosíthat"},
    {"candel", "Meglévő dokumentumot törölhet"},
};

bool isFlagColumn(const Dataset &data, int column)
{
    const QString name = data.field(column).name;
    return name == QLatin1String("rendszergazda") || name == QLatin1String("torzsszerkeszt");
}

} // namespace

UserList::UserList(QWidget *parent, bool pickMode) : ListScreen(parent, ObjectName)
{
    setCaption(QStringLiteral("Felhasználók"));
    setQuery(Users::listQuery());
    setKeyField(QStringLiteral("felhkod"));
    setBaseCondition(Users::baseCondition());
    setSearchFields(Users::searchFields());
    setSortField(QStringLiteral("felhasznalo"));
    setSortsByColumnTitle(true);
    setColumns({{QStringLiteral("felhasznalo"), QStringLiteral("Felhasználó kód"), 0.2},
                {QStringLiteral("felhasznalo_nev"), QStringLiteral("Felhasználó neve"), 0.3},
                {QStringLiteral("rendszergazda"), QStringLiteral("R.gazda"), 0, 77},
                {QStringLiteral("torzsszerkeszt"), QStringLiteral("Törzs.Szerk"), 0, 77},
                {QStringLiteral("csopstr"), QStringLiteral("Csoportok"), 0.5}},
               194);
    // The two flag columns show one of two pictures instead of their letter.
    model()->setRoleHook([](const Dataset &data, int row, int column, int role) -> QVariant {
        if (!isFlagColumn(data, column))
            return {};
        if (role == Qt::DisplayRole)
            return QString();
        if (role == Qt::DecorationRole)
            return data.text(row, column) == QLatin1String("I") ? MasterPictures::flagOn()
                                                                : MasterPictures::flagOff();
        if (role == Qt::ToolTipRole)
            return data.text(row, column);
        return {};
    });

    QAction *aUj = makeAction(QStringLiteral("aUj"), QStringLiteral("Új"), QKeySequence(Qt::Key_Insert), {},
                              [this] { edit(-1); });
    QAction *aSzerkeszt = makeAction(
        QStringLiteral("aSzerkeszt"), QStringLiteral("Szerkeszt"), QKeySequence(Qt::Key_F2), {},
        [this] { edit(hasRows() ? int(currentValue(QStringLiteral("felhkod")).toLongLong()) : -1); });
    QAction *aTorol = makeAction(QStringLiteral("aTorol"), QStringLiteral("Töröl"),
                                 QKeySequence(Qt::CTRL | Qt::Key_Delete), {}, [this] { deleteRow(); });
    QAction *aCsoport =
        makeAction(QStringLiteral("aCsoport"), QStringLiteral("Csoportok"), {}, {}, [this] { editGroups(); });
    QAction *aElfogad = makeAcceptAction();
    QAction *aBezar = makeCloseAction();

    const QList<QAction *> actions = {aUj, aSzerkeszt, aTorol, nullptr, aCsoport, nullptr, aElfogad, aBezar};
    setToolBarActions(actions);
    setPopupActions(actions);
    setWriteActions({aUj, aTorol});
    if (pickMode) {
        for (QAction *a : {aUj, aSzerkeszt, aTorol, aCsoport})
            makeUnavailable(a);
    }
    setPickMode(pickMode);
    resize(640, 420);
}

void UserList::openAt(int initialKey)
{
    requeryAt(initialKey);
}

int UserList::result() const
{
    return int(currentValue(QStringLiteral("felhkod")).toLongLong());
}

void UserList::edit(int key)
{
    const int saved = UserEditor::edit(this, key);
    if (saved != -1)
        requeryAt(saved);
}

void UserList::deleteRow()
{
    deleteCurrentRow([this] { return Users::deleteStatement(currentValue(QStringLiteral("felhkod"))); });
}

void UserList::editGroups()
{
    if (!hasRows()) {
        ShowError(QStringLiteral("Nincs sor kiválasztva."));
        return;
    }
    UserGroups::run(this, int(currentValue(QStringLiteral("felhkod")).toLongLong()),
                    currentText(QStringLiteral("felhasznalo_nev")),
                    currentText(QStringLiteral("felhasznalo")));
    requery();
}

// ---- editor

UserEditor::UserEditor(QWidget *parent) : EditorBase(parent, ObjectName)
{
    setWindowTitle(QStringLiteral("Felhasználó"));
    setHideOkWhenProtected(true);
    m_login = new QLineEdit(this);
    m_login->setObjectName(QStringLiteral("edFelhasznalo"));
    m_login->setMaxLength(20);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("edFelhasznaloNev"));
    m_name->setMaxLength(20);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Felhasználó"), m_login);
    form->addRow(QStringLiteral("Felhasználó neve"), m_name);

    auto *rights = new QVBoxLayout;
    for (const RightBox &r : kRights) {
        auto *box = new QCheckBox(QString::fromUtf8(r.caption), this);
        box->setObjectName(QStringLiteral("cb_") + QString::fromLatin1(r.column));
        rights->addWidget(box);
        m_rights.insert(QString::fromLatin1(r.column), box);
    }

    auto *password = new QGroupBox(QStringLiteral("Induló jelszó"), this);
    auto *passwordText = new QLabel(Users::defaultPassword(), password);
    passwordText->setObjectName(QStringLiteral("lbInduloJelszo"));
    passwordText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *reset = new QPushButton(QStringLiteral("Visszaállítás"), password);
    reset->setObjectName(QStringLiteral("btnVisszaallit"));
    reset->setAutoDefault(false);
    connect(reset, &QPushButton::clicked, this, guarded(QString(), [this] { resetPassword(); }));
    auto *passwordRow = new QHBoxLayout(password);
    passwordRow->addWidget(passwordText, 1);
    passwordRow->addWidget(reset);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(rights);
    layout->addWidget(password);
    layout->addStretch(1);
    layout->addLayout(buttonRow());
    resize(400, 330);
}

void UserEditor::load(int key)
{
    m_key = key;
    m_isNew = key == -1;
    m_record =
        m_isNew ? MasterDataStore::newUser()
                : MasterDataStore::loadRecord(QStringLiteral("felhasznalo"), QStringLiteral("felhkod"), key);
    m_original = m_record;
    m_passwordReset = false;
    m_login->setText(m_record.value(u"felhasznalo").toString());
    m_name->setText(m_record.value(u"felhasznalo_nev").toString());
    for (auto it = m_rights.cbegin(); it != m_rights.cend(); ++it)
        it.value()->setChecked(m_record.value(it.key()).toString() == QLatin1String("I"));
}

EditRecord UserEditor::record() const
{
    EditRecord r = m_record;
    r.setBoxText(u"felhasznalo", m_login->text());
    r.setBoxText(u"felhasznalo_nev", m_name->text());
    for (auto it = m_rights.cbegin(); it != m_rights.cend(); ++it)
        r.setValue(it.key(), it.value()->isChecked() ? QStringLiteral("I") : QStringLiteral("N"));
    return r;
}

QStringList UserEditor::changedColumns() const
{
    QStringList changed = record().changedFrom(m_original);
    // A reset is written even when the hash read at opening was the default one already:
    // the user may have changed his password at login since.
    if (m_passwordReset && !changed.contains(QStringLiteral("jelszomd5")))
        changed << QStringLiteral("jelszomd5");
    return changed;
}

void UserEditor::resetPassword()
{
    MasterDataStore::resetPassword(m_record);
    m_passwordReset = true;
}

bool UserEditor::mayClose()
{
    if (!m_isNew)
        return true;
    bool exists = false;
    if (!runGuarded(QString(), [&] { exists = MasterDataStore::loginExists(m_login->text()); }))
        return false;
    if (exists) {
        ShowError(QStringLiteral("Felhasználó már létezik."));
        return false;
    }
    return true;
}

int UserEditor::edit(QWidget *parent, int key)
{
    UserEditor editor(parent);
    editor.load(key);
    if (editor.exec() != QDialog::Accepted)
        return -1;
    return MasterDataStore::saveUser(editor.m_isNew, key, editor.record(), editor.changedColumns());
}
