#pragma once

#include "db/Dataset.h"

#include <QList>
#include <QStringList>
#include <QVariant>

// One field of an editor's record.
struct EditField
{
    QString name;
    FieldType type = FieldType::Text;
    QVariant value;      // invalid or null: NULL
    bool inTable = true; // false for looked-up names shown beside the table's own columns
    bool computed = false;
    bool autoIncrement = false;
};

// The record an editor works on: the table's columns (and a few looked-up ones),
// written back with one statement built by BuildUpdateStatement or BuildInsertStatement.
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

    // A text box's text into the field. The field keeps its value while the box shows it
    // unchanged (so an untouched box never turns '' into NULL or back); an emptied box is NULL.
    void setBoxText(QStringView name, const QString &text);
    // The in-table, non-computed fields whose values would be written differently from the
    // original's (matched by name; a field the original lacks counts as changed).
    QStringList changedFrom(const EditRecord &original) const;

private:
    QList<EditField> m_fields;
};
