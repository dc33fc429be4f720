#include "masterdata/ui/StatusList.h"

#include "common/ui/MessageBox.h"
#include "db/DbHelpers.h"
#include "masterdata/MasterData.h"
#include "masterdata/MasterDataStore.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

StatusList::StatusList(QWidget *parent) : ListScreen(parent, ObjectName)
{
    setCaption(QStringLiteral("Státuszok"));
    setQuery(Statuses::listQuery());
    setKeyField(QStringLiteral("statusz"));
    setBaseCondition(Statuses::baseCondition());
    setSearchFields(QStringLiteral("statusz_nev"));
    setSortField(QStringLiteral("statusz"));
    setSortsByColumnTitle(true);
    setColumns({{QStringLiteral("statusz"), QStringLiteral("Sorszám"), 0.23},
                {QStringLiteral("statusz_nev"), QStringLiteral("Státusz"), 0.77}},
               40);

    QAction *aUj = makeAction(QStringLiteral("aUj"), QStringLiteral("Új sor"), QKeySequence(Qt::Key_Insert),
                              {}, [this] { edit(-1); });
    QAction *aSzerkeszt = makeAction(
        QStringLiteral("aSzerkeszt"), QStringLiteral("Szerkeszt"), QKeySequence(Qt::Key_F2), {},
        [this] { edit(hasRows() ? int(currentValue(QStringLiteral("statusz")).toLongLong()) : -1); });
    QAction *aTorol =
        makeAction(QStringLiteral("aTorol"), QStringLiteral("Töröl"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
                   QStringLiteral("Sor törlése"), [this] { deleteRow(); });
    QAction *aKeres = makeSearchAction();
    // No caller picks a status: "Elfogad" is there but never offered.
    makeAcceptAction();
    QAction *aBezar = makeCloseAction();

    setToolBarActions({aUj, aSzerkeszt, aTorol, nullptr, aBezar});
    setPopupActions({aUj, aSzerkeszt, aTorol, nullptr, aKeres, nullptr, aBezar});
    setWriteActions({aUj, aTorol});
    setPickMode(false);
}

void StatusList::openAt(int initialKey)
{
    requeryAt(initialKey);
}

void StatusList::edit(int key)
{
    const int saved = StatusEditor::edit(this, key);
    if (saved != -1)
        requeryAt(saved);
}

void StatusList::deleteRow()
{
    deleteCurrentRow([this] { return Statuses::deleteStatement(currentValue(QStringLiteral("statusz"))); });
}

StatusEditor::StatusEditor(QWidget *parent) : EditorBase(parent, ObjectName)
{
    setWindowTitle(QStringLiteral("Státusz szerkesztés"));
    m_number = new QLineEdit(this);
    m_number->setObjectName(QStringLiteral("edStatusz"));
    m_number->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]{0,9}")), this));
    auto *note = new QLabel(QStringLiteral("A státusz értéke 0 és 9 között lehet."), this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("edStatuszNev"));
    m_name->setMaxLength(50);
    upperFirstLetter(m_name, false);
    m_colour = new QComboBox(this);
    m_colour->setObjectName(QStringLiteral("cbSzin"));
    m_colour->setEditable(false);
    m_colour->addItems(Statuses::colours());
    m_done = new QCheckBox(QStringLiteral("Kész?"), this);
    m_done->setObjectName(QStringLiteral("cbKesz"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Státusz"), m_number);
    form->addRow(QString(), note);
    form->addRow(QStringLiteral("Státusz neve"), m_name);
    form->addRow(QStringLiteral("Szín (webes felülethez)"), m_colour);
    form->addRow(QString(), m_done);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(buttonRow());
    resize(420, 220);
}

void StatusEditor::load(int key)
{
    if (key == -1) {
        m_record = MasterDataStore::newRecord(QStringLiteral("statusz"));
        m_record.setValue(u"statusz", MasterDataStore::proposeStatus());
    } else {
        m_record = MasterDataStore::loadRecord(QStringLiteral("statusz"), QStringLiteral("statusz"), key);
    }
    m_number->setText(m_record.isNull(u"statusz") ? QString() : m_record.value(u"statusz").toString());
    m_name->setText(m_record.value(u"statusz_nev").toString());
    const int colour = int(Statuses::colours().indexOf(m_record.value(u"szin").toString()));
    m_colour->setCurrentIndex(qMax(colour, 0));
    m_done->setChecked(m_record.value(u"kesz").toString() == QLatin1String("I"));
}

EditRecord StatusEditor::record() const
{
    EditRecord r = m_record;
    const QString number = m_number->text().trimmed();
    r.setValue(u"statusz", number.isEmpty() ? QVariant() : QVariant(number.toLongLong()));
    r.setBoxText(u"statusz_nev", m_name->text());
    r.setBoxText(u"szin", m_colour->currentText());
    r.setValue(u"kesz", m_done->isChecked() ? QStringLiteral("I") : QStringLiteral("N"));
    return r;
}

bool StatusEditor::mayClose()
{
    if (Statuses::isValidNumber(m_number->text()))
        return true;
    ShowError(QStringLiteral("Nem megfelelő érték."));
    return false;
}

int StatusEditor::edit(QWidget *parent, int key)
{
    StatusEditor editor(parent);
    editor.load(key);
    if (editor.exec() != QDialog::Accepted)
        return -1;
    return MasterDataStore::saveStatus(key, editor.record());
}
