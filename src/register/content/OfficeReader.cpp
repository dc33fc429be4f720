#include "register/content/Readers.h"

#include <QXmlStreamReader>

#include <zip.h>

namespace korvena::content {

namespace {

// Uncompressed XML read from one part at most: a small archive can inflate to
// gigabytes, and this much markup already holds more text than is kept.
constexpr zip_uint64_t MaxXmlBytes = 16 * 1024 * 1024;

const QString damagedArchive = QStringLiteral("A dokumentum sérült, nem olvasható.");

class Archive
{
public:
    explicit Archive(const QByteArray &bytes)
    {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t *source =
            zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
        if (source) {
            m_zip = zip_open_from_source(source, ZIP_RDONLY, &error);
            if (!m_zip)
                zip_source_free(source);
        }
        zip_error_fini(&error);
    }
    ~Archive()
    {
        if (m_zip)
            zip_discard(m_zip);
    }
    Archive(const Archive &) = delete;
    Archive &operator=(const Archive &) = delete;

    bool isOpen() const { return m_zip; }
    bool has(const char *name) const { return zip_name_locate(m_zip, name, 0) >= 0; }

    // The part's first MaxXmlBytes; nothing when it cannot be inflated.
    std::optional<QByteArray> part(const char *name, zip_uint64_t limit = MaxXmlBytes) const
    {
        const zip_int64_t index = zip_name_locate(m_zip, name, 0);
        if (index < 0)
            return std::nullopt;
        zip_file_t *file = zip_fopen_index(m_zip, zip_uint64_t(index), 0);
        if (!file)
            return std::nullopt;
        QByteArray bytes;
        char chunk[65536];
        bool failed = false;
        while (zip_uint64_t(bytes.size()) < limit) {
            const zip_uint64_t want =
                std::min<zip_uint64_t>(sizeof chunk, limit - zip_uint64_t(bytes.size()));
            const zip_int64_t got = zip_fread(file, chunk, want);
            if (got < 0) {
                failed = true;
                break;
            }
            if (got == 0)
                break;
            bytes.append(chunk, qsizetype(got));
        }
        zip_fclose(file);
        if (failed)
            return std::nullopt;
        return bytes;
    }

private:
    zip_t *m_zip = nullptr;
};

// The text of a part's paragraphs; local names only, so Strict OOXML reads the same.
// `text` lists the elements whose characters are text, `paragraph` those that end a
// line, `lineBreak` and `space` the empty ones that stand for a break or a gap.
struct Markup
{
    QStringList text;
    QStringList paragraph;
    QStringList lineBreak;
    QStringList space;
    bool textEverywhereInParagraph; // ODF: characters anywhere inside a paragraph count
};

std::optional<QString> xmlText(const QByteArray &xml, const Markup &markup, bool complete)
{
    QXmlStreamReader reader(xml);
    QString out;
    int inText = 0;
    while (!reader.atEnd() && out.size() < MaxRawChars) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            const QStringView name = reader.name();
            if (markup.text.contains(name) ||
                (markup.textEverywhereInParagraph && markup.paragraph.contains(name)))
                ++inText;
            else if (markup.lineBreak.contains(name))
                out += QLatin1Char('\n');
            else if (markup.space.contains(name))
                out += QLatin1Char(' ');
            break;
        }
        case QXmlStreamReader::EndElement: {
            const QStringView name = reader.name();
            if (markup.text.contains(name) ||
                (markup.textEverywhereInParagraph && markup.paragraph.contains(name)))
                inText = std::max(0, inText - 1);
            if (markup.paragraph.contains(name))
                out += QLatin1Char('\n');
            break;
        }
        case QXmlStreamReader::Characters:
            if (inText > 0)
                out += reader.text();
            break;
        default:
            break;
        }
    }
    // A part cut at the limit ends early; what came before it is still its text.
    if (reader.hasError() && (complete || reader.error() != QXmlStreamReader::PrematureEndOfDocumentError))
        return std::nullopt;
    return out;
}

const Markup docxMarkup{
    {QStringLiteral("t")},
    {QStringLiteral("p")},
    {QStringLiteral("br"), QStringLiteral("cr")},
    {QStringLiteral("tab")},
    false,
};

const Markup odtMarkup{
    {QStringLiteral("span"), QStringLiteral("a")},
    {QStringLiteral("p"), QStringLiteral("h")},
    {QStringLiteral("line-break")},
    {QStringLiteral("s"), QStringLiteral("tab")},
    true,
};

} // namespace

ExtractedText readZip(const QByteArray &bytes)
{
    ExtractedText out;
    out.method = QString::fromLatin1(MethodNone);
    const Archive archive(bytes);
    if (!archive.isOpen()) {
        out.error = damagedArchive;
        return out;
    }
    const char *partName = nullptr;
    const Markup *markup = nullptr;
    const char *method = nullptr;
    if (archive.has("word/document.xml")) {
        partName = "word/document.xml";
        markup = &docxMarkup;
        method = MethodDocx;
    } else if (archive.has("content.xml") && archive.part("mimetype", 256)
                                                 .value_or(QByteArray())
                                                 .startsWith("application/vnd.oasis.opendocument.")) {
        partName = "content.xml";
        markup = &odtMarkup;
        method = MethodOdt;
    } else if (archive.has("content.xml") && !archive.has("mimetype")) {
        partName = "content.xml";
        markup = &odtMarkup;
        method = MethodOdt;
    } else {
        return out;
    }
    const std::optional<QByteArray> xml = archive.part(partName);
    const std::optional<QString> text =
        xml ? xmlText(*xml, *markup, zip_uint64_t(xml->size()) < MaxXmlBytes) : std::nullopt;
    if (!text) {
        out.error = damagedArchive;
        return out;
    }
    out.text = *text;
    out.method = QString::fromLatin1(method);
    return out;
}

} // namespace korvena::content
