#include "db/SqlScript.h"

#include <QTest>

class TestSqlScript : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void split_data();
    void split();
    void splitsTheRegisterScripts();
};

void TestSqlScript::split_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("statements");

    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("only blanks and delimiters") << QStringLiteral("  ;\n ; ;; \n") << QStringList();
    QTest::newRow("two statements, trimmed")
        << QStringLiteral("  SELECT 1 ;\n\tSELECT 2;  ") << QStringList{"SELECT 1", "SELECT 2"};
    QTest::newRow("last statement without delimiter")
        << QStringLiteral("SELECT 1; SELECT 2") << QStringList{"SELECT 1", "SELECT 2"};
    QTest::newRow("CR LF lines") << QStringLiteral("SELECT 1;\r\nSELECT\r\n 2;\r\n")
                                 << QStringList{"SELECT 1", "SELECT\r\n 2"};

    QTest::newRow("delimiter in single quotes") << QStringLiteral("INSERT INTO t VALUES ('a;b'); SELECT 2;")
                                                << QStringList{"INSERT INTO t VALUES ('a;b')", "SELECT 2"};
    QTest::newRow("doubled and escaped single quotes")
        << QStringLiteral("SELECT 'it''s;', 'x\\';y'; SELECT 3")
        << QStringList{"SELECT 'it''s;', 'x\\';y'", "SELECT 3"};
    QTest::newRow("escaped backslash ends the string")
        << QStringLiteral("SELECT 'a\\\\'; SELECT 4") << QStringList{"SELECT 'a\\\\'", "SELECT 4"};
    QTest::newRow("double quotes") << QStringLiteral("SELECT \"a;\"\"b\\\";\"; SELECT 5")
                                   << QStringList{"SELECT \"a;\"\"b\\\";\"", "SELECT 5"};
    QTest::newRow("backquotes: doubled, no backslash escape")
        << QStringLiteral("SELECT `a;``b`, `c\\`; SELECT 6")
        << QStringList{"SELECT `a;``b`, `c\\`", "SELECT 6"};
    QTest::newRow("comment markers inside strings stay") << QStringLiteral("SELECT '-- x', '# y', '/* z */';")
                                                         << QStringList{"SELECT '-- x', '# y', '/* z */'"};
    QTest::newRow("unterminated string runs to the end")
        << QStringLiteral("SELECT 1; SELECT 'abc;") << QStringList{"SELECT 1", "SELECT 'abc;"};

    QTest::newRow("line comments dropped, delimiters in them ignored")
        << QStringLiteral("-- first; comment\nSELECT 1; # second; one\nSELECT 2 -- tail;\n;")
        << QStringList{"SELECT 1", "SELECT 2"};
    QTest::newRow("double dash without blank is an operator")
        << QStringLiteral("SELECT 5--3;") << QStringList{"SELECT 5--3"};
    QTest::newRow("double dash at the very end") << QStringLiteral("SELECT 1;--") << QStringList{"SELECT 1"};
    QTest::newRow("comment-only script") << QStringLiteral("-- a\n# b\n/* c; */\n") << QStringList();
    QTest::newRow("block comment spanning lines with a delimiter")
        << QStringLiteral("SELECT /* a;\n b; */ 1;") << QStringList{"SELECT  1"};
    QTest::newRow("block comment between tokens keeps them apart")
        << QStringLiteral("SELECT/**/1;") << QStringList{"SELECT 1"};
    QTest::newRow("executable comments stay")
        << QStringLiteral("/*!40101 SET NAMES latin2 */;\n/*M!100100 SELECT 1 */; SELECT /*+ NO_ICP(t) */ 2;")
        << QStringList{"/*!40101 SET NAMES latin2 */", "/*M!100100 SELECT 1 */", "SELECT /*+ NO_ICP(t) */ 2"};

    QTest::newRow("DELIMITER block")
        << QStringLiteral("DELIMITER $$\nCREATE PROCEDURE p()\nBEGIN\n  SELECT 1;\n  SELECT 2;\nEND $$\n"
                          "DELIMITER ;\nCALL p();")
        << QStringList{"CREATE PROCEDURE p()\nBEGIN\n  SELECT 1;\n  SELECT 2;\nEND", "CALL p()"};
    QTest::newRow("lower-case delimiter command, longer delimiter")
        << QStringLiteral("delimiter //\nSELECT 1; SELECT 2//\n  delimiter ;  \nSELECT 3;")
        << QStringList{"SELECT 1; SELECT 2", "SELECT 3"};
    QTest::newRow("DELIMITER after a comment line")
        << QStringLiteral("-- routines\nDELIMITER ;;\nSELECT 1;;\nDELIMITER ;\n") << QStringList{"SELECT 1"};
    QTest::newRow("delimiter inside a string of a block")
        << QStringLiteral("DELIMITER $$\nSELECT '$$;' $$\nDELIMITER ;") << QStringList{"SELECT '$$;'"};
    QTest::newRow("DELIMITER inside a statement is text")
        << QStringLiteral("SELECT 1 AS\nDELIMITER;") << QStringList{"SELECT 1 AS\nDELIMITER"};
    QTest::newRow("word starting with delimiter is not the command")
        << QStringLiteral("DELIMITERS;") << QStringList{"DELIMITERS"};
    QTest::newRow("non-ASCII text") << QStringLiteral("INSERT INTO csoport VALUES ('Általános; ő');")
                                    << QStringList{"INSERT INTO csoport VALUES ('Általános; ő')"};
}

void TestSqlScript::split()
{
    QFETCH(QString, script);
    QFETCH(QStringList, statements);
    QCOMPARE(SqlScript::split(script), statements);
}

// The register's own routine script: one statement per routine (and per DROP),
// each CREATE keeping its whole body.
void TestSqlScript::splitsTheRegisterScripts()
{
    QFile f(QStringLiteral(":/server/routines.sql"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList statements = SqlScript::split(QString::fromUtf8(f.readAll()));
    QVERIFY(!statements.isEmpty());
    int creates = 0;
    for (const QString &s : statements) {
        QVERIFY2(s.startsWith(QLatin1String("DROP ")) || s.startsWith(QLatin1String("CREATE ")),
                 qPrintable(s));
        QVERIFY2(!s.contains(QLatin1String("DELIMITER")), qPrintable(s));
        if (s.startsWith(QLatin1String("CREATE "))) {
            ++creates;
            QVERIFY2(s.endsWith(QLatin1String("END")), qPrintable(s));
        }
    }
    QCOMPARE(creates * 2, statements.size());
}

QTEST_GUILESS_MAIN(TestSqlScript)
#include "tst_sqlscript.moc"
