#include "TestDatabase.h"
#include "common/SqlText.h"
#include "db/DbHelpers.h"

#include <QDateTime>
#include <limits>

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
        ExecSql(
            QStringLiteral("CREATE TABLE fajtak (k VARCHAR(30) PRIMARY KEY, szoveg VARCHAR(60), hosszu TEXT, "
                           "egesz INT, nagy BIGINT, tort DOUBLE, tizedes DECIMAL(12,2), datum DATE, "
                           "idopont DATETIME, ido TIME, bajt BLOB) "
                           "DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci"));
    }
    void cleanupTestCase() { m_db.reset(); }

    void everyKindIsReadBackAsWritten_data();
    void everyKindIsReadBackAsWritten();
    void aRecordWrittenBackUnchangedLeavesTheRow();
    void boxesAndChanges();

    void buildUpdateStatement()
    {
        QCOMPARE(
            BuildUpdateStatement(record(), QStringLiteral("iktato"), QStringLiteral("iktato")),
            QStringLiteral("UPDATE iktato SET az1=12,targy='Árajánlat',dat_erk='2024-03-05',dat_hatid=NULL,"
                           "osszeg=2.5,egyebcsop=NULL WHERE iktato=123;"));
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
        QCOMPARE(NameLookup(41, QStringLiteral("projekt"), QStringLiteral("-")),
                 QStringLiteral("Negyvenegy"));
        QCOMPARE(NameLookup(40, QStringLiteral("projekt"), QStringLiteral("-")), QStringLiteral("-"));
        QCOMPARE(SelectInt(QStringLiteral("SELECT NULL"), 9), 9);
        QCOMPARE(SelectText(QStringLiteral("SELECT 1 FROM projekt WHERE 0"), QStringLiteral("x")),
                 QStringLiteral("x"));
        QCOMPARE(ServerMd5(QStringLiteral("pirkalo")).size(), 32);
        QCOMPARE(ServerDate(), QDate::currentDate());
        QStringList list{QStringLiteral("első")};
        FillList(list, QStringLiteral("SELECT projekt_nev FROM projekt UNION ALL SELECT NULL"));
        QCOMPARE(list, (QStringList{QStringLiteral("első"), QStringLiteral("Negyvenegy"), QString()}));
    }

    void copyProcRowCopiesFieldsOfTheSameName()
    {
        const Dataset proc =
            m_db->connection().query(QStringLiteral("SELECT 5 AS az1, 'Új' AS targy, 'más' AS ismeretlen"));
        EditRecord r = record();
        CopyProcRow(proc, r);
        QCOMPARE(r.value(u"az1").toInt(), 5);
        QCOMPARE(r.value(u"targy").toString(), QStringLiteral("Új"));
        QCOMPARE(r.value(u"iktato").toInt(), 123);
    }

    void rowCountTextAndLines()
    {
        Dataset d({Field{QStringLiteral("a"), FieldType::Integer},
                   Field{QStringLiteral("b"), FieldType::Text}, Field{QStringLiteral("c"), FieldType::Text}});
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

namespace {

const QString kKinds = QStringLiteral("fajtak");

QVariant readBack(const QString &key, const QString &column)
{
    const Dataset d =
        db().query(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM fajtak WHERE k = ") +
                   SqlLiteral(key) + QLatin1Char(';'));
    return d.rowCount() == 1 ? d.value(0, 0) : QVariant(QStringLiteral("<nincs sor>"));
}

} // namespace

void TestDbHelpers::everyKindIsReadBackAsWritten_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("expected"); // invalid: NULL

    const auto text = int(FieldType::Text);
    QTest::newRow("text ending in a backslash")
        << "k1"
        << "szoveg" << text << QVariant("C:\\iktat\\") << QVariant("C:\\iktat\\");
    QTest::newRow("text with quote then backslash")
        << "k2"
        << "szoveg" << text << QVariant("O'Hara\\") << QVariant("O'Hara\\");
    QTest::newRow("escaped quote typed")
        << "k3"
        << "szoveg" << text << QVariant("\\' OR 1=1 -- ") << QVariant("\\' OR 1=1 -- ");
    QTest::newRow("empty text stays empty")
        << "k4"
        << "szoveg" << text << QVariant(QString("")) << QVariant(QString(""));
    QTest::newRow("null text") << "k5"
                               << "szoveg" << text << QVariant() << QVariant();
    QTest::newRow("long text with line breaks")
        << "k6"
        << "hosszu" << int(FieldType::LongText) << QVariant("a\r\nb\\\r\n'") << QVariant("a\r\nb\\\r\n'");
    QTest::newRow("integer") << "k7"
                             << "egesz" << int(FieldType::Integer) << QVariant(-42) << QVariant(-42);
    QTest::newRow("integer from text")
        << "k8"
        << "egesz" << int(FieldType::Integer) << QVariant("17") << QVariant(17);
    QTest::newRow("integer from a blank box")
        << "k9"
        << "egesz" << int(FieldType::Integer) << QVariant(" ") << QVariant();
    QTest::newRow("integer from hostile text")
        << "k10"
        << "egesz" << int(FieldType::Integer) << QVariant("1; DELETE FROM fajtak") << QVariant(0);
    QTest::newRow("big integer") << "k11"
                                 << "nagy" << int(FieldType::BigInt) << QVariant(qlonglong(9000000000123LL))
                                 << QVariant(qlonglong(9000000000123LL));
    QTest::newRow("floating") << "k12"
                              << "tort" << int(FieldType::Float) << QVariant(2.5) << QVariant(2.5);
    QTest::newRow("floating not finite")
        << "k13"
        << "tort" << int(FieldType::Float) << QVariant(std::numeric_limits<double>::infinity()) << QVariant();
    QTest::newRow("decimal") << "k14"
                             << "tizedes" << int(FieldType::Decimal) << QVariant(1234.56)
                             << QVariant(1234.56);
    QTest::newRow("decimal typed with comma")
        << "k15"
        << "tizedes" << int(FieldType::Decimal) << QVariant("12,5") << QVariant(12.5);
    QTest::newRow("decimal hostile text")
        << "k16"
        << "tizedes" << int(FieldType::Decimal) << QVariant("12.5); DROP TABLE fajtak; --") << QVariant();
    QTest::newRow("date") << "k17"
                          << "datum" << int(FieldType::Date) << QVariant(QDate(2024, 3, 5))
                          << QVariant(QDate(2024, 3, 5));
    QTest::newRow("invalid date") << "k18"
                                  << "datum" << int(FieldType::Date) << QVariant(QDate(2024, 2, 30))
                                  << QVariant();
    QTest::newRow("date as text") << "k19"
                                  << "datum" << int(FieldType::Date) << QVariant("2024-12-31")
                                  << QVariant(QDate(2024, 12, 31));
    QTest::newRow("date-time") << "k20"
                               << "idopont" << int(FieldType::DateTime)
                               << QVariant(QDateTime(QDate(2024, 3, 5), QTime(13, 45, 10)))
                               << QVariant(QDateTime(QDate(2024, 3, 5), QTime(13, 45, 10)));
    QTest::newRow("invalid date-time") << "k21"
                                       << "idopont" << int(FieldType::DateTime)
                                       << QVariant(QDateTime(QDate(2024, 13, 1), QTime(1, 0))) << QVariant();
    QTest::newRow("date-time as text")
        << "k22"
        << "idopont" << int(FieldType::DateTime) << QVariant("2023-01-02 03:04:05")
        << QVariant(QDateTime(QDate(2023, 1, 2), QTime(3, 4, 5)));
    QTest::newRow("time") << "k23"
                          << "ido" << int(FieldType::Time) << QVariant(QTime(8, 30, 15))
                          << QVariant(QTime(8, 30, 15));
    QTest::newRow("time as text") << "k24"
                                  << "ido" << int(FieldType::Time) << QVariant("12:05:00")
                                  << QVariant(QTime(12, 5));
    QTest::newRow("binary") << "k25"
                            << "bajt" << int(FieldType::Binary) << QVariant(QByteArray("\0'\\\xff", 4))
                            << QVariant(QByteArray("\0'\\\xff", 4));
    // Keys that are text: a trailing backslash must not swallow the closing quote.
    QTest::newRow("key ending in a backslash") << "kulcs\\"
                                               << "szoveg" << text << QVariant("a") << QVariant("a");
    QTest::newRow("key with quote and backslash")
        << "O'Hara\\"
        << "egesz" << int(FieldType::Integer) << QVariant(5) << QVariant(5);
}

