#include "core/ProgramSettings.h"
#include "register/DocumentFilter.h"
#include "register/DocumentListQuery.h"

#include <QtTest>

namespace {

const QString Ten[] = {QStringLiteral("targy"),          QStringLiteral("ugyf_kitol_nev"),
                       QStringLiteral("ugyf_kinek_nev"), QStringLiteral("ugyf_intezkedesre_nev"),
                       QStringLiteral("hivszam"),        QStringLiteral("projekt_nev"),
                       QStringLiteral("munkaszam_nev"),  QStringLiteral("csoport_nev"),
                       QStringLiteral("kulcsszavak"),    QStringLiteral("CONVERT(iktatoaz USING latin2)")};

// The search words of a composed piece, in order, read back from its first column's LIKE.
QStringList wordsOf(const QString &piece)
{
    QStringList words;
    const QString marker = QStringLiteral("((targy LIKE '%");
    for (qsizetype at = piece.indexOf(marker); at >= 0; at = piece.indexOf(marker, at + 1)) {
        const qsizetype start = at + marker.size();
        words << piece.mid(start, piece.indexOf(QStringLiteral("%')"), start) - start);
    }
    return words;
}

} // namespace

class TestDocumentFilter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void composition_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("otherGroup");
        QTest::addColumn<int>("group");
        QTest::addColumn<bool>("expired");
        QTest::addColumn<QString>("expected");

        QTest::newRow("incoming, a year")
            << 0 << 2024 << 0 << 0 << 0 << false
            << "(torolve='N') AND (YEAR(dat_erk)=2024) AND (irany=0) AND (fcs=7)";
        QTest::newRow("outgoing, all years")
            << 1 << 0 << 0 << 0 << 0 << false << "(torolve='N') AND (irany=1) AND (fcs=7)";
        QTest::newRow("other, year tab gave -1")
            << 2 << -1 << 0 << 0 << 0 << false << "(torolve='N') AND (irany=2) AND (fcs=7)";
        QTest::newRow("all directions: no irany, still fcs")
            << 3 << 2023 << 0 << 0 << 0 << false << "(torolve='N') AND (YEAR(dat_erk)=2023) AND (fcs=7)";
        QTest::newRow("type") << 0 << 0 << 4 << 0 << 0 << false
                              << "(torolve='N') AND (tipus = 4) AND (irany=0) AND (fcs=7)";
        QTest::newRow("other group") << 1 << 0 << 0 << 5 << 0 << false
                                     << "(torolve='N') AND (egyebcsop = 5) AND (irany=1) AND (fcs=7)";
        QTest::newRow("group") << 3 << 0 << 0 << 0 << 6 << false
                               << "(torolve='N') AND (csoport = 6) AND (fcs=7)";
        QTest::newRow("pieces keep their order")
            << 2 << 2022 << 4 << 5 << 6 << true
            << "(torolve='N') AND (tipus = 4) AND (egyebcsop = 5) AND (csoport = 6) AND "
               "(dat_hatid <= CURDATE()) AND (YEAR(dat_erk)=2022) AND (irany=2) AND (fcs=7)";
        QTest::newRow("expired only on the third tab")
            << 2 << 0 << 0 << 0 << 0 << true
            << "(torolve='N') AND (dat_hatid <= CURDATE()) AND (irany=2) AND (fcs=7)";
        QTest::newRow("expired kept but idle on another tab")
            << 0 << 0 << 0 << 0 << 0 << true << "(torolve='N') AND (irany=0) AND (fcs=7)";
        QTest::newRow("expired idle on all directions")
            << 3 << 0 << 0 << 0 << 0 << true << "(torolve='N') AND (fcs=7)";
        QTest::newRow("zero and negative keys are none")
            << 0 << 0 << -1 << 0 << -3 << false << "(torolve='N') AND (irany=0) AND (fcs=7)";
    }
    void composition()
    {
        QFETCH(int, direction);
        QFETCH(int, year);
        QFETCH(int, type);
        QFETCH(int, otherGroup);
        QFETCH(int, group);
        QFETCH(bool, expired);
        QFETCH(QString, expected);
        DocumentFilter f;
        f.year = year;
        f.type = type;
        f.otherGroup = otherGroup;
        f.group = group;
        f.expiredOnly = expired;
        QCOMPARE(f.compose(direction, 7), expected);
    }

    void entryPieces_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("piece");
        QTest::newRow("Nincs szűrés") << 0 << "";
        QTest::newRow("Csak a mai nap") << 1 << " AND (dat_erk=CURDATE())";
        QTest::newRow("Nyomtatásra jelöltek") << 2 << " AND (nyomtatni='I')";
        QTest::newRow("Főszámra") << 3 << " AND (az1=12)";
        QTest::newRow("Kiadottak") << 4 << " AND (kolcsonadva='I')";
        QTest::newRow("Csak az utolsó hét") << 5 << " AND (dat_erk>=DATE_ADD(CURDATE(), INTERVAL -7 DAY))";
        QTest::newRow("Időszak") << 6 << " AND (dat_erk BETWEEN '2024-01-05' AND '2024-02-05')";
        QTest::newRow("Típusra") << 7 << "";
        QTest::newRow("Lejártak") << 8 << "";
        QTest::newRow("Csoportra") << 9 << "";
        QTest::newRow("Figyelmeztetésekre") << 10 << " AND (figy_szoveg IS NOT NULL)";
        QTest::newRow("Ahol nincs csatolt file")
            << 11 << " AND (iktato NOT IN (SELECT DISTINCT iktato FROM iktato_file))";
        QTest::newRow("Egyéb csoportra") << 12 << "";
    }
    void entryPieces()
    {
        QFETCH(int, entry);
        QFETCH(QString, piece);
        DocumentFilter f;
        f.entry = FilterEntry(entry);
        f.mainNumber = 12;
        f.periodStart = QDate(2024, 1, 5);
        f.periodEnd = QDate(2024, 2, 5);
        f.year = 2024;
        QCOMPARE(f.compose(1, 3),
                 QStringLiteral("(torolve='N') AND (YEAR(dat_erk)=2024) AND (irany=1) AND (fcs=3)") + piece);
    }

    void cancelledMainNumberMatchesNothing()
    {
        DocumentFilter f;
        f.entry = FilterEntry::MainNumber;
        QCOMPARE(f.entryPiece(), QStringLiteral(" AND (az1=-1)"));
    }

    void clearKeepsEverythingButTheNarrowing()
    {
        DocumentFilter f;
        f.direction = 2;
        f.year = 2021;
        f.type = 1;
        f.otherGroup = 2;
        f.group = 3;
        f.expiredOnly = true;
        f.entry = FilterEntry::LentOut;
        f.mainNumber = 9;
        f.clear();
        QCOMPARE(
            f.compose(2, 1),
            QStringLiteral(
                "(torolve='N') AND (YEAR(dat_erk)=2021) AND (irany=2) AND (fcs=1) AND (kolcsonadva='I')"));
        QCOMPARE(f.locateColumn, QStringLiteral("iktatoaz"));
    }

    void entryCaptionsAndNames()
    {
        QCOMPARE(filterEntryActionName(FilterEntry::OtherGroup), QStringLiteral("aSzur12"));
        QCOMPARE(filterEntryCaption(FilterEntry::NoAttachment), QStringLiteral("Ahol nincs csatolt file"));
        QCOMPARE(filterEntryCaption(FilterEntry::Expired), QStringLiteral("Lejártak"));
    }

    void searchPieceOfOneWord()
    {
        QStringList groups;
        for (const QString &c : Ten)
            groups << QStringLiteral("(") + c + QStringLiteral(" LIKE '%kiss%')");
        QCOMPARE(documentSearchPiece(QStringLiteral("kiss")),
                 QStringLiteral(" AND ((") + groups.join(QStringLiteral(" OR ")) + QStringLiteral("))"));
    }

    void searchWords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("empty") << "" << QStringList();
        QTest::newRow("blanks") << "   " << QStringList();
        QTest::newRow("punctuation only") << ",; ;," << QStringList();
        QTest::newRow("comma and blank") << "kiss, pecs" << QStringList{"kiss", "pecs"};
        QTest::newRow("semicolon") << "kiss;pecs" << QStringList{"kiss", "pecs"};
        QTest::newRow("two leading blanks") << "  kiss" << QStringList{"kiss"};
        QTest::newRow("seven words") << "a b c d e f g" << QStringList{"a", "b", "c", "d", "e", "f"};
        QTest::newRow("doubled blank uses a field") << "a b c d  e f" << QStringList{"a", "b", "c", "d", "e"};
        QTest::newRow("six blanks then a word") << "      x" << QStringList();
        QTest::newRow("Hungarian letters") << "Őrző ÁRVÍZTŰRŐ" << QStringList{"Őrző", "ÁRVÍZTŰRŐ"};
    }
    void searchWords()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        const QString piece = documentSearchPiece(text);
        QCOMPARE(wordsOf(piece), words);
        if (words.isEmpty())
            QVERIFY(piece.isEmpty());
        else
            QVERIFY(piece.startsWith(QStringLiteral(" AND ((")));
        // Every word must match: the groups are joined by AND, the columns by OR.
        QCOMPARE(piece.count(QStringLiteral(")) AND ((")), qMax(0, int(words.size()) - 1));
    }

    void searchTextIsAlwaysALiteral_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("literal");
        QTest::newRow("quote") << "O'Neil"
                               << "'%O''Neil%'";
        QTest::newRow("backslash") << "C:\\dok"
                                   << "'%C:\\\\\\\\dok%'";
        QTest::newRow("percent") << "50%"
                                 << "'%50\\\\%%'";
        QTest::newRow("underscore") << "a_b"
                                    << "'%a\\\\_b%'";
        QTest::newRow("closing parenthesis and semicolon") << "x');DROP"
                                                           << "'%x'')%'";
    }
    void searchTextIsAlwaysALiteral()
    {
        QFETCH(QString, text);
        QFETCH(QString, literal);
        const QString piece = documentSearchPiece(text);
        QVERIFY2(piece.contains(QStringLiteral("(targy LIKE ") + literal + QLatin1Char(')')),
                 qPrintable(piece));
    }

    void barcode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("key"); // -1: not a scan of a key
        QTest::newRow("leading zeros") << "00001234" << 123;
        QTest::newRow("seven digits and check digit") << "12345670" << 1234567;
        QTest::newRow("letters") << "abcdefgh" << -1;
        QTest::newRow("a subject of eight characters") << "Számla 1" << -1;
        QTest::newRow("blank inside the key") << "0001 234" << -1;
        QTest::newRow("seven characters") << "1234567" << -1;
        QTest::newRow("nine characters") << "123456789" << -1;
        QTest::newRow("letter only in the check digit") << "0000042x" << 42;
    }
    void barcode()
    {
        QFETCH(QString, text);
        QFETCH(int, key);
        const std::optional<int> got = barcodeDocumentKey(text);
        QCOMPARE(got.value_or(-1), key);
        QCOMPARE(isBarcodeLength(text), text.size() == 8);
    }

    void yearTabs_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("year");
        QTest::newRow("a year") << "2024" << 2024;
        QTest::newRow("all") << "Összes" << -1;
        QTest::newRow("documents without date") << "" << -1;
        QTest::newRow("zero") << "0" << -1;
    }
    void yearTabs()
    {
        QFETCH(QString, caption);
        QFETCH(int, year);
        QCOMPARE(yearOfTabCaption(caption), year);
    }

    void listQueryLines()
    {
        DocumentListQuery q;
        QCOMPARE(q.lines().size(), 3);
        QCOMPARE(q.lines()[0], QStringLiteral("SELECT ") + documentListColumns().join(QStringLiteral(", ")) +
                                   QStringLiteral(" FROM vw_iktato"));
        QCOMPARE(documentListColumns().size(), 46);
        QCOMPARE(q.lines()[1], QStringLiteral("WHERE torolve = 'N'"));
        QCOMPARE(q.lines()[2], QStringLiteral("ORDER BY 1;"));
        q.setCondition(QStringLiteral("(fcs=1)"));
        q.setOrder(QStringLiteral("xtargy"));
        q.setCondition(QStringLiteral("(fcs=2)"));
        QCOMPARE(q.sql(), q.lines()[0] + QStringLiteral("\nWHERE (fcs=2)\nORDER BY xtargy;"));
    }

    void fieldLabels_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("renamed");
        QTest::newRow("munkaszam_nev") << "munkaszam_nev"
                                       << "Munkaszám"
                                       << "M1";
        QTest::newRow("projekt_nev") << "projekt_nev"
                                     << "Projekt"
                                     << "M2";
        QTest::newRow("tipus_nev") << "tipus_nev"
                                   << "Típus"
                                   << "M3";
        QTest::newRow("hivszam") << "hivszam"
                                 << "Hiv.szám"
                                 << "M4";
        QTest::newRow("tarolo") << "tarolo"
                                << "Tároló"
                                << "M5";
        QTest::newRow("iktatoaz") << "iktatoaz"
                                  << "Sorszám"
                                  << "Sorszám";
        QTest::newRow("xtargy") << "xtargy"
                                << "Tárgy"
                                << "Tárgy";
        QTest::newRow("filenev3") << "filenev3"
                                  << "File név 3"
                                  << "File név 3";
        QTest::newRow("origfilenev2") << "origfilenev2"
                                      << "Eredeti file név 2."
                                      << "Eredeti file név 2.";
        QTest::newRow("kolcsonadva_kinek") << "kolcsonadva_kinek"
                                           << "Kinek"
                                           << "Kinek";
        QTest::newRow("foszamstr") << "foszamstr"
                                   << "Főszám"
                                   << "Főszám";
        QTest::newRow("no label") << "targy"
                                  << ""
                                  << "";
    }
    void fieldLabels()
    {
        QFETCH(QString, field);
        QFETCH(QString, standard);
        QFETCH(QString, renamed);
        ProgramSettings s;
        QCOMPARE(documentFieldLabel(field, s), standard);
        s.mezo1 = QStringLiteral("M1");
        s.mezo2 = QStringLiteral("M2");
        s.mezo3 = QStringLiteral("M3");
        s.mezo4 = QStringLiteral("M4");
        s.mezo5 = QStringLiteral("M5");
        QCOMPARE(documentFieldLabel(field, s), renamed);
    }
};

QTEST_APPLESS_MAIN(TestDocumentFilter)
#include "tst_documentfilter.moc"
