#include "register/ui/DocumentListView.h"

#include "register/ui/DocumentListModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>

namespace {

constexpr int MarkerWidth = 18;
constexpr int ReservedWidth = 116;
constexpr int NarrowWindow = 1100;

} // namespace

DocumentListDelegate::DocumentListDelegate(QAbstractItemView *grid) : HighlightDelegate(grid), m_grid(grid) {}

void DocumentListDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    HighlightDelegate::initStyleOption(option, index);
    // The sort column keeps its colour whatever the row's direction.
    const QVariant sortColour = highlightBackground(m_grid, index.column());
    if (sortColour.isValid())
        option->backgroundBrush = sortColour.value<QBrush>();
    if (index.column() < DocumentListModel::MarkerColumns) {
        option->features &= ~QStyleOptionViewItem::HasDecoration;
        option->icon = QIcon();
    }
}

void DocumentListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    HighlightDelegate::paint(painter, option, index);
    if (index.column() >= DocumentListModel::MarkerColumns)
        return;
    const QPixmap marker = index.data(Qt::DecorationRole).value<QPixmap>();
    if (!marker.isNull())
        painter->drawPixmap(option.rect.left() + 1, option.rect.top(), marker);
}

DocumentListView::DocumentListView(QWidget *parent) : QTableView(parent)
{
    setObjectName(QStringLiteral("grdLista"));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new DocumentListDelegate(this));
    setWordWrap(false);
    setTabKeyNavigation(false);
    setAccessibleName(QStringLiteral("Iratok"));

    QHeaderView *rows = verticalHeader();
    // Uniform rows keep a list of 100 000 documents cheap to lay out.
    rows->setSectionResizeMode(QHeaderView::Fixed);
    FitRowHeightToFont(this, 4);
    rows->setFixedWidth(12);
    rows->setHighlightSections(true);

    QHeaderView *columns = horizontalHeader();
    columns->setSectionsClickable(true);
    columns->setHighlightSections(false);
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setStretchLastSection(false);
    columns->setMinimumSectionSize(0);
}

void DocumentListView::setDocumentModel(DocumentListModel *model)
{
    m_model = model;
    setModel(model);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (m_model)
            m_model->dataset().setCurrent(currentDatasetRow());
        Q_EMIT currentDocumentChanged();
    });
    // The row count and whatever else follows the list learn of the rows that came in late.
    connect(model, &DocumentListModel::loadingFinished, this, &DocumentListView::currentDocumentChanged);
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        // A re-opened list stands on its first row until the caller moves it.
        if (m_model && m_model->rowCount() > 0)
            moveToDatasetRow(m_model->datasetRow(0));
        else
            Q_EMIT currentDocumentChanged();
    });
}

int DocumentListView::currentDatasetRow() const
{
    const QModelIndex index = currentIndex();
    return m_model && index.isValid() ? m_model->datasetRow(index.row()) : -1;
}

bool DocumentListView::moveToDatasetRow(int row)
{
    if (!m_model)
        return false;
    const int modelRow = m_model->modelRow(row);
    if (modelRow < 0)
        return false;
    const int column = qMax(0, currentIndex().column());
    const QModelIndex index = m_model->index(modelRow, column);
    if (index == currentIndex()) {
        m_model->dataset().setCurrent(row);
        Q_EMIT currentDocumentChanged();
    } else {
        selectionModel()->setCurrentIndex(index,
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    scrollTo(index);
    return true;
}

int DocumentListView::ruleWidth(int column, int listWidth, int windowWidth)
{
    if (column < DocumentListModel::MarkerColumns)
        return MarkerWidth;
    static const double narrow[] = {0.15, 0.21, 0.19, 0.19, 0.0, 0.09, 0.09, 0.12};
    static const double wide[] = {0.14, 0.18, 0.17, 0.17, 0.07, 0.08, 0.08, 0.11};
    const int i = column - DocumentListModel::MarkerColumns;
    if (i < 0 || i >= 8)
        return 0;
    const double share = windowWidth <= NarrowWindow ? narrow[i] : wide[i];
    const double w = double(listWidth - ReservedWidth) * share;
    return w > 0 ? int(w) : 0;
}

void DocumentListView::layoutColumns(int windowWidth)
{
    const int listWidth = width();
    for (int c = 0; c < DocumentListModel::ColumnCount; ++c) {
        const int w = ruleWidth(c, listWidth, windowWidth);
        if (c == DocumentListModel::FirstFieldColumn + 4)
            setColumnHidden(c, windowWidth <= NarrowWindow);
        if (w > 0)
            setColumnWidth(c, w);
    }
}
