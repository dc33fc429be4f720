#include "output/report/Ean8.h"

#include <zint.h>

#include <memory>

namespace {

bool isSevenDigits(const QString &text)
{
    if (text.size() != 7)
        return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

int Ean8CheckDigit(const QString &sevenDigits)
{
    if (!isSevenDigits(sevenDigits))
        return -1;
    // Weights 3 and 1 from the left for an odd count of digits.
    int sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += sevenDigits[i].digitValue() * (i % 2 == 0 ? 3 : 1);
    return (10 - sum % 10) % 10;
}

QList<QRectF> Ean8Bars(const QString &sevenDigits)
{
    if (!isSevenDigits(sevenDigits))
        return {};
    std::unique_ptr<zint_symbol, void (*)(zint_symbol *)> symbol(ZBarcode_Create(), ZBarcode_Delete);
    if (!symbol)
        return {};
    symbol->symbology = BARCODE_EANX;
    symbol->show_hrt = 0;
    symbol->guard_descent = 0;
    const QByteArray data = sevenDigits.toLatin1();
    if (ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char *>(data.constData()),
                        int(data.size())) >= ZINT_ERROR)
        return {};
    if (ZBarcode_Buffer_Vector(symbol.get(), 0) >= ZINT_ERROR || !symbol->vector)
        return {};
    // The bars span the symbol's own width; quiet zones are the label's business.
    double left = 1e9, right = -1e9;
    for (const zint_vector_rect *r = symbol->vector->rectangles; r; r = r->next) {
        left = qMin(left, double(r->x));
        right = qMax(right, double(r->x + r->width));
    }
    QList<QRectF> bars;
    if (right <= left)
        return bars;
    const double span = right - left;
    for (const zint_vector_rect *r = symbol->vector->rectangles; r; r = r->next)
        bars.append(QRectF((r->x - left) / span, 0, r->width / span, 1));
    return bars;
}
