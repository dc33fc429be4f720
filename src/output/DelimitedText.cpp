#include "output/DelimitedText.h"

#include "common/Encoding.h"
#include "common/PrivateFile.h"
#include "db/Dataset.h"
#include "db/DbError.h"
#include "output/CellText.h"

#include <QFile>

#include <algorithm>

namespace {

const QByteArray Blob = QByteArrayLiteral("BLOB");

// Backslashes doubled, a CR written as backslash-n, LF dropped, so a value stays
// on its line; a memo's separators become commas so it stays in its column.
void appendEscaped(QByteArrayView text, QByteArray &out, char separator, bool memo)
{
    const auto special = [separator, memo](char c) {
        return c == '\\' || c == '\r' || c == '\n' || (memo && c == separator);
    };
    const char *p = text.data();
    const char *const end = p + text.size();
    while (p < end) {
        const char *q = std::find_if(p, end, special);
        out.append(p, q - p);
        if (q == end)
            break;
        switch (*q) {
        case '\\':
            out.append("\\\\", 2);
            break;
        case '\r':
            out.append("\\n", 2);
            break;
        case '\n':
            break;
        default:
            out.append(',');
        }
        p = q + 1;
    }
}

// Only large objects stand as "BLOB": a BIT or a short binary column (BINARY,
// VARBINARY up to 255 bytes) is an ordinary field. A row set names no column type
// beyond "binary", so the declared length tells them apart.
bool isLargeBinary(const Field &field)
{
    return field.type == FieldType::Binary && field.size > 255;
}

// A short binary value as text: BIT(1) (and BINARY(1)) as 0 or 1, others in hexadecimal.
void appendShortBinary(QByteArrayView raw, const Field &field, QByteArray &out)
{
    if (field.size == 1) {
        out.append(!raw.isEmpty() && raw[0] != '\0' && raw[0] != '0' ? '1' : '0');
        return;
    }
    out.append(QByteArray::fromRawData(raw.data(), raw.size()).toHex().toUpper());
}

} // namespace

DelimitedText buildDelimitedText(Dataset &data, const DelimitedOptions &options, const ExportProgress &progress)
{
    DelimitedText result;
    QByteArray &out = result.lines;
    const QByteArray &quote = options.quote;
    const char sep = options.separator;

    if (options.header) {
        for (int col : options.columns) {
            const Field &f = data.field(col);
            out.append(quote);
            out.append(ToCp1250(options.originalNames ? f.name : f.displayLabel()));
            out.append(quote);
            out.append(sep);
        }
    }
    out.append("\r\n", 2);

    const int total = data.visibleCount();
    // A rough guess keeps the buffer from being copied over and over on a long list.
    out.reserve(out.size() + qsizetype(total) * (options.columns.size() * 12 + 2));
    QByteArray cell;
    int lastRow = -1;
    for (int i = 0; i < total; ++i) {
        const int row = data.visibleRow(i);
        lastRow = row;
        const qsizetype lineStart = out.size();
        for (int col : options.columns) {
            out.append(quote);
            const Field &field = data.field(col);
            const FieldType type = field.type;
            if (isLargeBinary(field) || (type == FieldType::LongText && !options.multiLineFields)) {
                out.append(Blob);
            } else if (type == FieldType::Binary) {
                if (!data.isNull(row, col))
                    appendShortBinary(data.raw(row, col), field, out);
            } else {
                cell.clear();
                appendCellText(data, row, col, cell);
                appendEscaped(cell, out, sep, type == FieldType::LongText);
            }
            out.append(quote);
            out.append(sep);
        }
        if (out.size() > lineStart)
            out.chop(1);
        out.append("\r\n", 2);
        ++result.rows;
        if (progress && !progress(i + 1, total)) {
            result.stopped = true;
            break;
        }
    }
    data.setCurrent(lastRow);
    return result;
}

QString delimitedClipboardText(const QByteArray &lines)
{
    QByteArray text = lines;
    if (text.endsWith("\r\n"))
        text.chop(2);
    return FromCp1250(text);
}

void writeWholeFile(const QString &fileName, const QByteArray &bytes)
{
    const QString why = PrivateFile::writeAll(fileName, bytes);
    if (!why.isEmpty())
        throw KorvenaError(why);
}
