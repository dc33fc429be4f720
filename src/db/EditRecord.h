#pragma once

#include "db/Dataset.h"

#include <QList>
#include <QVariant>

// One field of an editor's record.
struct EditField
{
    QString name;
    FieldType type = FieldType::Text;
    QVariant value;             // invalid or null: NULL
    bool inTable = true;        // false for looked-up names shown beside the table's own columns
    bool computed = false;
    bool autoIncrement = false;
};

// The record an editor works on: the table's columns (and a few looked-up ones),
// written back with one UPDATE built by BuildUpdateStatement.
class EditRecord
{
public:
    EditRecord() = default;
    explicit EditRecord(QList<EditField> fields) : m_fields(std::move(fields)) {}

    // The fields of a dataset, with the values of one row (or NULL when row < 0).
    static EditRecord fromDataset(const Dataset &data, int row);

    QList<EditField> &fields() { return m_fields; }
    const QList<EditField> &fields() const { return m_fields; }
    int indexOf(QStringView name) const;
    bool has(QStringView name) const { return indexOf(name) >= 0; }
    EditField &field(QStringView name);
    const EditField &field(QStringView name) const;
    QVariant value(QStringView name) const;
    void setValue(QStringView name, const QVariant &value);
    bool isNull(QStringView name) const;

private:
    QList<EditField> m_fields;
};