void TestDbHelpers::everyKindIsReadBackAsWritten()
{
    QFETCH(QString, key);
    QFETCH(QString, column);
    QFETCH(int, kind);
    QFETCH(QVariant, value);
    QFETCH(QVariant, expected);
    ExecSql(QStringLiteral("DELETE FROM fajtak;"));
    // A neighbour whose key a badly closed literal would reach.
    ExecSql(QStringLiteral("INSERT INTO fajtak (k) VALUES ('kulcs'), ('O''Hara');"));
    const EditRecord record({{QStringLiteral("k"), FieldType::Text, key}, {column, FieldType(kind), value}});
    auto check = [&](const QVariant &actual) {
        if (!expected.isValid())
            QVERIFY2(!actual.isValid(), qPrintable(actual.toString()));
        else
            QCOMPARE(actual, expected);
    };

    ExecSql(BuildInsertStatement(record, kKinds, {QStringLiteral("k"), column}));
    check(readBack(key, column));

    ExecSql(QStringLiteral("DELETE FROM fajtak WHERE k = ") + SqlLiteral(key) + QLatin1Char(';'));
    ExecSql(BuildInsertStatement(record, kKinds, {QStringLiteral("k")}));
    ExecSql(BuildUpdateStatement(record, kKinds, QStringLiteral("k"), key, {column}));
    check(readBack(key, column));
    QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM fajtak;"), -1), 3);
    QVERIFY(!readBack(QStringLiteral("kulcs"), column).isValid());
    QVERIFY(!readBack(QStringLiteral("O'Hara"), column).isValid());
}

