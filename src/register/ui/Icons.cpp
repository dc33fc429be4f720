#include "register/ui/Icons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>

namespace {

using Glyph = std::function<void(QPainter &)>;

const QColor ink(34, 52, 84);
const QColor paper(252, 251, 246);
const QColor blue(52, 120, 200);
const QColor red(200, 56, 48);
const QColor green(46, 140, 74);
const QColor amber(232, 170, 40);
const QColor grey(150, 156, 166);

QPen outline(qreal width = 2.0)
{
    return QPen(ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPixmap render(const Glyph &glyph, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    glyph(p);
    return pm;
}

QIcon iconOf(const Glyph &glyph)
{
    QIcon icon;
    for (int size : {16, 24, 32})
        icon.addPixmap(render(glyph, size));
    return icon;
}

void sheet(QPainter &p, const QRectF &r = QRectF(7, 3, 18, 26))
{
    QPainterPath path;
    const qreal fold = 6;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(outline());
    p.setBrush(paper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void textLines(QPainter &p, qreal left, qreal top, qreal width, int count)
{
    p.setPen(QPen(grey, 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < count; ++i)
        p.drawLine(QPointF(left, top + i * 4),
                   QPointF(left + (i == count - 1 ? width * 0.6 : width), top + i * 4));
}

void badge(QPainter &p, const QColor &colour, const QPointF &centre, const std::function<void()> &mark)
{
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(colour);
    p.drawEllipse(centre, 7, 7);
    p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    mark();
}

void bell(QPainter &p)
{
    QPainterPath path;
    path.moveTo(8, 23);
    path.cubicTo(10, 20, 9, 14, 10, 11);
    path.cubicTo(11, 6, 21, 6, 22, 11);
    path.cubicTo(23, 14, 22, 20, 24, 23);
    path.closeSubpath();
    p.setPen(outline());
    p.setBrush(amber);
    p.drawPath(path);
    p.drawLine(QPointF(6, 23), QPointF(26, 23));
    p.setBrush(ink);
    p.drawEllipse(QPointF(16, 26), 2.5, 2.5);
    p.drawLine(QPointF(16, 4), QPointF(16, 6.5));
}

void printer(QPainter &p)
{
    p.setPen(outline());
    p.setBrush(paper);
    p.drawRect(QRectF(10, 4, 12, 9));
    p.setBrush(QColor(120, 130, 148));
    p.drawRoundedRect(QRectF(4, 12, 24, 11), 2, 2);
    p.setBrush(paper);
    p.drawRect(QRectF(9, 19, 14, 9));
    textLines(p, 12, 22.5, 8, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(green);
    p.drawEllipse(QPointF(24, 15.5), 1.5, 1.5);
}

void lentOut(QPainter &p)
{
    // a folder with an arrow leaving it
    p.setPen(outline());
    p.setBrush(amber.lighter(130));
    QPainterPath folder;
    folder.moveTo(3, 9);
    folder.lineTo(11, 9);
    folder.lineTo(13, 12);
    folder.lineTo(22, 12);
    folder.lineTo(22, 27);
    folder.lineTo(3, 27);
    folder.closeSubpath();
    p.drawPath(folder);
    p.setPen(QPen(red, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(12, 19), QPointF(28, 19));
    p.drawLine(QPointF(23, 14), QPointF(28, 19));
    p.drawLine(QPointF(23, 24), QPointF(28, 19));
}

void takeBack(QPainter &p)
{
    p.setPen(outline());
    p.setBrush(amber.lighter(130));
    QPainterPath folder;
    folder.moveTo(10, 9);
    folder.lineTo(18, 9);
    folder.lineTo(20, 12);
    folder.lineTo(29, 12);
    folder.lineTo(29, 27);
    folder.lineTo(10, 27);
    folder.closeSubpath();
    p.drawPath(folder);
    p.setPen(QPen(green, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(3, 19), QPointF(20, 19));
    p.drawLine(QPointF(15, 14), QPointF(20, 19));
    p.drawLine(QPointF(15, 24), QPointF(20, 19));
}

void refresh(QPainter &p)
{
    p.setPen(QPen(blue, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 6, 20, 20), 100 * 16, 290 * 16);
    QPainterPath head;
    head.moveTo(13, 2);
    head.lineTo(20, 6.5);
    head.lineTo(13, 11);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    p.drawPath(head);
}

void letterA(QPainter &p, bool larger)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(larger ? 22 : 16);
    p.setFont(f);
    p.setPen(ink);
    p.drawText(QRectF(1, larger ? 6 : 10, 20, 24), Qt::AlignCenter, QStringLiteral("A"));
    p.setPen(QPen(larger ? green : red, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(21, 9), QPointF(29, 9));
    if (larger)
        p.drawLine(QPointF(25, 5), QPointF(25, 13));
}

void gear(QPainter &p)
{
    p.setPen(outline());
    p.setBrush(QColor(170, 178, 190));
    QPainterPath path;
    for (int i = 0; i < 16; ++i) {
        const qreal angle = i * 22.5 * M_PI / 180.0;
        const qreal r = (i % 2 == 0) ? 13 : 9.5;
        const QPointF pt(16 + r * std::cos(angle), 16 + r * std::sin(angle));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    p.drawPath(path);
    p.setBrush(paper);
    p.drawEllipse(QPointF(16, 16), 4, 4);
}

void person(QPainter &p, const QColor &colour = blue)
{
    p.setPen(outline());
    p.setBrush(colour.lighter(140));
    p.drawEllipse(QPointF(16, 10), 6, 6);
    QPainterPath body;
    body.moveTo(5, 29);
    body.cubicTo(5, 19, 27, 19, 27, 29);
    body.closeSubpath();
    p.setBrush(colour);
    p.drawPath(body);
}

void database(QPainter &p)
{
    p.setPen(outline());
    p.setBrush(QColor(120, 170, 220));
    p.drawRect(QRectF(6, 8, 20, 17));
    p.drawEllipse(QRectF(6, 21, 20, 8));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(7, 9, 18, 16));
    p.setPen(outline());
    p.setBrush(QColor(170, 205, 240));
    p.drawEllipse(QRectF(6, 4, 20, 8));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 12, 20, 8), 180 * 16, 180 * 16);
}

void sqlGlyph(QPainter &p)
{
    database(p);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(8);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(6, 15, 20, 10), Qt::AlignCenter, QStringLiteral("SQL"));
}

void help(QPainter &p)
{
    p.setPen(outline());
    p.setBrush(blue);
    p.drawEllipse(QPointF(16, 16), 13, 13);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(20);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("?"));
}

void home(QPainter &p)
{
    p.setPen(outline());
    p.setBrush(paper);
    p.drawRect(QRectF(7, 15, 18, 13));
    QPainterPath roof;
    roof.moveTo(3, 16);
    roof.lineTo(16, 4);
    roof.lineTo(29, 16);
    roof.closeSubpath();
    p.setBrush(red);
    p.drawPath(roof);
    p.setBrush(blue);
    p.drawRect(QRectF(13.5, 20, 5, 8));
}

void envelope(QPainter &p, const QColor &fill = paper)
{
    p.setPen(outline());
    p.setBrush(fill);
    p.drawRect(QRectF(3, 8, 26, 18));
    p.drawLine(QPointF(3, 8), QPointF(16, 18));
    p.drawLine(QPointF(29, 8), QPointF(16, 18));
}

void registered(QPainter &p)
{
    envelope(p);
    badge(p, red, QPointF(24, 23), [&p] {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setBold(true);
        f.setPixelSize(10);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(17, 16, 14, 14), Qt::AlignCenter, QStringLiteral("R"));
    });
}

void closeDoor(QPainter &p)
{
    p.setPen(outline());
    p.setBrush(QColor(176, 124, 78));
    p.drawRect(QRectF(6, 3, 14, 26));
    p.setBrush(ink);
    p.drawEllipse(QPointF(17, 17), 1.2, 1.2);
    p.setPen(QPen(red, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(20, 16), QPointF(29, 16));
    p.drawLine(QPointF(25, 12), QPointF(29, 16));
    p.drawLine(QPointF(25, 20), QPointF(29, 16));
}

void funnel(QPainter &p)
{
    QPainterPath path;
    path.moveTo(3, 5);
    path.lineTo(29, 5);
    path.lineTo(19, 17);
    path.lineTo(19, 27);
    path.lineTo(13, 24);
    path.lineTo(13, 17);
    path.closeSubpath();
    p.setPen(outline());
    p.setBrush(blue.lighter(130));
    p.drawPath(path);
}

void newDocument(QPainter &p)
{
    sheet(p, QRectF(4, 3, 18, 25));
    textLines(p, 8, 13, 9, 3);
    badge(p, green, QPointF(23, 23), [&p] {
        p.drawLine(QPointF(19.5, 23), QPointF(26.5, 23));
        p.drawLine(QPointF(23, 19.5), QPointF(23, 26.5));
    });
}

void pencilOver(QPainter &p)
{
    p.save();
    p.translate(21, 17);
    p.rotate(45);
    p.setPen(outline(1.5));
    p.setBrush(amber);
    p.drawRect(QRectF(-3, -12, 6, 18));
    QPainterPath tip;
    tip.moveTo(-3, 6);
    tip.lineTo(3, 6);
    tip.lineTo(0, 11);
    tip.closeSubpath();
    p.setBrush(paper);
    p.drawPath(tip);
    p.setBrush(red);
    p.drawRect(QRectF(-3, -14, 6, 3));
    p.restore();
}

void editDocument(QPainter &p)
{
    sheet(p, QRectF(4, 3, 18, 25));
    textLines(p, 8, 13, 9, 3);
    pencilOver(p);
}

void deleteDocument(QPainter &p)
{
    sheet(p, QRectF(4, 3, 18, 25));
    textLines(p, 8, 13, 9, 3);
    badge(p, red, QPointF(23, 23), [&p] {
        p.drawLine(QPointF(20.5, 20.5), QPointF(25.5, 25.5));
        p.drawLine(QPointF(25.5, 20.5), QPointF(20.5, 25.5));
    });
}

void checkMark(QPainter &p)
{
    p.setPen(outline());
    p.setBrush(paper);
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 3, 3);
    p.setPen(QPen(green, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(9, 16), QPointF(14, 22));
    p.drawLine(QPointF(14, 22), QPointF(24, 9));
}

void flag(QPainter &p)
{
    p.setPen(outline());
    p.drawLine(QPointF(7, 4), QPointF(7, 29));
    QPainterPath cloth;
    cloth.moveTo(8, 5);
    cloth.cubicTo(13, 2, 18, 8, 26, 5);
    cloth.lineTo(26, 17);
    cloth.cubicTo(18, 20, 13, 14, 8, 17);
    cloth.closeSubpath();
    p.setBrush(green);
    p.drawPath(cloth);
}

void journal(QPainter &p)
{
    p.setPen(outline());
    p.setBrush(QColor(90, 110, 160));
    p.drawRoundedRect(QRectF(6, 3, 20, 26), 2, 2);
    p.setBrush(paper);
    p.drawRect(QRectF(10, 7, 12, 6));
    p.setPen(QPen(paper, 2));
    p.drawLine(QPointF(9, 3.5), QPointF(9, 28.5));
}

void paperclip(QPainter &p)
{
    p.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath clip;
    clip.moveTo(20, 10);
    clip.lineTo(20, 24);
    clip.arcTo(QRectF(12, 20, 8, 8), 0, -180);
    clip.lineTo(12, 7);
    clip.arcTo(QRectF(12, 2, 10, 10), 180, -180);
    clip.lineTo(22, 22);
    p.drawPath(clip);
}

void spreadsheet(QPainter &p)
{
    p.setPen(outline());
    p.setBrush(paper);
    p.drawRect(QRectF(4, 5, 24, 22));
    p.setBrush(green);
    p.drawRect(QRectF(4, 5, 24, 6));
    p.setPen(QPen(ink, 1.2));
    for (qreal y : {16.0, 21.5})
        p.drawLine(QPointF(4, y), QPointF(28, y));
    for (qreal x : {12.0, 20.0})
        p.drawLine(QPointF(x, 11), QPointF(x, 27));
}

void html(QPainter &p)
{
    p.setPen(outline());
    p.setBrush(paper);
    p.drawRoundedRect(QRectF(3, 5, 26, 22), 2, 2);
    p.setPen(QPen(blue, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(12, 11), QPointF(7, 16), QPointF(12, 21)}));
    p.drawPolyline(QPolygonF({QPointF(20, 11), QPointF(25, 16), QPointF(20, 21)}));
    p.drawLine(QPointF(17.5, 10), QPointF(14.5, 22));
}

void barcode(QPainter &p)
{
    p.setPen(outline(1.5));
    p.setBrush(paper);
    p.drawRect(QRectF(3, 6, 26, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    const qreal bars[][2] = {{6, 1.5},  {8.5, 1}, {10.5, 2}, {14, 1},
                             {16, 1.5}, {19, 2},  {22.5, 1}, {24.5, 1.5}};
    for (const auto &bar : bars)
        p.drawRect(QRectF(bar[0], 9, bar[1], 14));
}

void copyGlyph(QPainter &p)
{
    sheet(p, QRectF(4, 2, 16, 21));
    sheet(p, QRectF(12, 9, 16, 21));
    textLines(p, 15, 18, 9, 3);
}

void eye(QPainter &p)
{
    QPainterPath shape;
    shape.moveTo(2, 16);
    shape.cubicTo(9, 6, 23, 6, 30, 16);
    shape.cubicTo(23, 26, 9, 26, 2, 16);
    p.setPen(outline());
    p.setBrush(paper);
    p.drawPath(shape);
    p.setBrush(blue);
    p.drawEllipse(QPointF(16, 16), 5, 5);
    p.setBrush(ink);
    p.drawEllipse(QPointF(16, 16), 2, 2);
}

void listGlyph(QPainter &p, const QColor &colour)
{
    sheet(p, QRectF(5, 3, 20, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QPointF(10, 11 + i * 4.5), 1.3, 1.3);
    textLines(p, 13, 11, 8, 4);
}

QColor statusColour(int status)
{
    static const QColor colours[10] = {
        QColor(150, 156, 166), QColor(52, 120, 200), QColor(46, 140, 74),  QColor(232, 170, 40),
        QColor(200, 56, 48),   QColor(128, 78, 170), QColor(24, 150, 160), QColor(226, 110, 40),
        QColor(200, 70, 140),  QColor(92, 70, 48),
    };
    return colours[status];
}

void statusDisc(QPainter &p, int status)
{
    p.setPen(QPen(ink, 1.5));
    p.setBrush(statusColour(status));
    p.drawEllipse(QPointF(16, 16), 14, 14);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(20);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(2, 2, 28, 28), Qt::AlignCenter, QString::number(status));
}

const QHash<QString, Glyph> &glyphs()
{
    static const QHash<QString, Glyph> table = {
        {QStringLiteral("aFrissit"), refresh},
        {QStringLiteral("aBetuNovel"), [](QPainter &p) { letterA(p, true); }},
        {QStringLiteral("aBetuCsokkent"), [](QPainter &p) { letterA(p, false); }},
        {QStringLiteral("aBeallit"), gear},
        {QStringLiteral("aFelhasznalo"), [](QPainter &p) { person(p); }},
        {QStringLiteral("aUgyfel"), [](QPainter &p) { person(p, green); }},
        {QStringLiteral("aSQL"), sqlGlyph},
        {QStringLiteral("aAdatbazisok"), database},
        {QStringLiteral("aSugo"), help},
        {QStringLiteral("aHonlap"), home},
        {QStringLiteral("aLevel"), [](QPainter &p) { envelope(p); }},
        {QStringLiteral("aBezar"), closeDoor},
        {QStringLiteral("Szures"), funnel},
        {QStringLiteral("aUj"), newDocument},
        {QStringLiteral("aSzerkeszt"), editDocument},
        {QStringLiteral("aTorol"), deleteDocument},
        {QStringLiteral("aKiad"), lentOut},
        {QStringLiteral("aVisszavesz"), takeBack},
        {QStringLiteral("aFigyelmeztet"), bell},
        {QStringLiteral("aFigyuLista"), bell},
        {QStringLiteral("Jelol"), checkMark},
        {QStringLiteral("aNyomniJelol"), checkMark},
        {QStringLiteral("Nyomtat"), printer},
        {QStringLiteral("aNyomtat"), printer},
        {QStringLiteral("Statusz"), flag},
        {QStringLiteral("aStatusz"), flag},
        {QStringLiteral("aIktNaplo"), journal},
        {QStringLiteral("aCsatol"), paperclip},
        {QStringLiteral("aExcel"), spreadsheet},
        {QStringLiteral("aHtml"), html},
        {QStringLiteral("aBoritek"), [](QPainter &p) { envelope(p, amber.lighter(150)); }},
        {QStringLiteral("aAjanlott"), registered},
        {QStringLiteral("aVKod"), barcode},
        {QStringLiteral("aMasol"), copyGlyph},
        {QStringLiteral("aVagolapra"), copyGlyph},
        {QStringLiteral("aMegnez"), eye},
        {QStringLiteral("aNyomReszletes"), [](QPainter &p) { listGlyph(p, blue); }},
        {QStringLiteral("aNyomAtvevo"), [](QPainter &p) { listGlyph(p, green); }},
        {QStringLiteral("aKiadott"), [](QPainter &p) { listGlyph(p, red); }},
    };
    return table;
}

} // namespace

namespace Icons {

QIcon action(const QString &name)
{
    static QHash<QString, QIcon> cache;
    auto it = cache.constFind(name);
    if (it != cache.cend())
        return *it;
    QIcon icon;
    if (name.startsWith(QLatin1String("aStatusz")) && name.size() == 9 && name.back().isDigit())
        icon = statusIcon(name.back().digitValue());
    else if (const auto g = glyphs().constFind(name); g != glyphs().cend())
        icon = iconOf(*g);
    cache.insert(name, icon);
    return icon;
}

// Markers are asked for by every painted row: each is drawn once.
QPixmap reminderMarker()
{
    static const QPixmap pm = render(bell, 16);
    return pm;
}

QPixmap printMarker()
{
    static const QPixmap pm = render(printer, 16);
    return pm;
}

QPixmap lentOutMarker()
{
    static const QPixmap pm = render(lentOut, 16);
    return pm;
}

QPixmap placeholder()
{
    static const QPixmap pm = render([](QPainter &) {}, 16);
    return pm;
}

QPixmap statusMarker(int status)
{
    if (status < 0 || status > 9)
        return placeholder();
    static QPixmap drawn[10];
    if (drawn[status].isNull())
        drawn[status] = render([status](QPainter &p) { statusDisc(p, status); }, 16);
    return drawn[status];
}

QIcon statusIcon(int status)
{
    if (status < 0 || status > 9)
        return QIcon();
    return iconOf([status](QPainter &p) { statusDisc(p, status); });
}

} // namespace Icons
