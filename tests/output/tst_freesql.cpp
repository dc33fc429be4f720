#include "db/DbHelpers.h"
#include "common/SqlText.h"
#include "output/FreeSqlScript.h"
#include "output/FreeSqlTable.h"

#include "TestDatabase.h"
#include "TestSupport.h"

#include <QtTest>
#include <memory>

// The free SQL console's own rules, without its window: the script runner,
// the text tests and the table that writes each change at once.
class TestFreeSql : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

    static QStringList names()
    {
        QStringList list;
        FillList(list, QStringLiteral("SELECT nev FROM proba ORDER BY id"));
        return list;
    }

private Q_SLOTS:
    void initTestCase() { m_db = std::make_unique<TestDatabase>(TestDatabase::Empty); }
    void init()
    {
        resetProcessState();
        ExecSql(QStringLiteral("DROP TABLE IF EXISTS proba"));
        ExecSql(QStringLiteral(
            "CREATE TABLE proba (id INT NOT NULL AUTO_INCREMENT PRIMARY KEY, "
            "nev VARCHAR(50) NOT NULL DEFAULT 'alap', datum DATE NULL, osszeg DECIMAL(10,2) NULL) "
            "DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci"));
        ExecSql(
            QStringLiteral("INSERT INTO proba (nev, datum, osszeg) VALUES "
                           "('Első', '2024-03-05', 1.50), ('Második', NULL, NULL), ('Harmadik', NULL, 3)"));
    }
    void cleanupTestCase() { m_db.reset(); }

    void editorTextChoosesTableQueryOrScript_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("table"); // "-" when no table is asked for
        QTest::addColumn<bool>("query");
        QTest::newRow("table line") << "table: iktato\nSELECT 1"
                                    << "iktato" << false;
        QTest::newRow("any case, no blank after the colon") << "TABLE:ugyfel  \nx"
                                                            << "ugyfel" << false;
        QTest::newRow("only at the very start of the first line") << "  table: ugyfel\nx"
                                                                  << "-" << false;
        QTest::newRow("only on the first line") << "UPDATE x SET a = 1;\ntable: ugyfel"
                                                << "-" << false;
        QTest::newRow("table word first, name after the first colon") << "Table x: a:b"
                                                                      << "a:b" << false;
        QTest::newRow("select, any case, leading blanks") << "  \n select 1"
                                                          << "-" << true;
        QTest::newRow("show") << "show tables"
                              << "-" << true;
        QTest::newRow("several statements behind a select stay one query") << "SELECT 1; DELETE FROM x;"
                                                                           << "-" << true;
        QTest::newRow("anything else is a script") << "UPDATE x SET a = 1;"
                                                   << "-" << false;
    }
    void editorTextChoosesTableQueryOrScript()
    {
        QFETCH(QString, text);
        QFETCH(QString, table);
        QFETCH(bool, query);
        QCOMPARE(FreeSql::requestedTable(text).value_or(QStringLiteral("-")), table);
        QCOMPARE(FreeSql::isQuery(text), query);
    }

    void scriptStatementsByLine_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("statements");
        QTest::newRow("lines joined, blank lines skipped, delimiter dropped")
            << "UPDATE a\n\n   SET b = 1;  \r\nDELETE FROM c;"
            << QStringList{"UPDATE a\nSET b = 1", "DELETE FROM c"};
        QTest::newRow("lower-case delimiter switches and is no statement")
            << "delimiter $$\nCREATE PROCEDURE p()\nBEGIN\n  SELECT 1;\nEND$$\ndelimiter ;\nCALL p();"
            << QStringList{"CREATE PROCEDURE p()\nBEGIN\nSELECT 1;\nEND", "CALL p()"};
        QTest::newRow("upper-case DELIMITER is part of a statement")
            << "DELIMITER $$\nSELECT 1;\nSELECT 2$$" << QStringList{"DELIMITER $$\nSELECT 1"};
        QTest::newRow("text after the last delimiter is never run")
            << "DELETE FROM a;\nDELETE FROM b" << QStringList{"DELETE FROM a"};
        QTest::newRow("a delimiter inside a line does not end it")
            << "INSERT INTO a VALUES (';');x\nSELECT 2;"
            << QStringList{"INSERT INTO a VALUES (';');x\nSELECT 2"};
    }
    void scriptStatementsByLine()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, statements);
        QCOMPARE(FreeSql::scriptStatements(script), statements);
    }

    void scriptWithADelimiterCreatesAProcedure()
    {
        const FreeSql::ScriptOutcome outcome = FreeSql::runScript(
            m_db->connection(), QStringLiteral("delimiter $$\n"
                                               "CREATE PROCEDURE proba_uj(IN n VARCHAR(50))\n"
                                               "BEGIN\n"
                                               "  INSERT INTO proba (nev) VALUES (n);\n"
                                               "  SELECT COUNT(*) FROM proba;\n"
                                               "END $$\n"
                                               "delimiter ;\n"
                                               "CALL proba_uj('Negyedik');\n"
                                               "DROP PROCEDURE proba_uj;"));
        QCOMPARE(outcome.status, FreeSql::ScriptOutcome::Completed);
        QCOMPARE(outcome.executed, 3);
        QCOMPARE(names().last(), QStringLiteral("Negyedik"));
    }

    void scriptStopsAtTheFirstError()
    {
        const FreeSql::ScriptOutcome outcome = FreeSql::runScript(
            m_db->connection(), QStringLiteral("UPDATE proba SET nev = 'A' WHERE id = 1;\n"
                                               "UPDATE nincsilyen SET x = 1;\n"
                                               "UPDATE proba SET nev = 'B' WHERE id = 2;"));
        QCOMPARE(outcome.status, FreeSql::ScriptOutcome::Failed);
        QCOMPARE(outcome.executed, 1);
        QVERIFY2(outcome.error.endsWith(QLatin1String("(1146)")), qPrintable(outcome.error));
        QCOMPARE(outcome.failedStatement, QStringLiteral("UPDATE nincsilyen SET x = 1"));
        QCOMPARE(names(), (QStringList{"A", "Második", "Harmadik"}));
    }

    void upperCaseDelimiterReachesTheServer()
    {
        // Not a command here: the server gets the line and refuses it.
        const FreeSql::ScriptOutcome outcome = FreeSql::runScript(
            m_db->connection(), QStringLiteral("DELIMITER $$\nUPDATE proba SET nev = 'A' WHERE id = 1;"));
        QCOMPARE(outcome.status, FreeSql::ScriptOutcome::Failed);
        QCOMPARE(outcome.executed, 0);
        QCOMPARE(names().first(), QStringLiteral("Első"));
    }

    void progressCanStopTheScript()
    {
        QList<int> seen;
        const FreeSql::ScriptOutcome outcome = FreeSql::runScript(
            m_db->connection(),
            QStringLiteral(
                "UPDATE proba SET nev = 'A' WHERE id = 1;\n\nUPDATE proba SET nev = 'B' WHERE id = 2;"),
            [&](int done, int total) {
                seen << done;
                return !(done == 1 && total == 3);
            });
        QCOMPARE(outcome.status, FreeSql::ScriptOutcome::Stopped);
        QCOMPARE(seen, QList<int>{1});
        QCOMPARE(names(), (QStringList{"A", "Második", "Harmadik"}));
    }

    void tableCellWritesExactlyWhatWasTyped_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("text with quote, backslash and accents")
            << "nev"
            << R"(O'Hara \ "Ő" ű)" << QVariant(QStringLiteral(R"(O'Hara \ "Ő" ű)"));
        QTest::newRow("injection attempt stays text")
            << "nev"
            << "x'; DELETE FROM proba; --" << QVariant(QStringLiteral("x'; DELETE FROM proba; --"));
        QTest::newRow("empty text stays empty text") << "nev"
                                                     << "" << QVariant(QString(""));
        QTest::newRow("date") << "datum"
                              << "2025-12-31" << QVariant(QStringLiteral("2025-12-31"));
        QTest::newRow("emptied date is NULL") << "datum"
                                              << "" << QVariant();
        QTest::newRow("decimal") << "osszeg"
                                 << "12.25" << QVariant(QStringLiteral("12.25"));
    }
    void tableCellWritesExactlyWhatWasTyped()
    {
        QFETCH(QString, column);
        QFETCH(QString, typed);
        QFETCH(QVariant, stored);
        FreeSqlTable table;
        table.open(m_db->connection(), QStringLiteral("proba"));
        QCOMPARE(table.keyColumns(), QStringList{"id"});
        const int col = table.data().fieldIndex(column);
        table.setCell(0, col, typed);
        QCOMPARE(table.data().text(0, col), stored.toString());
        const QVariant onServer = m_db->connection().selectValue(QStringLiteral("SELECT ") + column +
                                                                 QStringLiteral(" FROM proba WHERE id = 1"));
        QCOMPARE(onServer.isValid() ? onServer.toString() : QString(), stored.toString());
        QCOMPARE(onServer.isValid(), stored.isValid());
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM proba WHERE id <> 1 AND nev IN "
                                          "('Második', 'Harmadik')"),
                           0),
                 2);
    }

    void refusedValueLeavesTheRowAsItWas()
    {
        FreeSqlTable table;
        table.open(m_db->connection(), QStringLiteral("proba"));
        const int col = table.data().fieldIndex(u"datum");
        QVERIFY_THROWS_EXCEPTION(DbError, table.setCell(0, col, QStringLiteral("nem dátum")));
        QCOMPARE(table.data().text(0, col), QStringLiteral("2024-03-05"));
    }

    void newRowIsInsertedByItsFirstCellAndShowsWhatTheServerFilledIn()
    {
        FreeSqlTable table;
        table.open(m_db->connection(), QStringLiteral("proba"));
        const int row = table.appendRow();
        QVERIFY(table.isPending(row));
        QCOMPARE(table.appendRow(), row); // one new row at a time
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM proba"), 0), 3);

        table.setCell(row, table.data().fieldIndex(u"osszeg"), QStringLiteral("7"));
        QVERIFY(!table.isPending(row));
        const qint64 id = table.data().toInt(row, table.data().fieldIndex(u"id"));
        QCOMPARE(id, 4);
        QCOMPARE(table.data().text(row, table.data().fieldIndex(u"nev")), QStringLiteral("alap"));

        table.setCell(row, table.data().fieldIndex(u"nev"), QStringLiteral("Negyedik"));
        QCOMPARE(names(), (QStringList{"Első", "Második", "Harmadik", "Negyedik"}));
    }

    void rowIsDeletedByItsKey()
    {
        FreeSqlTable table;
        table.open(m_db->connection(), QStringLiteral("proba"));
        table.data().setCurrent(2);
        table.removeRow(1);
        QCOMPARE(names(), (QStringList{"Első", "Harmadik"}));
        QCOMPARE(table.data().rowCount(), 2);
        QCOMPARE(table.data().text(1, table.data().fieldIndex(u"nev")), QStringLiteral("Harmadik"));
        QCOMPARE(table.data().text(0, table.data().fieldIndex(u"datum")), QStringLiteral("2024-03-05"));
        QVERIFY(table.data().isNull(1, table.data().fieldIndex(u"datum")));

        // A new row never written is only dropped.
        const int row = table.appendRow();
        table.removeRow(row);
        QCOMPARE(table.data().rowCount(), 2);
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM proba"), 0), 2);
    }

    // Without a unique key a row is found by its values: a row with a twin is refused,
    // a row that is alone is changed; a unique key without NULLs serves as the key.
    void tableWithoutKeyChangesOnlyARowItCanTellApart()
    {
        ExecSql(QStringLiteral("CREATE TEMPORARY TABLE kulcsnelkul (a VARCHAR(10), b INT NULL)"));
        ExecSql(QStringLiteral("INSERT INTO kulcsnelkul VALUES ('x', NULL), ('x', NULL), ('y', 2)"));
        FreeSqlTable table;
        table.open(m_db->connection(), QStringLiteral("kulcsnelkul"));
        QVERIFY(table.keyColumns().isEmpty());
        QVERIFY_THROWS_EXCEPTION(KorvenaError, table.setCell(0, 1, QStringLiteral("5")));
        QVERIFY_THROWS_EXCEPTION(KorvenaError, table.removeRow(1));
        QVERIFY(table.data().isNull(0, 1));
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM kulcsnelkul WHERE b IS NULL"), 0), 2);
        table.setCell(2, 1, QStringLiteral("5"));
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM kulcsnelkul WHERE b = 5"), 0), 1);
        table.removeRow(2);
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM kulcsnelkul"), 0), 2);

        ExecSql(QStringLiteral("CREATE TEMPORARY TABLE egyedi (kod CHAR(3) NOT NULL, n INT NULL, UNIQUE KEY (kod))"));
        FreeSqlTable unique;
        unique.open(m_db->connection(), QStringLiteral("egyedi"));
        QCOMPARE(unique.keyColumns(), QStringList{QStringLiteral("kod")});
    }

    // Another session changed or deleted the row after it was read: the write is
    // refused with a message, and the other session's change stays.
    void rowChangedMeanwhileIsNotOverwritten_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<bool>("remove");
        QTest::newRow("changed, then edited") << "UPDATE proba SET nev = 'Más' WHERE id = 1" << false;
        QTest::newRow("deleted, then edited") << "DELETE FROM proba WHERE id = 1" << false;
        QTest::newRow("changed, then deleted") << "UPDATE proba SET osszeg = 9 WHERE id = 1" << true;
    }
    void rowChangedMeanwhileIsNotOverwritten()
    {
        QFETCH(QString, meanwhile);
        QFETCH(bool, remove);
        FreeSqlTable table;
        table.open(m_db->connection(), QStringLiteral("proba"));
        const std::unique_ptr<Connection> other = m_db->newConnection();
        other->exec(meanwhile);
        const int before = SelectInt(QStringLiteral("SELECT COUNT(*) FROM proba"), -1);
        QString refusal;
        try {
            if (remove)
                table.removeRow(0);
            else
                table.setCell(0, table.data().fieldIndex(u"datum"), QStringLiteral("2025-01-01"));
        } catch (const KorvenaError &e) {
            refusal = e.text();
        }
        QCOMPARE(refusal, FreeSqlTable::ChangedMeanwhile);
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM proba"), -1), before);
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM proba WHERE datum = '2025-01-01'"), -1), 0);
        // Writing the value a cell already holds is no conflict.
        table.setCell(1, table.data().fieldIndex(u"nev"), QStringLiteral("Második"));
    }

    void tableNameIsAnIdentifierNeverSql()
    {
        FreeSqlTable table;
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 table.open(m_db->connection(), QStringLiteral("proba; DROP TABLE proba")));
        QVERIFY(!table.isOpen());
        QCOMPARE(names().size(), 3);
        QCOMPARE(QuotedIdentifier(QStringLiteral("a`b")), QStringLiteral("`a``b`"));
        QCOMPARE(QuotedIdentifier(QStringLiteral(" db.t "), true), QStringLiteral("`db`.`t`"));
        table.open(m_db->connection(), m_db->name() + QStringLiteral(".proba"));
        QCOMPARE(table.data().rowCount(), 3);
    }

    void searchWalksForwardFromTheCurrentRow_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("found");
        QTest::newRow("current row tested first") << 1 << "második" << 1;
        QTest::newRow("forward only") << 2 << "első" << -1;
        QTest::newRow("any field, any case") << 0 << "2024.03" << 0;
        QTest::newRow("later row") << 0 << "HARM" << 2;
        QTest::newRow("empty text matches nothing") << 0 << "" << -1;
    }
    void searchWalksForwardFromTheCurrentRow()
    {
        QFETCH(int, from);
        QFETCH(QString, text);
        QFETCH(int, found);
        const Dataset data = m_db->connection().query(QStringLiteral("SELECT * FROM proba ORDER BY id"));
        QCOMPARE(NextMatchingRow(data, from, text), found);
    }

    void clipboardTextEndsEveryLineWithATab()
    {
        ExecSql(QStringLiteral("UPDATE proba SET nev = 'a;b' WHERE id = 1"));
        const Dataset data =
            m_db->connection().query(QStringLiteral("SELECT id, nev FROM proba WHERE id <= 2 ORDER BY id"));
        QCOMPARE(ResultClipboardText(data), QStringLiteral("id\tnev\t\r\n1\ta,b\t\r\n2\tMásodik\t"));
    }
};

QTEST_MAIN(TestFreeSql)
#include "tst_freesql.moc"
