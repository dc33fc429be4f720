#include "masterdata/ui/ClientList.h"

#include "db/DbHelpers.h"
#include "common/SqlText.h"
#include "common/ui/MessageBox.h"
#include "masterdata/MasterData.h"
#include "masterdata/ui/ClientEditor.h"

#include <QAction>
#include <QActionGroup>

ClientList::ClientList(QWidget *parent, ClientKind kind, bool pickMode, const QString &caption)
    : ListScreen(parent, ObjectName), m_openedKind(kind)
{
    setCaption(caption);
    setQuery(Clients::listQuery());
    setKeyField(QStringLiteral("ugyfel"));
    setSearchFields(Clients::searchFields());
    setSortField(QStringLiteral("ugyfel_nev"));
    setSortsByColumnTitle(true);
    setColumns({{QStringLiteral("ugyfel_nev"), QStringLiteral("Ügyfél"), 0.3},
                {QStringLiteral("ui"), QStringLiteral("Ügyintéző"), 0.3},
                {QStringLiteral("cimstr"), QStringLiteral("Cím"), 0.2},
                {QStringLiteral("telefon"), QStringLiteral("Telefon"), 0.2}},
               40);

    QAction *aFrissit = makeAction(QStringLiteral("aFrissit"), QStringLiteral("Frissítés"),
                                   QKeySequence(Qt::Key_F5), {}, [this] { requery(); });
    QAction *aUj = makeAction(QStringLiteral("aUj"), QStringLiteral("Új sor"), QKeySequence(Qt::Key_Insert),
                              {}, [this] { newClient(); });
    QAction *aSzerkeszt = makeAction(QStringLiteral("aSzerkeszt"), QStringLiteral("Szerkeszt"),
                                     QKeySequence(Qt::Key_F2), {}, [this] { editClient(); });
    QAction *aTorol = makeAction(QStringLiteral("aTorol"), QStringLiteral("Sor törlése"),
                                 QKeySequence(Qt::CTRL | Qt::Key_Delete), {}, [this] { deleteClient(); });
    QAction *aBelso = makeAction(QStringLiteral("aBelso"), QStringLiteral("Belső"), {}, {},
                                 [this] { showKind(ClientKind::Internal); });
    QAction *aKulso = makeAction(QStringLiteral("aKulso"), QStringLiteral("Külső"), {}, {},
                                 [this] { showKind(ClientKind::External); });
    QAction *aOsszes = makeAction(QStringLiteral("aOsszes"), QStringLiteral("Összes"), {}, {},
                                  [this] { showKind(ClientKind::All); });
    auto *kinds = new QActionGroup(this);
    kinds->setExclusive(true);
    for (QAction *a : {aBelso, aKulso, aOsszes}) {
        a->setCheckable(true);
        kinds->addAction(a);
    }
    (kind == ClientKind::Internal   ? aBelso
     : kind == ClientKind::External ? aKulso
                                    : aOsszes)
        ->setChecked(true);
    QAction *aElfogad = makeAcceptAction();
    QAction *aBezar = makeCloseAction();

    setToolBarActions({aUj, aSzerkeszt, aTorol, nullptr, aBelso, aKulso, aOsszes, nullptr, aElfogad, aBezar});
    setPopupActions({aFrissit, nullptr, aUj, aSzerkeszt, aTorol, nullptr, aElfogad, aBezar});
    setWriteActions({aUj, aTorol});
    setPickMode(pickMode);

    setBaseCondition(Clients::kindFilter(kind));
    QStringList lines = queryLines();
    SetWhere(lines, Clients::kindFilter(kind));
    setQuery(lines);
}

void ClientList::openAt(int initialKey)
{
    requeryAt(initialKey);
}

PickResult ClientList::result() const
{
    return {int(currentValue(QStringLiteral("ugyfel")).toLongLong()),
            currentText(QStringLiteral("ugyfel_nev"))};
}

void ClientList::showKind(ClientKind kind)
{
    setBaseCondition(Clients::kindFilter(kind));
    // The search condition is dropped; the search box keeps its text.
    QStringList lines = queryLines();
    SetWhere(lines, Clients::kindFilter(kind));
    setQuery(lines);
    requery();
}

void ClientList::newClient()
{
    // The kind the list was opened with, whatever the radio shows now.
    const int key = EditClientDialog::edit(this, -1, m_openedKind);
    if (key != -1)
        requeryAt(key);
}

void ClientList::editClient()
{
    if (!hasRows()) {
        ShowError(QStringLiteral("Nincs sor kiválasztva."));
        return;
    }
    const int key =
        EditClientDialog::edit(this, int(currentValue(QStringLiteral("ugyfel")).toLongLong()), m_openedKind);
    if (key != -1)
        requeryAt(key);
}

void ClientList::deleteClient()
{
    deleteCurrentRow([this] { return Clients::deleteStatement(currentValue(QStringLiteral("ugyfel"))); });
}
