// The simple list of 10 000 documents: the time to its first page and to the
// whole PDF, with the memory the row set holds. Run by hand:
//   QT_QPA_PLATFORM=offscreen build/bench/report_bench [rows]
#include "db/Dataset.h"
#include "output/report/ReportRenderer.h"
#include "output/report/Reports.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>

namespace {

Dataset listRows(int count)
{
    QList<Field> fields;
    for (const char *name : {"iktatoaz", "xtargy", "dat_erk", "ugyf_kitol_nev", "ugyf_kinek_nev", "irany_nev",
                             "tipus_nev", "dat_figy", "figy_szoveg"}) {
        Field f;
        f.name = QString::fromLatin1(name);
        f.type = QByteArrayView(name).startsWith("dat_") ? FieldType::Date : FieldType::Text;
        fields.append(f);
    }
    Dataset rows(fields);
    for (int i = 1; i <= count; ++i)
        rows.appendRow({QStringLiteral("%1/%2/2024").arg(i, 6, 10, QLatin1Char('0')).arg(i % 97),
                        QStringLiteral("Bérleti szerződés módosítása, %1. melléklet").arg(i),
                        QDate(2024, 1, 1).addDays(i % 365), QStringLiteral("Kovács és Társa Bt."),
                        QStringLiteral("Nagy Anna Pénzügyi Osztály"), QStringLiteral("Bejövő"),
                        QStringLiteral("Levél"), i % 5 == 0 ? QVariant(QDate(2024, 6, 1)) : QVariant(),
                        i % 5 == 0 ? QVariant(QStringLiteral("Visszahívni a bérbeadót")) : QVariant()});
    return rows;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    const Dataset rows = listRows(count);
    QTemporaryDir dir;

    // First page: the split into pages and one page painted, as a preview needs.
    QElapsedTimer first;
    first.start();
    ReportRenderer preview(ListReport(QStringLiteral("Teljesítménymérés")), rows);
    const int pages = preview.pageCount();
    QImage page(2480, 3508, QImage::Format_RGB32); // A4 at 300 dpi
    page.setDotsPerMeterX(11811);
    page.setDotsPerMeterY(11811);
    page.fill(Qt::white);
    {
        QPainter p(&page);
        preview.paintPage(p, 0);
    }
    const qint64 firstMs = first.elapsed();

    QElapsedTimer whole;
    whole.start();
    ReportRenderer renderer(ListReport(QStringLiteral("Teljesítménymérés")), rows);
    const QString file = dir.filePath(QStringLiteral("lista.pdf"));
    const bool ok = renderer.writePdf(file);
    const qint64 wholeMs = whole.elapsed();

    std::printf("rows %d, pages %d\n", count, pages);
    std::printf("first page (split + paint): %lld ms\n", static_cast<long long>(firstMs));
    std::printf("whole PDF: %lld ms, %lld bytes%s\n", static_cast<long long>(wholeMs),
                static_cast<long long>(QFileInfo(file).size()), ok ? "" : " (FAILED)");
    std::printf("row set: %lld bytes\n", static_cast<long long>(rows.memoryBytes()));
    return ok ? 0 : 1;
}
