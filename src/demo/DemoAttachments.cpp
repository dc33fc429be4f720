#include "demo/DemoAttachments.h"

#include "common/Encoding.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <zip.h>

#include <vector>

namespace korvena::demo {

namespace {

constexpr int Dpi = 300;
// A4 at 300 dpi.
constexpr int PageWidth = 2480;
constexpr int PageHeight = 3508;
constexpr int Margin = 295; // 25 mm

QFont letterFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(12);
    return font;
}

void drawLetter(QPainter &painter, const QRect &area, const QString &sentence)
{
    painter.setPen(Qt::black);
    painter.setFont(letterFont());
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, sentence);
}

// What a flatbed scanner gives: grey, 300 dpi, the whole A4 sheet.
QImage scannedPage(const QString &sentence)
{
    QImage page(PageWidth, PageHeight, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(Dpi / 0.0254);
    page.setDotsPerMeterX(dotsPerMeter);
    page.setDotsPerMeterY(dotsPerMeter);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        painter.setRenderHint(QPainter::TextAntialiasing);
        drawLetter(painter, QRect(Margin, Margin, PageWidth - 2 * Margin, PageHeight - 2 * Margin), sentence);
    }
    return page.convertToFormat(QImage::Format_Grayscale8);
}

// quality: JPEG's; -1 for PNG's default, which compresses (a higher value stores raw).
QByteArray encodedImage(const QImage &image, const char *format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

// The packed bytes of one row (TIFF PackBits).
void packBits(const uchar *row, int length, QByteArray &out)
{
    int i = 0;
    while (i < length) {
        int run = 1;
        while (i + run < length && run < 128 && row[i + run] == row[i])
            ++run;
        if (run >= 2) {
            out.append(char(1 - run));
            out.append(char(row[i]));
            i += run;
            continue;
        }
        int literal = 1;
        while (i + literal < length && literal < 128 &&
               !(i + literal + 1 < length && row[i + literal] == row[i + literal + 1]))
            ++literal;
        out.append(char(literal - 1));
        out.append(reinterpret_cast<const char *>(row + i), literal);
        i += literal;
    }
}

void putU16(QByteArray &b, quint16 v)
{
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}

void putU32(QByteArray &b, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

// Qt reads TIFF only through an optional plugin, so the scanner's format is written
// here: one grey strip, PackBits, little-endian, with its resolution.
QByteArray tiffImage(const QImage &grey)
{
    QByteArray strip;
    for (int y = 0; y < grey.height(); ++y)
        packBits(grey.constScanLine(y), grey.width(), strip);

    QByteArray tiff("II*\0", 4);
    const quint32 stripOffset = 8;
    const quint32 rationalOffset = stripOffset + quint32(strip.size());
    const quint32 ifdOffset = rationalOffset + 8;
    putU32(tiff, ifdOffset);
    tiff.append(strip);
    putU32(tiff, Dpi);
    putU32(tiff, 1);

    enum Type : quint16
    {
        Short = 3,
        Long = 4,
        Rational = 5
    };
    struct Entry
    {
        quint16 tag;
        quint16 type;
        quint32 value;
    };
    const std::vector<Entry> entries = {
        {256, Long, quint32(grey.width())},
        {257, Long, quint32(grey.height())},
        {258, Short, 8},
        {259, Short, 32773}, // PackBits
        {262, Short, 1},     // black is zero
        {273, Long, stripOffset},
        {277, Short, 1},
        {278, Long, quint32(grey.height())},
        {279, Long, quint32(strip.size())},
        {282, Rational, rationalOffset},
        {283, Rational, rationalOffset},
        {296, Short, 2}, // inch
    };
    putU16(tiff, quint16(entries.size()));
    for (const Entry &e : entries) {
        putU16(tiff, e.tag);
        putU16(tiff, e.type);
        putU32(tiff, 1);
        if (e.type == Short) {
            putU16(tiff, quint16(e.value));
            putU16(tiff, 0);
        } else {
            putU32(tiff, e.value);
        }
    }
    putU32(tiff, 0);
    return tiff;
}

QByteArray pdf(const QString &sentence, int pages, bool scanned)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(Dpi);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        writer.setCreator(QStringLiteral("Korvena"));
        QPainter painter(&writer);
        const QImage scan = scanned ? scannedPage(sentence) : QImage();
        for (int page = 0; page < qMax(1, pages); ++page) {
            if (page > 0)
                writer.newPage();
            if (scanned)
                painter.drawImage(QRect(0, 0, writer.width(), writer.height()), scan);
            else
                drawLetter(painter,
                           QRect(Margin, Margin, writer.width() - 2 * Margin, writer.height() - 2 * Margin),
                           sentence);
        }
    }
    return bytes;
}

