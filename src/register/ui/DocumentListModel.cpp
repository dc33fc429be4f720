#include "register/ui/DocumentListModel.h"

#include "core/ui/ErrorHandler.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "register/ui/Icons.h"

#include <QBrush>
#include <QColor>

#include <limits>
#include <utility>

namespace {

// The dataset row of a document; -1 when the data does not hold it.
int findDocument(const Dataset &data, qint64 key)
{
    const int col = data.fieldIndex(u"iktato");
    if (col < 0 || key <= 0)
        return -1;
    const QByteArray text = QByteArray::number(key);
    for (int row = 0; row < data.rowCount(); ++row)
        if (data.raw(row, col) == text && !data.isNull(row, col))
            return row;
    return -1;
}

} // namespace

DocumentListModel::DocumentListModel(QObject *parent)
    : QAbstractTableModel(parent), m_data(std::make_shared<Dataset>())
{
    m_fields = QStringList{QString(), QStringLiteral("nyomtatni"), QStringLiteral("kolcsonadva"),
                           QStringLiteral("statusz")};
    m_titles =
        QStringList{QStringLiteral("!"), QStringLiteral("!"), QStringLiteral(">>"), QStringLiteral("St")};
    for (int i = MarkerColumns; i < ColumnCount; ++i) {
        m_fields << QString();
        m_titles << QString();
    }
    resolveColumns();
}

DocumentListModel::~DocumentListModel() = default;

Dataset &DocumentListModel::ownRows()
{
    // Rows handed out stay as they were; the copy shares the cells' buffer until written.
    if (m_data.use_count() > 1)
        m_data = std::make_shared<Dataset>(*m_data);
    return *m_data;
}

Dataset &DocumentListModel::freshRows()
{
    if (m_data.use_count() > 1)
        m_data = std::make_shared<Dataset>();
    else
        m_data->reset();
    return *m_data;
}

std::shared_ptr<Dataset> DocumentListModel::wholeList()
{
    finishLoading();
    if (!m_complete)
        throw KorvenaError(QStringLiteral(
            "A lista nem töltődött be teljesen. Frissítse a listát (F5), és próbálja újra."));
    return m_data;
}

void DocumentListModel::setFieldColumns(const QStringList &fields, const QStringList &titles)
{
    beginResetModel();
    for (int i = 0; i < ColumnCount - MarkerColumns; ++i) {
        m_fields[MarkerColumns + i] = i < fields.size() ? fields[i] : QString();
        const QString title = i < titles.size() ? titles[i] : QString();
        m_titles[MarkerColumns + i] = title.isEmpty() ? m_fields[MarkerColumns + i] : title;
    }
    resolveColumns();
    endResetModel();
}

QString DocumentListModel::columnField(int column) const
{
    // A column whose field the list does not hold has nothing to sort by.
    return column >= 0 && column < ColumnCount && m_cols[column] >= 0 ? m_fields[column] : QString();
}

void DocumentListModel::resolveColumns()
{
    for (int i = 0; i < ColumnCount; ++i)
        m_cols[i] = m_fields[i].isEmpty() ? -1 : m_data->fieldIndex(m_fields[i]);
    m_iranyCol = m_data->fieldIndex(u"irany");
    m_datFigyCol = m_data->fieldIndex(u"dat_figy");
}

void DocumentListModel::reload(const std::function<void(Dataset &)> &fill)
{
    dropStream();
    beginResetModel();
    Dataset &rows = freshRows();
    try {
        fill(rows);
        if (m_rowFilter)
            rows.setFilter(m_rowFilter);
    } catch (...) {
        rows.reset();
        m_complete = false;
        resolveColumns();
        endResetModel();
        throw;
    }
    m_complete = true;
    resolveColumns();
    endResetModel();
}

void DocumentListModel::stream(const ConnectionParams &params, const QString &sql,
                               const std::function<void(Dataset &)> &prepare)
{
    dropStream();
    if (!m_stream)
        m_stream = std::make_unique<QueryStream>();
    beginResetModel();
    bool ended = true;
    Dataset &rows = freshRows();
    m_complete = false;
    try {
        m_loading = true;
        m_stream->start(params, sql, [this] {
            QMetaObject::invokeMethod(this, &DocumentListModel::takeArrived, Qt::QueuedConnection);
        });
        m_stream->waitFor(FirstScreenRows);
        ended = m_stream->take(rows);
        if (prepare)
            prepare(rows);
        if (m_rowFilter)
            rows.setFilter(m_rowFilter);
        rows.first();
    } catch (...) {
        m_stream->cancel();
        m_loading = false;
        rows.reset();
        resolveColumns();
        endResetModel();
        throw;
    }
    m_loading = !ended;
    m_complete = ended;
    if (ended)
        rows.squeeze();
    resolveColumns();
    endResetModel();
}

