#include "register/ui/ListMarking.h"

#include "register/Marking.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/DocumentListView.h"

#include <memory>

bool ToggleMarkInList(DocumentListModel &model, DocumentListView &view)
{
    const Dataset &data = model.dataset();
    const int row = data.current();
    const int keyCol = data.fieldIndex(u"iktato");
    const int markCol = data.fieldIndex(u"nyomtatni");
    if (row < 0 || keyCol < 0 || markCol < 0)
        return false;
    const qint64 document = data.toInt(row, keyCol, 0);
    const QString flag = Marking::toggledMark(data.raw(row, markCol));
    Marking::setMark(document, flag);
    model.setCell(row, u"nyomtatni", flag);
    const int shown = model.modelRow(row);
    if (shown >= 0 && shown + 1 < model.rowCount())
        view.moveToDatasetRow(model.datasetRow(shown + 1));
    return true;
}

void ShowMarkedOnly(DocumentListModel &model, DocumentListView &view, bool on)
{
    const Dataset &data = model.dataset();
    const int keyCol = data.fieldIndex(u"iktato");
    const qint64 document = data.current() >= 0 && keyCol >= 0 ? data.toInt(data.current(), keyCol, 0) : 0;
    if (!on) {
        model.setRowFilter({});
    } else {
        // Rows are tested in order from the first, so the column is looked up once per opening.
        auto column = std::make_shared<int>(-1);
        model.setRowFilter([column](const Dataset &rows, int row) {
            if (row == 0 || *column < 0)
                *column = rows.fieldIndex(u"nyomtatni");
            return *column >= 0 && Marking::isMarked(rows.raw(row, *column));
        });
    }
    Dataset &rows = model.dataset();
    if (document > 0 && rows.locateValue(u"iktato", document))
        view.moveToDatasetRow(rows.current());
}
