#include "masterdata/ui/MasterPictures.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor ink(22, 63, 110);
const QColor accent(196, 58, 49);
const QColor paper(252, 250, 244);
const QColor green(32, 130, 62);

QPixmap blank(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    return pm;
}

void drawCard(QPainter &p)
{
    p.setPen(QPen(ink, 3));
    p.setBrush(paper);
    p.drawRoundedRect(QRectF(6, 20, 84, 56), 6, 6);
    // the person
    p.setBrush(ink.lighter(170));
    p.drawEllipse(QPointF(28, 40), 8, 8);
    QPainterPath body;
    body.moveTo(14, 66);
    body.quadTo(28, 46, 42, 66);
    body.closeSubpath();
    p.drawPath(body);
    p.setPen(QPen(ink.lighter(150), 3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(50, 36 + i * 12), QPointF(i == 2 ? 70 : 82, 36 + i * 12));
}

void drawEnvelope(QPainter &p)
{
    p.setPen(QPen(ink, 3));
    p.setBrush(paper);
    p.drawRect(QRectF(8, 24, 80, 50));
    p.drawPolyline(QPolygonF({QPointF(8, 24), QPointF(48, 54), QPointF(88, 24)}));
    p.setBrush(accent);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(70, 30, 12, 10));
}

void drawBuilding(QPainter &p)
{
    p.setPen(QPen(ink, 3));
    p.setBrush(paper);
    p.drawRect(QRectF(22, 20, 52, 66));
    QPainterPath roof;
    roof.moveTo(16, 22);
    roof.lineTo(48, 6);
    roof.lineTo(80, 22);
    roof.closeSubpath();
    p.setBrush(accent);
    p.drawPath(roof);
    p.setBrush(ink.lighter(170));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRect(QRectF(29 + col * 15, 28 + row * 15, 9, 9));
    p.setBrush(ink);
    p.drawRect(QRectF(42, 72, 12, 14));
}

} // namespace

namespace MasterPictures {

QPixmap flagOn(int size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    p.setPen(QPen(green, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
    return pm;
}

QPixmap flagOff(int size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    p.setPen(QPen(QColor(150, 150, 150), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(3.5, 3.5, 9, 9), 1.5, 1.5);
    return pm;
}

QPixmap clientPicture(int index, int size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 96.0, size / 96.0);
    switch (index) {
    case 1:
        drawEnvelope(p);
        break;
    case 2:
        drawBuilding(p);
        break;
    default:
        drawCard(p);
        break;
    }
    return pm;
}

} // namespace MasterPictures