QString xmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

struct ZipEntry
{
    const char *name;
    QByteArray bytes;
    bool stored = false;
};

QByteArray zipArchive(const std::vector<ZipEntry> &entries)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *target = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!target)
        return {};
    zip_t *archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_source_free(target);
        zip_error_fini(&error);
        return {};
    }
    zip_source_keep(target);
    for (const ZipEntry &entry : entries) {
        zip_source_t *source =
            zip_source_buffer(archive, entry.bytes.constData(), zip_uint64_t(entry.bytes.size()), 0);
        const zip_int64_t index = zip_file_add(archive, entry.name, source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            continue;
        }
        if (entry.stored)
            zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
        zip_file_set_mtime(archive, zip_uint64_t(index), 1767225600,
                           0); // fixed, so equal input gives equal bytes
    }
    QByteArray bytes;
    if (zip_close(archive) == 0 && zip_source_open(target) == 0) {
        zip_source_seek(target, 0, SEEK_END);
        const zip_int64_t size = zip_source_tell(target);
        zip_source_seek(target, 0, SEEK_SET);
        if (size > 0) {
            bytes.resize(qsizetype(size));
            if (zip_source_read(target, bytes.data(), zip_uint64_t(size)) != size)
                bytes.clear();
        }
        zip_source_close(target);
    } else {
        zip_discard(archive);
    }
    zip_source_free(target);
    zip_error_fini(&error);
    return bytes;
}

// Lines become paragraphs and tabs the format's tab, so a reader meets its markup.
QString docxParagraphs(const QString &text)
{
    QString body;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        body += QStringLiteral("<w:p>");
        const QStringList cells = line.split(QLatin1Char('\t'));
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (i > 0)
                body += QStringLiteral("<w:r><w:tab/></w:r>");
            body +=
                QStringLiteral("<w:r><w:t xml:space=\"preserve\">%1</w:t></w:r>").arg(xmlEscaped(cells[i]));
        }
        body += QStringLiteral("</w:p>");
    }
    return body;
}

const char *const WordNamespace = "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";

// A part holding paragraphs under its root element, e.g. <w:hdr> for a page header.
QByteArray wordPart(const char *root, const QString &paragraphs)
{
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:%1 %2>%3</w:%1>")
                .arg(QLatin1String(root), QLatin1String(WordNamespace), paragraphs))
        .toUtf8();
}

QByteArray docx(const LetterParts &letter)
{
    const QString document =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                       "<w:document %1><w:body>%2<w:sectPr/></w:body></w:document>")
            .arg(QLatin1String(WordNamespace), docxParagraphs(letter.body));
    std::vector<ZipEntry> entries{
        {"[Content_Types].xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"rels\" "
         "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
         "<Override PartName=\"/word/document.xml\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
         "</Types>"},
        {"_rels/.rels",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" "
         "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
         "Target=\"word/document.xml\"/></Relationships>"},
        {"word/document.xml", document.toUtf8()},
    };
    if (!letter.header.isEmpty())
        entries.push_back({"word/header1.xml", wordPart("hdr", docxParagraphs(letter.header))});
    if (!letter.note.isEmpty())
        entries.push_back({"word/footnotes.xml",
                           wordPart("footnotes", QStringLiteral("<w:footnote w:type=\"separator\" w:id=\"-1\"><w:p><w:r>"
                                                                "<w:separator/></w:r></w:p></w:footnote>"
                                                                "<w:footnote w:id=\"1\">%1</w:footnote>")
                                                     .arg(docxParagraphs(letter.note)))});
    if (!letter.footer.isEmpty())
        entries.push_back({"word/footer1.xml", wordPart("ftr", docxParagraphs(letter.footer))});
    return zipArchive(entries);
}

