#include "db/ui/DatasetModel.h"

DatasetModel::DatasetModel(QObject *parent) : QAbstractTableModel(parent) {}

void DatasetModel::setDataset(Dataset data)
{
    beginResetModel();
    m_data = std::move(data);
    endResetModel();
}

int DatasetModel::modelRow(int datasetRow) const
{
    if (!m_data.isFiltered())
        return datasetRow >= 0 && datasetRow < m_data.rowCount() ? datasetRow : -1;
    const int n = m_data.visibleCount();
    for (int i = 0; i < n; ++i)
        if (m_data.visibleRow(i) == datasetRow)
            return i;
    return -1;
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_data.visibleCount();
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_data.fieldCount();
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = m_data.visibleRow(index.row());
    if (m_hook) {
        QVariant v = m_hook(m_data, row, index.column(), role);
        if (v.isValid())
            return v;
    }
    switch (role) {
    case Qt::DisplayRole:
        return m_data.displayText(row, index.column());
    case Qt::EditRole:
        return m_data.value(row, index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_data.field(index.column()).alignment);
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_data.fieldCount())
        return m_data.field(section).displayLabel();
    return QAbstractTableModel::headerData(section, orientation, role);
}
