#include "core/Session.h"
#include "db/DbError.h"
#include "db/DbHelpers.h"
#include "db/UnitOfWork.h"
#include "output/report/Ean8.h"
#include "output/report/LabelSettings.h"
#include "output/report/ReportData.h"
#include "output/report/ReportRenderer.h"
#include "output/report/Reports.h"
#include "register/DocumentListQuery.h"

#include "DocumentFixture.h"
#include "ReportPdf.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include <QPdfWriter>
#include <QtTest>

Q_DECLARE_METATYPE(ReportLayout)

namespace {

// The fixture's visible documents of user 1 in the list's own columns.
Dataset listRows(Connection &c, const QString &condition = QStringLiteral("fcs = 1 AND torolve = 'N'"))
{
    DocumentListQuery q;
    q.setCondition(condition);
    q.setOrder(QStringLiteral("iktato"));
    Dataset rows;
    q.open(c, rows, session().settings);
    return rows;
}

QString pdfOf(QTemporaryDir &dir, const ReportLayout &layout, const Dataset &data, const Dataset *letterhead)
{
    const QString file = dir.filePath(layout.name + QStringLiteral(".pdf"));
    ReportRenderer renderer(layout, data, letterhead);
    if (!renderer.writePdf(file))
        return {};
    return file;
}

// Blanks of pdftotext's layout collapse, so captions are found whatever their spacing.
QString squeezed(const QString &text)
{
    return text.simplified();
}

} // namespace

