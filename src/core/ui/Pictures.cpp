#include "core/ui/Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor ink(22, 63, 110);
const QColor accent(196, 58, 49);
const QColor paper(252, 250, 244);

void drawName(QPainter &p, const QRectF &area, int pixelSize)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(true);
    p.setFont(f);
    p.setPen(ink);
    p.drawText(area, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Korvena"));
    f.setBold(false);
    f.setPixelSize(pixelSize * 45 / 100);
    p.setFont(f);
    p.setPen(accent);
    p.drawText(area.adjusted(0, pixelSize * 1.15, 0, 0), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("iktatás"));
}

} // namespace

namespace Pictures {

QPixmap logo(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 512.0, size / 512.0);

    // three sheets, fanned
    for (int i = 2; i >= 0; --i) {
        p.save();
        p.translate(256, 210);
        p.rotate(-8.0 * i);
        QRectF sheet(-120, -150, 240, 300);
        p.setPen(QPen(ink, 4));
        p.setBrush(i == 0 ? paper : paper.darker(100 + 6 * i));
        p.drawRoundedRect(sheet, 10, 10);
        if (i == 0) {
            p.setPen(QPen(ink.lighter(160), 6, Qt::SolidLine, Qt::RoundCap));
            for (int line = 0; line < 6; ++line)
                p.drawLine(QPointF(-90, -80 + line * 34), QPointF(line == 5 ? 20 : 90, -80 + line * 34));
            // the registration stamp
            p.setPen(QPen(accent, 7));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(-52, -118), 34, 22);
            p.setPen(QPen(accent, 5, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(-70, -118), QPointF(-34, -118));
        }
        p.restore();
    }
    drawName(p, QRectF(0, 382, 512, 130), 74);
    return pm;
}

QPixmap seasonalLogo(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 300.0, size / 300.0);
    const QColor green(32, 110, 62);
    for (int tier = 0; tier < 3; ++tier) {
        QPainterPath tri;
        const double top = 20 + tier * 45, half = 45 + tier * 22, base = top + 75;
        tri.moveTo(150, top);
        tri.lineTo(150 + half, base);
        tri.lineTo(150 - half, base);
        tri.closeSubpath();
        p.fillPath(tri, green.lighter(100 + 12 * tier));
    }
    p.fillRect(QRectF(138, 185, 24, 28), QColor(110, 70, 40));
    p.setBrush(QColor(240, 200, 60));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(150, 20), 10, 10);
    p.setBrush(accent);
    for (const QPointF &b : {QPointF(128, 80), QPointF(178, 118), QPointF(118, 160), QPointF(190, 172)})
        p.drawEllipse(b, 7, 7);
    drawName(p, QRectF(0, 218, 300, 82), 46);
    return pm;
}

QPixmap databaseIcon(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);
    QLinearGradient g(6, 0, 42, 0);
    g.setColorAt(0, ink.lighter(130));
    g.setColorAt(1, ink);
    p.setPen(QPen(ink.darker(130), 1.5));
    p.setBrush(g);
    p.drawRect(QRectF(8, 12, 32, 26));
    p.drawEllipse(QRectF(8, 32, 32, 12));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(8.75, 12, 30.5, 27));
    p.setPen(QPen(ink.darker(130), 1.5));
    p.setBrush(ink.lighter(170));
    p.drawEllipse(QRectF(8, 6, 32, 12));
    return pm;
}

} // namespace Pictures
