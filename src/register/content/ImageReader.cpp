#include "register/content/Ocr.h"
#include "register/content/Readers.h"

#include <leptonica/allheaders.h>

namespace korvena::content {

namespace {

// An A3 sheet at 600 dpi is 70 million; more is no letter and would only eat memory.
constexpr double MaxPixels = 100e6;
constexpr int MaxPages = 1000;

struct PixDeleter
{
    void operator()(Pix *pix) const { pixDestroy(&pix); }
};
using PixPtr = std::unique_ptr<Pix, PixDeleter>;

// Tesseract takes 1, 8 or 32 bits a pixel without a colour map.
PixPtr readable(PixPtr pix)
{
    if (!pix)
        return pix;
    if (pixGetColormap(pix.get()))
        pix.reset(pixRemoveColormap(pix.get(), REMOVE_CMAP_BASED_ON_SRC));
    if (pix && pixGetDepth(pix.get()) != 1 && pixGetDepth(pix.get()) != 8 && pixGetDepth(pix.get()) != 32)
        pix.reset(pixConvertTo8(pix.get(), 0));
    return pix;
}

} // namespace

ExtractedText readImage(const QByteArray &bytes, const std::atomic_bool *stop)
{
    Ocr::quietLibraries();
    ExtractedText out;
    out.method = QString::fromLatin1(MethodNone);
    const auto *data = reinterpret_cast<const l_uint8 *>(bytes.constData());
    const size_t size = size_t(bytes.size());
    l_int32 format = 0, width = 0, height = 0, bps = 0, spp = 0, colormap = 0;
    if (pixReadHeaderMem(data, size, &format, &width, &height, &bps, &spp, &colormap) != 0 || width <= 0 ||
        height <= 0) {
        out.error = QStringLiteral("A kép sérült, nem olvasható.");
        return out;
    }
    if (double(width) * height > MaxPixels) {
        out.error = QStringLiteral("A kép túl nagy a szöveg olvasásához.");
        return out;
    }

    Ocr ocr(stop);
    QStringList pages;
    const bool tiff = L_FORMAT_IS_TIFF(format);
    size_t offset = 0;
    for (int page = 0; page < MaxPages; ++page) {
        PixPtr pix(tiff ? pixReadMemFromMultipageTiff(data, size, &offset) : pixReadMem(data, size));
        if (!pix) {
            if (page == 0) {
                out.error = QStringLiteral("A kép sérült, nem olvasható.");
                return out;
            }
            break;
        }
        if (double(pixGetWidth(pix.get())) * pixGetHeight(pix.get()) > MaxPixels)
            break;
        pix = readable(std::move(pix));
        if (!pix)
            break;
        const std::optional<QString> text = ocr.read(pix.get());
        if (!text) {
            out.error = ocr.error();
            return out;
        }
        pages << *text;
        if (!tiff || offset == 0)
            break;
    }
    out.text = pages.join(QLatin1Char('\n'));
    out.method = QString::fromLatin1(MethodOcr);
    return out;
}

} // namespace korvena::content
