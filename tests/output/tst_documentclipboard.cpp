#include "core/Session.h"
#include "db/DbHelpers.h"
#include "output/DocumentClipboard.h"
#include "register/DocumentListQuery.h"

#include "DocumentFixture.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include <QtTest>

class TestDocumentClipboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        DocumentFixture::load();
        m_id101 = SelectText(QStringLiteral("SELECT iktatoaz FROM vw_iktato WHERE iktato = 101 AND fcs = 1"), {});
        m_group101 = SelectText(QStringLiteral("SELECT csoport_nev FROM vw_iktato WHERE iktato = 101 AND fcs = 1"), {});
        QVERIFY(!m_id101.isEmpty());
    }
    void init() { resetProcessState(); }
    void cleanupTestCase() { m_db.reset(); }

    void blockLines_data()
    {
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("every flag: fourteen lines in the block's own order")
            << QString(17, QLatin1Char('I'))
            << QStringList{QStringLiteral("Iktatószám: ") + m_id101,
                           QStringLiteral("Csoport: ") + m_group101,
                           QStringLiteral("Kitől: Kiss Péter"),
                           QStringLiteral("Kinek: Nagy Anna"),
                           QStringLiteral("Tároló: "),
                           QStringLiteral("Beérkezett: 2024.03.01"),
                           QStringLiteral("Határidő: 2024.04.30"),
                           QStringLiteral("Megőrzés: "),
                           QStringLiteral("Intézkedésre: "),
                           QStringLiteral("Hivatkozás: H-1"),
                           QStringLiteral("Kulcsszavak: "),
                           QStringLiteral("Projekt: "),
                           QStringLiteral("Munkaszám: "),
                           QStringLiteral("Típus: Levél"),
                           QStringLiteral("-*-"),
                           QString()};
        QTest::newRow("only the flagged; a short value leaves the registration identifier out")
            << QStringLiteral("NIINNI") << QStringList{QStringLiteral("Kitől: Kiss Péter"), QStringLiteral("Kinek: Nagy Anna"),
                                                     QStringLiteral("Határidő: 2024.04.30"), QStringLiteral("-*-"),
                                                     QString()};
        QTest::newRow("anything but I excludes") << QStringLiteral("iiiiiiiiiiiiiXYZ")
                                                 << QStringList{QStringLiteral("-*-"), QString()};
    }

    void blockLines()
    {
        QFETCH(QString, flags);
        QFETCH(QStringList, expected);
        Dataset list = openList(QStringLiteral("iktato = 101"));
        QCOMPARE(documentBlock(list, 0, flags), expected);
    }

    void currentDocumentWhenNothingIsMarked()
    {
        Dataset list = openList(QStringLiteral("iktato IN (101, 103)"));
        list.setCurrent(1);
        const QString text = documentClipboardText(list, QStringLiteral("NNNNNNNNNNNNNI"), 0);
        QCOMPARE(text, QStringLiteral("Iktatószám: ") + list.text(1, list.fieldIndex(u"iktatoaz")) +
                           QStringLiteral("\r\n-*-\r\n\r\n"));
        // An empty list gives the labels alone.
        Dataset empty = openList(QStringLiteral("iktato = -1"));
        QCOMPARE(documentClipboardText(empty, QStringLiteral("NNNNNNNNNNNNNI"), 0),
                 QStringLiteral("Iktatószám: \r\n-*-\r\n\r\n"));
    }

    void markedDocumentsOfTheList()
    {
        ExecSql(QStringLiteral("UPDATE iktato SET nyomtatni = 'I' WHERE iktato IN (101, 104, 108)"));
        QCOMPARE(markedDocumentCount(), 3);
        Dataset list = openList(QStringLiteral("iktato IN (101, 102, 103, 104)"));
        list.setCurrent(2);
        const qint64 current = list.toInt(2, 0);
        const QString flags = QStringLiteral("NNNNNNNNNNNNNI");
        const QString text = documentClipboardText(list, flags, markedDocumentCount());
        const int id = list.fieldIndex(u"iktatoaz");
        QCOMPARE(text, QStringLiteral("Iktatószám: ") + list.text(0, id) + QStringLiteral("\r\n-*-\r\n\r\n") +
                           QStringLiteral("Iktatószám: ") + list.text(3, id) + QStringLiteral("\r\n-*-\r\n\r\n"));
        QCOMPARE(list.toInt(list.current(), 0), current);

        // Marked documents that the list does not show give an empty text.
        Dataset other = openList(QStringLiteral("iktato IN (102, 103)"));
        other.setCurrent(0);
        QCOMPARE(documentClipboardText(other, flags, markedDocumentCount()), QString());
        ExecSql(QStringLiteral("UPDATE iktato SET nyomtatni = 'N'"));
    }

private:
    Dataset openList(const QString &condition)
    {
        Dataset list;
        DocumentListQuery query;
        query.setCondition(condition + QStringLiteral(" AND fcs = 1"));
        query.open(m_db->connection(), list, session().settings);
        return list;
    }

    std::unique_ptr<TestDatabase> m_db;
    QString m_id101;
    QString m_group101;
};

QTEST_GUILESS_MAIN(TestDocumentClipboard)
#include "tst_documentclipboard.moc"
