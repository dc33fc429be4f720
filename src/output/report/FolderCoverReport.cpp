#include "output/report/PageFrame.h"
#include "output/report/Reports.h"

ReportLayout FolderCoverReport()
{
    ReportLayout layout;
    layout.name = QStringLiteral("qrMappa");
    layout.orientation = QPageLayout::Landscape;
    PageFrame frame;
    frame.heading = QStringLiteral("Átvevőlista");
    frame.title = QStringLiteral("Átvevőlista");
    frame.identifier = QStringLiteral("qrMappa");
    frame.product = QStringLiteral("Korvena");
    frame.connectionTop = -1;
    frame.headerHeight = 30.4;
    frame.headingTop = 1.1;
    frame.boxWidth = 77.0;
    frame.rightBoxLeft = 200.0;
    frame.boxHeight = 16.1;
    frame.letterheadTops[0] = 1.1;
    frame.letterheadTops[1] = 6.3;
    frame.letterheadTops[2] = 10.6;
    frame.ruleColor = frame.footerRule = Qt::gray;
    applyPageFrame(layout, frame);
    addColumnCaptions(layout.header, 25.4,
                      {{QStringLiteral("Azonosító"), 0, 32.0},
                       {QStringLiteral("Beérkezett"), 32.8, 20.1},
                       {QStringLiteral("Kitől"), 54.0, 40.0},
                       {QStringLiteral("Tárgy"), 95.2, 70.9},
                       {QStringLiteral("Hová"), 167.2, 41.3},
                       {QStringLiteral("Felelős"), 209.6, 41.3},
                       {QStringLiteral("Határidő"), 251.9, 24.3}},
                      false);
    ReportBand &d = layout.detail;
    d.height = 82.3;
    const QFont f = listFont();
    d.add(fieldElement(QStringLiteral("iktatoaz"), 0, 1.1, 32.0, f));
    d.add(fieldElement(QStringLiteral("dat_erk"), 32.8, 1.1, 20.1, f));
    d.add(fieldElement(QStringLiteral("ugyf_kitol_nev"), 54.0, 1.1, 40.0, f));
    d.add(fieldElement(QStringLiteral("targy"), 95.2, 1.1, 71.2, f));
    d.add(fieldElement(QStringLiteral("ugyf_kinek_nev"), 167.2, 1.1, 41.3, f));
    d.add(fieldElement(QStringLiteral("ugyf_intezkedesre_nev"), 209.6, 1.1, 41.3, f));
    d.add(fieldElement(QStringLiteral("dat_hatid"), 251.9, 1.1, 24.6, f));
    // Room for handwriting under each.
    d.add(textElement(4.2, 13.8, 0, QStringLiteral("Ügyiratot látta"), f));
    d.add(textElement(4.2, 27.5, 0, QStringLiteral("Ügyintéző"), f));
    d.add(textElement(4.2, 40.2, 0, QStringLiteral("Felelős"), f));
    return layout;
}
