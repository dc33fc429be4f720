#include "output/HtmlExport.h"

#include "common/PrivateFile.h"
#include "common/Clock.h"
#include "common/Encoding.h"
#include "db/Dataset.h"
#include "db/DbError.h"

#include <QSaveFile>
#include <QIODevice>

namespace {

const char ProgramTitle[] = "Korvena iktatás";

// The page's own texts are written in UTF-8 here; on the page they are code page 1250.
QByteArray cp(const char *utf8)
{
    return ToCp1250(QString::fromUtf8(utf8));
}

QByteArray escaped(const QString &text)
{
    return ToCp1250(HtmlEscape(text));
}

QByteArray headerAlignment(Qt::Alignment a)
{
    if (a & Qt::AlignRight)
        return QByteArrayLiteral("align=\"right\"");
    if (a & Qt::AlignHCenter)
        return QByteArrayLiteral("align=\"center\"");
    return {};
}

QByteArray cellAlignment(Qt::Alignment a)
{
    if (a & Qt::AlignRight)
        return QByteArrayLiteral("<p align=\"right\">");
    if (a & Qt::AlignHCenter)
        return QByteArrayLiteral("<p align=\"center\">");
    return {};
}

void put(QIODevice &out, const QByteArray &bytes)
{
    if (out.write(bytes) != bytes.size())
        throw KorvenaError(out.errorString());
}

} // namespace

int HtmlPercent(int width, int gridWidth)
{
    if (gridWidth <= 0)
        return 0;
    // Exact in integers: 100 * width / gridWidth, halves to even.
    const qint64 num = qint64(width) * 100;
    qint64 q = num / gridWidth;
    qint64 r = num % gridWidth;
    if (r < 0) {
        q -= 1;
        r += gridWidth;
    }
    if (2 * r > gridWidth || (2 * r == gridWidth && (q & 1)))
        ++q;
    return int(q);
}

QString HtmlEscape(const QString &text)
{
    QString out;
    out.reserve(text.size());
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
        default:
            out += c;
        }
    }
    return out;
}

int writeHtmlPage(QIODevice &out, Dataset &rows, const HtmlPage &page, const ExportProgress &progress)
{
    struct Bound
    {
        int field;
        QByteArray percent;
        Qt::Alignment alignment;
    };
    QList<Bound> bound;
    QByteArray head;
    const QByteArray title = escaped(page.title);
    head += "<!DOCTYPE html><html lang=\"hu-HU\"><head>"
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">"
            "<title>" +
            title +
            "</title>"
            "<meta name=\"GENERATOR\" content=\"Tarmelo Bt. Grid2Html\"></head><body>"
            "<h1>" +
            title +
            "</h1><h3></h3><div align=\"center\"><center>"
            "<table border=\"1\" cellpadding=\"3\" cellspacing=\"0\" width=\"90%\">  <tr>";
    for (const HtmlColumn &c : page.columns) {
        if (c.field < 0 || c.field >= rows.fieldCount())
            continue;
        const QByteArray percent = QByteArray::number(HtmlPercent(c.width, page.gridWidth));
        bound.append({c.field, percent, c.alignment});
        head += "<th width=\"" + percent + "%\" bgcolor=\"#C0C0C0\" " + headerAlignment(c.alignment) + '>' +
                escaped(c.caption) + "</th>";
    }
    head += "  </tr>";
    put(out, head);

    const int total = rows.visibleCount();
    int written = 0;
    QByteArray line;
    for (int i = 0; i < total; ++i) {
        const int row = rows.visibleRow(i);
        line.clear();
        line += "<tr>";
        for (const Bound &b : bound) {
            line += "<td width=\"" + b.percent + "%\">" + cellAlignment(b.alignment) +
                    escaped(rows.displayText(row, b.field)) + "</td>";
        }
        line += "  </tr>";
        put(out, line);
        ++written;
        if (progress && written % 10 == 0 && !progress(written, total))
            break;
    }

    QByteArray tail = "</table></center></div><p><font face=\"Verdana\" size=\"1\">" + cp("Összesen ") +
                      QByteArray::number(written) + " sor.</font></p><p><font face=\"Verdana\" size=\"1\">" +
                      Now().toString(QStringLiteral("yyyy.MM.dd HH:mm:ss")).toLatin1() +
                      "</font></p><p><font face=\"Courier New\" size=\"1\">" + cp(ProgramTitle) +
                      "</font></p></body></html>";
    put(out, tail);
    return written;
}

int writeHtmlFile(const QString &fileName, Dataset &rows, const HtmlPage &page,
                  const ExportProgress &progress)
{
    // Beside the target until complete: a refusal or failure leaves the old file whole.
    QSaveFile file(fileName);
    if (!PrivateFile::open(file))
        throw KorvenaError(file.errorString());
    const int written = writeHtmlPage(file, rows, page, progress);
    if (!file.commit())
        throw KorvenaError(file.errorString());
    return written;
}
