#include "db/EditRecord.h"

#include "common/Text.h"
#include "db/DbError.h"
#include "db/StatementBuilder.h"

EditRecord EditRecord::fromDataset(const Dataset &data, int row)
{
    EditRecord r;
    for (int c = 0; c < data.fieldCount(); ++c) {
        const Field &f = data.field(c);
        EditField e;
        e.name = f.name;
        e.type = f.type;
        e.autoIncrement = f.autoIncrement;
        if (row >= 0 && row < data.rowCount())
            e.value = data.value(row, c);
        r.m_fields.append(e);
    }
    return r;
}

int EditRecord::indexOf(QStringView name) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

EditField &EditRecord::field(QStringView name)
{
    const int i = indexOf(name);
    if (i < 0)
        throw KorvenaError(QStringLiteral("Nincs ilyen mező: ") + name.toString());
    return m_fields[i];
}

const EditField &EditRecord::field(QStringView name) const
{
    return const_cast<EditRecord *>(this)->field(name);
}

QVariant EditRecord::value(QStringView name) const
{
    return field(name).value;
}

void EditRecord::setValue(QStringView name, const QVariant &value)
{
    field(name).value = value;
}

bool EditRecord::isNull(QStringView name) const
{
    const QVariant &v = field(name).value;
    return !v.isValid() || v.isNull();
}

void EditRecord::setBoxText(QStringView name, const QString &text)
{
    EditField &f = field(name);
    if (VarToText(f.value) == text)
        return;
    f.value = text.isEmpty() ? QVariant() : QVariant(text);
}

QStringList EditRecord::changedFrom(const EditRecord &original) const
{
    QStringList changed;
    for (const EditField &f : m_fields) {
        if (!f.inTable || f.computed)
            continue;
        const int i = original.indexOf(f.name);
        if (i < 0 || FieldLiteral(f) != FieldLiteral(original.m_fields.at(i)))
            changed << f.name;
    }
    return changed;
}
