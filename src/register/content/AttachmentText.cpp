#include "register/content/AttachmentText.h"

#include "common/Encoding.h"
#include "db/Latin2.h"
#include "register/content/Readers.h"

#include <QFileInfo>
#include <QStringConverter>
#include <QStringDecoder>

namespace korvena::content {

namespace {

enum class Kind
{
    Unknown,
    Pdf,
    Image,
    Zip,
    Text
};

bool isLineBreak(char32_t c)
{
    return c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == 0x85 || c == 0x2028 || c == 0x2029;
}

bool storable(QStringView text)
{
    return Latin2::canEncode(text);
}

// What of a character the register can hold: itself, its compatibility form (the
// "fi" of a ligature) or its letters without their accents (ñ as n); else nothing.
QString storableForm(char32_t c)
{
    const QString original = QString::fromUcs4(&c, 1);
    const QString compatible = original.normalized(QString::NormalizationForm_KC);
    if (compatible != original && storable(compatible))
        return compatible;
    QString bare;
    for (QChar part : original.normalized(QString::NormalizationForm_KD)) {
        if (part.category() == QChar::Mark_NonSpacing)
            continue;
        if (part.isSurrogate() || !storable(QStringView(&part, 1)))
            return {};
        bare += part;
    }
    return bare == original ? QString() : bare;
}

Kind kindOf(const QByteArray &bytes, const QString &fileName)
{
    const QString extension = QFileInfo(fileName).suffix().toLower();
    const qsizetype pdfHeader = bytes.left(1024).indexOf("%PDF-");
    if (pdfHeader == 0 || (pdfHeader > 0 && extension == QLatin1String("pdf")))
        return Kind::Pdf;
    if (bytes.startsWith("\x89PNG\r\n\x1a\n") || bytes.startsWith("\xFF\xD8\xFF") ||
        bytes.startsWith(QByteArray("II*\0", 4)) || bytes.startsWith(QByteArray("MM\0*", 4)) ||
        (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP"))
        return Kind::Image;
    // Two letters are a weak sign: the size the header gives, or the name, confirms it.
    if (bytes.startsWith("BM") && bytes.size() > 26) {
        const auto *b = reinterpret_cast<const uchar *>(bytes.constData());
        const quint32 declared =
            quint32(b[2]) | quint32(b[3]) << 8 | quint32(b[4]) << 16 | quint32(b[5]) << 24;
        if (declared == quint32(bytes.size()) || extension == QLatin1String("bmp"))
            return Kind::Image;
    }
    if (bytes.startsWith(QByteArray("PK\3\4", 4)) || bytes.startsWith(QByteArray("PK\5\6", 4)))
        return Kind::Zip;
    static const QStringList textExtensions = {QStringLiteral("txt"), QStringLiteral("text"),
                                               QStringLiteral("csv"), QStringLiteral("log")};
    if (textExtensions.contains(extension))
        return Kind::Text;
    return Kind::Unknown;
}

// UTF-8 when the bytes are valid UTF-8 (plain ASCII is both), UTF-16 after its byte
// order mark, else the Hungarian Windows code page.
QString plainText(const QByteArray &bytes)
{
    const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(bytes);
    if (marked && *marked != QStringConverter::Utf8) {
        QStringDecoder decoder(*marked);
        return decoder.decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return FromCp1250(bytes);
}

} // namespace

QString stoppedError()
{
    return QStringLiteral("A szöveg olvasása megszakadt.");
}

QString indexableText(const QString &input)
{
    // Composed first, so an accent typed as a combining mark stays on its letter.
    const QString text = input.normalized(QString::NormalizationForm_C);
    QString out;
    out.reserve(std::min(text.size(), qsizetype(MaxTextChars)));
    // The gap since the last kept character: none, a space, or a line break.
    enum
    {
        None,
        Space,
        Line
    } gap = None;
    auto keep = [&](QStringView piece) {
        if (!out.isEmpty() && gap != None)
            out += gap == Line ? QLatin1Char('\n') : QLatin1Char(' ');
        gap = None;
        out += piece;
    };
    for (qsizetype i = 0; i < text.size() && out.size() < MaxTextChars; ++i) {
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        if (isLineBreak(c)) {
            gap = Line;
        } else if (QChar::isSpace(c)) {
            if (gap == None)
                gap = Space;
        } else if (QChar::category(c) == QChar::Other_Control || QChar::category(c) == QChar::Other_Format) {
            // Markup of the text (soft hyphens, joiners), not part of a word.
        } else if (c < 0x10000 && storable(QStringView(text.constData() + i, 1))) {
            keep(QStringView(text.constData() + i, 1));
        } else {
            const QString form = storableForm(c);
            if (!form.isEmpty())
                keep(form);
        }
    }
    // Every kept character is one UTF-16 unit, so no cut falls inside a pair; the
    // check keeps it so should that ever change.
    qsizetype length = std::min(out.size(), qsizetype(MaxTextChars));
    if (length > 0 && length < out.size() && out[length - 1].isHighSurrogate())
        --length;
    out.truncate(length);
    return out;
}

ExtractedText extractText(const QByteArray &bytes, const QString &fileName, const std::atomic_bool *stop)
{
    ExtractedText out;
    switch (kindOf(bytes, fileName)) {
    case Kind::Pdf:
        out = readPdf(bytes, stop);
        break;
    case Kind::Image:
        out = readImage(bytes, stop);
        break;
    case Kind::Zip:
        out = readZip(bytes);
        break;
    case Kind::Text:
        out.text = plainText(bytes);
        out.method = QString::fromLatin1(MethodText);
        break;
    case Kind::Unknown:
        out.method = QString::fromLatin1(MethodNone);
        break;
    }
    if (stopRequested(stop)) {
        out.text.clear();
        out.method = QString::fromLatin1(MethodNone);
        out.error = stoppedError();
        return out;
    }
    out.text = indexableText(out.text);
    return out;
}

} // namespace korvena::content
