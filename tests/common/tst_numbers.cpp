#include "common/Numbers.h"

#include <QTest>

class TestNumbers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { setSystemDecimalSeparator(QChar()); }

    void numericFilter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("trimmed negative") << " -12 "
                                          << "-12";
        QTest::newRow("thousands blank") << "1 000"
                                         << "1000";
        QTest::newRow("minus only first") << "12-3"
                                          << "123";
        QTest::newRow("minus after trim") << "  --5"
                                          << "-5";
        QTest::newRow("first comma wins") << "1,5.3"
                                          << "1,53";
        QTest::newRow("first point wins") << "1.5,3"
                                          << "1.53";
        QTest::newRow("unit dropped") << "25 db"
                                      << "25";
        QTest::newRow("plus dropped") << "+5"
                                      << "5";
        QTest::newRow("letters only") << "abc"
                                      << "";
    }
    void numericFilter()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(NumericFilter(text), expected);
    }

    void textToInt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("negative") << "-12" << -12;
        QTest::newRow("blank inside") << "1 000" << 1000;
        QTest::newRow("letters") << "abc" << 0;
        QTest::newRow("fraction is no integer") << "12,5" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("lone minus") << "-" << 0;
        QTest::newRow("with unit") << " 7 db" << 7;
        QTest::newRow("overflow") << "99999999999" << 0;
        QTest::newRow("version field") << "367" << 367;
    }
    void textToInt()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(TextToInt(text), expected);
    }

    void keepNumberChars()
    {
        QCOMPARE(KeepNumberChars(QStringLiteral("a-1 2,3.4 Ft+e5")), QStringLiteral("-12,3.45"));
    }

    void textToNumber_data()
    {
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        const QChar comma(QLatin1Char(',')), point(QLatin1Char('.'));
        QTest::newRow("comma, system comma") << comma << "12,5" << 12.5;
        QTest::newRow("point, system comma") << comma << "12.5" << 12.5;
        QTest::newRow("comma, system point") << point << "12,5" << 12.5;
        QTest::newRow("point, system point") << point << "12.5" << 12.5;
        QTest::newRow("unit and blanks") << comma << "  -3,25 Ft " << -3.25;
        QTest::newRow("thousands blank") << comma << "1 000" << 1000.0;
        QTest::newRow("two marks") << comma << "1.000,5" << -1.0;
        QTest::newRow("blank") << comma << "   " << -1.0;
        QTest::newRow("letters") << point << "abc" << -1.0;
        QTest::newRow("minus inside") << point << "1-2" << -1.0;
        QTest::newRow("other system mark") << QChar(0x066B) << "1,5" << -1.0;
        QTest::newRow("other system mark, point") << QChar(0x066B) << "1.5" << 1.5;
    }
    void textToNumber()
    {
        QFETCH(QChar, separator);
        QFETCH(QString, text);
        QFETCH(double, expected);
        setSystemDecimalSeparator(separator);
        QCOMPARE(TextToNumber(text, -1.0), expected);
    }

    void systemSeparatorOverride()
    {
        setSystemDecimalSeparator(QLatin1Char(';'));
        QCOMPARE(systemDecimalSeparator(), QLatin1Char(';'));
        setSystemDecimalSeparator(QChar());
        QCOMPARE(QString(systemDecimalSeparator()), QLocale::system().decimalPoint());
    }

    void numberText_data()
    {
        QTest::addColumn<double>("number");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("expected");
        const QChar comma(QLatin1Char(',')), point(QLatin1Char('.'));
        QTest::newRow("point") << 1.5 << point << "1.5";
        QTest::newRow("comma") << 1.5 << comma << "1,5";
        QTest::newRow("any other separator gives comma") << 1.5 << QChar(QLatin1Char(';')) << "1,5";
        QTest::newRow("integer") << 100.0 << point << "100";
        QTest::newRow("zero") << 0.0 << point << "0";
        QTest::newRow("negative") << -2.25 << comma << "-2,25";
        QTest::newRow("binary noise rounded") << 0.1 + 0.2 << point << "0.3";
        QTest::newRow("third") << 1.0 / 3 << point << "0.333333333333333";
        QTest::newRow("fifteen digits") << 123456789012345.0 << point << "123456789012345";
        QTest::newRow("sixteen digits") << 1e15 << point << "1E15";
        QTest::newRow("large") << 1e20 << point << "1E20";
        QTest::newRow("large fraction") << 2.5e20 << comma << "2,5E20";
        QTest::newRow("small fixed") << 0.0001 << point << "0.0001";
        QTest::newRow("small scientific") << 0.00001 << point << "1E-5";
        QTest::newRow("small negative") << -1.5e-7 << comma << "-1,5E-7";
        QTest::newRow("money") << 1234567.891 << point << "1234567.891";
    }
    void numberText()
    {
        QFETCH(double, number);
        QFETCH(QChar, separator);
        QFETCH(QString, expected);
        QCOMPARE(NumberText(number, separator), expected);
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
