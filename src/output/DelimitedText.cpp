#include "output/DelimitedText.h"

#include "common/Encoding.h"
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
            const FieldType type = data.field(col).type;
            if (type == FieldType::Binary || (type == FieldType::LongText && !options.multiLineFields)) {
                out.append(Blob);
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
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw KorvenaError(file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw KorvenaError(file.errorString());
}
