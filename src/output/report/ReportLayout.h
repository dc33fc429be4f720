#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <functional>

class Dataset;

// A banded page report described as data: a page, a page header, a detail band
// per row and a page footer, each holding elements positioned in millimetres
// from the top-left corner of their band. Fonts are in points.

enum class ElementKind
{
    Text,       // a fixed caption
    Field,      // the display text of one column of the current row
    PageNumber, // "oldal: " and the running number
    PrintTime,  // when the report was produced
    Title,      // the report's title
    RuleBox,    // lines along the top and bottom of the rectangle, no sides
    DottedLine, // along the top of the rectangle
    Image,      // centred in its box, never stretched
    Ean8,       // the field's seven digits with their check digit, no digits printed
};

// Where an element sticks to in its band, whatever its stored left.
enum class BandAlign
{
    None,
    Left,
    Right,
    Centre,
};

// Which row set a field reads.
enum class FieldSource
{
    Data,       // the report's data source, current row
    Letterhead, // the second row set, its first row
};

struct ReportElement
{
    QString name; // for the hooks; the field's name when empty
    ElementKind kind = ElementKind::Text;
    QRectF rect;  // mm; a height of 0 is one line of the font, a width of 0 with autoSize grows
    QString text; // caption of a Text
    QString field;
    FieldSource source = FieldSource::Data;
    QFont font;
    Qt::Alignment textAlign = Qt::AlignLeft;
    bool autoSize = false;
    bool wordWrap = false;
    BandAlign bandAlign = BandAlign::None;
    QColor color = Qt::black;
    bool enabled = true;
    QImage image;

    // Chained set-up of the layouts.
    ReportElement &named(const QString &n)
    {
        name = n;
        return *this;
    }
    ReportElement &height(double mm)
    {
        rect.setHeight(mm);
        return *this;
    }
    ReportElement &wrapped(double mm)
    {
        wordWrap = true;
        rect.setHeight(mm);
        return *this;
    }
    ReportElement &aligned(BandAlign a)
    {
        bandAlign = a;
        return *this;
    }
    ReportElement &centred()
    {
        textAlign = Qt::AlignHCenter;
        return *this;
    }
    ReportElement &rightAligned()
    {
        textAlign = Qt::AlignRight;
        return *this;
    }
    ReportElement &coloured(const QColor &c)
    {
        color = c;
        return *this;
    }
    ReportElement &fromLetterhead()
    {
        source = FieldSource::Letterhead;
        return *this;
    }
    QString key() const { return name.isEmpty() ? field : name; }
};

QFont reportFont(const QString &family, double points, bool bold = false, bool italic = false,
                 bool underline = false);

// Width 0 makes the element auto-sized.
ReportElement textElement(double left, double top, double width, const QString &caption, const QFont &font);
ReportElement fieldElement(const QString &field, double left, double top, double width, const QFont &font);
ReportElement kindElement(ElementKind kind, double left, double top, double width, const QFont &font);
ReportElement ruleBox(double left, double top, double width, double height);
ReportElement dottedLine(double left, double top, double width, const QColor &color);
ReportElement imageElement(const QImage &image, double left, double top, double width, double height);
ReportElement ean8Element(const QString &field, double left, double top, double width, double height);

enum class BandRule
{
    None,
    Top,
    Bottom,
};

struct ReportBand
{
    double height = 0; // mm; a band of 0 is not printed
    QList<ReportElement> elements;
    BandRule rule = BandRule::None;
    QColor ruleColor = Qt::black;

    // The element whose name (or field) is the key; nullptr when there is none.
    ReportElement *find(QStringView key);
    const ReportElement *find(QStringView key) const;
    void add(const ReportElement &element) { elements.append(element); }
};

struct ReportLayout
{
    QString name;           // the report's object name, e.g. qrLista
    QString title;          // the report title property, printed by Title elements
    QSizeF paper{210, 297}; // mm, as the paper is defined
    // Prints on whatever paper the printer is set to instead of paper (a pre-printed form
    // fed as it comes); paper then only stands in where no printer is at hand.
    bool printerPaper = false;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins{10, 10, 10, 10};

    ReportBand header; // on every page
    ReportBand detail; // once per row of the data source
    ReportBand footer; // at the bottom of every page
    // Detail bands fill this many columns of equal width, each from top to bottom
    // before the next; 1 is the plain list.
    int columns = 1;

    // Runs before a detail band is measured or printed for a row, on the band itself
    // (it keeps what the hook changed, so a hook sets what it changes every time).
    std::function<void(ReportBand &detail, const Dataset &data, int row)> beforeDetail;
    // Runs before the header and the footer of every page, with the page's first row (-1: none).
    std::function<void(ReportBand &band, const Dataset &data, int row)> beforePageBand;

    QPageLayout pageLayout() const;
    // The page layout on a device whose paper is devicePaper: the layout's own paper,
    // or the device's when the layout prints on the printer's paper.
    QPageLayout pageLayout(const QPageSize &devicePaper) const;
    // The usable area in mm: the page inside the margins.
    QSizeF usableSize() const;
};
