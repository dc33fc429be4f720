#include "TestDatabase.h"
#include "db/DbHelpers.h"

#include <QTest>

class TestDbHelpers : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

    static EditRecord record()
    {
        return EditRecord({
            {QStringLiteral("iktato"), FieldType::Integer, 123, true, false, true},
            {QStringLiteral("az1"), FieldType::Integer, 12},
            {QStringLiteral("targy"), FieldType::Text, QStringLiteral("Árajánlat")},
            {QStringLiteral("ugyf_kitol_nev"), FieldType::Text, QStringLiteral("Kiss"), false},
            {QStringLiteral("dat_erk"), FieldType::Date, QDate(2024, 3, 5)},
            {QStringLiteral("dat_hatid"), FieldType::Date, QVariant()},
            {QStringLiteral("osszeg"), FieldType::Float, 2.5},
            {QStringLiteral("szamolt"), FieldType::Integer, 1, true, true},
            {QStringLiteral("egyebcsop"), FieldType::Integer, QVariant()},
        });
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>(TestDatabase::Empty);
        ExecSql(QStringLiteral("CREATE TABLE projekt (projekt INT AUTO_INCREMENT PRIMARY KEY, projekt_nev "
                               "VARCHAR(50)) DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci"));
    }
    void cleanupTestCase() { m_db.reset(); }

    void buildUpdateStatement()
    {
        QCOMPARE(BuildUpdateStatement(record(), QStringLiteral("iktato"), QStringLiteral("iktato")),
                 QStringLiteral("UPDATE iktato SET az1=12,targy='Árajánlat',dat_erk='2024-03-05',dat_hatid=NULL,"
                                "osszeg=2.5,egyebcsop=NULL WHERE iktato='123';"));
        EditRecord r = record();
        r.setValue(u"targy", QStringLiteral("O'Hara \\ út"));
        QVERIFY(BuildUpdateStatement(r, QStringLiteral("iktato"), QStringLiteral("iktato"))
                    .contains(QStringLiteral("targy='O''Hara \\\\ út'")));
    }

    void execSqlIgnoresBlankStatement()
    {
        setLastSql(QStringLiteral("előző"));
        ExecSql(QStringLiteral("   \r\n  "));
        QCOMPARE(LastSql(), QStringLiteral("előző"));
    }

    void execSqlTurnsEscapedBreaksIntoLineBreaks()
    {
        ExecSql(QStringLiteral("INSERT INTO projekt (projekt_nev) VALUES ('a\\r\\nb')"));
        QCOMPARE(SelectText(QStringLiteral("SELECT projekt_nev FROM projekt WHERE projekt=") +
                                QString::number(m_db->connection().lastInsertId()),
                            QString()),
                 QStringLiteral("a\r\nb"));
        ExecSql(QStringLiteral("DELETE FROM projekt"));
    }

    void maxIdAndLookups()
    {
        QCOMPARE(MaxId(QStringLiteral("projekt"), QString()), 1);
        ExecSql(QStringLiteral("INSERT INTO projekt VALUES (41, 'Negyvenegy')"));
        QCOMPARE(MaxId(QStringLiteral("projekt"), QStringLiteral("projekt")), 42);
        QCOMPARE(NameLookup(41, QStringLiteral("projekt"), QStringLiteral("-")), QStringLiteral("Negyvenegy"));
        QCOMPARE(NameLookup(40, QStringLiteral("projekt"), QStringLiteral("-")), QStringLiteral("-"));
        QCOMPARE(SelectInt(QStringLiteral("SELECT NULL"), 9), 9);
        QCOMPARE(SelectText(QStringLiteral("SELECT 1 FROM projekt WHERE 0"), QStringLiteral("x")), QStringLiteral("x"));
        QCOMPARE(ServerMd5(QStringLiteral("pirkalo")).size(), 32);
        QCOMPARE(ServerDate(), QDate::currentDate());
        QStringList list{QStringLiteral("első")};
        FillList(list, QStringLiteral("SELECT projekt_nev FROM projekt UNION ALL SELECT NULL"));
        QCOMPARE(list, (QStringList{QStringLiteral("első"), QStringLiteral("Negyvenegy"), QString()}));
    }

    void copyProcRowCopiesFieldsOfTheSameName()
    {
        const Dataset proc = m_db->connection().query(
            QStringLiteral("SELECT 5 AS az1, 'Új' AS targy, 'más' AS ismeretlen"));
        EditRecord r = record();
        CopyProcRow(proc, r);
        QCOMPARE(r.value(u"az1").toInt(), 5);
        QCOMPARE(r.value(u"targy").toString(), QStringLiteral("Új"));
        QCOMPARE(r.value(u"iktato").toInt(), 123);
    }

    void rowCountTextAndLines()
    {
        Dataset d({Field{QStringLiteral("a"), FieldType::Integer}, Field{QStringLiteral("b"), FieldType::Text},
                   Field{QStringLiteral("c"), FieldType::Text}});
        d.appendRow({1, QStringLiteral("x;y"), QStringLiteral("z")});
        d.appendRow({2, QVariant(), QStringLiteral("w")});
        d.setCurrent(1);
        QCOMPARE(RowCountText(d), QStringLiteral("2: 2"));
        QStringList lines;
        DatasetToLines(d, lines, true, true, QLatin1Char('\t'), QStringLiteral("c"));
        QCOMPARE(lines, (QStringList{QStringLiteral("a\tb\t"), QStringLiteral("1\t1\tx,y\t"),
                                     QStringLiteral("2\t2\t\t")}));
        lines.clear();
        DatasetToLines(d, lines, false, false, QLatin1Char(';'), QStringLiteral("a;b"));
        QCOMPARE(lines, (QStringList{QStringLiteral("z;"), QStringLiteral("w;")}));
    }
};

QTEST_GUILESS_MAIN(TestDbHelpers)
#include "tst_dbhelpers.moc"
