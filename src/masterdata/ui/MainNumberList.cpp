#include "masterdata/ui/MainNumberList.h"

#include "common/ui/MessageBox.h"
#include "db/DbHelpers.h"
#include "masterdata/MasterData.h"
#include "masterdata/MasterDataStore.h"

#include <QAction>
#include <QFormLayout>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

MainNumberList::MainNumberList(QWidget *parent, bool pickMode) : ListScreen(parent, ObjectName)
{
    setCaption(QStringLiteral("Főszámok"));
    setQuery(MainNumbers::listQuery());
    setKeyField(QStringLiteral("foszam"));
    setBaseCondition(MainNumbers::baseCondition());
    setSearchFields(MainNumbers::searchFields());
    setSortField(QStringLiteral("foszam"));
    setSortsByColumnTitle(true);
    setColumns({{QStringLiteral("foszam"), QStringLiteral("Főszám"), 0.23, 0, QStringLiteral("00000000")},
                {QStringLiteral("foszam_nev"), QStringLiteral("Megnevezés"), 0.77}},
               40);

    QAction *aUj = makeAction(QStringLiteral("aUj"), QStringLiteral("Új sor"), QKeySequence(Qt::Key_Insert),
                              {}, [this] { edit(-1); });
    QAction *aSzerkeszt = makeAction(
        QStringLiteral("aSzerkeszt"), QStringLiteral("Szerkeszt"), QKeySequence(Qt::Key_F2), {},
        [this] { edit(hasRows() ? int(currentValue(QStringLiteral("foszam")).toLongLong()) : -1); });
    QAction *aTorol =
        makeAction(QStringLiteral("aTorol"), QStringLiteral("Töröl"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
                   QStringLiteral("Sor törlése"), [this] { deleteRow(); });
    QAction *aKeres = makeSearchAction();
    QAction *aElfogad = makeAcceptAction();
    QAction *aBezar = makeCloseAction();

    setToolBarActions({aUj, aSzerkeszt, aTorol, nullptr, aElfogad, aBezar});
    setPopupActions({aUj, aSzerkeszt, aTorol, nullptr, aKeres, nullptr, aElfogad, aBezar});
    setWriteActions({aUj, aTorol});
    setPickMode(pickMode);
}

void MainNumberList::openAt(int initialKey)
{
    requeryAt(initialKey);
}

PickResult MainNumberList::result() const
{
    return {int(currentValue(QStringLiteral("foszam")).toLongLong()),
            currentText(QStringLiteral("foszam_nev"))};
}

void MainNumberList::edit(int key)
{
    const int saved = MainNumberEditor::edit(this, key);
    if (saved != -1)
        requeryAt(saved);
}

void MainNumberList::deleteRow()
{
    deleteCurrentRow([this] { return MainNumbers::deleteStatement(currentValue(QStringLiteral("foszam"))); });
}

MainNumberEditor::MainNumberEditor(QWidget *parent) : EditorBase(parent, ObjectName)
{
    setWindowTitle(QStringLiteral("Főszám szerkesztés"));
    m_number = new QLineEdit(this);
    m_number->setObjectName(QStringLiteral("edFoszam"));
    m_number->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]{0,10}")), this));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("edFoszamNev"));
    m_name->setMaxLength(50);
    upperFirstLetter(m_name, false);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Főszám"), m_number);
    form->addRow(QStringLiteral("Megnevezés"), m_name);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(buttonRow());
    resize(420, 140);
}

void MainNumberEditor::load(int key)
{
    if (key == -1) {
        m_number->setText(QString::number(MasterDataStore::proposeMainNumber()));
        m_name->clear();
        return;
    }
    const EditRecord r = MasterDataStore::loadRecord(QStringLiteral("foszam"), QStringLiteral("foszam"), key);
    m_number->setText(r.isNull(u"foszam") ? QString::number(key) : r.value(u"foszam").toString());
    m_name->setText(r.value(u"foszam_nev").toString());
}

bool MainNumberEditor::mayClose()
{
    if (MainNumbers::isValidNumber(m_number->text()))
        return true;
    ShowError(QStringLiteral("Nem megfelelő érték."));
    return false;
}

int MainNumberEditor::edit(QWidget *parent, int key)
{
    MainNumberEditor editor(parent);
    editor.load(key);
    if (editor.exec() != QDialog::Accepted)
        return -1;
    return MasterDataStore::saveMainNumber(key, editor.m_number->text().trimmed().toLongLong(),
                                           editor.m_name->text());
}
