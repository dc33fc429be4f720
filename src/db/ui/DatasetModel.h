#pragma once

#include "db/Dataset.h"

#include <QAbstractTableModel>
#include <functional>

// The Qt model over a Dataset for QTableView. Rows follow the dataset's filter;
// cells are decoded only when the view asks for them.
class DatasetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // Extra roles (colours, icons) for a visible row index and column; an invalid
    // QVariant falls back to the default.
    using RoleHook = std::function<QVariant(const Dataset &, int row, int column, int role)>;

    explicit DatasetModel(QObject *parent = nullptr);

    Dataset &dataset() { return m_data; }
    const Dataset &dataset() const { return m_data; }
    // Replaces the data (the model is reset).
    void setDataset(Dataset data);
    // Call around changes made to dataset() directly.
    void beginChange() { beginResetModel(); }
    void endChange() { endResetModel(); }

    void setRoleHook(RoleHook hook) { m_hook = std::move(hook); }

    // Dataset row of a model row, and back (-1 when hidden).
    int datasetRow(int modelRow) const { return m_data.visibleRow(modelRow); }
    int modelRow(int datasetRow) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    Dataset m_data;
    RoleHook m_hook;
};