void DocumentListModel::takeArrived()
{
    if (m_rereading) {
        runGuarded(QString(), [this] { takeReread(false); });
        return;
    }
    // A stream stopped meanwhile may still have its last call on the way.
    if (!m_loading)
        return;
    runGuarded(QString(), [this] {
        Dataset arrived;
        bool ended = false;
        try {
            ended = m_stream->take(arrived);
        } catch (...) {
            m_loading = false;
            Q_EMIT loadingFinished();
            throw;
        }
        appendArrived(arrived);
        if (ended) {
            m_loading = false;
            m_complete = true;
            ownRows().squeeze();
            Q_EMIT loadingFinished();
        }
    });
}

void DocumentListModel::appendArrived(Dataset &arrived)
{
    const int n = arrived.rowCount();
    if (n == 0 || arrived.fieldCount() != m_data->fieldCount())
        return;
    int shown = n;
    if (m_rowFilter) {
        shown = 0;
        for (int r = 0; r < n; ++r)
            shown += m_rowFilter(arrived, r) ? 1 : 0;
    }
    Dataset &rows = ownRows();
    const int first = rows.rowCount();
    const int visible = rows.visibleCount();
    if (shown > 0)
        beginInsertRows(QModelIndex(), visible, visible + shown - 1);
    rows.appendRows(arrived);
    if (shown > 0)
        endInsertRows();
    Q_EMIT rowsArrived(first, first + n - 1);
}

void DocumentListModel::reread(const ConnectionParams &params, const QString &sql,
                               const std::function<void(Dataset &)> &prepare)
{
    // The rows of an opening still coming are as old as the shown ones: the new reading replaces both.
    stopLoading();
    dropStream();
    if (!m_stream)
        m_stream = std::make_unique<QueryStream>();
    m_reread.reset();
    m_changesWhileRereading.clear();
    m_prepare = prepare;
    m_rereading = true;
    try {
        m_stream->start(params, sql, [this] {
            QMetaObject::invokeMethod(this, &DocumentListModel::takeArrived, Qt::QueuedConnection);
        });
    } catch (...) {
        dropReread();
        throw;
    }
}

void DocumentListModel::takeReread(bool wait)
{
    bool ended = false;
    try {
        if (wait)
            m_stream->waitFor(std::numeric_limits<qint64>::max());
        Dataset arrived;
        ended = m_stream->take(arrived);
        if (m_reread.fieldCount() == 0) {
            m_reread = std::move(arrived);
            if (m_reread.fieldCount() > 0 && m_prepare)
                m_prepare(m_reread);
        } else if (arrived.fieldCount() == m_reread.fieldCount()) {
            m_reread.appendRows(arrived);
        }
    } catch (...) {
        // The rows shown stay; only the new reading is lost.
        dropReread();
        throw;
    }
    if (!ended)
        return;
    const QList<CellChange> changes = std::exchange(m_changesWhileRereading, {});
    Dataset fresh = std::exchange(m_reread, Dataset());
    m_rereading = false;
    if (fresh.fieldCount() == 0)
        return;
    Q_EMIT rereadArriving();
    beginResetModel();
    Dataset &rows = freshRows();
    rows = std::move(fresh);
    rows.squeeze();
    for (const CellChange &change : changes) {
        const int row = findDocument(rows, change.key);
        const int col = rows.fieldIndex(change.field);
        if (row >= 0 && col >= 0)
            rows.setValue(row, col, change.value);
    }
    if (m_rowFilter)
        rows.setFilter(m_rowFilter);
    rows.first();
    m_complete = true;
    resolveColumns();
    endResetModel();
    Q_EMIT rereadArrived();
}

void DocumentListModel::dropReread()
{
    if (!m_rereading)
        return;
    m_rereading = false;
    if (m_stream)
        m_stream->cancel();
    m_reread.reset();
    m_changesWhileRereading.clear();
}

int DocumentListModel::putRow(const Dataset &one, qint64 key)
{
    if (one.rowCount() != 1 || one.fieldCount() != m_data->fieldCount())
        return -1;
    for (int col = 0; col < one.fieldCount(); ++col)
        if (one.field(col).name != m_data->field(col).name)
            return -1;
    Dataset &rows = ownRows();
    int row = findDocument(rows, key);
    if (row >= 0) {
        for (int col = 0; col < one.fieldCount(); ++col)
            rows.setValue(row, col, one.isNull(0, col) ? QVariant() : QVariant(one.raw(0, col).toByteArray()));
        const int shown = modelRow(row);
        if (shown >= 0)
            Q_EMIT dataChanged(index(shown, 0), index(shown, ColumnCount - 1));
        return row;
    }
    // A new document goes last until the list is read again puts it in its place.
    row = rows.rowCount();
    const bool shown = !m_rowFilter || m_rowFilter(one, 0);
    const int visible = rows.visibleCount();
    if (shown)
        beginInsertRows(QModelIndex(), visible, visible);
    rows.appendRows(one);
    if (shown)
        endInsertRows();
    return row;
}

