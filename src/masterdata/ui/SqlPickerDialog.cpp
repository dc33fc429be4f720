#include "masterdata/ui/SqlPickerDialog.h"

#include <QAction>
#include <QToolBar>

SqlPickerDialog::SqlPickerDialog(QWidget *parent, const SqlPickRequest &request)
    : ListScreen(parent, ObjectName), m_request(request)
{
    setCaption(request.caption);
    setQuery(request.sql);
    setKeyField(request.keyField);
    setBaseCondition(request.baseCondition);
    setSearchFields(request.searchField);
    setSortField(request.searchField);
    QList<ListColumn> columns;
    for (const PickerColumn &c : parsePickerColumns(request.columns))
        columns.append({c.field, c.title, c.percent / 100.0});
    setColumns(columns, 44);

    QAction *aElfogad = makeAcceptAction();
    QAction *aBezar = makeCloseAction();
    setToolBarActions({aElfogad, aBezar});
    setPopupActions({aElfogad, aBezar});
    setPickMode(true);
    resize(360, 320);
}

int SqlPickerDialog::result() const
{
    return int(currentValue(m_request.keyField).toLongLong());
}