void TestDbHelpers::aRecordWrittenBackUnchangedLeavesTheRow()
{
    ExecSql(QStringLiteral("CREATE TABLE egesz_kulcs (id INT PRIMARY KEY, szoveg VARCHAR(40), tort DOUBLE, "
                           "tizedes DECIMAL(12,2), datum DATE, idopont DATETIME, ido TIME, bajt BLOB) "
                           "DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci"));
    ExecSql(
        QStringLiteral("INSERT INTO egesz_kulcs VALUES (1, 'vég\\\\', 0.1, 99.95, '2024-02-29', "
                       "'2024-02-29 23:59:58', '07:08:09', X'00275C'), (2, 'más', NULL, NULL, NULL, NULL, "
                       "NULL, NULL);"));
    const QString all = QStringLiteral("SELECT * FROM egesz_kulcs ORDER BY id;");
    const Dataset before = db().query(all);
    EditRecord record = EditRecord::fromDataset(before, 0);
    const QString update = BuildUpdateStatement(record, QStringLiteral("egesz_kulcs"), QStringLiteral("id"));
    QVERIFY2(update.endsWith(QLatin1String(" WHERE id=1;")), qPrintable(update));
    ExecSql(update);
    const Dataset after = db().query(all);
    for (int row = 0; row < 2; ++row)
        for (int c = 0; c < before.fieldCount(); ++c)
            QCOMPARE(after.value(row, c), before.value(row, c));
    ExecSql(QStringLiteral("DROP TABLE egesz_kulcs;"));
}

void TestDbHelpers::boxesAndChanges()
{
    const EditRecord original({{QStringLiteral("id"), FieldType::Integer, 5},
                               {QStringLiteral("ures"), FieldType::Text, QString("")},
                               {QStringLiteral("semmi"), FieldType::Text, QVariant()},
                               {QStringLiteral("nev"), FieldType::Text, QStringLiteral("Kiss")},
                               {QStringLiteral("szam"), FieldType::Integer, 7},
                               {QStringLiteral("kiirt"), FieldType::Text, QStringLiteral("x"), false}});
    EditRecord edited = original;
    // Untouched boxes keep '' and NULL apart; the integer given as text is the same value.
    edited.setBoxText(u"ures", QString());
    edited.setBoxText(u"semmi", QString());
    edited.setBoxText(u"nev", QStringLiteral("Kiss"));
    edited.setValue(u"szam", QStringLiteral("7"));
    edited.setValue(u"kiirt", QStringLiteral("y"));
    QCOMPARE(edited.changedFrom(original), QStringList());
    QVERIFY(!edited.value(u"ures").isNull());

    edited.setBoxText(u"nev", QString());
    edited.setBoxText(u"semmi", QStringLiteral("új"));
    edited.setValue(u"szam", 8);
    QCOMPARE(edited.changedFrom(original), (QStringList{"semmi", "nev", "szam"}));
    QVERIFY(edited.isNull(u"nev"));
    QCOMPARE(BuildUpdateStatement(edited, QStringLiteral("t"), QStringLiteral("id"), 5,
                                  edited.changedFrom(original)),
             QStringLiteral("UPDATE t SET semmi='új',nev=NULL,szam=8 WHERE id=5;"));
    QCOMPARE(BuildUpdateStatement(edited, QStringLiteral("t"), QStringLiteral("id"), 5, {}), QString());
}

QTEST_GUILESS_MAIN(TestDbHelpers)
#include "tst_dbhelpers.moc"
