#include "common/Dates.h"
#include "common/Numbers.h"
#include "common/Text.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QTest>

class TestText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setSystemDecimalSeparator(QLatin1Char(',')); }

    void varToText_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("NULL gives default") << QVariant() << "def";
        QTest::newRow("empty text is not NULL") << QVariant(QString()) << "";
        QTest::newRow("text") << QVariant(QStringLiteral("Győr")) << "Győr";
        QTest::newRow("integer") << QVariant(qlonglong(-42)) << "-42";
        QTest::newRow("number, system mark") << QVariant(2.5) << "2,5";
        QTest::newRow("date") << QVariant(QDate(2024, 3, 5)) << "2024-03-05";
        QTest::newRow("date-time") << QVariant(QDateTime(QDate(2024, 3, 5), QTime(8, 9, 10)))
                                   << "2024-03-05 08:09:10";
        QTest::newRow("bytes as code page 1250") << QVariant(QByteArray("\xF5\xFB")) << "őű";
    }
    void varToText()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, expected);
        QCOMPARE(VarToText(value, QStringLiteral("def")), expected);
    }

    void varToInt_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("NULL") << QVariant() << -1;
        QTest::newRow("int") << QVariant(7) << 7;
        QTest::newRow("bigint") << QVariant(qlonglong(123456)) << 123456;
        QTest::newRow("text") << QVariant(QStringLiteral(" 42 ")) << 42;
        QTest::newRow("text fraction") << QVariant(QStringLiteral("12.7")) << 13;
        QTest::newRow("fraction rounds") << QVariant(2.6) << 3;
        QTest::newRow("half to even") << QVariant(2.5) << 2;
        QTest::newRow("not a number") << QVariant(QStringLiteral("abc")) << -1;
        QTest::newRow("empty text") << QVariant(QString()) << -1;
        QTest::newRow("date") << QVariant(QDate(2024, 3, 5)) << -1;
    }
    void varToInt()
    {
        QFETCH(QVariant, value);
        QFETCH(int, expected);
        QCOMPARE(VarToInt(value, -1), expected);
    }

    void varToNumber_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<double>("expected");
        QTest::newRow("NULL") << QVariant() << -1.0;
        QTest::newRow("double") << QVariant(2.25) << 2.25;
        QTest::newRow("int") << QVariant(3) << 3.0;
        QTest::newRow("server text") << QVariant(QStringLiteral("12.5")) << 12.5;
        QTest::newRow("not a number") << QVariant(QStringLiteral("x")) << -1.0;
    }
    void varToNumber()
    {
        QFETCH(QVariant, value);
        QFETCH(double, expected);
        QCOMPARE(VarToNumber(value, -1.0), expected);
    }

    void varToDate_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QDate>("expected");
        const QDate def(2000, 1, 1);
        QTest::newRow("NULL") << QVariant() << def;
        QTest::newRow("date") << QVariant(QDate(2024, 3, 5)) << QDate(2024, 3, 5);
        QTest::newRow("date-time") << QVariant(QDateTime(QDate(2024, 3, 5), QTime(23, 59)))
                                   << QDate(2024, 3, 5);
        QTest::newRow("server text") << QVariant(QStringLiteral("2024-03-05 10:00:00")) << QDate(2024, 3, 5);
        QTest::newRow("zero date") << QVariant(QStringLiteral("0000-00-00")) << def;
        QTest::newRow("invalid date") << QVariant(QDate()) << def;
    }
    void varToDate()
    {
        QFETCH(QVariant, value);
        QFETCH(QDate, expected);
        QCOMPARE(VarToDate(value, QDate(2000, 1, 1)), expected);
    }

    void fixedWidth_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("expected");
        QTest::newRow("padded") << QVariant(QStringLiteral("ab")) << 4 << "ab  ";
        QTest::newRow("cut") << QVariant(QStringLiteral("Árvíztűrő")) << 3 << "Árv";
        QTest::newRow("NULL") << QVariant() << 3 << "   ";
        QTest::newRow("number") << QVariant(12) << 4 << "12  ";
        QTest::newRow("zero width") << QVariant(QStringLiteral("ab")) << 0 << "";
    }
    void fixedWidth()
    {
        QFETCH(QVariant, value);
        QFETCH(int, n);
        QFETCH(QString, expected);
        QCOMPARE(FixedWidth(value, n), expected);
    }

    void token_data()
    {
        QTest::addColumn<QString>("delimiters");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two blanks: empty token") << " "
                                                 << "a  b" << 2 << "";
        QTest::newRow("two blanks: then b") << " "
                                            << "a  b" << 3 << "b";
        QTest::newRow("first") << " "
                               << "a  b" << 1 << "a";
        QTest::newRow("beyond the last") << " "
                                         << "a  b" << 4 << "";
        QTest::newRow("zero") << " "
                              << "a b" << 0 << "";
        QTest::newRow("negative") << " "
                                  << "a b" << -1 << "";
        QTest::newRow("any delimiter of the set") << ";|"
                                                  << "x|y;z" << 3 << "z";
        QTest::newRow("trimmed") << ";"
                                 << " x ; y " << 2 << "y";
        QTest::newRow("trailing delimiter") << ";"
                                            << "x;" << 2 << "";
        QTest::newRow("version field") << "."
                                       << "24.0.0.367" << 4 << "367";
        QTest::newRow("answer field") << "|"
                                      << "24.0.0.400|Új verzió" << 2 << "Új verzió";
        QTest::newRow("empty text") << ";"
                                    << "" << 1 << "";
    }
    void token()
    {
        QFETCH(QString, delimiters);
        QFETCH(QString, text);
        QFETCH(int, n);
        QFETCH(QString, expected);
        QCOMPARE(Token(delimiters, text, n), expected);
    }

    void smallTextRoutines()
    {
        QCOMPARE(ReplaceChar(QVariant(QStringLiteral("a.b.c")), QLatin1Char('.'), QLatin1Char(',')),
                 QStringLiteral("a,b,c"));
        QCOMPARE(ReplaceChar(QVariant(), QLatin1Char('.'), QLatin1Char(',')), QString());
        QCOMPARE(RemoveBlanks(QStringLiteral(" 1 000 Ft ")), QStringLiteral("1000Ft"));
        QCOMPARE(RemoveBlanks(QStringLiteral("a\tb")), QStringLiteral("a\tb"));
        QCOMPARE(RemoveChars(QStringLiteral("-/ "), QStringLiteral("12-34/5 6")), QStringLiteral("123456"));
        QCOMPARE(LeftText(QStringLiteral("Pécs"), 2), QStringLiteral("Pé"));
        QCOMPARE(RightText(QStringLiteral("Pécs"), 3), QStringLiteral("écs"));
        QCOMPARE(LeftText(QStringLiteral("ab"), 5), QStringLiteral("ab"));
        QCOMPARE(LeftText(QStringLiteral("ab"), -1), QString());
        QCOMPARE(RightText(QStringLiteral("ab"), -1), QString());
    }

    void padNumber_data()
    {
        QTest::addColumn<qint64>("number");
        QTest::addColumn<int>("width");
        QTest::addColumn<QChar>("c");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zeros") << qint64(5) << 3 << QChar(QLatin1Char('0')) << "005";
        QTest::newRow("never cut") << qint64(12345) << 3 << QChar(QLatin1Char('0')) << "12345";
        QTest::newRow("prefix before sign") << qint64(-5) << 4 << QChar(QLatin1Char('0')) << "00-5";
        QTest::newRow("blanks") << qint64(7) << 2 << QChar(QLatin1Char(' ')) << " 7";
        QTest::newRow("zero width") << qint64(7) << 0 << QChar(QLatin1Char('0')) << "7";
    }
    void padNumber()
    {
        QFETCH(qint64, number);
        QFETCH(int, width);
        QFETCH(QChar, c);
        QFETCH(QString, expected);
        QCOMPARE(PadNumber(number, width, c), expected);
    }

    void safeFileName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Hungarian title") << "Iktatókönyv"
                                         << "iktat_k_nyv";
        QTest::newRow("every dashed character") << " !\"#%&'*+/:?@\\"
                                                << "--------------";
        QTest::newRow("kept punctuation") << "a.b-c_d(1)"
                                          << "a.b-c_d(1)";
        QTest::newRow("upper-case accents") << "ŐSZ 2024"
                                            << "_sz-2024";
        QTest::newRow("euro sign has code 128") << "€"
                                                << "€";
        QTest::newRow("outside the code page") << "a→b"
                                               << "a_b";
        QTest::newRow("one mark for a surrogate pair") << QString::fromUtf8("x\xF0\x9F\x93\x84y") << "x_y";
    }
    void safeFileName()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(SafeFileName(text), expected);
    }

    void programFolder()
    {
        const QString folder = ProgramFolder();
        QVERIFY(!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\')));
        QVERIFY(QDir(folder).exists());
        QCOMPARE(QDir(folder).canonicalPath().toLower(),
                 QDir(QCoreApplication::applicationDirPath()).canonicalPath().toLower());
    }

    void iif()
    {
        QCOMPARE(Iif(true, QStringLiteral("I"), "N"), QStringLiteral("I"));
        QCOMPARE(Iif(false, QStringLiteral("I"), "N"), QStringLiteral("N"));
        QCOMPARE(Iif(false, 1, 2.5), 2.5);
    }

    void dateParts_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("week");
        QTest::newRow("ordinary") << QDate(2024, 3, 5) << 2024 << 3 << 5 << 10;
        QTest::newRow("December in next year's week 1") << QDate(2024, 12, 30) << 2024 << 12 << 30 << 1;
        QTest::newRow("January in last year's week 53") << QDate(2021, 1, 3) << 2021 << 1 << 3 << 53;
        QTest::newRow("year with 53 weeks") << QDate(2020, 12, 31) << 2020 << 12 << 31 << 53;
        QTest::newRow("Sunday ends the week") << QDate(2024, 1, 7) << 2024 << 1 << 7 << 1;
        QTest::newRow("Monday starts the next") << QDate(2024, 1, 8) << 2024 << 1 << 8 << 2;
        QTest::newRow("invalid") << QDate() << 0 << 0 << 0 << 0;
    }
    void dateParts()
    {
        QFETCH(QDate, date);
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(int, week);
        QCOMPARE(DateYear(date), year);
        QCOMPARE(DateMonth(date), month);
        QCOMPARE(DateDay(date), day);
        QCOMPARE(DateWeek(date), week);
    }
};

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
