#include "output/report/Reports.h"

namespace {

QFont arial(double points, bool bold = false, bool underline = false)
{
    return reportFont(QStringLiteral("Arial"), points, bold, false, underline);
}

// The sender block is the same on every size; it reads the letterhead row set.
void addSender(ReportBand &band, const QImage &logo)
{
    const QFont courier = reportFont(QStringLiteral("Courier New"), 9);
    QFont courierBold = courier;
    courierBold.setBold(true);
    band.add(
        fieldElement(QStringLiteral("tulajdonos"), 1.3, 1.3, 74.4, arial(9, true, true)).fromLetterhead());
    band.add(fieldElement(QStringLiteral("varoscim"), 1.3, 7.9, 74.4, courier).fromLetterhead());
    band.add(fieldElement(QStringLiteral("irsz"), 1.3, 13.2, 74.4, courierBold)
                 .fromLetterhead()
                 .named(QStringLiteral("sender_irsz")));
    if (!logo.isNull())
        band.add(imageElement(logo, 1.3, 20.5, 67.8, 13.6).named(QStringLiteral("logo")));
}

} // namespace

ReportLayout EnvelopeReport(EnvelopeSize size, const QImage &logo)
{
    ReportLayout layout;
    double bandWidth = 140.2, bandHeight = 92.3, left = 60.9, width = 74.4;
    double tops[6] = {43.7, 48.9, 54.2, 62.2, 68.8, 79.4};
    switch (size) {
    case EnvelopeSize::C6:
        layout.name = QStringLiteral("qrBoritek");
        layout.paper = QSizeF(160, 113);
        break;
    case EnvelopeSize::DL:
        layout.name = QStringLiteral("qrBoritek2");
        layout.paper = QSizeF(220, 110);
        bandWidth = 200.1;
        left = 104.5;
        width = 91.6;
        break;
    case EnvelopeSize::C5: {
        layout.name = QStringLiteral("qrBoritek3");
        // 229 mm across and 162 down as it is fed sideways.
        layout.paper = QSizeF(162, 229);
        layout.orientation = QPageLayout::Landscape;
        bandWidth = 209.0;
        bandHeight = 141.2;
        left = 104.5;
        width = 91.6;
        const double c5[6] = {88.6, 93.9, 99.2, 107.2, 113.8, 124.4};
        std::copy(std::begin(c5), std::end(c5), std::begin(tops));
        break;
    }
    }
    Q_UNUSED(bandWidth);
    layout.title = layout.name;
    ReportBand &d = layout.detail;
    d.height = bandHeight;
    addSender(d, logo);
    d.add(fieldElement(QStringLiteral("ugyfel_nev"), left, tops[0], width, arial(11, true))
              .height(5.0)
              .centred());
    d.add(fieldElement(QStringLiteral("ui2"), left, tops[1], width, arial(10)).height(5.0).centred());
    d.add(textElement(left, tops[2], width, QStringLiteral("Részére"), arial(9)).height(4.3).centred());
    d.add(fieldElement(QStringLiteral("varos"), left, tops[3], width, arial(10, false, true))
              .height(5.0)
              .centred());
    d.add(fieldElement(QStringLiteral("cim"), left, tops[4], width, arial(10)).height(5.0).centred());
    d.add(fieldElement(QStringLiteral("irsz"), left, tops[5], width,
                       reportFont(QStringLiteral("Arial Rounded MT Bold"), 16, true))
              .height(6.6)
              .centred());
    return layout;
}

ReportLayout RegisteredMailReport()
{
    ReportLayout layout;
    layout.name = QStringLiteral("qrAjanlott");
    layout.title = layout.name;
    layout.margins = QMarginsF(10, 12, 10, 10);
    layout.printerPaper = true;
    ReportBand &d = layout.detail;
    d.height = 92.3;
    const QFont f = arial(9);
    d.add(fieldElement(QStringLiteral("tulajdonos"), 25.1, 16.5, 74.4, f).fromLetterhead());
    d.add(fieldElement(QStringLiteral("varoscim"), 25.1, 21.2, 74.4, f).fromLetterhead());
    d.add(fieldElement(QStringLiteral("irsz"), 25.1, 25.1, 74.4, f)
              .fromLetterhead()
              .named(QStringLiteral("sender_irsz")));
    d.add(fieldElement(QStringLiteral("ugyfel_nev"), 30.1, 43.0, 74.4, f));
    d.add(fieldElement(QStringLiteral("irsz"), 30.4, 47.6, 17.5, f));
    d.add(fieldElement(QStringLiteral("varos"), 48.9, 47.6, 55.9, f));
    d.add(fieldElement(QStringLiteral("cim"), 30.4, 52.3, 74.4, f));
    return layout;
}
