#include "output/CellText.h"

#include "common/Encoding.h"
#include "db/Dataset.h"
#include "db/Latin2.h"

#include <array>

namespace {

// The list's text arrives as latin2 bytes, with code page 1250 punctuation („ ” – €)
// in 0x80-0x9F where latin2 has only control codes; the files are code page 1250.
// The two agree on every letter but a few, so a byte map built from both code
// pages does the whole conversion.
const std::array<char, 256> &latin2ToCp1250()
{
    static const std::array<char, 256> map = [] {
        std::array<char, 256> m{};
        for (int b = 0; b < 256; ++b) {
            if (b >= 0x80 && b <= 0x9F) {
                m[size_t(b)] = char(b);
                continue;
            }
            const char byte = char(b);
            const QString s = Latin2::decode(QByteArrayView(&byte, 1));
            const int code = s.size() == 1 ? Cp1250Code(s.at(0)) : -1;
            m[size_t(b)] = code < 0 ? '?' : char(code);
        }
        return m;
    }();
    return map;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// "yyyy-mm-dd" as the default short form "yyyy.mm.dd" without a round trip through QDate.
bool appendPlainDate(QByteArrayView raw, QByteArray &out)
{
    if (raw.size() < 10 || raw[4] != '-' || raw[7] != '-')
        return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!isDigit(raw[i]))
            return false;
    // Zero dates and zero parts are no dates at all.
    if (raw.first(4) == "0000" || raw.sliced(5, 2) == "00" || raw.sliced(8, 2) == "00")
        return false;
    const qsizetype at = out.size();
    out.append(raw.data(), 10);
    out[at + 4] = '.';
    out[at + 7] = '.';
    return true;
}

} // namespace

void appendCellText(const Dataset &data, int row, int col, QByteArray &out)
{
    if (data.isNull(row, col))
        return;
    const Field &field = data.field(col);
    switch (field.type) {
    case FieldType::Text:
    case FieldType::LongText: {
        const QByteArrayView raw = data.raw(row, col);
        const auto &map = latin2ToCp1250();
        const qsizetype at = out.size();
        out.resize(at + raw.size());
        char *d = out.data() + at;
        for (const char c : raw)
            *d++ = map[uchar(c)];
        return;
    }
    case FieldType::Integer:
    case FieldType::BigInt:
    case FieldType::Float:
    case FieldType::Decimal:
        out.append(data.raw(row, col));
        return;
    case FieldType::Date:
        if ((field.displayFormat.isEmpty() || field.displayFormat == QLatin1String("yyyy.MM.dd")) &&
            appendPlainDate(data.raw(row, col), out))
            return;
        break;
    default:
        break;
    }
    out.append(ToCp1250(data.displayText(row, col)));
}

QByteArray cellText(const Dataset &data, int row, int col)
{
    QByteArray out;
    appendCellText(data, row, col, out);
    return out;
}

QString cellString(const Dataset &data, int row, int col)
{
    return FromCp1250(cellText(data, row, col));
}
