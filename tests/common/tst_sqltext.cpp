#include "common/Numbers.h"
#include "common/SqlText.h"

#include <QDateTime>
#include <QTest>

class TestSqlText : public QObject
{
    Q_OBJECT

    static QStringList listQuery()
    {
        return {QStringLiteral("SELECT * FROM vw_iktato"), QStringLiteral("WHERE (irany = 1);"),
                QStringLiteral("ORDER BY 1;")};
    }

private Q_SLOTS:
    void cleanup() { setSystemDecimalSeparator(QChar()); }

    void sqlLiteral_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("NULL is the empty text") << QVariant() << "''";
        QTest::newRow("empty") << QVariant(QString()) << "''";
        QTest::newRow("quote and line break")
            << QVariant(QStringLiteral("O'Hara\r\nx")) << R"('O''Hara\r\nx')";
        QTest::newRow("backslash") << QVariant(QStringLiteral(R"(C:\iktat\)")) << R"('C:\\iktat\\')";
        QTest::newRow("quote after backslash") << QVariant(QStringLiteral(R"(\')")) << R"('\\''')";
        QTest::newRow("typed escape stays text") << QVariant(QStringLiteral(R"(a\r\nb)")) << R"('a\\r\\nb')";
        QTest::newRow("lone CR and LF") << QVariant(QStringLiteral("a\rb\nc")) << R"('a\rb\nc')";
        QTest::newRow("wildcards are plain here") << QVariant(QStringLiteral("50%_")) << "'50%_'";
        QTest::newRow("double quote") << QVariant(QStringLiteral("\"Kft\"")) << "'\"Kft\"'";
        QTest::newRow("Hungarian") << QVariant(QStringLiteral("Árvíztűrő tükörfúrógép"))
                                   << "'Árvíztűrő tükörfúrógép'";
        QTest::newRow("integer") << QVariant(123) << "'123'";
        QTest::newRow("number with point whatever the system") << QVariant(2.5) << "'2.5'";
        QTest::newRow("date") << QVariant(QDate(2024, 3, 5)) << "'2024-03-05'";
        QTest::newRow("date-time") << QVariant(QDateTime(QDate(2024, 3, 5), QTime(14, 0)))
                                   << "'2024-03-05 14:00:00'";
    }
    void sqlLiteral()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, expected);
        setSystemDecimalSeparator(QLatin1Char(','));
        QCOMPARE(SqlLiteral(value), expected);
    }

    void lineBreakSurvivesStatement()
    {
        const QString sql =
            QStringLiteral("UPDATE iktato SET targy = ") + SqlLiteral(QStringLiteral("O'Hara\r\nx"));
        QCOMPARE(UnescapeLineBreaks(sql), QStringLiteral("UPDATE iktato SET targy = 'O''Hara\r\nx'"));
    }

    void escapeText_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("exported");
        QTest::newRow("NULL") << QVariant() << ""
                              << "";
        QTest::newRow("CR LF") << QVariant(QStringLiteral("a\r\nb")) << R"(a\r\nb)"
                               << R"(a\nb)";
        QTest::newRow("LF only") << QVariant(QStringLiteral("a\nb")) << R"(a\nb)"
                                 << "ab";
        QTest::newRow("backslash") << QVariant(QStringLiteral(R"(a\b)")) << R"(a\\b)"
                                   << R"(a\\b)";
        QTest::newRow("quotes untouched") << QVariant(QStringLiteral("O'Hara \"x\"")) << "O'Hara \"x\""
                                          << "O'Hara \"x\"";
    }
    void escapeText()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, text);
        QFETCH(QString, exported);
        QCOMPARE(EscapeText(value), text);
        QCOMPARE(EscapeForExport(value), exported);
    }

    void unescapeLineBreaks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("escape") << R"(a\r\nb)"
                                << "a\r\nb";
        QTest::newRow("upper case") << R"(a\R\Nb)"
                                    << "a\r\nb";
        QTest::newRow("doubled backslashes") << R"(a\\r\\nb)"
                                             << "a\r\nb";
        QTest::newRow("doubled, upper case") << R"(a\\R\\Nb)"
                                             << "a\r\nb";
        QTest::newRow("CR alone stays") << R"(a\rb)"
                                        << R"(a\rb)";
        QTest::newRow("LF alone stays") << R"(a\nb)"
                                        << R"(a\nb)";
        QTest::newRow("LF CR stays") << R"(a\n\rb)"
                                     << R"(a\n\rb)";
        QTest::newRow("several") << R"(\r\n\r\n)"
                                 << "\r\n\r\n";
    }
    void unescapeLineBreaks()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(UnescapeLineBreaks(text), expected);
    }

    void unescapeOutsideLiterals_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::newRow("between statements") << R"(SELECT 1;\r\nSELECT 2;)"
                                            << "SELECT 1;\r\nSELECT 2;";
        QTest::newRow("doubled form outside") << R"(SELECT 1;\\R\\NSELECT 2;)"
                                              << "SELECT 1;\r\nSELECT 2;";
        QTest::newRow("typed escape in literal") << R"(SET x = 'a\\r\\nb';\r\n)"
                                                 << "SET x = 'a\\\\r\\\\nb';\r\n";
        QTest::newRow("line break in literal") << R"(SET x = 'a\r\nb')"
                                               << R"(SET x = 'a\r\nb')";
        QTest::newRow("doubled quote in literal") << R"('it''s \r\n' \r\n)"
                                                  << "'it''s \\r\\n' \r\n";
        QTest::newRow("escaped quote in literal") << R"('it\'s \r\n' \r\n)"
                                                  << "'it\\'s \\r\\n' \r\n";
        QTest::newRow("backslash ends literal") << R"('x\\' \r\n)"
                                                << "'x\\\\' \r\n";
        QTest::newRow("double-quoted literal") << R"("a\r\nb" \r\n)"
                                               << "\"a\\r\\nb\" \r\n";
        QTest::newRow("quoted name") << R"(`a\r\n``b` \r\n)"
                                     << "`a\\r\\n``b` \r\n";
        QTest::newRow("apostrophe in line comment") << R"(-- don't\r\nSELECT 'a\r\n';)"
                                                    << "-- don't\r\nSELECT 'a\\r\\n';";
        QTest::newRow("apostrophe in hash comment") << R"(# it's\r\nSELECT 1)"
                                                    << "# it's\r\nSELECT 1";
        QTest::newRow("apostrophe in block comment") << R"(/* it's */\r\nSELECT 1)"
                                                     << "/* it's */\r\nSELECT 1";
        QTest::newRow("minus minus without blank is no comment") << R"(SELECT 5--'a\r\n')"
                                                                 << R"(SELECT 5--'a\r\n')";
        QTest::newRow("unclosed literal") << R"(\r\n'abc\r\n)"
                                          << "\r\n'abc\\r\\n";
    }
    void unescapeOutsideLiterals()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QCOMPARE(UnescapeLineBreaksOutsideLiterals(sql), expected);
    }

    void typedEscapeKeptOnlyByQuoteAwareForm()
    {
        const QString sql = QStringLiteral("UPDATE t SET x = ") + SqlLiteral(QStringLiteral(R"(a\r\nb)"));
        QCOMPARE(UnescapeLineBreaksOutsideLiterals(sql), sql);
        QVERIFY(UnescapeLineBreaks(sql).contains(QLatin1String("\r\n")));
    }

    void sqlInt_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("NULL") << QVariant() << "0";
        QTest::newRow("int") << QVariant(-7) << "-7";
        QTest::newRow("bigint") << QVariant(qlonglong(9000000000LL)) << "9000000000";
        QTest::newRow("text") << QVariant(QStringLiteral(" 12 ")) << "12";
        QTest::newRow("not a number") << QVariant(QStringLiteral("1; DROP TABLE x")) << "0";
        QTest::newRow("fraction") << QVariant(2.7) << "3";
    }
    void sqlInt()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, expected);
        QCOMPARE(SqlInt(value), expected);
    }

    void sqlDate_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("us");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ISO") << QDate(2024, 3, 5) << false << "'2024-03-05'";
        QTest::newRow("US") << QDate(2024, 3, 5) << true << "'03/05/2024'";
        QTest::newRow("early year") << QDate(812, 12, 31) << false << "'0812-12-31'";
        QTest::newRow("invalid") << QDate() << false << "NULL";
    }
    void sqlDate()
    {
        QFETCH(QDate, date);
        QFETCH(bool, us);
        QFETCH(QString, expected);
        QCOMPARE(SqlDate(date, us), expected);
    }

    void setOrderBy_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("replaced") << listQuery()
                                  << QStringList{"SELECT * FROM vw_iktato", "WHERE (irany = 1);",
                                                 "ORDER BY targy;"};
        QTest::newRow("lower case, only the first")
            << QStringList{"SELECT 1", "order by 2", "ORDER BY 3"}
            << QStringList{"SELECT 1", "ORDER BY targy;", "ORDER BY 3"};
        QTest::newRow("no ORDER line")
            << QStringList{"SELECT 1", "WHERE 1=1"} << QStringList{"SELECT 1", "WHERE 1=1"};
    }
    void setOrderBy()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, expected);
        QCOMPARE(SetOrderBy(lines, QStringLiteral("targy")), expected.join(QLatin1Char('\n')));
        QCOMPARE(lines, expected);
    }

    void setWhere_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("firstOnly");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("replaced") << listQuery() << true
                                  << QStringList{"SELECT * FROM vw_iktato", "WHERE (1=1) AND (x)",
                                                 "ORDER BY 1;"};
        QTest::newRow("no WHERE line")
            << QStringList{"SELECT 1", "ORDER BY 1;"} << true << QStringList{"SELECT 1", "ORDER BY 1;"};
        QTest::newRow("first only") << QStringList{"where a", "WHERE b"} << true
                                    << QStringList{"WHERE (1=1) AND (x)", "WHERE b"};
        QTest::newRow("every line") << QStringList{"where a", "x", "WHERE b"} << false
                                    << QStringList{"WHERE (1=1) AND (x)", "x", "WHERE (1=1) AND (x)"};
    }
    void setWhere()
    {
        QFETCH(QStringList, lines);
        QFETCH(bool, firstOnly);
        QFETCH(QStringList, expected);
        QCOMPARE(SetWhere(lines, QStringLiteral("(1=1) AND (x)"), firstOnly),
                 expected.join(QLatin1Char('\n')));
        QCOMPARE(lines, expected);
    }

    void appendToWhere_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("semicolon moves behind")
            << listQuery()
            << QStringList{"SELECT * FROM vw_iktato", "WHERE (irany = 1) AND (x = 1);", "ORDER BY 1;"};
        QTest::newRow("no semicolon") << QStringList{"SELECT 1", "WHERE a", "ORDER BY 1"}
                                      << QStringList{"SELECT 1", "WHERE a AND (x = 1)", "ORDER BY 1"};
        QTest::newRow("indented, lower case, first only")
            << QStringList{"  where a;", "WHERE b;"} << QStringList{"  where a AND (x = 1);", "WHERE b;"};
        QTest::newRow("no WHERE line") << QStringList{"SELECT 1;"} << QStringList{"SELECT 1;"};
    }
    void appendToWhere()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, expected);
        QCOMPARE(AppendToWhere(lines, QStringLiteral(" AND (x = 1)")), expected.join(QLatin1Char('\n')));
        QCOMPARE(lines, expected);
    }

    void searchCondition_data()
    {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("asAnd");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two fields, two words") << "ugyfel_nev;ui"
                                               << "kiss, pecs" << false
                                               << "(((ugyfel_nev LIKE '%kiss%') OR (ui LIKE '%kiss%')) AND "
                                                  "((ugyfel_nev LIKE '%pecs%') OR (ui LIKE '%pecs%')))";
        QTest::newRow("continuation form") << "targy"
                                           << "levél" << true << " AND (((targy LIKE '%levél%')))";
        QTest::newRow("empty") << "targy"
                               << "" << false << "";
        QTest::newRow("blank, continuation form") << "targy"
                                                  << " ,; " << true << "";
        QTest::newRow("semicolon separates words")
            << "f"
            << "a;b" << false << "(((f LIKE '%a%')) AND ((f LIKE '%b%')))";
        QTest::newRow("seven words use six")
            << "f"
            << "a b c d e f g" << false
            << "(((f LIKE '%a%')) AND ((f LIKE '%b%')) AND ((f LIKE '%c%')) AND "
               "((f LIKE '%d%')) AND ((f LIKE '%e%')) AND ((f LIKE '%f%')))";
        QTest::newRow("empty field stops the list") << "f;;g"
                                                    << "a" << false << "(((f LIKE '%a%')))";
        QTest::newRow("no field") << ""
                                  << "a" << false << "";
        QTest::newRow("percent") << "f"
                                 << "50%" << false << R"((((f LIKE '%50\\%%'))))";
        QTest::newRow("underscore") << "f"
                                    << "a_b" << false << R"((((f LIKE '%a\\_b%'))))";
        QTest::newRow("backslash") << "f"
                                   << R"(c:\x)" << false << R"((((f LIKE '%c:\\\\x%'))))";
        QTest::newRow("quote") << "f"
                               << "O'Hara" << false << "(((f LIKE '%O''Hara%')))";
        QTest::newRow("Hungarian letters") << "f"
                                           << "Győr" << false << "(((f LIKE '%Győr%')))";
    }
    void searchCondition()
    {
        QFETCH(QString, fields);
        QFETCH(QString, text);
        QFETCH(bool, asAnd);
        QFETCH(QString, expected);
        QCOMPARE(SearchCondition(fields, text, asAnd), expected);
    }

    void searchConditionUsesFifteenFields()
    {
        QStringList fields;
        for (int i = 1; i <= 16; ++i)
            fields << QStringLiteral("f%1").arg(i);
        const QString condition = SearchCondition(fields.join(QLatin1Char(';')), QStringLiteral("x"));
        QVERIFY(condition.contains(QLatin1String("(f15 LIKE '%x%')")));
        QVERIFY(!condition.contains(QLatin1String("f16")));
    }
};

QTEST_GUILESS_MAIN(TestSqlText)
#include "tst_sqltext.moc"
