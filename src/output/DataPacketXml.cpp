#include "output/DataPacketXml.h"

#include "common/PrivateFile.h"
#include "db/Dataset.h"
#include "db/DbError.h"
#include "output/CellText.h"

#include <QSaveFile>
#include <QIODevice>

namespace {

constexpr qsizetype FlushAt = 1 << 16;

// The field's type in the packet's own names, and the attributes that go with it.
QString fieldAttributes(const Field &f)
{
    switch (f.type) {
    case FieldType::Integer:
        return QStringLiteral("fieldtype=\"i4\"");
    case FieldType::BigInt:
        return QStringLiteral("fieldtype=\"i8\"");
    case FieldType::Float:
    case FieldType::Decimal:
        return QStringLiteral("fieldtype=\"r8\"");
    case FieldType::Date:
        return QStringLiteral("fieldtype=\"date\"");
    case FieldType::DateTime:
        return QStringLiteral("fieldtype=\"dateTime\"");
    case FieldType::Time:
        return QStringLiteral("fieldtype=\"time\"");
    case FieldType::LongText:
        return QStringLiteral("fieldtype=\"bin.hex\" SUBTYPE=\"Text\"");
    case FieldType::Binary:
        return QStringLiteral("fieldtype=\"bin.hex\" SUBTYPE=\"Binary\"");
    case FieldType::Text:
        break;
    }
    return QStringLiteral("fieldtype=\"string\" WIDTH=\"%1\"").arg(qMax(1, f.size));
}

// Attribute text: markup characters and line breaks as references, so a reader
// gets the value back exactly.
void appendEscaped(const QString &text, QString &out)
{
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        case '\r':
            out += QLatin1String("&#13;");
            break;
        case '\n':
            out += QLatin1String("&#10;");
            break;
        case '\t':
            out += QLatin1String("&#9;");
            break;
        default:
            // Control characters have no place in XML 1.0.
            if (c.unicode() >= 0x20)
                out += c;
        }
    }
}

// The packet's own forms: dates yyyymmdd, times hh:mm:ss with milliseconds after them.
QString valueText(const Dataset &data, int row, int col)
{
    switch (data.field(col).type) {
    case FieldType::Date: {
        const QDate d = data.toDate(row, col);
        return d.isValid() ? d.toString(QStringLiteral("yyyyMMdd")) : QString();
    }
    case FieldType::DateTime: {
        const QDateTime d = data.toDateTime(row, col);
        return d.isValid() ? d.toString(QStringLiteral("yyyyMMdd'T'HH:mm:sszzz")) : QString();
    }
    case FieldType::Time: {
        const QTime t = data.value(row, col).toTime();
        return t.isValid() ? t.toString(QStringLiteral("HH:mm:sszzz")) : QString();
    }
    case FieldType::Binary:
        return QString::fromLatin1(data.raw(row, col).toByteArray().toBase64());
    default:
        return cellString(data, row, col);
    }
}

// Row attributes need XML names; a field name that is none (a free query's
// "COUNT(*)") gets one, and the field keeps its own name beside it.
QString attributeName(const QString &name, const QStringList &taken)
{
    QString out;
    for (const QChar c : name)
        out += (c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('-') || c == QLatin1Char('.'))
                   ? c
                   : QLatin1Char('_');
    if (out.isEmpty() || !(out.at(0).isLetter() || out.at(0) == QLatin1Char('_')))
        out.prepend(QLatin1Char('_'));
    const QString base = out;
    for (int n = 2; taken.contains(out, Qt::CaseInsensitive); ++n)
        out = base + QLatin1Char('_') + QString::number(n);
    return out;
}

void flush(QIODevice &device, QString &text)
{
    const QByteArray bytes = text.toUtf8();
    if (device.write(bytes) != bytes.size())
        throw KorvenaError(device.errorString());
    text.clear();
}

} // namespace

void writeDataPacket(Dataset &data, QIODevice &device, const ExportProgress &progress)
{
    QString out;
    out.reserve(FlushAt + 4096);
    out += QLatin1String("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                         "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>");
    QStringList names;
    for (const Field &f : data.fields()) {
        const QString name = attributeName(f.name, names);
        names << name;
        out += QLatin1String("<FIELD attrname=\"") + name + QLatin1Char('"');
        if (name != f.name) {
            out += QLatin1String(" fieldname=\"");
            appendEscaped(f.name, out);
            out += QLatin1Char('"');
        }
        out += QLatin1Char(' ') + fieldAttributes(f) + QLatin1String("/>");
    }
    out += QLatin1String("</FIELDS><PARAMS/></METADATA><ROWDATA>");

    const int total = data.visibleCount();
    for (int i = 0; i < total; ++i) {
        const int row = data.visibleRow(i);
        out += QLatin1String("<ROW");
        for (int col = 0; col < data.fieldCount(); ++col) {
            if (data.isNull(row, col))
                continue;
            out += QLatin1Char(' ') + names[col] + QLatin1String("=\"");
            appendEscaped(valueText(data, row, col), out);
            out += QLatin1Char('"');
        }
        out += QLatin1String("/>");
        if (out.size() >= FlushAt)
            flush(device, out);
        if (progress && !progress(i + 1, total))
            break;
    }
    out += QLatin1String("</ROWDATA></DATAPACKET>\r\n");
    flush(device, out);
}

void writeDataPacketFile(Dataset &data, const QString &fileName, const ExportProgress &progress)
{
    // Beside the target until complete: a refusal or failure leaves the old file whole.
    QSaveFile file(fileName);
    if (!PrivateFile::open(file))
        throw KorvenaError(file.errorString());
    writeDataPacket(data, file, progress);
    if (!file.commit())
        throw KorvenaError(file.errorString());
}
