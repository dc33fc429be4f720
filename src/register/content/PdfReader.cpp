#include "register/content/Ocr.h"
#include "register/content/Readers.h"

#include <poppler-qt6.h>

#include <cmath>
#include <mutex>

namespace korvena::content {

namespace {

constexpr double OcrDpi = 300;
// A poster-sized page is rendered at less than 300 dpi, so its image stays this small.
constexpr double MaxRenderPixels = 60e6;

bool hasText(const QString &text)
{
    for (QChar c : text)
        if (!c.isSpace())
            return true;
    return false;
}

void quietPoppler()
{
    static std::once_flag once;
    std::call_once(once,
                   [] { Poppler::setDebugErrorFunction([](const QString &, const QVariant &) {}, {}); });
}

} // namespace

ExtractedText readPdf(const QByteArray &bytes, const std::atomic_bool *stop)
{
    quietPoppler();
    ExtractedText out;
    out.method = QString::fromLatin1(MethodNone);
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::loadFromData(bytes);
    // Poppler crashes when a locked document is asked for its pages.
    if (document && document->isLocked()) {
        out.error = QStringLiteral("A PDF-fájl jelszóval védett.");
        return out;
    }
    if (!document || document->numPages() <= 0) {
        out.error = QStringLiteral("A PDF-fájl sérült, nem olvasható.");
        return out;
    }
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);

    Ocr ocr(stop);
    QStringList pages;
    qsizetype chars = 0;
    int textPages = 0;
    int ocrPages = 0;
    for (int i = 0; i < document->numPages() && chars < MaxRawChars; ++i) {
        if (stopRequested(stop)) {
            out.error = stoppedError();
            return out;
        }
        const std::unique_ptr<Poppler::Page> page = document->page(i);
        if (!page)
            continue;
        QString text = page->text(QRectF());
        if (hasText(text)) {
            ++textPages;
        } else {
            const QSizeF inches = page->pageSizeF() / 72.0;
            const double area = inches.width() * inches.height();
            const double dpi = area > 0 ? std::min(OcrDpi, std::sqrt(MaxRenderPixels / area)) : OcrDpi;
            QImage image = page->renderToImage(dpi, dpi);
            if (image.isNull())
                continue;
            image.setDotsPerMeterX(qRound(dpi / 0.0254));
            image.setDotsPerMeterY(qRound(dpi / 0.0254));
            const std::optional<QString> read = ocr.read(image);
            if (!read) {
                // Stopped, or no OCR on this machine: the pages read so far still count.
                if (stopRequested(stop) || textPages == 0) {
                    out.error = ocr.error();
                    return out;
                }
                out.error = ocr.error();
                break;
            }
            text = *read;
            ++ocrPages;
        }
        chars += text.size();
        pages << text;
    }
    out.text = pages.join(QLatin1Char('\n'));
    if (ocrPages == 0)
        out.method = QString::fromLatin1(MethodPdf);
    else
        out.method = QString::fromLatin1(textPages == 0 ? MethodOcr : MethodPdfOcr);
    return out;
}

} // namespace korvena::content
