#include "register/ui/DocumentListModel.h"

#include "core/ui/ErrorHandler.h"
#include "db/Connection.h"
#include "register/ui/Icons.h"

#include <QBrush>
#include <QColor>

#include <limits>

DocumentListModel::DocumentListModel(QObject *parent) : QAbstractTableModel(parent)
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
        m_cols[i] = m_fields[i].isEmpty() ? -1 : m_data.fieldIndex(m_fields[i]);
    m_iranyCol = m_data.fieldIndex(u"irany");
    m_datFigyCol = m_data.fieldIndex(u"dat_figy");
}

void DocumentListModel::reload(const std::function<void(Dataset &)> &fill)
{
    dropStream();
    beginResetModel();
    try {
        fill(m_data);
        if (m_rowFilter)
            m_data.setFilter(m_rowFilter);
    } catch (...) {
        m_data.reset();
        resolveColumns();
        endResetModel();
        throw;
    }
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
    try {
        m_loading = true;
        m_stream->start(params, sql, [this] {
            QMetaObject::invokeMethod(this, &DocumentListModel::takeArrived, Qt::QueuedConnection);
        });
        m_stream->waitFor(FirstScreenRows);
        ended = m_stream->take(m_data);
        if (prepare)
            prepare(m_data);
        if (m_rowFilter)
            m_data.setFilter(m_rowFilter);
        m_data.first();
    } catch (...) {
        m_stream->cancel();
        m_loading = false;
        m_data.reset();
        resolveColumns();
        endResetModel();
        throw;
    }
    m_loading = !ended;
    if (ended)
        m_data.squeeze();
    resolveColumns();
    endResetModel();
}

void DocumentListModel::takeArrived()
{
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
            m_data.squeeze();
            Q_EMIT loadingFinished();
        }
    });
}

void DocumentListModel::appendArrived(Dataset &arrived)
{
    const int n = arrived.rowCount();
    if (n == 0 || arrived.fieldCount() != m_data.fieldCount())
        return;
    int shown = n;
    if (m_rowFilter) {
        shown = 0;
        for (int r = 0; r < n; ++r)
            shown += m_rowFilter(arrived, r) ? 1 : 0;
    }
    const int first = m_data.rowCount();
    const int visible = m_data.visibleCount();
    if (shown > 0)
        beginInsertRows(QModelIndex(), visible, visible + shown - 1);
    m_data.appendRows(arrived);
    if (shown > 0)
        endInsertRows();
    Q_EMIT rowsArrived(first, first + n - 1);
}

void DocumentListModel::finishLoading()
{
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
    m_data.squeeze();
    Q_EMIT loadingFinished();
}

void DocumentListModel::stopLoading()
{
    if (!m_loading)
        return;
    dropStream();
    m_data.squeeze();
    Q_EMIT loadingFinished();
}

void DocumentListModel::dropStream()
{
    if (m_stream)
        m_stream->cancel();
    m_loading = false;
}

void DocumentListModel::setRowFilter(std::function<bool(const Dataset &, int)> predicate)
{
    beginResetModel();
    m_rowFilter = std::move(predicate);
    if (m_rowFilter)
        m_data.setFilter(m_rowFilter);
    else
        m_data.clearFilter();
    endResetModel();
}

void DocumentListModel::setCell(int datasetRow, QStringView field, const QVariant &value)
{
    const int col = m_data.fieldIndex(field);
    if (col < 0 || datasetRow < 0 || datasetRow >= m_data.rowCount())
        return;
    m_data.setValue(datasetRow, col, value);
    const int row = modelRow(datasetRow);
    if (row >= 0)
        Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int DocumentListModel::datasetRow(int modelRow) const
{
    if (modelRow < 0 || modelRow >= m_data.visibleCount())
        return -1;
    return m_data.visibleRow(modelRow);
}

int DocumentListModel::modelRow(int datasetRow) const
{
    if (datasetRow < 0 || datasetRow >= m_data.rowCount())
        return -1;
    if (!m_data.isFiltered())
        return datasetRow;
    // Visible rows keep the dataset's order.
    int low = 0, high = m_data.visibleCount() - 1;
    while (low <= high) {
        const int mid = (low + high) / 2;
        const int row = m_data.visibleRow(mid);
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
    return parent.isValid() ? 0 : m_data.visibleCount();
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
        return m_data.isNull(row, col) ? Icons::placeholder() : Icons::reminderMarker();
    case PrintColumn:
        return m_data.raw(row, col) != "N" ? Icons::printMarker() : Icons::placeholder();
    case LentOutColumn:
        return m_data.raw(row, col) != "N" ? Icons::lentOutMarker() : Icons::placeholder();
    default:
        return Icons::statusMarker(int(m_data.toInt(row, col, 0)));
    }
}

QVariant DocumentListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_data.visibleCount())
        return {};
    const int row = m_data.visibleRow(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (column < MarkerColumns || m_cols[column] < 0)
            return {};
        return m_data.displayText(row, m_cols[column]);
    case Qt::DecorationRole:
        return column < MarkerColumns ? marker(row, column) : QVariant();
    case Qt::BackgroundRole:
        return m_iranyCol < 0 ? QVariant() : directionBackground(m_data.raw(row, m_iranyCol));
    case Qt::TextAlignmentRole:
        if (column >= MarkerColumns && m_cols[column] >= 0)
            return QVariant::fromValue(m_data.field(m_cols[column]).alignment);
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
