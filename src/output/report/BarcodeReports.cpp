#include "output/report/Reports.h"

namespace {

QFont labelFont()
{
    return reportFont(QStringLiteral("Courier New"), 6);
}

} // namespace

ReportLayout LabelSheetReport(const LabelSheet &sheet)
{
    ReportLayout layout;
    layout.name = QStringLiteral("qrVKod");
    layout.title = layout.name;
    layout.margins = QMarginsF(sheet.left, sheet.top, sheet.left, sheet.top);
    layout.columns = qMax(1, sheet.columns);
    const double labelWidth = layout.usableSize().width() / layout.columns;
    ReportBand &d = layout.detail;
    d.height = sheet.height > 0 ? sheet.height : 19.2;
    d.add(ean8Element(QStringLiteral("vkod"), sheet.indent, 4.5, qMax(0.0, labelWidth - 2 * sheet.indent),
                      4.7));
    d.add(fieldElement(QStringLiteral("vkod_nev"), 3.0, 9.8, qMax(0.0, labelWidth - 3.0), labelFont()));
    return layout;
}

int LabelsPerSheet(const LabelSheet &sheet)
{
    // As the renderer lays the labels out: whole labels between the margins, at least one.
    const ReportLayout layout = LabelSheetReport(sheet);
    const int perColumn = qMax(1, int((layout.usableSize().height() + 0.001) / layout.detail.height));
    return perColumn * layout.columns;
}

int PositionOnSheet(int position, const LabelSheet &sheet)
{
    if (position < 1)
        return position;
    return (position - 1) % LabelsPerSheet(sheet) + 1;
}

ReportLayout CornerBarcodeReport(int corner)
{
    ReportLayout layout;
    layout.name = QStringLiteral("qrVKod2");
    layout.title = layout.name;
    layout.header.height = 11.1;
    layout.footer.height = 10.6;
    layout.detail.height = 15.1;
    const QFont font = labelFont();
    for (int c = 0; c < 4; ++c) {
        ReportBand &band = c < 2 ? layout.header : layout.footer;
        const bool right = c % 2 == 1;
        ReportElement symbol = ean8Element(QStringLiteral("vkod"), right ? 163.0 : 1.6, 1.6, 26.2, 4.8);
        ReportElement text = fieldElement(QStringLiteral("vkod_nev"), right ? 163.0 : 2.1, 6.9, 26.2, font);
        // Only the chosen corner prints.
        symbol.enabled = text.enabled = c == corner;
        band.add(symbol);
        band.add(text);
    }
    return layout;
}
