#include "TestDatabase.h"
#include "TestSupport.h"
#include "common/SqlText.h"
#include "common/ui/MessageBox.h"
#include "core/Login.h"
#include "core/Session.h"
#include "db/DbHelpers.h"
#include "register/DocumentEdit.h"
#include "register/Trail.h"
#include "register/ui/JournalViewer.h"

#include <QApplication>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>
#include <memory>

namespace {

const QString Subject = QStringLiteral("Első \"idézett\" sor\nmásodik sor: Árvíztűrő");

QStringList trailRow(const QTableWidget *grid, int row)
{
    QStringList cells;
    for (int c = 0; c < grid->columnCount(); ++c)
        cells << (grid->item(row, c) ? grid->item(row, c)->text() : QString());
    return cells;
}

} // namespace

class TestJournalTrail : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        Connection::setCurrent(&m_db->connection());
        MessageBox::setRecording(true);
        ExecSql(QStringLiteral("INSERT INTO felhasznalo (felhkod, felhasznalo, felhasznalo_nev, canins, canedit, "
                               "torolve) VALUES (7, 'elek', 'Teszt Elek', 'I', 'I', 'N')"));
        SessionUser user;
        user.code = 7;
        announceUser(m_db->connection(), user);
    }
    void cleanupTestCase()
    {
        Connection::setCurrent(nullptr);
        m_db.reset();
    }

    void programAndOutsideChangesAreListed();
    void changesText_data();
    void changesText();
    void registerWithoutTrailShowsAnEmptyPage();
};

void TestJournalTrail::programAndOutsideChangesAreListed()
{
    DocumentEdit edit = DocumentEdit::create(NewDocumentAnswers{}, 0, 7);
    const qint64 key = edit.key();
    edit.record().setBoxText(u"targy", Subject);
    edit.setPending(QStringLiteral("targy"), Subject);
    edit.flushPending();
    edit.save();
    const QString where = QStringLiteral(" FROM iktato_nyom WHERE tabla='iktato' AND iktato=") + SqlInt(key);
    // Registration and save both carry the program's user.
    QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*)") + where + QStringLiteral(" AND felhkod=7"), -1), 2);
    QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*)") + where + QStringLiteral(" AND felhkod IS NULL"), -1), 0);

    auto plain = m_db->newConnection();
    plain->exec(QStringLiteral("UPDATE iktato SET targy='Kézzel ''átírva''' WHERE iktato=") + SqlInt(key));

    JournalViewer viewer(nullptr);
    viewer.showDocument(key);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    viewer.grid()->setFocus();
    QCOMPARE(viewer.pages()->currentIndex(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    QTableWidget *grid = viewer.trailGrid();
    QCOMPARE(viewer.pages()->currentWidget(), grid);
    QCOMPARE(grid->rowCount(), 3);

    const QStringList created = trailRow(grid, 0);
    QCOMPARE(created.mid(2, 4), (QStringList{QStringLiteral("Teszt Elek"), QStringLiteral("Felvétel"),
                                             QStringLiteral("Dokumentum"), QString()}));
    const QStringList saved = trailRow(grid, 1);
    QCOMPARE(saved.mid(2, 4), (QStringList{QStringLiteral("Teszt Elek"), QStringLiteral("Módosítás"),
                                           QStringLiteral("Dokumentum"), QString()}));
    QVERIFY2(saved[6].endsWith(QStringLiteral(" → ") + Subject), qPrintable(saved[6]));
    QVERIFY(!grid->item(1, 2)->font().bold());

    const QStringList outside = trailRow(grid, 2);
    QVERIFY(outside[2].startsWith(QStringLiteral("korvena@")));
    QCOMPARE(outside.mid(3, 3), (QStringList{QStringLiteral("Módosítás"), QStringLiteral("Dokumentum"),
                                             QStringLiteral("Igen")}));
    QCOMPARE(outside[6], QStringLiteral("targy: ") + Subject + QStringLiteral(" → Kézzel 'átírva'"));
    QVERIFY(grid->item(2, 6)->font().bold());
    QVERIFY(grid->editTriggers() == QAbstractItemView::NoEditTriggers);

    // Back to the journal, which is as it was.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(viewer.pages()->currentIndex(), 0);
    QCOMPARE(viewer.data().rowCount(), 1);
    QVERIFY(MessageBox::shown().isEmpty());
}

void TestJournalTrail::changesText_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("text");
    QTest::newRow("null is empty") << QStringLiteral(R"({"targy": [null, "Levél"]})")
                                   << QStringLiteral("targy:  → Levél");
    QTest::newRow("numbers") << QStringLiteral(R"({"csoport": [1, 12], "tipus": [3, null]})")
                             << QStringLiteral("csoport: 1 → 12\ntipus: 3 → ");
    QTest::newRow("escapes") << QStringLiteral(R"({"megjegyzes": ["a\"b\\c", "x\ny"]})")
                             << QStringLiteral("megjegyzes: a\"b\\c → x\ny");
    // A trail row altered by hand is shown as it stands.
    QTest::newRow("not json") << QStringLiteral("{\"targy\": [") << QStringLiteral("{\"targy\": [");
    QTest::newRow("not a pair") << QStringLiteral(R"({"targy": "x"})") << QStringLiteral("targy: x");
}

void TestJournalTrail::changesText()
{
    QFETCH(QString, json);
    QFETCH(QString, text);
    QCOMPARE(Trail::changesText(json), text);
}

void TestJournalTrail::registerWithoutTrailShowsAnEmptyPage()
{
    ExecSql(QStringLiteral("RENAME TABLE iktato_nyom TO iktato_nyom_el"));
    JournalViewer viewer(nullptr);
    viewer.showDocument(1);
    viewer.pages()->setCurrentWidget(viewer.trailGrid());
    QCOMPARE(viewer.trailGrid()->rowCount(), 0);
    ExecSql(QStringLiteral("RENAME TABLE iktato_nyom_el TO iktato_nyom"));
}

QTEST_MAIN(TestJournalTrail)
#include "tst_journaltrail.moc"
