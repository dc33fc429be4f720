#include "output/BiffWriter.h"

#include "common/PrivateFile.h"
#include "common/Encoding.h"
#include "db/Dataset.h"
#include "db/DbError.h"
#include "output/CellText.h"

#include <QSaveFile>
#include <QIODevice>
#include <QtEndian>
#include <cstring>

namespace {

enum Record : quint16
{
    Dimensions = 0x0000,
    Blank = 0x0001,
    Integer = 0x0002,
    Number = 0x0003,
    Label = 0x0004,
    BoolErr = 0x0005,
    Eof = 0x000A,
    Bof = 0x0009,
    Font = 0x0031,
    Codepage = 0x0042,
};

constexpr int DetailFont = 0;
constexpr int TitleFont = 1;
constexpr int HeaderFont = 2;
constexpr int MaxLabel = 255;
constexpr qsizetype FlushAt = 1 << 16;

// Builds the stream in memory and hands it to the device in large pieces.
class Stream
{
public:
    explicit Stream(QIODevice &device) : m_device(device) { m_buffer.reserve(FlushAt + 512); }

    void word(quint16 v)
    {
        const char b[2] = {char(v & 0xFF), char(v >> 8)};
        m_buffer.append(b, 2);
    }
    void byte(quint8 v) { m_buffer.append(char(v)); }
    void bytes(QByteArrayView b) { m_buffer.append(b.data(), b.size()); }
    void header(quint16 record, quint16 length)
    {
        word(record);
        word(length);
    }
    // The cell's place and its three attribute bytes: no XF, no format, the font in
    // bits 6-7 of the second, the horizontal alignment in bits 0-2 of the third.
    void cell(quint16 record, quint16 length, int row, int col, int font, quint8 align)
    {
        header(record, quint16(7 + length));
        word(quint16(row));
        word(quint16(col));
        byte(0);
        byte(quint8(font << 6));
        byte(align);
    }
    void flushIfFull()
    {
        if (m_buffer.size() >= FlushAt)
            flush();
    }
    void flush()
    {
        if (m_buffer.isEmpty())
            return;
        if (m_device.write(m_buffer) != m_buffer.size())
            throw KorvenaError(m_device.errorString());
        m_buffer.clear();
    }

private:
    QIODevice &m_device;
    QByteArray m_buffer;
};

void writeFont(Stream &s, bool bold)
{
    static const QByteArray name = QByteArrayLiteral("Arial");
    s.header(Font, quint16(5 + name.size()));
    s.word(200); // 10 points in twips
    s.word(bold ? 0x0001 : 0x0000);
    s.byte(quint8(name.size()));
    s.bytes(name);
}

void writeLabel(Stream &s, int row, int col, int font, quint8 align, QByteArrayView text)
{
    const qsizetype n = qMin<qsizetype>(text.size(), MaxLabel);
    s.cell(Label, quint16(1 + n), row, col, font, align);
    s.byte(quint8(n));
    s.bytes(text.first(n));
}

void writeNumber(Stream &s, int row, int col, quint8 align, double value)
{
    s.cell(Number, 8, row, col, DetailFont, align);
    char b[8];
    qToLittleEndian(value, b);
    s.bytes(QByteArrayView(b, 8));
}

quint8 alignmentOf(const Field &field)
{
    const Qt::Alignment h = field.alignment & Qt::AlignHorizontal_Mask;
    if (h & Qt::AlignRight)
        return 3;
    if (h & Qt::AlignHCenter)
        return 2;
    return 1;
}

enum class CellKind
{
    Whole,
    Fraction,
    Truth,
    Text,
};

CellKind kindOf(const Field &field)
{
    switch (field.type) {
    case FieldType::Integer:
    case FieldType::BigInt:
        return CellKind::Whole;
    case FieldType::Float:
    case FieldType::Decimal:
        return CellKind::Fraction;
    case FieldType::Binary:
        // MariaDB's BIT(1) is the one true/false type a row set can carry.
        return field.size == 1 ? CellKind::Truth : CellKind::Text;
    default:
        return CellKind::Text;
    }
}

struct Column
{
    int index;
    CellKind kind;
    quint8 align;
};

void writeRow(Stream &s, const Dataset &data, int row, int sheetRow, const QList<Column> &columns,
              QByteArray &text)
{
    for (int c = 0; c < columns.size(); ++c) {
        const Column &col = columns[c];
        if (data.isNull(row, col.index)) {
            s.cell(Blank, 0, sheetRow, c, DetailFont, col.align);
            continue;
        }
        switch (col.kind) {
        case CellKind::Whole: {
            // BIGINT UNSIGNED goes past what a signed 64-bit number holds: then the
            // nearest double, never a stand-in value.
            bool whole = false;
            const qint64 v = data.raw(row, col.index).toLongLong(&whole);
            if (whole && v >= 0 && v <= 0xFFFF) {
                s.cell(Integer, 2, sheetRow, c, DetailFont, col.align);
                s.word(quint16(v));
            } else {
                writeNumber(s, sheetRow, c, col.align, whole ? double(v) : data.toDouble(row, col.index));
            }
            break;
        }
        case CellKind::Fraction:
            writeNumber(s, sheetRow, c, col.align, data.toDouble(row, col.index));
            break;
        case CellKind::Truth: {
            const QByteArrayView raw = data.raw(row, col.index);
            s.cell(BoolErr, 2, sheetRow, c, DetailFont, col.align);
            s.byte(!raw.isEmpty() && raw[0] != '\0' && raw[0] != '0' ? 1 : 0);
            s.byte(0); // a truth value, not an error code
            break;
        }
        case CellKind::Text:
            text.clear();
            appendCellText(data, row, col.index, text);
            writeLabel(s, sheetRow, c, DetailFont, col.align, text);
            break;
        }
    }
}

// Puts the row set back on its row even when a write fails half-way.
class KeepCurrent
{
public:
    explicit KeepCurrent(Dataset &data) : m_data(data), m_row(data.current()) {}
    ~KeepCurrent() { m_data.setCurrent(m_row); }

private:
    Dataset &m_data;
    int m_row;
};

} // namespace

