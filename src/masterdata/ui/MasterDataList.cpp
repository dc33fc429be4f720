#include "masterdata/ui/MasterDataList.h"

#include "db/DbHelpers.h"
#include "common/ui/MessageBox.h"
#include "core/Rights.h"
#include "core/ui/RightsGate.h"
#include "masterdata/MasterData.h"
#include "masterdata/ui/MasterRowEditor.h"

#include <QAction>
#include <QLineEdit>

namespace {

const QString kNoRowSelected = QStringLiteral("Nincs sor kiválasztva.");
const QString kNoSelectedRow = QStringLiteral("Nincs kiválasztott sor.");

} // namespace

MasterDataList::MasterDataList(QWidget *parent, const QString &table, const QString &caption, bool pickMode,
                               bool softDelete, bool readOnly)
    : ListScreen(parent, ObjectName), m_table(table),
      m_caption(caption.isEmpty() ? MasterTable::defaultCaption(table) : caption), m_softDelete(softDelete)
{
    const QString nameColumn = MasterTable::nameColumn(table);
    setCaption(m_caption);
    setQuery(MasterTable::listQuery(table, softDelete));
    setKeyField(table);
    setBaseCondition(MasterTable::baseCondition(softDelete));
    setSearchFields(nameColumn);
    setSortField(nameColumn);
    setColumns({{nameColumn, m_caption, 1.0, 0}}, 44);

    QAction *aUj = makeAction(QStringLiteral("aUj"), QStringLiteral("Új sor"), QKeySequence(Qt::Key_Insert),
                              {}, [this] { newRow(); });
    QAction *aSzerkeszt = makeAction(QStringLiteral("aSzerkeszt"), QStringLiteral("Szerkeszt"),
                                     QKeySequence(Qt::Key_F2), {}, [this] { editRow(); });
    QAction *aTorol =
        makeAction(QStringLiteral("aTorol"), QStringLiteral("Töröl"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
                   QStringLiteral("Sor törlése"), [this] { deleteRow(); });
    QAction *aKeres = makeSearchAction();
    QAction *aElfogad = makeAcceptAction();
    QAction *aBezar = makeCloseAction();

    if (readOnly) {
        makeUnavailable(aUj);
        makeUnavailable(aSzerkeszt);
        makeUnavailable(aTorol);
        setToolBarActions({aKeres, aElfogad, aBezar});
        setPopupActions({aKeres, aElfogad, aBezar});
    } else {
        setToolBarActions({aUj, aSzerkeszt, aTorol, nullptr, aKeres, nullptr, aElfogad, aBezar});
        setPopupActions({aUj, aSzerkeszt, aTorol, nullptr, aKeres, nullptr, aElfogad, aBezar});
        setWriteActions({aUj, aTorol});
    }
    setPickMode(pickMode);
}

void MasterDataList::openAt(int initialKey)
{
    requeryAt(initialKey);
}

PickResult MasterDataList::result() const
{
    PickResult r;
    if (!hasRows())
        return r;
    r.key = int(currentValue(m_table).toLongLong());
    r.name = currentText(MasterTable::nameColumn(m_table));
    return r;
}

bool MasterDataList::mayAccept()
{
    if (hasRows())
        return true;
    ShowError(kNoSelectedRow);
    return false;
}

void MasterDataList::newRow()
{
    if (isWriteProtected()) {
        ShowError(noRightMessage());
        return;
    }
    const int key = MasterRowEditor::edit(this, -1, m_table, m_caption);
    if (key != -1)
        requeryAt(key);
}

void MasterDataList::editRow()
{
    if (!hasRows()) {
        ShowError(kNoRowSelected);
        return;
    }
    if (isWriteProtected()) {
        ShowError(noRightMessage());
        return;
    }
    const int key = MasterRowEditor::edit(this, int(currentValue(m_table).toLongLong()), m_table, m_caption);
    if (key != -1)
        requeryAt(key);
}

void MasterDataList::deleteRow()
{
    if (hasRows() && isWriteProtected()) {
        ShowError(noRightMessage());
        return;
    }
    deleteCurrentRow(
        [this] { return MasterTable::deleteStatement(m_table, currentValue(m_table), m_softDelete); });
}