class TestReports : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        DocumentFixture::load();
        ExecSql(QStringLiteral(
            "UPDATE tulajdonos SET tulajdonos = 'Próba Hivatal', irsz = '7621', varos = 'Pécs', "
            "cim = 'Fő utca 1.', telefon = '72/123-456'"));
        ExecSql(QStringLiteral("UPDATE ugyfel SET irsz = '1011', varos = 'Budapest', cim = 'Ló utca 2.', "
                               "ui = 'Pénzügy' WHERE ugyfel = 2"));
    }
    void init() { resetProcessState(); }
    void cleanupTestCase() { m_db.reset(); }

    // Every list-like report prints its heading, the letterhead, its column captions
    // and its rows, and its footer with title, identifier and page number.
    void listReportsPrint_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<QStringList>("expected");
        const QStringList frame = {QStringLiteral("Próba Hivatal"), QStringLiteral("7621 Pécs"),
                                   QStringLiteral("72/123-456"), QStringLiteral("oldal: 1")};
        QTest::newRow("qrLista") << "qrLista"
                                 << frame + QStringList{"Egyszerű lista", "Teszt adatbázis",
                                                        "Azonosító",      "Tárgy",
                                                        "Beérkezett",     "Kitől",
                                                        "Hová",           "QrLista",
                                                        "Korvena",        "Pécsi fiók bérleti szerződése",
                                                        "Kiss Péter",     "2024.03.01",
                                                        "Figyelmeztetés", "Visszahívni a bérbeadót"};
        QTest::newRow("qrReszletes") << "qrReszletes"
                                     << frame + QStringList{"Részletes lista", "QrReszletes",      "Iktató",
                                                            "Tároló",          "Intézkedésre",     "Megőrzés",
                                                            "Fajta",           "Hivatkozás száma", "H-1",
                                                            "Levél",           "2024.04.30"};
        QTest::newRow("qrReszletes2")
            << "qrReszletes2" << frame + QStringList{"Részletes lista", "QrReszletes2", "Válaszlevél Pécsre"};
        QTest::newRow("qrAtvevo") << "qrAtvevo"
                                  << frame + QStringList{"Átvevőlista", "QrAtvevo",
                                                         "Számla 50% kedvezménnyel", "Kovács és Társa Bt."};
        QTest::newRow("qrMappa") << "qrMappa"
                                 << frame + QStringList{"Átvevőlista",
                                                        "qrMappa",
                                                        "Ügyiratot látta",
                                                        "Ügyintéző",
                                                        "Felelős",
                                                        "Határidő",
                                                        "Pécsi fiók bérleti szerződése"};
    }
    void listReportsPrint()
    {
        QFETCH(QString, report);
        QFETCH(QStringList, expected);
        Connection &c = m_db->connection();
        const Dataset letterhead = ReportData::letterhead(c);
        Dataset rows = report == QLatin1String("qrMappa") ? ReportData::folderCover(c, 101) : listRows(c);
        ReportLayout layout;
        if (report == QLatin1String("qrLista"))
            layout = ListReport(QStringLiteral("Teszt adatbázis"));
        else if (report == QLatin1String("qrReszletes"))
            layout = DetailedReport(QStringLiteral("Teszt"), QStringLiteral("Fajta"),
                                    QStringLiteral("Hivatkozás száma"), false);
        else if (report == QLatin1String("qrReszletes2"))
            layout = DetailedReport(QStringLiteral("Teszt"), QStringLiteral("Típus"),
                                    QStringLiteral("Hiv.szám"), true);
        else if (report == QLatin1String("qrAtvevo"))
            layout = RecipientReport(QStringLiteral("Teszt"));
        else
            layout = FolderCoverReport();
        const QString pdf = pdfOf(m_dir, layout, rows, &letterhead);
        QVERIFY(!pdf.isEmpty());
        const QString text = squeezed(ReportPdf::text(pdf));
        for (const QString &s : expected)
            QVERIFY2(text.contains(s), qPrintable(s + QStringLiteral(" missing from: ") + text));
        if (report == QLatin1String("qrMappa")) {
            const QSizeF size = ReportPdf::pageSizeMm(pdf);
            QVERIFY2(qAbs(size.width() - 297) < 1 && qAbs(size.height() - 210) < 1,
                     "the cover is A4 landscape");
        }
    }

    void emptyReportStillHasOnePageWithHeaderAndFooter()
    {
        const Dataset letterhead = ReportData::letterhead(m_db->connection());
        const Dataset rows = listRows(m_db->connection(), QStringLiteral("1 = 0"));
        QCOMPARE(rows.rowCount(), 0);
        const QString pdf = pdfOf(m_dir, ListReport(QStringLiteral("Üres")), rows, &letterhead);
        QCOMPARE(ReportPdf::pages(pdf), 1);
        const QString text = squeezed(ReportPdf::text(pdf));
        QVERIFY(text.contains(QStringLiteral("Egyszerű lista")));
        QVERIFY(text.contains(QStringLiteral("Próba Hivatal")));
        QVERIFY(text.contains(QStringLiteral("oldal: 1")));
        QVERIFY(text.contains(QStringLiteral("QrLista")));
    }

    // A long list breaks into pages, each with its own header and running page number,
    // and every row printed once.
    void longListBreaksIntoFramedPages()
    {
        QList<Field> fields;
        for (const char *name : {"iktatoaz", "xtargy", "figy_szoveg"})
            fields.append(Field{QString::fromLatin1(name)});
        Dataset rows(fields);
        for (int i = 1; i <= 100; ++i)
            rows.appendRow({QStringLiteral("ID-%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("Tárgy"),
                            i % 2 ? QStringLiteral("Figyelj") : QString()});
        const QString pdf = pdfOf(m_dir, ListReport(QString()), rows, nullptr);
        const int pages = ReportPdf::pages(pdf);
        QVERIFY(pages > 1);
        QString all;
        for (int p = 1; p <= pages; ++p) {
            const QString text = ReportPdf::text(pdf, p);
            QVERIFY(text.contains(QStringLiteral("Egyszerű lista")));
            QVERIFY(text.contains(QStringLiteral("oldal: ") + QString::number(p)));
            all += text;
        }
        for (int i = 1; i <= 100; ++i)
            QCOMPARE(all.count(QStringLiteral("ID-%1").arg(i, 3, 10, QLatin1Char('0'))), 1);
    }

    // The identifier's font and the warning line are decided row by row.
    void rowHooks_data()
    {
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<QString>("warningDate");
        QTest::addColumn<QString>("warningText");
        QTest::addColumn<double>("points");
        QTest::addColumn<double>("height");
        QTest::newRow("15 characters, no warning")
            << QString(15, QLatin1Char('9')) << QString() << QString() << 8.0 << 9.26;
        QTest::newRow("16 characters, warning") << QString(16, QLatin1Char('9')) << "2024-05-01"
                                                << "Hívd vissza" << 7.0 << 13.76;
        QTest::newRow("date without text: no warning line") << "1"
                                                            << "2024-05-01" << QString() << 8.0 << 9.26;
    }
    void rowHooks()
    {
        QFETCH(QString, identifier);
        QFETCH(QString, warningDate);
        QFETCH(QString, warningText);
        QFETCH(double, points);
        QFETCH(double, height);
        Dataset rows(QList<Field>{Field{QStringLiteral("iktatoaz")}, Field{QStringLiteral("dat_figy")},
                                  Field{QStringLiteral("figy_szoveg")}});
        rows.appendRow({identifier, warningDate.isEmpty() ? QVariant() : QVariant(warningDate),
                        warningText.isEmpty() ? QVariant() : QVariant(warningText)});
        for (bool period : {false, true}) {
            ReportLayout detailed = DetailedReport(QString(), QString(), QString(), period);
            detailed.beforeDetail(detailed.detail, rows, 0);
            QCOMPARE(detailed.detail.find(u"iktatoaz")->font.pointSizeF(), points);
        }
        ReportLayout list = ListReport(QString());
        list.beforeDetail(list.detail, rows, 0);
        QCOMPARE(list.detail.find(u"iktatoaz")->font.pointSizeF(), points);
        QCOMPARE(list.detail.height, height);
        const bool warning = height > 10;
        for (QStringView key : {u"lblFigy", u"dat_figy", u"figy_szoveg"})
            QCOMPARE(list.detail.find(key)->enabled, warning);
    }

    void periodQuery_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QString>("expected");
        const QStringList list{QStringLiteral("SELECT * FROM vw_iktato"), QStringLiteral("WHERE fcs = 1;"),
                               QStringLiteral("ORDER BY iktato;")};
        QTest::newRow("incoming: direction and period, the ';' moves behind")
            << list << 0
            << "SELECT * FROM vw_iktato\nWHERE fcs = 1 AND (irany = 0) AND (dat_erk BETWEEN '2024-03-01' AND "
               "'2024-03-31');\nORDER BY iktato;";
        QTest::newRow("all directions: the period only")
            << list << 3
            << "SELECT * FROM vw_iktato\nWHERE fcs = 1 AND (dat_erk BETWEEN '2024-03-01' AND "
               "'2024-03-31');\nORDER BY "
               "iktato;";
        QTest::newRow("no WHERE line: unchanged")
            << QStringList{QStringLiteral("SELECT * FROM vw_iktato"), QStringLiteral("ORDER BY 1;")} << 1
            << "SELECT * FROM vw_iktato\nORDER BY 1;";
    }
    void periodQuery()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, direction);
        QFETCH(QString, expected);
        QCOMPARE(ReportData::periodSql(lines, direction, QDate(2024, 3, 1), QDate(2024, 3, 31)), expected);
    }

    void periodReportsRestrictTheListQuery()
    {
        DocumentListQuery q;
        q.setCondition(QStringLiteral("fcs = 1 AND torolve = 'N'"));
        const QDate from(2024, 3, 1), to(2024, 3, 31);
        Dataset incoming =
            ReportData::documents(m_db->connection(), ReportData::periodSql(q.lines(), 0, from, to));
        QCOMPARE(incoming.rowCount(), 2); // 101 and 102; 103 is outgoing, the rest elsewhere in time
        Dataset all =
            ReportData::documents(m_db->connection(), ReportData::periodSql(q.lines(), 3, from, to));
        QCOMPARE(all.rowCount(), 2);
        Dataset february = ReportData::documents(
            m_db->connection(), ReportData::periodSql(q.lines(), 3, QDate(2024, 2, 1), QDate(2024, 2, 29)));
        QCOMPARE(february.rowCount(), 1);
        Dataset reversed =
            ReportData::documents(m_db->connection(), ReportData::periodSql(q.lines(), 3, to, from));
        QCOMPARE(reversed.rowCount(), 0);
    }

    void markedOnlyKeepsMarkedRows()
    {
        Dataset rows = listRows(m_db->connection());
        ReportData::keepMarkedOnly(rows);
        QCOMPARE(rows.visibleCount(), 1);
        QCOMPARE(rows.toInt(rows.visibleRow(0), rows.fieldIndex(u"iktato")), 101);
    }

    void lentOutIdentifier_data()
    {
        QTest::addColumn<qint64>("document");
        QTest::addColumn<QDate>("arrival");
        QTest::addColumn<QString>("expected");
        QTest::newRow("padded") << qint64(123) << QDate(2024, 3, 1) << "0123/05/01/2024";
        QTest::newRow("no date: the zero date's year") << qint64(123) << QDate() << "0123/05/01/1899";
        QTest::newRow("long key kept whole") << qint64(1234567) << QDate(2024, 3, 1) << "1234567/05/01/2024";
    }
    void lentOutIdentifier()
    {
        QFETCH(qint64, document);
        QFETCH(QDate, arrival);
        QFETCH(QString, expected);
        QCOMPARE(ReportData::lentOutIdentifier(document, 5, 1, arrival), expected);
    }

    void lentOutReportComputesItsColumns()
    {
        ExecSql(QStringLiteral("UPDATE iktato SET kolcsonadva = 'I', kolcsonadva_kinek = 'Szabó Éva', "
                               "kolcsonadva_dat = '2024-03-10' WHERE iktato IN (102, 104, 106)"));
        Dataset rows = ReportData::lentOut(m_db->connection(), 1);
        QCOMPARE(rows.rowCount(), 3);
        QHash<qint64, QStringList> byKey;
        for (int r = 0; r < rows.rowCount(); ++r)
            byKey.insert(
                rows.toInt(r, rows.fieldIndex(u"iktato")),
                {rows.text(r, rows.fieldIndex(u"iktatoaz")), rows.text(r, rows.fieldIndex(u"irany_nev"))});
        QCOMPARE(byKey.value(102), (QStringList{"0102/01/02/2024", "Bejövő"}));
        QCOMPARE(byKey.value(104), (QStringList{"0104/03/01/2024", "Kimenő"})); // direction 2 too
        QCOMPARE(byKey.value(106), (QStringList{"0106/01/04/1899", "Bejövő"}));

        const Dataset letterhead = ReportData::letterhead(m_db->connection());
        const QString text = squeezed(ReportPdf::text(pdfOf(m_dir, LentOutReport(), rows, &letterhead)));
        for (const char *s : {"Kiadott tételek", "Átvevőlista", "QrKiadott", "Kinek?", "Szabó Éva",
                              "0102/01/02/2024", "2024.03.10", "Számla 50% kedvezménnyel"})
            QVERIFY2(text.contains(QString::fromUtf8(s)), s);
        ExecSql(QStringLiteral("UPDATE iktato SET kolcsonadva = 'N' WHERE iktato IN (102, 104, 106)"));
    }

    // Envelopes are cut to their size; the form prints on the printer's paper.
    void envelopes_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QSizeF>("paper");
        QTest::newRow("C6") << int(EnvelopeSize::C6) << QSizeF(160, 113);
        QTest::newRow("DL") << int(EnvelopeSize::DL) << QSizeF(220, 110);
        QTest::newRow("C5") << int(EnvelopeSize::C5) << QSizeF(229, 162);
    }
    void envelopes()
    {
        QFETCH(int, size);
        QFETCH(QSizeF, paper);
        Dataset addressee = ReportData::addressee(m_db->connection(), 2);
        const Dataset sender = ReportData::sender(m_db->connection());
        QImage logo(200, 40, QImage::Format_RGB32);
        logo.fill(Qt::darkBlue);
        const QString pdf = pdfOf(m_dir, EnvelopeReport(EnvelopeSize(size), logo), addressee, &sender);
        const QSizeF got = ReportPdf::pageSizeMm(pdf);
        QVERIFY2(qAbs(got.width() - paper.width()) < 0.5 && qAbs(got.height() - paper.height()) < 0.5,
                 qPrintable(QStringLiteral("%1 x %2").arg(got.width()).arg(got.height())));
        QCOMPARE(ReportPdf::pages(pdf), 1);
        const QString text = squeezed(ReportPdf::text(pdf));
        for (const char *s : {"Próba Hivatal", "Pécs, Fő utca 1.", "7621", "Nagy Anna", "Pénzügy", "Részére",
                              "Budapest", "Ló utca 2.", "1011"})
            QVERIFY2(text.contains(QString::fromUtf8(s)), s);
    }

    void registeredMailFormLeavesOutTheSecondNameLine()
    {
        Dataset addressee = ReportData::addressee(m_db->connection(), 2);
        const Dataset sender = ReportData::sender(m_db->connection());
        const QString text =
            squeezed(ReportPdf::text(pdfOf(m_dir, RegisteredMailReport(), addressee, &sender)));
        for (const char *s :
             {"Próba Hivatal", "Pécs, Fő utca 1.", "Nagy Anna", "1011", "Budapest", "Ló utca 2."})
            QVERIFY2(text.contains(QString::fromUtf8(s)), s);
        QVERIFY(!text.contains(QStringLiteral("Pénzügy")));
    }

    // The two rule boxes of the page header: the heading's at the left edge, the
    // letterhead's at 112.4 mm on a portrait page and at 200 mm on the landscape cover.
    void headerRuleBoxes_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<double>("right");
        QTest::newRow("qrLista") << QStringLiteral("qrLista") << 112.4;
        QTest::newRow("qrReszletes") << QStringLiteral("qrReszletes") << 112.4;
        QTest::newRow("qrReszletes2") << QStringLiteral("qrReszletes2") << 112.4;
        QTest::newRow("qrAtvevo") << QStringLiteral("qrAtvevo") << 112.4;
        QTest::newRow("qrKiadott") << QStringLiteral("qrKiadott") << 112.4;
        QTest::newRow("qrMappa") << QStringLiteral("qrMappa") << 200.0;
    }
    void headerRuleBoxes()
    {
        QFETCH(QString, report);
        QFETCH(double, right);
        const QHash<QString, ReportLayout> layouts = {
            {QStringLiteral("qrLista"), ListReport(QString())},
            {QStringLiteral("qrReszletes"), DetailedReport(QString(), QString(), QString(), false)},
            {QStringLiteral("qrReszletes2"), DetailedReport(QString(), QString(), QString(), true)},
            {QStringLiteral("qrAtvevo"), RecipientReport(QString())},
            {QStringLiteral("qrKiadott"), LentOutReport()},
            {QStringLiteral("qrMappa"), FolderCoverReport()},
        };
        QList<double> lefts;
        for (const ReportElement &e : layouts.value(report).header.elements)
            if (e.kind == ElementKind::RuleBox)
                lefts << e.rect.left();
        QCOMPARE(lefts.size(), 2);
        QCOMPARE(lefts[0], 0.0);
        QVERIFY2(qAbs(lefts[1] - right) < 0.001, qPrintable(QString::number(lefts[1])));
    }

    // The receipt form is fed as a pre-printed slip: it takes the paper the printer
    // is set to, where the lists keep their A4.
    void registeredMailFormTakesThePrintersPaper()
    {
        const Dataset sender = ReportData::sender(m_db->connection());
        const Dataset addressee = ReportData::addressee(m_db->connection(), 1);
        for (const bool form : {true, false}) {
            const QString file = m_dir.filePath(form ? QStringLiteral("a5-form.pdf") : QStringLiteral("a5-list.pdf"));
            {
                QPdfWriter writer(file);
                writer.setPageSize(QPageSize(QPageSize::A5));
                ReportRenderer renderer(form ? RegisteredMailReport() : ListReport(QString()), addressee, &sender);
                QVERIFY(renderer.paint(writer));
            }
            const QSizeF size = ReportPdf::pageSizeMm(file);
            const QSizeF expected = form ? QSizeF(148, 210) : QSizeF(210, 297);
            QVERIFY2(qAbs(size.width() - expected.width()) < 1 && qAbs(size.height() - expected.height()) < 1,
                     qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
        }
    }

    void unknownClientPrintsAnEmptyEnvelope()
    {
        Dataset addressee = ReportData::addressee(m_db->connection(), 999);
        QCOMPARE(addressee.rowCount(), 0);
        const Dataset sender = ReportData::sender(m_db->connection());
        const QString pdf = pdfOf(m_dir, EnvelopeReport(EnvelopeSize::C6, QImage()), addressee, &sender);
        QCOMPARE(ReportPdf::pages(pdf), 1);
        QVERIFY(ReportPdf::text(pdf).trimmed().isEmpty());
    }

    void checkDigit_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<int>("check");
        QTest::newRow("9638507") << "9638507" << 4;
        QTest::newRow("0000101") << "0000101" << 4;
        QTest::newRow("not seven digits") << "000010" << -1;
        QTest::newRow("not digits") << "00001a1" << -1;
    }
    void checkDigit()
    {
        QFETCH(QString, digits);
        QFETCH(int, check);
        QCOMPARE(Ean8CheckDigit(digits), check);
    }

    // The label lands on its position, counted down the first column, and reads back
    // as the key in seven digits with its check digit.
    void labelSheetPutsTheLabelOnItsPosition()
    {
        Connection &c = m_db->connection();
        const Dataset labels = ReportData::labelSheet(c, 101, QStringLiteral("0101/01/01/2024"), 5);
        QCOMPARE(labels.rowCount(), 5);
        const LabelSheet sheet; // 10 mm margins, 4 columns of 47.5 mm, 19.2 mm labels
        const QString pdf = pdfOf(m_dir, LabelSheetReport(sheet), labels, nullptr);
        const QString code = QStringLiteral("EAN-8:00001014");
        QCOMPARE(ReportPdf::barcodes(pdf, 1), QStringList{code});
        const auto label = [](int column, int row) {
            return QRectF(10 + column * 47.5, 10 + row * 19.2, 47.5, 19.2);
        };
        QCOMPARE(ReportPdf::barcodes(pdf, 1, label(0, 4)), QStringList{code});
        QVERIFY(ReportPdf::barcodes(pdf, 1, label(0, 3)).isEmpty());
        QVERIFY(ReportPdf::text(pdf).contains(QStringLiteral("0101/01/01/2024")));
    }

    void labelSheetFillsColumnsThenPages()
    {
        // 14 labels fit a column with the defaults: the 15th heads the second column,
        // the 57th the second page.
        Dataset labels(QList<Field>{Field{QStringLiteral("azon")}, Field{QStringLiteral("vkod")},
                                    Field{QStringLiteral("vkod_nev")}});
        for (int i = 1; i <= 57; ++i)
            labels.appendRow({i, ReportData::labelCode(i), QString()});
        const QString pdf = pdfOf(m_dir, LabelSheetReport(LabelSheet{}), labels, nullptr);
        QCOMPARE(ReportPdf::pages(pdf), 2);
        const QRectF secondColumnTop(57.5, 10, 47.5, 19.2);
        QCOMPARE(ReportPdf::barcodes(pdf, 1, secondColumnTop),
                 QStringList{QStringLiteral("EAN-8:0000015") + QString::number(Ean8CheckDigit("0000015"))});
        QCOMPARE(ReportPdf::barcodes(pdf, 2).size(), 1);
    }

    void noPositionGivesAnEmptySheet()
    {
        const Dataset labels = ReportData::labelSheet(m_db->connection(), 101, QStringLiteral("x"), 0);
        QCOMPARE(labels.rowCount(), 0);
        const QString pdf = pdfOf(m_dir, LabelSheetReport(LabelSheet{}), labels, nullptr);
        QCOMPARE(ReportPdf::pages(pdf), 1);
        QVERIFY(ReportPdf::barcodes(pdf, 1).isEmpty());
    }

    void cornerBarcode_data()
    {
        QTest::addColumn<int>("corner");
        QTest::addColumn<QRectF>("area"); // mm on the page
        QTest::newRow("top left") << 0 << QRectF(0, 0, 105, 40);
        QTest::newRow("top right") << 1 << QRectF(105, 0, 105, 40);
        QTest::newRow("bottom left") << 2 << QRectF(0, 257, 105, 40);
        QTest::newRow("bottom right") << 3 << QRectF(105, 257, 105, 40);
    }
    void cornerBarcode()
    {
        QFETCH(int, corner);
        QFETCH(QRectF, area);
        const Dataset labels = ReportData::documentLabel(m_db->connection(), 1234567, QStringLiteral("Az azonosító"));
        const QString pdf = pdfOf(m_dir, CornerBarcodeReport(corner), labels, nullptr);
        const QString code = QStringLiteral("EAN-8:1234567") + QString::number(Ean8CheckDigit("1234567"));
        QCOMPARE(ReportPdf::barcodes(pdf, 1), QStringList{code}); // that corner only
        QCOMPARE(ReportPdf::barcodes(pdf, 1, area), QStringList{code});
        QVERIFY(ReportPdf::text(pdf).contains(QStringLiteral("Az azonosító")));
    }

    // foszamstr holds up to 53 characters, the label's name 50: the name is cut,
    // not refused by the server.
    void longLabelNameIsCutToTheColumn()
    {
        const QString name = QString(50, QLatin1Char('A')) + QStringLiteral("BCD");
        ReportData::documentLabel(m_db->connection(), 101, name);
        QCOMPARE(SelectText(QStringLiteral("SELECT vkod_nev FROM vkod"), {}), name.left(50));
        ReportData::labelSheet(m_db->connection(), 101, name, 2);
        QCOMPARE(SelectText(QStringLiteral("SELECT vkod_nev FROM vkod WHERE azon = 2"), {}), name.left(50));
    }

    // Two workstations printing labels at once each print their own: a print replaces
    // and reads only its session's rows.
    void labelPrintsOfTwoSessionsKeepApart()
    {
        auto first = m_db->newConnection();
        auto second = m_db->newConnection();
        const Dataset sheet = ReportData::labelSheet(*first, 101, QStringLiteral("első"), 3);
        const Dataset corner = ReportData::documentLabel(*second, 102, QStringLiteral("második"));
        QCOMPARE(sheet.rowCount(), 3);
        QCOMPARE(corner.rowCount(), 1);
        QCOMPARE(corner.text(0, 1), ReportData::labelCode(102));
        // The first session's sheet is still whole after the other's print, and a new
        // print of its own replaces it.
        const Dataset again = ReportData::labels(*first);
        QCOMPARE(again.rowCount(), 3);
        QCOMPARE(again.text(2, 1), ReportData::labelCode(101));
        QCOMPARE(again.text(2, 2), QStringLiteral("első"));
        QCOMPARE(ReportData::labelSheet(*first, 103, QStringLiteral("új"), 2).rowCount(), 2);
        QCOMPARE(ReportData::labels(*second).rowCount(), 1);
    }

    // The link lost half way through a sheet: the unit runs again and the sheet is
    // there once, under the session the rows are read on.
    void labelSheetIsOneUnit()
    {
        auto c = m_db->newConnection();
        bool killed = false;
        QStringList seen;
        UnitOfWork::setStatementHookForTests([&](Connection &on, const QString &sql) {
            seen << sql.left(6);
            if (!killed && sql.startsWith(QLatin1String("INSERT"))) {
                killed = true;
                auto other = m_db->newConnection();
                other->exec(QStringLiteral("KILL ") + QString::number(on.threadId()));
            }
        });
        const Dataset labels = ReportData::labelSheet(*c, 101, QStringLiteral("x"), 1200);
        UnitOfWork::setStatementHookForTests({});
        QVERIFY(killed);
        QVERIFY(seen.contains(QStringLiteral("DELETE")));
        QVERIFY(seen.contains(QStringLiteral("SELECT")));
        QCOMPARE(labels.rowCount(), 1200);
        QCOMPARE(labels.text(1199, 1), ReportData::labelCode(101));
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM vkod WHERE kapcsolat = %1")
                               .arg(c->threadId()), -1),
                 1200);
    }

    // The next free label counts on one sheet (56 with the defaults): past its last
    // label the next sheet begins, so no print builds more than one sheet of rows.
    void labelPositionStaysOnOneSheet_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("onSheet");
        QTest::newRow("fifth") << 4 << 19.2 << 5 << 5;
        QTest::newRow("last of the sheet") << 4 << 19.2 << 56 << 56;
        QTest::newRow("first of the next") << 4 << 19.2 << 57 << 1;
        QTest::newRow("third sheet") << 4 << 19.2 << 115 << 3;
        QTest::newRow("very large") << 4 << 19.2 << 2000000001 << (2000000001 - 1) % 56 + 1;
        QTest::newRow("none") << 4 << 19.2 << 0 << 0;
        QTest::newRow("negative") << 4 << 19.2 << -7 << -7;
        QTest::newRow("one column of 10 mm") << 1 << 10.0 << 27 << 27;
        QTest::newRow("past one column of 10 mm") << 1 << 10.0 << 29 << 2;
        QTest::newRow("no columns counts one") << 0 << 19.2 << 15 << 1;
    }
    void labelPositionStaysOnOneSheet()
    {
        QFETCH(int, columns);
        QFETCH(double, height);
        QFETCH(int, position);
        QFETCH(int, onSheet);
        LabelSheet sheet;
        sheet.columns = columns;
        sheet.height = height;
        QCOMPARE(PositionOnSheet(position, sheet), onSheet);
    }

    void labelFieldsStoreInOrderUpToTheFirstBadOne()
    {
        LocalConfig config;
        LabelFields fields = labelFieldsOf(config);
        fields.left = QStringLiteral("12");
        fields.top = QStringLiteral("11");
        fields.columns = QStringLiteral("három");
        fields.height = QStringLiteral("20");
        QVERIFY_THROWS_EXCEPTION(KorvenaError, storeLabelFields(config, fields, 1, 3));
        QCOMPARE(config.vkLeft, 12.0);
        QCOMPARE(config.vkTop, 11.0);
        QCOMPARE(config.vkColumn, 4);
        QCOMPARE(config.vkHeight, 19.2);
        QCOMPARE(config.vkTipus, 0);
        QCOMPARE(config.vkHova, 0);
        fields.columns = QStringLiteral("3");
        storeLabelFields(config, fields, 1, 3);
        QCOMPARE(config.vkColumn, 3);
        QCOMPARE(config.vkHeight, 20.0);
        QCOMPARE(config.vkTipus, 1);
        QCOMPARE(config.vkHova, 3);
    }
};

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
