#pragma once

#include "core/ui/ListScreen.h"
#include "masterdata/ui/Pickers.h"

// frm_TorzsUgyfel: the clients, as administration screen or picker, filtered by kind.
class ClientList : public ListScreen
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_TorzsUgyfel"};
    ClientList(QWidget *parent, ClientKind kind, bool pickMode, const QString &caption);

    void openAt(int initialKey);
    // The current row's ugyfel (0 on an empty list) and ugyfel_nev.
    PickResult result() const;

private:
    void showKind(ClientKind kind);
    void newClient();
    void editClient();
    void deleteClient();

    ClientKind m_openedKind;
};
