#include "output/report/PageFrame.h"
#include "output/report/Reports.h"

ReportLayout RecipientReport(const QString &connectionName)
{
    ReportLayout layout;
    layout.name = QStringLiteral("qrAtvevo");
    PageFrame frame;
    frame.heading = QStringLiteral("Átvevőlista");
    frame.title = QStringLiteral("Átvevőlista");
    frame.identifier = QStringLiteral("QrAtvevo");
    frame.product = QStringLiteral("Korvena");
    frame.connectionName = connectionName;
    frame.ruleColor = frame.footerRule = Qt::gray;
    applyPageFrame(layout, frame);
    addColumnCaptions(layout.header, 17.2,
                      {{QStringLiteral("Azonosító"), 0, 32.1},
                       {QStringLiteral("Beérkezett"), 33.1, 20.2},
                       {QStringLiteral("Kitől"), 54.2, 40.0},
                       {QStringLiteral("Hová"), 96.6, 41.3}},
                      false);
    ReportBand &d = layout.detail;
    d.height = 9.3;
    const QFont f = listFont();
    d.add(fieldElement(QStringLiteral("iktatoaz"), 0, 0, 32.1, f));
    d.add(fieldElement(QStringLiteral("dat_erk"), 33.1, 0, 20.2, f));
    d.add(fieldElement(QStringLiteral("ugyf_kitol_nev"), 54.2, 0, 40.0, f));
    d.add(fieldElement(QStringLiteral("ugyf_kinek_nev"), 96.6, 0, 41.3, f));
    d.add(fieldElement(QStringLiteral("xtargy"), 5.3, 4.2, 88.9, f));
    d.add(fieldElement(QStringLiteral("irany_nev"), 96.6, 4.2, 41.3, f));
    // Where the recipient signs.
    d.add(dottedLine(138.9, 5.3, 50.5, Qt::lightGray));
    return layout;
}
