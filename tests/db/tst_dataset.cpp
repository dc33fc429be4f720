#include "db/Dataset.h"

#include <QTest>

class TestDataset : public QObject
{
    Q_OBJECT

    static Dataset sample()
    {
        Field key{QStringLiteral("iktato"), FieldType::Integer};
        key.displayFormat = QStringLiteral("000000");
        Dataset d({key, Field{QStringLiteral("targy"), FieldType::Text},
                   Field{QStringLiteral("dat_erk"), FieldType::Date}});
        d.appendRow({12, QStringLiteral("Árajánlat"), QDate(2024, 3, 5)});
        d.appendRow({7, QStringLiteral("ügyfél levele"), QVariant()});
        d.appendRow({-3, QVariant(), QDate(2023, 12, 31)});
        return d;
    }

private Q_SLOTS:
    void valuesAndDisplay()
    {
        const Dataset d = sample();
        QCOMPARE(d.rowCount(), 3);
        QCOMPARE(d.displayText(0, 0), QStringLiteral("000012"));
        QCOMPARE(d.displayText(2, 0), QStringLiteral("-000003"));
        QCOMPARE(d.displayText(0, 2), QStringLiteral("2024.03.05"));
        QCOMPARE(d.displayText(1, 2), QString());
        QVERIFY(d.isNull(2, 1));
        QCOMPARE(d.text(2, 1), QString());
        QCOMPARE(d.value(1, 1).toString(), QStringLiteral("ügyfél levele"));
        QCOMPARE(d.value(0, 2).toDate(), QDate(2024, 3, 5));
        QCOMPARE(d.fieldIndex(u"TARGY"), 1);
        QCOMPARE(d.fieldIndex(u"nincs"), -1);
    }

    void locateIsCaseInsensitivePrefix()
    {
        Dataset d = sample();
        QVERIFY(d.locate(u"targy", u"ÜGY"));
        QCOMPARE(d.current(), 1);
        QVERIFY(!d.locate(u"targy", u"zz"));
        QCOMPARE(d.current(), 1);
        QVERIFY(d.locateValue(u"iktato", 12));
        QCOMPARE(d.current(), 0);
    }

    void filterHidesRowsAndKeepsCurrentVisible()
    {
        Dataset d = sample();
        d.setCurrent(0);
        d.setFilter([](const Dataset &ds, int row) { return !ds.isNull(row, 2); });
        QCOMPARE(d.visibleCount(), 2);
        QCOMPARE(d.visibleRow(1), 2);
        QVERIFY(d.first());
        QVERIFY(d.next());
        QCOMPARE(d.current(), 2);
        QVERIFY(!d.next());
        d.clearFilter();
        QCOMPARE(d.visibleCount(), 3);
    }

    void setValueOverridesOneCell()
    {
        Dataset d = sample();
        d.setValue(1, 1, QStringLiteral("új tárgy"));
        d.setValue(0, 2, QVariant());
        QCOMPARE(d.text(1, 1), QStringLiteral("új tárgy"));
        QVERIFY(d.isNull(0, 2));
        QCOMPARE(d.text(0, 1), QStringLiteral("Árajánlat"));
        QCOMPARE(d.text(2, 2), QStringLiteral("2023-12-31"));
    }
};

QTEST_GUILESS_MAIN(TestDataset)
#include "tst_dataset.moc"
