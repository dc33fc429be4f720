#pragma once

#include "core/ui/ListScreen.h"
#include "masterdata/ui/Pickers.h"

// frm_Torzsadat: the list of one generic master-data table, as administration screen or picker.
class MasterDataList : public ListScreen
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Torzsadat"};
    MasterDataList(QWidget *parent, const QString &table, const QString &caption, bool pickMode,
                   bool softDelete, bool readOnly);

    // Opens the query positioned on the key (no match: the first row).
    void openAt(int initialKey);
    // The accepted row's key and name.
    PickResult result() const;

protected:
    bool mayAccept() override;

private:
    void newRow();
    void editRow();
    void deleteRow();

    QString m_table;
    QString m_caption;
    bool m_softDelete;
};