QString odtParagraphs(const QString &text)
{
    QString body;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QStringList cells = line.split(QLatin1Char('\t'));
        QString paragraph;
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (i > 0)
                paragraph += QStringLiteral("<text:tab/>");
            paragraph += xmlEscaped(cells[i]);
        }
        body += QStringLiteral("<text:p>%1</text:p>").arg(paragraph);
    }
    return body;
}

const char *const OdfNamespaces = "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                                  "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
                                  "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"";

QByteArray odt(const LetterParts &letter)
{
    QString body = odtParagraphs(letter.body);
    // A note stands in the paragraph it belongs to.
    if (!letter.note.isEmpty())
        body.insert(body.lastIndexOf(QStringLiteral("</text:p>")),
                    QStringLiteral("<text:note text:note-class=\"footnote\"><text:note-citation>1</text:note-citation>"
                                   "<text:note-body>%1</text:note-body></text:note>")
                        .arg(odtParagraphs(letter.note)));
    const QString content = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                           "<office:document-content %1 office:version=\"1.2\">"
                                           "<office:body><office:text>%2</office:text></office:body>"
                                           "</office:document-content>")
                                .arg(QLatin1String(OdfNamespaces), body);
    std::vector<ZipEntry> entries{
        // The first entry, uncompressed: that is how a reader knows the kind.
        {"mimetype", "application/vnd.oasis.opendocument.text", true},
        {"META-INF/manifest.xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
         "manifest:version=\"1.2\">"
         "<manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.2\" "
         "manifest:media-type=\"application/vnd.oasis.opendocument.text\"/>"
         "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
         "</manifest:manifest>"},
        {"content.xml", content.toUtf8()},
    };
    if (!letter.header.isEmpty() || !letter.footer.isEmpty()) {
        QString page;
        if (!letter.header.isEmpty())
            page += QStringLiteral("<style:header>%1</style:header>").arg(odtParagraphs(letter.header));
        if (!letter.footer.isEmpty())
            page += QStringLiteral("<style:footer>%1</style:footer>").arg(odtParagraphs(letter.footer));
        const QString styles =
            QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<office:document-styles %1 office:version=\"1.2\"><office:styles/>"
                           "<office:master-styles><style:master-page style:name=\"Standard\">%2"
                           "</style:master-page></office:master-styles></office:document-styles>")
                .arg(QLatin1String(OdfNamespaces), page);
        entries.push_back({"styles.xml", styles.toUtf8()});
    }
    return zipArchive(entries);
}

} // namespace

QByteArray sampleFile(SampleKind kind, const QString &sentence, int pages)
{
    switch (kind) {
    case SampleKind::PdfText:
        return pdf(sentence, pages, false);
    case SampleKind::PdfScanned:
        return pdf(sentence, pages, true);
    case SampleKind::Png:
        return encodedImage(scannedPage(sentence), "PNG", -1);
    case SampleKind::Jpeg:
        return encodedImage(scannedPage(sentence), "JPEG", 90);
    case SampleKind::Tiff:
        return tiffImage(scannedPage(sentence));
    case SampleKind::Docx:
        return docx(LetterParts{{}, sentence, {}, {}});
    case SampleKind::Odt:
        return odt(LetterParts{{}, sentence, {}, {}});
    case SampleKind::TextUtf8:
        return sentence.toUtf8();
    case SampleKind::TextCp1250:
        return ToCp1250(sentence);
    }
    return {};
}

QString sampleFileName(SampleKind kind, const QString &base)
{
    switch (kind) {
    case SampleKind::PdfText:
    case SampleKind::PdfScanned:
        return base + QStringLiteral(".pdf");
    case SampleKind::Png:
        return base + QStringLiteral(".png");
    case SampleKind::Jpeg:
        return base + QStringLiteral(".jpg");
    case SampleKind::Tiff:
        return base + QStringLiteral(".tif");
    case SampleKind::Docx:
        return base + QStringLiteral(".docx");
    case SampleKind::Odt:
        return base + QStringLiteral(".odt");
    case SampleKind::TextUtf8:
    case SampleKind::TextCp1250:
        return base + QStringLiteral(".txt");
    }
    return base;
}

QByteArray letterFile(SampleKind kind, const LetterParts &letter)
{
    return kind == SampleKind::Odt ? odt(letter) : docx(letter);
}

} // namespace korvena::demo
