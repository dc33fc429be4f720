#include "register/content/Readers.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>

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

    // The names of the entries, in the archive's order.
    QList<QByteArray> names() const
    {
        QList<QByteArray> out;
        const zip_int64_t count = zip_get_num_entries(m_zip, 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            if (const char *name = zip_get_name(m_zip, zip_uint64_t(i), 0))
                out << QByteArray(name);
        }
        return out;
    }

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
    QStringList skip;               // elements whose characters never count
};

std::optional<QString> xmlText(const QByteArray &xml, const Markup &markup, bool complete)
{
    QXmlStreamReader reader(xml);
    QString out;
    int inText = 0;
    int skipped = 0;
    while (!reader.atEnd() && out.size() < MaxRawChars) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            const QStringView name = reader.name();
            if (markup.skip.contains(name))
                ++skipped;
            else if (markup.text.contains(name) ||
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
            if (markup.skip.contains(name))
                skipped = std::max(0, skipped - 1);
            else if (markup.text.contains(name) ||
                (markup.textEverywhereInParagraph && markup.paragraph.contains(name)))
                inText = std::max(0, inText - 1);
            if (markup.paragraph.contains(name))
                out += QLatin1Char('\n');
            break;
        }
        case QXmlStreamReader::Characters:
            if (inText > 0 && skipped == 0)
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
    {},
};

const Markup odtMarkup{
    {QStringLiteral("span"), QStringLiteral("a")},
    {QStringLiteral("p"), QStringLiteral("h")},
    {QStringLiteral("line-break")},
    // A note's text stands apart from the word it is attached to; its number is no text.
    {QStringLiteral("s"), QStringLiteral("tab"), QStringLiteral("note")},
    true,
    {QStringLiteral("note-citation")},
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
    // A letter's letterhead and footer (often the sender's name and address) and its
    // notes are text of the letter too; a damaged one of these leaves the body standing.
    QStringList before, after;
    zip_uint64_t budget = MaxXmlBytes;
    const auto readPart = [&](const QByteArray &name, QStringList &into) {
        if (budget == 0)
            return;
        const zip_uint64_t limit = budget;
        const std::optional<QByteArray> bytes = archive.part(name.constData(), limit);
        if (!bytes)
            return;
        budget -= zip_uint64_t(bytes->size());
        const std::optional<QString> partText = xmlText(*bytes, *markup, zip_uint64_t(bytes->size()) < limit);
        if (partText && !partText->trimmed().isEmpty())
            into << *partText;
    };
    if (markup == &docxMarkup) {
        QList<QByteArray> headers, footers;
        static const QRegularExpression numbered(QStringLiteral("^word/(header|footer)[0-9]*\\.xml$"));
        for (const QByteArray &name : archive.names()) {
            const QRegularExpressionMatch m = numbered.match(QString::fromUtf8(name));
            if (m.hasMatch())
                (m.captured(1) == QLatin1String("header") ? headers : footers) << name;
        }
        std::sort(headers.begin(), headers.end());
        std::sort(footers.begin(), footers.end());
        for (const QByteArray &name : std::as_const(headers))
            readPart(name, before);
        for (const char *notes : {"word/footnotes.xml", "word/endnotes.xml"})
            readPart(notes, after);
        for (const QByteArray &name : std::as_const(footers))
            readPart(name, after);
    } else {
        // ODF keeps the page's header and footer among the styles.
        readPart("styles.xml", after);
    }
    out.text = (before + QStringList{*text} + after).join(QLatin1Char('\n'));
    out.method = QString::fromLatin1(method);
    return out;
}

} // namespace korvena::content
