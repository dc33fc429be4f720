#include "db/Dataset.h"
#include "output/report/PageFrame.h"
#include "output/report/Reports.h"

ReportLayout DetailedReport(const QString &connectionName, const QString &typeCaption,
                            const QString &referenceCaption, bool period)
{
    ReportLayout layout;
    layout.name = period ? QStringLiteral("qrReszletes2") : QStringLiteral("qrReszletes");
    PageFrame frame;
    frame.heading = QStringLiteral("Részletes lista");
    frame.title = QStringLiteral("Részletes lista");
    frame.identifier = period ? QStringLiteral("QrReszletes2") : QStringLiteral("QrReszletes");
    frame.product = QStringLiteral("Iktató");
    frame.connectionTop = period ? 9.3 : 10.6;
    frame.connectionName = connectionName;
    applyPageFrame(layout, frame);
    const double idWidth = period ? 34.7 : 36.0;
    addColumnCaptions(layout.header, 16.9,
                      {{QStringLiteral("Azonosító"), 0, idWidth},
                       {QStringLiteral("Tárgy"), 36.0, 47.9},
                       {QStringLiteral("Kitől"), 84.7, 40.0},
                       {QStringLiteral("Hová"), 125.9, 40.0},
                       {QStringLiteral("Tároló"), 167.2, 22.8}},
                      true);

    ReportBand &d = layout.detail;
    d.height = 23.0;
    const QFont f = listFont();
    const QFont caption = listFont(8, false, true);
    const double second = period ? 69.8 : 72.0; // "Határidő" and "File-ban"
    d.add(fieldElement(QStringLiteral("iktatoaz"), 0, 0, idWidth, listFont(8, true)));
    d.add(fieldElement(QStringLiteral("xtargy"), 36.0, 0, 47.9, f));
    d.add(fieldElement(QStringLiteral("ugyf_kitol_nev"), 84.7, 0, 40.0, f));
    d.add(fieldElement(QStringLiteral("ugyf_kinek_nev"), 125.9, 0, 40.0, f));
    d.add(fieldElement(QStringLiteral("tarolo"), 167.2, 0, 22.8, f));
    d.add(textElement(0, 5.3, 21.4, QStringLiteral("Beérkezett"), caption));
    d.add(fieldElement(QStringLiteral("dat_erk"), 22.2, 5.3, 0, f));
    d.add(textElement(second, 5.3, 0, QStringLiteral("Határidő"), caption));
    d.add(fieldElement(QStringLiteral("dat_hatid"), 84.7, 5.3, 0, f));
    d.add(textElement(110.1, 5.3, 0, QStringLiteral("Megőrzés"), caption));
    d.add(fieldElement(QStringLiteral("dat_megorzes"), 125.9, 5.3, 0, f));
    d.add(textElement(0, 9.5, 21.4, QStringLiteral("Intézkedésre"), caption));
    d.add(fieldElement(QStringLiteral("ugyf_intezkedesre_nev"), 22.2, 9.5, 0, f));
    d.add(textElement(110.1, 9.5, 0, referenceCaption, caption).named(QStringLiteral("lblHivatkozas")));
    d.add(fieldElement(QStringLiteral("hivszam"), 125.9, 9.5, 0, f));
    d.add(textElement(0, 13.8, 21.4, typeCaption, caption).named(QStringLiteral("lblTipus")));
    d.add(fieldElement(QStringLiteral("tipus_nev"), 22.2, 13.8, 0, f));
    d.add(textElement(second, 13.8, 0, QStringLiteral("File-ban"), caption));
    d.add(fieldElement(QStringLiteral("filenev"), 84.7, 13.8, period ? 0 : 80.7, f));
    if (period)
        d.add(fieldElement(QStringLiteral("irany_nev"), 44.5, 13.8, 0, f));
    else
        d.add(fieldElement(QStringLiteral("irany_nev"), 167.2, 13.8, 22.0, f));
    d.add(textElement(0, 18.0, 21.4, QStringLiteral("Figyelmeztetés"), caption));
    d.add(fieldElement(QStringLiteral("dat_figy"), 22.2, 18.0, 0, f));
    if (period)
        d.add(fieldElement(QStringLiteral("figy_szoveg"), 44.5, 18.0, 145.3, f));
    else
        d.add(fieldElement(QStringLiteral("figy_szoveg"), 46.6, 18.0, 143.1, f));

    layout.beforeDetail = [](ReportBand &band, const Dataset &data, int row) {
        const int idCol = data.fieldIndex(u"iktatoaz");
        if (ReportElement *id = band.find(u"iktatoaz"))
            id->font.setPointSizeF(identifierPoints(idCol >= 0 ? data.text(row, idCol) : QString()));
    };
    return layout;
}
