#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QTime>
#include <QVariant>
#include <functional>
#include <vector>

enum class FieldType {
    Integer,  // signed 32-bit
    BigInt,   // signed 64-bit
    Float,
    Decimal,
    Date,
    DateTime,
    Time,
    Text,
    LongText,
    Binary,
};

struct Field
{
    QString name;
    FieldType type = FieldType::Text;
    int size = 0;             // characters for text, display width otherwise
    QString label;            // column title; the name when empty
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QString displayFormat;    // "000000" masks for numbers, "yyyy.MM.dd" for dates
    bool visible = true;
    bool autoIncrement = false;

    QString displayLabel() const { return label.isEmpty() ? name : label; }
};

// An in-memory result: fields and rows of nullable values, a current row, and an
// optional client-side row filter. Cells are kept as the server's bytes (latin2
// text, numbers and dates in their SQL text form) in one buffer and decoded only
// when read, so a large list costs little more than its result.
class Dataset
{
public:
    Dataset() = default;
    explicit Dataset(QList<Field> fields);

    // ---- structure
    const QList<Field> &fields() const { return m_fields; }
    QList<Field> &fields() { return m_fields; }
    const Field &field(int col) const { return m_fields[col]; }
    Field &field(int col) { return m_fields[col]; }
    int fieldCount() const { return int(m_fields.size()); }
    // Case-insensitive; -1 when there is no such field.
    int fieldIndex(QStringView name) const;
    // Throws KorvenaError when the field does not exist.
    int requireField(QStringView name) const;
    bool hasField(QStringView name) const { return fieldIndex(name) >= 0; }

    // ---- building
    void clear();        // rows only
    void reset();        // rows and fields
    void reserve(qsizetype rows, qsizetype bytes);
    // Gives back what the buffers grew beyond their contents while rows arrived.
    void squeeze();
    void beginRow();
    void appendCell(const char *data, qsizetype length); // data == nullptr: NULL
    void endRow();
    // The rows of a result with the same fields, after the last row (a streamed list's
    // next slice); the filter, if any, is applied to them.
    void appendRows(const Dataset &from);
    // Convenience for rows made by the program (values converted to their SQL text form).
    void appendRow(const QVariantList &values);

    // ---- reading (row indexes are of all rows, filter ignored)
    int rowCount() const { return m_rowCount; }
    bool isEmpty() const { return m_rowCount == 0; }
    bool isNull(int row, int col) const;
    QByteArrayView raw(int row, int col) const;
    QString text(int row, int col) const;         // NULL gives ""
    qint64 toInt(int row, int col, qint64 defaultValue = 0) const;
    double toDouble(int row, int col, double defaultValue = 0) const;
    QDate toDate(int row, int col) const;         // invalid for NULL or zero dates
    QDateTime toDateTime(int row, int col) const;
    QVariant value(int row, int col) const;       // typed by the field; invalid QVariant for NULL
    QString displayText(int row, int col) const;  // formatted by the field's display format

    // Changes one cell in memory (kept beside the buffer; screens change few cells).
    void setValue(int row, int col, const QVariant &value);

    // ---- current row
    int current() const { return m_current; }
    void setCurrent(int row);
    bool first();
    bool next();
    bool atEnd() const { return m_current < 0 || m_current >= m_rowCount; }
    QVariant value(QStringView name) const { return value(m_current, requireField(name)); }
    QString text(QStringView name) const { return text(m_current, requireField(name)); }
    qint64 toInt(QStringView name, qint64 defaultValue = 0) const
    {
        return toInt(m_current, requireField(name), defaultValue);
    }

    // First row (in the visible order) whose field begins with the text, compared
    // without regard to case; makes it current and returns true, else false.
    bool locate(QStringView fieldName, QStringView prefix);
    // First row whose field equals the value's text exactly.
    bool locateValue(QStringView fieldName, const QVariant &value);

    // ---- client-side filter: rows for which the predicate is false are hidden.
    void setFilter(std::function<bool(const Dataset &, int row)> predicate);
    void clearFilter();
    bool isFiltered() const { return bool(m_filter); }
    int visibleCount() const { return m_filter ? int(m_visible.size()) : m_rowCount; }
    int visibleRow(int index) const { return m_filter ? m_visible[size_t(index)] : index; }

    // Bytes held for the cells (buffer and index), for the benchmark.
    qsizetype memoryBytes() const;

    static QByteArray sqlTextOf(const QVariant &value); // the bytes a value is stored as

private:
    static constexpr quint32 NullBit = 0x80000000u;
    quint32 cellEnd(qsizetype cell) const { return m_ends[size_t(cell)] & ~NullBit; }
    quint32 cellStart(qsizetype cell) const { return cell == 0 ? 0 : cellEnd(cell - 1); }
    void applyFilter();

    QList<Field> m_fields;
    QByteArray m_data;
    std::vector<quint32> m_ends;   // per cell: end offset in m_data, high bit = NULL
    struct Override
    {
        bool null = true;
        QByteArray bytes;
    };
    QHash<qsizetype, Override> m_overrides; // cells changed by setValue
    int m_rowCount = 0;
    int m_current = -1;
    std::function<bool(const Dataset &, int)> m_filter;
    std::vector<int> m_visible;
};
