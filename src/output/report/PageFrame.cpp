#include "output/report/PageFrame.h"

#include "core/ErrorReport.h"

#include <QUrl>

namespace {

QString webAddressText()
{
    const QString host = QUrl(vendorBaseUrl()).host();
    return host.isEmpty() ? vendorBaseUrl() : host;
}

} // namespace

QFont listFont(double points, bool bold, bool italic)
{
    return reportFont(QStringLiteral("Segoe UI"), points, bold, italic);
}

void applyPageFrame(ReportLayout &layout, const PageFrame &frame)
{
    ReportBand &h = layout.header;
    h.height = frame.headerHeight;
    h.rule = BandRule::Bottom;
    h.ruleColor = frame.ruleColor;
    h.add(ruleBox(0, 0, frame.boxWidth, frame.boxHeight).coloured(frame.ruleColor));
    h.add(ruleBox(frame.rightBoxLeft, 0, frame.boxWidth, frame.boxHeight).coloured(frame.ruleColor));
    h.add(textElement(0, frame.headingTop, 0, frame.heading, listFont(16, true))
              .named(QStringLiteral("heading")));
    if (frame.connectionTop >= 0)
        h.add(textElement(0, frame.connectionTop, 0, frame.connectionName, listFont(9, true))
                  .named(QStringLiteral("connection")));
    h.add(fieldElement(QStringLiteral("tulajdonos"), 0, frame.letterheadTops[0], 0, listFont(10, true))
              .fromLetterhead()
              .aligned(BandAlign::Right));
    h.add(fieldElement(QStringLiteral("irszvaros"), 0, frame.letterheadTops[1], 0, listFont(10))
              .fromLetterhead()
              .aligned(BandAlign::Right));
    h.add(fieldElement(QStringLiteral("telefon"), 0, frame.letterheadTops[2], 0, listFont(10))
              .fromLetterhead()
              .aligned(BandAlign::Right));

    ReportBand &f = layout.footer;
    f.height = 14.6;
    f.rule = BandRule::Top;
    f.ruleColor = frame.footerRule;
    const QFont small = reportFont(QStringLiteral("Courier New"), 6);
    f.add(textElement(0, 1.3, 0, frame.product, small).aligned(BandAlign::Left));
    f.add(kindElement(ElementKind::PageNumber, 0, 6.6, 0, small).aligned(BandAlign::Left));
    f.add(textElement(0, 6.6, 0, webAddressText(), small).aligned(BandAlign::Centre));
    f.add(kindElement(ElementKind::PrintTime, 0, 1.3, 0, small).aligned(BandAlign::Right));
    f.add(kindElement(ElementKind::Title, 0, 4.0, 0, small).aligned(BandAlign::Right));
    f.add(textElement(0, 6.6, 0, frame.identifier, small).aligned(BandAlign::Right));

    layout.title = frame.title;
    layout.detail.rule = BandRule::Bottom;
    layout.detail.ruleColor = frame.ruleColor;
}

void addColumnCaptions(ReportBand &header, double top, const QList<ColumnCaption> &captions, bool italic)
{
    for (const ColumnCaption &c : captions)
        header.add(textElement(c.left, top, c.width, c.text, listFont(8, false, italic)).named(c.text));
}
