#include "TestDatabase.h"
#include "db/DbHelpers.h"
#include "common/ui/DbWidgets.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

class TestDbWidgets : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>(TestDatabase::Empty);
        ExecSql(QStringLiteral("CREATE TABLE t (n VARCHAR(20)) DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci"));
        ExecSql(QStringLiteral("INSERT INTO t VALUES ('alma'), (NULL), ('őszibarack')"));
    }
    void cleanupTestCase() { m_db.reset(); }

    void fillCombo_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("current");
        const QStringList rows{QStringLiteral("alma"), QString(), QStringLiteral("őszibarack")};
        QTest::newRow("first item before the rows") << QStringLiteral("(mind)") << false
                                                    << (QStringList{QStringLiteral("(mind)")} + rows) << 0;
        QTest::newRow("only the rows") << QString() << false << rows << 0;
        QTest::newRow("editable box keeps no selection") << QString() << true << rows << -1;
    }
    void fillCombo()
    {
        QFETCH(QString, first);
        QFETCH(bool, editable);
        QFETCH(QStringList, items);
        QFETCH(int, current);
        QComboBox box;
        box.setEditable(editable);
        box.addItem(QStringLiteral("régi"));
        if (editable)
            box.setCurrentIndex(-1);
        FillCombo(&box, QStringLiteral("SELECT n FROM t"), first);
        QStringList got;
        for (int i = 0; i < box.count(); ++i)
            got << box.itemText(i);
        QCOMPARE(got, items);
        if (!editable)
            QCOMPARE(box.currentIndex(), current);
    }

    void uppercaseFirstKey()
    {
        QLineEdit box;
        UppercaseFirstKey(&box);
        QTest::keyClicks(&box, QStringLiteral("kiss"));
        QCOMPARE(box.text(), QStringLiteral("Kiss"));
        box.clear();
        QKeyEvent accented(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("á"));
        QApplication::sendEvent(&box, &accented);
        QTest::keyClicks(&box, QStringLiteral("pol"));
        QCOMPARE(box.text(), QStringLiteral("ápol")); // only a-z
    }
};

QTEST_MAIN(TestDbWidgets)
#include "tst_dbwidgets.moc"
