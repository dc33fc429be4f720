#include "db/Dataset.h"
#include "output/report/PageFrame.h"
#include "output/report/Reports.h"

double identifierPoints(const QString &identifier)
{
    return identifier.size() < 16 ? 8 : 7;
}

ReportLayout ListReport(const QString &connectionName)
{
    ReportLayout layout;
    layout.name = QStringLiteral("qrLista");
    PageFrame frame;
    frame.heading = QStringLiteral("Egyszerű lista");
    frame.title = QStringLiteral("Egyszerű lista");
    frame.identifier = QStringLiteral("QrLista");
    frame.product = QStringLiteral("Korvena");
    frame.headerHeight = 22.0;
    frame.connectionName = connectionName;
    frame.footerRule = Qt::lightGray;
    applyPageFrame(layout, frame);
    addColumnCaptions(layout.header, 16.9,
                      {{QStringLiteral("Azonosító"), 0, 33.3},
                       {QStringLiteral("Tárgy"), 34.9, 62.4},
                       {QStringLiteral("Beérkezett"), 98.4, 20.1},
                       {QStringLiteral("Kitől"), 119.6, 34.7},
                       {QStringLiteral("Hová"), 154.5, 34.7}},
                      false);

    ReportBand &d = layout.detail;
    d.height = 13.8;
    const QFont f = listFont();
    d.add(fieldElement(QStringLiteral("iktatoaz"), 0, 0, 33.3, f));
    d.add(fieldElement(QStringLiteral("xtargy"), 34.9, 0, 62.4, f));
    d.add(fieldElement(QStringLiteral("dat_erk"), 98.4, 0, 20.1, f));
    d.add(fieldElement(QStringLiteral("ugyf_kitol_nev"), 119.6, 0, 34.7, f).wrapped(8.2));
    d.add(fieldElement(QStringLiteral("ugyf_kinek_nev"), 154.5, 0, 34.7, f).wrapped(8.2));
    d.add(fieldElement(QStringLiteral("irany_nev"), 0, 4.2, 0, f));
    d.add(fieldElement(QStringLiteral("tipus_nev"), 34.9, 4.2, 0, f));
    d.add(textElement(0, 8.5, 21.4, QStringLiteral("Figyelmeztetés"), listFont(8, false, true))
              .named(QStringLiteral("lblFigy")));
    d.add(fieldElement(QStringLiteral("dat_figy"), 34.9, 8.5, 0, f));
    d.add(fieldElement(QStringLiteral("figy_szoveg"), 55.0, 8.5, 134.7, f));

    layout.beforeDetail = [](ReportBand &band, const Dataset &data, int row) {
        const int idCol = data.fieldIndex(u"iktatoaz");
        if (ReportElement *id = band.find(u"iktatoaz"))
            id->font.setPointSizeF(identifierPoints(idCol >= 0 ? data.text(row, idCol) : QString()));
        // The warning line shows only for a warning text; a date alone is not enough.
        const int textCol = data.fieldIndex(u"figy_szoveg");
        const bool warning = textCol >= 0 && !data.text(row, textCol).isEmpty();
        band.height = warning ? 13.76 : 9.26;
        for (QStringView key : {u"lblFigy", u"dat_figy", u"figy_szoveg"})
            if (ReportElement *e = band.find(key))
                e->enabled = warning;
    };
    return layout;
}
