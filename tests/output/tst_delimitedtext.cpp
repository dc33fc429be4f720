#include "common/Encoding.h"
#include "core/Session.h"
#include "db/DbError.h"
#include "output/DelimitedText.h"
#include "register/DocumentListQuery.h"

#include "DocumentFixture.h"
#include "ExportFixture.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ExportFixture;

namespace {

QList<int> allColumns(const Dataset &data)
{
    QList<int> cols;
    for (int c = 0; c < data.fieldCount(); ++c)
        cols << c;
    return cols;
}

QByteArray cp1250Lines(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines)
        out += ToCp1250(line) + "\r\n";
    return out;
}

} // namespace

class TestDelimitedText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { resetProcessState(); }

    void lines_data()
    {
        QTest::addColumn<QList<int>>("columns");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QByteArray>("quote");
        QTest::addColumn<bool>("header");
        QTest::addColumn<bool>("originalNames");
        QTest::addColumn<bool>("multiLine");
        QTest::addColumn<QStringList>("expected");

        const QList<int> all{Key, Subject, Memo, Picture, Arrived, Amount, Big, Flag};
        QTest::newRow("defaults: labels, semicolon, no quote")
            << all << ';' << QByteArray() << true << false << true
            << QStringList{
                   QStringLiteral("iktato;Tárgy;Megjegyzés;kep;Beérkezett;Összeg;nagy;jelzo;"),
                   // A short binary (here VARBINARY(100)) and BIT(1) are ordinary fields.
                   QStringLiteral("1;Árvíztűrő „tükör” – 5 €;első\\nmásodik\tharmadik,x;0102;2024.03.01;12.5;70000;1"),
                   QStringLiteral("2;C:\\\\dok;más;;;;;-3;0"),
                   QStringLiteral("3;") + QString(300, QLatin1Char('a')) + QStringLiteral("ő;;;2023.12.31;0.25;65535;"),
               };
        QTest::newRow("tab and quote: memo tabs become commas, its semicolons stay")
            << QList<int>{Key, Memo} << '\t' << QByteArray("\"") << true << true << true
            << QStringList{
                   QStringLiteral("\"iktato\"\t\"szoveg\"\t"),
                   QStringLiteral("\"1\"\t\"első\\nmásodik,harmadik;x\""),
                   QStringLiteral("\"2\"\t\"\""),
                   QStringLiteral("\"3\"\t\"\""),
               };
        QTest::newRow("no header: the first line is empty; memo off gives BLOB")
            << QList<int>{Key, Memo} << '|' << QByteArray("'") << false << false << false
            << QStringList{QString(), QStringLiteral("'1'|'BLOB'"), QStringLiteral("'2'|'BLOB'"),
                           QStringLiteral("'3'|'BLOB'")};
        QTest::newRow("no field ticked: every line empty")
            << QList<int>{} << ';' << QByteArray() << true << false << true
            << QStringList{QString(), QString(), QString(), QString()};
    }

    void lines()
    {
        QFETCH(QList<int>, columns);
        QFETCH(char, separator);
        QFETCH(QByteArray, quote);
        QFETCH(bool, header);
        QFETCH(bool, originalNames);
        QFETCH(bool, multiLine);
        QFETCH(QStringList, expected);

        Dataset data = rows();
        data.setCurrent(0);
        DelimitedOptions o{columns, separator, quote, header, originalNames, multiLine};
        const DelimitedText text = buildDelimitedText(data, o);
        QCOMPARE(FromCp1250(text.lines), FromCp1250(cp1250Lines(expected)));
        QCOMPARE(text.lines, cp1250Lines(expected));
        QCOMPARE(text.rows, 3);
        QVERIFY(!text.stopped);
        // The walk leaves the row set on its last row.
        QCOMPARE(data.current(), 2);
    }

    void stopKeepsWhatWasCollected()
    {
        Dataset data = manyRows(100000);
        int calls = 0;
        const DelimitedText text = buildDelimitedText(data, DelimitedOptions{allColumns(data)},
                                                      [&calls](int done, int total) {
                                                          ++calls;
                                                          return !(done == 250 && total == 100000);
                                                      });
        QVERIFY(text.stopped);
        QCOMPARE(text.rows, 250);
        QCOMPARE(calls, 250);
        QCOMPARE(text.lines.count("\r\n"), 251);
        QVERIFY(text.lines.endsWith("250;Bejelentes\r\n"));
        QCOMPARE(data.current(), 249);
    }

    void onlyVisibleRowsOfAFilteredList()
    {
        Dataset data = rows();
        data.setFilter([](const Dataset &d, int row) { return d.toInt(row, Key) != 2; });
        const DelimitedText text = buildDelimitedText(data, DelimitedOptions{{Key}, ';', {}, false});
        QCOMPARE(text.lines, QByteArray("\r\n1\r\n3\r\n"));
    }

    void clipboardTextHasNoFinalBreak()
    {
        QCOMPARE(delimitedClipboardText(ToCp1250(QStringLiteral("a\tő\r\n1\t2\r\n"))),
                 QStringLiteral("a\tő\r\n1\t2"));
    }

    // Only large objects stand as "BLOB".
    void largeObjectsOnlyAreBlob()
    {
        Dataset data({Field{QStringLiteral("bit"), FieldType::Binary, 1},
                      Field{QStringLiteral("bin"), FieldType::Binary, 4},
                      Field{QStringLiteral("varbin"), FieldType::Binary, 255},
                      Field{QStringLiteral("blob"), FieldType::Binary, 65535},
                      Field{QStringLiteral("geo"), FieldType::Binary, int(0xFFFFFFFF / 2)}});
        data.appendRow({QByteArray("\x01", 1), QByteArray("\xde\xad\x00\x01", 4), QByteArray("ab"),
                        QByteArray("x"), QByteArray("y")});
        const DelimitedText text = buildDelimitedText(data, DelimitedOptions{{0, 1, 2, 3, 4}, ';', {}, false, false, true});
        QCOMPARE(text.lines, QByteArray("\r\n1;DEAD0001;6162;BLOB;BLOB\r\n"));
    }

    void unwritableFileThrowsTheSystemMessage()
    {
        QTemporaryDir dir;
        bool thrown = false;
        try {
            writeWholeFile(dir.filePath(QStringLiteral("nincs/ilyen.csv")), "x");
        } catch (const KorvenaError &e) {
            thrown = !e.text().isEmpty();
        }
        QVERIFY(thrown);
        // An existing file is replaced, not appended to.
        const QString name = dir.filePath(QStringLiteral("a.csv"));
        writeWholeFile(name, "hosszabb tartalom");
        writeWholeFile(name, "rovid");
        QFile f(name);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("rovid"));
        // Exports hold register data: their owner's alone, whatever the old file allowed.
        QFile::setPermissions(name, QFile::permissions(name) | QFileDevice::ReadOther);
        writeWholeFile(name, "ujra");
        QCOMPARE(QFile::permissions(name) & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
                 QFileDevice::Permissions());
    }

    void mainListHasItsFieldsInOrderWithLabels()
    {
        TestDatabase db;
        DocumentFixture::load();
        Dataset list;
        DocumentListQuery query;
        query.setCondition(QStringLiteral("torolve = 'N' AND iktato = 104 AND fcs = 1"));
        query.open(db.connection(), list, session().settings);
        QCOMPARE(list.fieldCount(), 46);
        DelimitedOptions o{allColumns(list)};
        const DelimitedText text = buildDelimitedText(list, o);
        const QList<QByteArray> lines = text.lines.split('\n');
        QCOMPARE(lines.size(), 3); // header, the document, and nothing after the last CR LF
        QCOMPARE(FromCp1250(lines[0]),
                 QStringLiteral(
                     "iktato;Főszám;Alszám;targy;ugyf_kitol;ugyf_hova;ugyf_intezkedesre;Tároló;Beérkezett;"
                     "Határidő;Megőrzés;Hiv.szám;torolve;Figy.dátum;Figyelmeztetés;nyomtatni;projekt;munkaszam;"
                     "Irány;tipus;File név;csoport;felhkod;Kölcsönadva;Kölcs.dátum;Kinek;Státusz;Kitől;Kinek;"
                     "Intézkedésre;Projekt;Munkaszám;Típus;Csoport;Tárgy;Irány;File név 2.;File név 3;"
                     "Eredeti file név;Eredeti file név 2.;Eredeti file név 3.;Kulcsszavak;Megjegyzés;Főszám;"
                     "fcs;Sorszám;\r"));
        const QList<QByteArray> cells = lines[1].chopped(1).split(';');
        QCOMPARE(cells.size(), 46);
        QCOMPARE(cells[0], QByteArray("104"));
        // The subject's backslash is doubled; dates are in the short form.
        QCOMPARE(FromCp1250(cells[3]), QStringLiteral("Belső feljegyzés C:\\\\dok"));
        QCOMPARE(cells[8], QByteArray("2024.01.20"));
    }
};

QTEST_GUILESS_MAIN(TestDelimitedText)
#include "tst_delimitedtext.moc"