void BiffWriter::write(Dataset *data, const QList<int> &columns, QIODevice &device, const ExportProgress &progress)
{
    if (!data)
        throw KorvenaError(QStringLiteral("Adatforrás nélkül a művelet nem végezhető el."));
    if (data->fieldCount() == 0)
        throw KorvenaError(QStringLiteral("Lezárt adatforráson a művelet nem végezhető el."));
    const int total = data->visibleCount();
    if (total == 0)
        throw KorvenaError(QStringLiteral("Üres adatforráson a művelet nem végezhető el."));
    if (total > MaxDataRows)
        throw KorvenaError(QStringLiteral("A munkalap legfeljebb %1 sort fogad, a lista %2 sort tartalmaz. "
                                          "Szűkítse a listát, vagy mentse CSV állományba.")
                               .arg(MaxDataRows)
                               .arg(total));
    if (columns.size() > MaxColumns)
        throw KorvenaError(QStringLiteral("A munkalap legfeljebb %1 oszlopot fogad.").arg(MaxColumns));

    const KeepCurrent keep(*data);
    QList<Column> cols;
    cols.reserve(columns.size());
    for (int index : columns) {
        const Field &f = data->field(index);
        cols.append(Column{index, kindOf(f), alignmentOf(f)});
    }

    Stream s(device);
    s.header(Bof, 4);
    s.word(0x0002); // BIFF2
    s.word(0x0010); // a worksheet
    // Without it a reader guesses the text's code page from its own system.
    s.header(Codepage, 2);
    s.word(1250);
    writeFont(s, false); // detail
    writeFont(s, true);  // title: none is written, but its place in the table is kept
    writeFont(s, true);  // header
    static_assert(TitleFont == 1 && HeaderFont == 2);

    s.header(Dimensions, 8);
    s.word(0);
    s.word(quint16(total + 1));
    s.word(0);
    s.word(quint16(cols.size()));

    for (int c = 0; c < cols.size(); ++c)
        writeLabel(s, 0, c, HeaderFont, 0, ToCp1250(data->field(cols[c].index).displayLabel()));

    QByteArray text;
    for (int i = 0; i < total; ++i) {
        writeRow(s, *data, data->visibleRow(i), i + 1, cols, text);
        s.flushIfFull();
        if (progress && !progress(i + 1, total))
            break;
    }
    s.header(Eof, 0);
    s.flush();
}

void BiffWriter::writeFile(Dataset *data, const QList<int> &columns, const QString &fileName,
                           const ExportProgress &progress)
{
    // Beside the target until complete: a refusal or failure leaves the old file whole.
    QSaveFile file(fileName);
    if (!PrivateFile::open(file))
        throw KorvenaError(file.errorString());
    write(data, columns, file, progress);
    if (!file.commit())
        throw KorvenaError(file.errorString());
}
