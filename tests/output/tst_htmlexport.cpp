#include "common/Clock.h"
#include "common/Encoding.h"
#include "db/Dataset.h"
#include "db/DbError.h"
#include "output/HtmlExport.h"

#include "TestSupport.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

enum Column
{
    Key,
    Subject,
    Arrived,
    Amount
};

Dataset documents()
{
    QList<Field> fields{{QStringLiteral("iktato"), FieldType::Integer, 11},
                        {QStringLiteral("targy"), FieldType::Text, 255},
                        {QStringLiteral("dat_erk"), FieldType::Date, 10},
                        {QStringLiteral("osszeg"), FieldType::Decimal, 12}};
    fields[Key].alignment = Qt::AlignRight | Qt::AlignVCenter;
    fields[Key].displayFormat = QStringLiteral("000000");
    fields[Arrived].displayFormat = QStringLiteral("yyyy.MM.dd");
    Dataset data(fields);
    data.appendRow({7, QStringLiteral("Ajánlat <sürgős> & \"más\""), QDate(2024, 3, 1), QVariant()});
    data.appendRow({12, QStringLiteral("Árvíztűrő"), QVariant(), 2.5});
    return data;
}

// The grid as the list shows it: the key, an unbound marker column, the date centred
// and the subject; the amount is not shown.
HtmlPage page()
{
    HtmlPage p;
    p.title = QStringLiteral("Iktatókönyv & társai");
    p.gridWidth = 400;
    p.columns = {{Key, QStringLiteral("Sorszám"), 50, Qt::AlignRight},
                 {-1, QStringLiteral("Jelző"), 18, Qt::AlignLeft},
                 {Arrived, QStringLiteral("Beérkezett"), 62, Qt::AlignHCenter},
                 {Subject, QStringLiteral("Tárgy <rövid>"), 250, Qt::AlignLeft}};
    return p;
}

QByteArray pageOf(Dataset &data, const HtmlPage &p, const ExportProgress &progress = {})
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeHtmlPage(buffer, data, p, progress);
    return buffer.data();
}

QString tail(int rows)
{
    return QStringLiteral("</table></center></div><p><font face=\"Verdana\" size=\"1\">Összesen ") +
           QString::number(rows) +
           QStringLiteral(
               " sor.</font></p><p><font face=\"Verdana\" size=\"1\">2024.05.06 07:08:09</font></p>"
               "<p><font face=\"Courier New\" size=\"1\">Korvena iktatás</font></p></body></html>");
}

const QString Head = QStringLiteral(
    "<!DOCTYPE html><html lang=\"hu-HU\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
    "charset=windows-1250\"><title>Iktatókönyv &amp; társai</title><meta name=\"GENERATOR\" "
    "content=\"Tarmelo Bt. Grid2Html\"></head><body><h1>Iktatókönyv &amp; társai</h1><h3></h3>"
    "<div align=\"center\"><center><table border=\"1\" cellpadding=\"3\" cellspacing=\"0\" width=\"90%\">"
    "  <tr><th width=\"12%\" bgcolor=\"#C0C0C0\" align=\"right\">Sorszám</th>"
    "<th width=\"16%\" bgcolor=\"#C0C0C0\" align=\"center\">Beérkezett</th>"
    "<th width=\"62%\" bgcolor=\"#C0C0C0\" >Tárgy &lt;rövid&gt;</th>  </tr>");

} // namespace

class TestHtmlExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        resetProcessState();
        setFixedNow(QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)));
    }

    void percentRoundsHalvesToEven_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("grid");
        QTest::addColumn<int>("percent");
        QTest::newRow("exact") << 50 << 200 << 25;
        QTest::newRow("12.5 down to even") << 1 << 8 << 12;
        QTest::newRow("37.5 up to even") << 3 << 8 << 38;
        QTest::newRow("0.5 to 0") << 1 << 200 << 0;
        QTest::newRow("1.5 to 2") << 3 << 200 << 2;
        QTest::newRow("just over a half") << 101 << 400 << 25;
        QTest::newRow("wider than the grid") << 500 << 400 << 125;
        QTest::newRow("hidden column") << 0 << 400 << 0;
        QTest::newRow("no grid width") << 10 << 0 << 0;
    }

    void percentRoundsHalvesToEven()
    {
        QFETCH(int, width);
        QFETCH(int, grid);
        QFETCH(int, percent);
        QCOMPARE(HtmlPercent(width, grid), percent);
    }

    void pageIsOneRunOfCodePage1250WithEveryTextEscaped()
    {
        Dataset data = documents();
        data.setCurrent(1);
        const QByteArray bytes = pageOf(data, page());
        const QString expected =
            Head +
            QStringLiteral(
                "<tr><td width=\"12%\"><p align=\"right\">000007</td><td width=\"16%\"><p align=\"center\">"
                "2024.03.01</td><td width=\"62%\">Ajánlat &lt;sürgős&gt; &amp; &quot;más&quot;</td>  </tr>"
                "<tr><td width=\"12%\"><p align=\"right\">000012</td><td width=\"16%\"><p align=\"center\">"
                "</td><td width=\"62%\">Árvíztűrő</td>  </tr>") +
            tail(2);
        QCOMPARE(FromCp1250(bytes), expected);
        QCOMPARE(bytes, ToCp1250(expected));
        QVERIFY(!bytes.contains('\n'));
        // The list stays where it was.
        QCOMPARE(data.current(), 1);
    }

    void emptyListHasOnlyTheHeaderRow()
    {
        Dataset data(documents().fields());
        QCOMPARE(FromCp1250(pageOf(data, page())), Head + tail(0));
    }

    void onlyTheRowsTheListShows()
    {
        Dataset data = documents();
        data.setFilter([](const Dataset &d, int row) { return d.toInt(row, Key) == 12; });
        HtmlPage p = page();
        p.columns = {{Amount, QStringLiteral("Összeg"), 40, Qt::AlignLeft}};
        const QString text = FromCp1250(pageOf(data, p));
        QVERIFY(text.contains(QStringLiteral("<tr><td width=\"10%\">2.5</td>  </tr></table>")));
        QVERIFY(text.contains(QStringLiteral("Összesen 1 sor.")));
    }

    void stopFinishesThePageWithTheRowsWritten()
    {
        QList<Field> fields{{QStringLiteral("iktato"), FieldType::Integer, 11}};
        Dataset data(fields);
        for (int i = 1; i <= 35; ++i)
            data.appendRow({i});
        QList<int> asked;
        const QString text = FromCp1250(pageOf(data, HtmlPage{{{0, QStringLiteral("Sorszám"), 10}}, 100, {}},
                                               [&asked](int done, int total) {
                                                   asked << done;
                                                   return total == 35 && done < 20;
                                               }));
        QCOMPARE(asked, QList<int>({10, 20}));
        QCOMPARE(text.count(QStringLiteral("<tr><td")), 20);
        QVERIFY(text.endsWith(tail(20)));
    }

    void fileThatCannotBeMadeThrowsTheSystemMessage()
    {
        QTemporaryDir dir;
        Dataset data = documents();
        QString message;
        try {
            writeHtmlFile(dir.filePath(QStringLiteral("nincs/lista.htm")), data, page());
        } catch (const KorvenaError &e) {
            message = e.text();
        }
        QVERIFY(!message.isEmpty());
        const QString name = dir.filePath(QStringLiteral("lista.htm"));
        QCOMPARE(writeHtmlFile(name, data, page()), 2);
        QFile f(name);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().endsWith("</html>"));
    }
};

QTEST_GUILESS_MAIN(TestHtmlExport)
#include "tst_htmlexport.moc"
