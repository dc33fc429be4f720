#include "output/report/ReportLayout.h"

QFont reportFont(const QString &family, double points, bool bold, bool italic, bool underline)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

ReportElement textElement(double left, double top, double width, const QString &caption, const QFont &font)
{
    ReportElement e;
    e.kind = ElementKind::Text;
    e.rect = QRectF(left, top, width, 0);
    e.text = caption;
    e.font = font;
    e.autoSize = width <= 0;
    return e;
}

ReportElement fieldElement(const QString &field, double left, double top, double width, const QFont &font)
{
    ReportElement e = textElement(left, top, width, QString(), font);
    e.kind = ElementKind::Field;
    e.field = field;
    return e;
}

ReportElement kindElement(ElementKind kind, double left, double top, double width, const QFont &font)
{
    ReportElement e = textElement(left, top, width, QString(), font);
    e.kind = kind;
    return e;
}

ReportElement ruleBox(double left, double top, double width, double height)
{
    ReportElement e;
    e.kind = ElementKind::RuleBox;
    e.rect = QRectF(left, top, width, height);
    return e;
}

ReportElement dottedLine(double left, double top, double width, const QColor &color)
{
    ReportElement e;
    e.kind = ElementKind::DottedLine;
    e.rect = QRectF(left, top, width, 0);
    e.color = color;
    return e;
}

ReportElement imageElement(const QImage &image, double left, double top, double width, double height)
{
    ReportElement e;
    e.kind = ElementKind::Image;
    e.rect = QRectF(left, top, width, height);
    e.image = image;
    return e;
}

ReportElement ean8Element(const QString &field, double left, double top, double width, double height)
{
    ReportElement e;
    e.kind = ElementKind::Ean8;
    e.field = field;
    e.rect = QRectF(left, top, width, height);
    return e;
}

ReportElement *ReportBand::find(QStringView key)
{
    for (ReportElement &e : elements)
        if (e.key() == key)
            return &e;
    return nullptr;
}

const ReportElement *ReportBand::find(QStringView key) const
{
    return const_cast<ReportBand *>(this)->find(key);
}

QPageLayout ReportLayout::pageLayout() const
{
    // Envelopes define their paper as it is fed, so no standard size may stand in for it.
    const QPageSize size(paper, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    return QPageLayout(size, orientation, margins, QPageLayout::Millimeter);
}

QPageLayout ReportLayout::pageLayout(const QPageSize &devicePaper) const
{
    if (!printerPaper || !devicePaper.isValid())
        return pageLayout();
    return QPageLayout(devicePaper, orientation, margins, QPageLayout::Millimeter);
}

QSizeF ReportLayout::usableSize() const
{
    QSizeF page = orientation == QPageLayout::Landscape ? paper.transposed() : paper;
    return QSizeF(page.width() - margins.left() - margins.right(),
                  page.height() - margins.top() - margins.bottom());
}