void DocumentListModel::finishLoading()
{
    if (m_rereading) {
        takeReread(true);
        return;
    }
    if (!m_loading)
        return;
    m_stream->waitFor(std::numeric_limits<qint64>::max());
    Dataset arrived;
    bool ended = false;
    try {
        ended = m_stream->take(arrived);
    } catch (...) {
        m_loading = false;
        Q_EMIT loadingFinished();
        throw;
    }
    appendArrived(arrived);
    Q_ASSERT(ended);
    m_loading = false;
    m_complete = ended;
    ownRows().squeeze();
    Q_EMIT loadingFinished();
}

void DocumentListModel::stopLoading()
{
    if (!m_loading)
        return;
    dropStream();
    m_complete = false;
    ownRows().squeeze();
    Q_EMIT loadingFinished();
}

void DocumentListModel::dropStream()
{
    dropReread();
    if (m_stream)
        m_stream->cancel();
    m_loading = false;
}

void DocumentListModel::setRowFilter(std::function<bool(const Dataset &, int)> predicate)
{
    beginResetModel();
    m_rowFilter = std::move(predicate);
    if (m_rowFilter)
        ownRows().setFilter(m_rowFilter);
    else
        ownRows().clearFilter();
    endResetModel();
}

void DocumentListModel::setCell(int datasetRow, QStringView field, const QVariant &value)
{
    const int col = m_data->fieldIndex(field);
    if (col < 0 || datasetRow < 0 || datasetRow >= m_data->rowCount())
        return;
    Dataset &rows = ownRows();
    rows.setValue(datasetRow, col, value);
    // The new reading may have passed this row before its statement changed it.
    if (m_rereading) {
        const int keyCol = rows.fieldIndex(u"iktato");
        if (keyCol >= 0)
            m_changesWhileRereading.append(
                CellChange{rows.toInt(datasetRow, keyCol, 0), field.toString(), value});
    }
    const int row = modelRow(datasetRow);
    if (row >= 0)
        Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int DocumentListModel::datasetRow(int modelRow) const
{
    if (modelRow < 0 || modelRow >= m_data->visibleCount())
        return -1;
    return m_data->visibleRow(modelRow);
}

int DocumentListModel::modelRow(int datasetRow) const
{
    if (datasetRow < 0 || datasetRow >= m_data->rowCount())
        return -1;
    if (!m_data->isFiltered())
        return datasetRow;
    // Visible rows keep the dataset's order.
    int low = 0, high = m_data->visibleCount() - 1;
    while (low <= high) {
        const int mid = (low + high) / 2;
        const int row = m_data->visibleRow(mid);
        if (row == datasetRow)
            return mid;
        if (row < datasetRow)
            low = mid + 1;
        else
            high = mid - 1;
    }
    return -1;
}

int DocumentListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_data->visibleCount();
}

int DocumentListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DocumentListModel::directionBackground(QByteArrayView irany)
{
    if (irany.size() != 1)
        return {};
    switch (irany.at(0)) {
    case '0':
        return QBrush(QColor(196, 224, 255));
    case '2':
        return QBrush(QColor(255, 225, 213));
    default:
        return {};
    }
}

QVariant DocumentListModel::marker(int row, int column) const
{
    const int col = column == ReminderColumn ? m_datFigyCol : m_cols[column];
    if (col < 0)
        return Icons::placeholder();
    switch (column) {
    case ReminderColumn:
        return m_data->isNull(row, col) ? Icons::placeholder() : Icons::reminderMarker();
    case PrintColumn:
        return m_data->raw(row, col) != "N" ? Icons::printMarker() : Icons::placeholder();
    case LentOutColumn:
        return m_data->raw(row, col) != "N" ? Icons::lentOutMarker() : Icons::placeholder();
    default:
        return Icons::statusMarker(int(m_data->toInt(row, col, 0)));
    }
}

QVariant DocumentListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_data->visibleCount())
        return {};
    const int row = m_data->visibleRow(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (column < MarkerColumns || m_cols[column] < 0)
            return {};
        return m_data->displayText(row, m_cols[column]);
    case Qt::DecorationRole:
        return column < MarkerColumns ? marker(row, column) : QVariant();
    case Qt::BackgroundRole:
        return m_iranyCol < 0 ? QVariant() : directionBackground(m_data->raw(row, m_iranyCol));
    case Qt::TextAlignmentRole:
        if (column >= MarkerColumns && m_cols[column] >= 0)
            return QVariant::fromValue(m_data->field(m_cols[column]).alignment);
        return {};
    default:
        return {};
    }
}

QVariant DocumentListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    if (role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return m_titles[section];
}
