#include "output/report/PageFrame.h"
#include "output/report/Reports.h"

ReportLayout LentOutReport()
{
    ReportLayout layout;
    layout.name = QStringLiteral("qrKiadott");
    PageFrame frame;
    frame.heading = QStringLiteral("Kiadott tételek");
    frame.title = QStringLiteral("Átvevőlista");
    frame.identifier = QStringLiteral("QrKiadott");
    frame.product = QStringLiteral("Iktató");
    frame.connectionTop = -1;
    applyPageFrame(layout, frame);
    addColumnCaptions(layout.header, 17.2,
                      {{QStringLiteral("Kinek?"), 0, 32.1},
                       {QStringLiteral("Dátum"), 33.1, 21.5},
                       {QStringLiteral("Azonosító"), 55.6, 26.8},
                       {QStringLiteral("Beérkezett"), 83.3, 20.2},
                       {QStringLiteral("Kitől"), 104.5, 41.3},
                       {QStringLiteral("Hová"), 148.2, 41.3}},
                      false);
    ReportBand &d = layout.detail;
    d.height = 9.3;
    const QFont f = listFont();
    d.add(fieldElement(QStringLiteral("kolcsonadva_kinek"), 0, 0, 32.1, f));
    d.add(fieldElement(QStringLiteral("kolcsonadva_dat"), 33.1, 0, 21.5, f));
    d.add(fieldElement(QStringLiteral("iktatoaz"), 55.6, 0, 26.8, f));
    d.add(fieldElement(QStringLiteral("dat_erk"), 83.3, 0, 20.2, f));
    d.add(fieldElement(QStringLiteral("ugyf_kitol_nev"), 104.5, 0, 41.3, f));
    d.add(fieldElement(QStringLiteral("ugyf_kinek_nev"), 148.2, 0, 41.3, f));
    d.add(fieldElement(QStringLiteral("targy"), 0, 4.0, 140.5, f));
    d.add(fieldElement(QStringLiteral("irany_nev"), 148.2, 4.0, 41.3, f));
    return layout;
}
