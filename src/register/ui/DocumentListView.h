#pragma once

#include "core/ui/ListScreen.h"

#include <QTableView>

class DocumentListModel;

// Draws the document list's cells: the sort column in its colour (the row's
// direction colour elsewhere) and the marker icons one pixel right of the
// cell's left edge, at its top.
class DocumentListDelegate : public HighlightDelegate
{
    Q_OBJECT
public:
    explicit DocumentListDelegate(QAbstractItemView *grid);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    QAbstractItemView *m_grid;
};

// The grid of the document list: read-only, whole rows, resizable columns.
class DocumentListView : public QTableView
{
    Q_OBJECT
public:
    explicit DocumentListView(QWidget *parent = nullptr);

    void setDocumentModel(DocumentListModel *model);
    DocumentListModel *documentModel() const { return m_model; }

    // Dataset row of the current grid row, -1 when none.
    int currentDatasetRow() const;
    // Makes the dataset row current and selected; false when it is not shown.
    bool moveToDatasetRow(int row);

    // Columns 1 to 4 get 18 pixels, the rest shares of the width less 116 that
    // depend on whether the window is wider than 1100 pixels; column 9 is
    // hidden in a narrow window.
    void layoutColumns(int windowWidth);
    // The width of a field column (index 4 .. 11) for a list width and window width; 0 hidden.
    static int ruleWidth(int column, int listWidth, int windowWidth);

Q_SIGNALS:
    // The dataset's current row changed (or the list was re-opened).
    void currentDocumentChanged();

private:
    DocumentListModel *m_model = nullptr;
};
