#include "common/ui/MessageBox.h"
#include "core/Session.h"
#include "db/DbHelpers.h"
#include "db/UnitOfWork.h"
#include "db/ui/DatasetModel.h"
#include "masterdata/ui/MainNumberList.h"
#include "masterdata/ui/Pickers.h"

#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <memory>

using namespace ModalDriver;

namespace {

MainNumberList *asList(QDialog *d)
{
    return qobject_cast<MainNumberList *>(d);
}

MainNumberEditor *asEditor(QDialog *d)
{
    return qobject_cast<MainNumberEditor *>(d);
}

QStringList shownNumbers(const MainNumberList &list)
{
    QStringList n;
    const int col = list.data().fieldIndex(u"foszam");
    for (int i = 0; i < list.model()->rowCount(); ++i)
        n << list.model()->index(i, col).data().toString();
    return n;
}

} // namespace

class TestMainNumbers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void firstProposalIsOne();
    void proposalCountsDeletedNumbers();
    void digitsFindNumbersAndNames();
    void deletedNumberReappearsWhenSearching();
    void changingTheNumberChangesTheKey();
    void numberWithoutADigitIsRefused_data();
    void numberWithoutADigitIsRefused();
    void duplicateNumberReachesTheErrorHandler();
    void pickerReturnsNumberAndName();

private:
    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<TestDatabase> m_db;
};

void TestMainNumbers::initTestCase()
{
    m_folder = std::make_unique<TempDataFolder>();
    m_db = std::make_unique<TestDatabase>();
    MessageBox::setRecording(true);
}

void TestMainNumbers::cleanupTestCase()
{
    m_db.reset();
    m_folder.reset();
}

void TestMainNumbers::init()
{
    ExecSql(QStringLiteral("DELETE FROM foszam;"));
    MessageBox::clearShown();
    session().settings = ProgramSettings();
    // Every write the screens make runs as a unit of work.
    UnitOfWork::watchWritesOutsideUnits(Connection::current());
}

void TestMainNumbers::cleanup()
{
    const QStringList outside = UnitOfWork::writesOutsideUnits();
    UnitOfWork::watchWritesOutsideUnits(nullptr);
    QCOMPARE(outside, QStringList());
}

void TestMainNumbers::firstProposalIsOne()
{
    QString proposed;
    QStringList shown;
    onModal(MainNumberList::ObjectName, [&](QDialog *d) {
        onModal(MainNumberEditor::ObjectName, [&](QDialog *e) {
            proposed = asEditor(e)->numberEdit()->text();
            QCOMPARE(e->windowTitle(), QStringLiteral("Főszám szerkesztés"));
            typeText(asEditor(e)->nameEdit(), QStringLiteral("általános"));
            QTest::mouseClick(asEditor(e)->okButton(), Qt::LeftButton);
        });
        // On an empty list "Szerkeszt" is a new row.
        trigger(d, "aSzerkeszt");
        shown = shownNumbers(*asList(d));
        d->reject();
    });
    MainNumberPicker(nullptr, -1, false);
    QCOMPARE(proposed, QStringLiteral("1"));
    QCOMPARE(shown, QStringList(QStringLiteral("00000001")));
    // National letters are upper-cased too.
    QCOMPARE(NameLookup(1, QStringLiteral("foszam"), {}), QStringLiteral("Általános"));
}

void TestMainNumbers::proposalCountsDeletedNumbers()
{
    ExecSql(QStringLiteral(
        "INSERT INTO foszam (foszam, foszam_nev, torolve) VALUES (3, 'a', 'N'), (8, 'b', 'I');"));
    QString proposed;
    onModal(MainNumberEditor::ObjectName, [&](QDialog *e) {
        proposed = asEditor(e)->numberEdit()->text();
        e->reject();
    });
    QCOMPARE(EditMainNumber(nullptr, -1), -1);
    QCOMPARE(proposed, QStringLiteral("9"));
    QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM foszam;"), -1), 2);
}

void TestMainNumbers::digitsFindNumbersAndNames()
{
    ExecSql(QStringLiteral("INSERT INTO foszam (foszam, foszam_nev) VALUES (12, 'Első'), (312, 'Második'), "
                           "(45, 'Ügyirat 12/A'), (7, 'Hetedik');"));
    MainNumberList list(nullptr, false);
    list.openAt(-1);
    list.searchBox()->setText(QStringLiteral("12"));
    QCOMPARE(shownNumbers(list), QStringList({"00000012", "00000045", "00000312"}));
    // Two words: both must match.
    list.searchBox()->setText(QStringLiteral("12 ügy"));
    QCOMPARE(shownNumbers(list), QStringList({"00000045"}));
}

void TestMainNumbers::deletedNumberReappearsWhenSearching()
{
    ExecSql(QStringLiteral("INSERT INTO foszam (foszam, foszam_nev) VALUES (1, 'Egy'), (2, 'Kettő');"));
    MainNumberList list(nullptr, false);
    list.openAt(2);
    MessageBox::setNextAnswer(true);
    trigger(&list, "aTorol");
    QCOMPARE(shownNumbers(list), QStringList({"00000001"}));
    const Dataset row =
        db().query(QStringLiteral("SELECT torolve, dat_torolve FROM foszam WHERE foszam = 2;"));
    QCOMPARE(row.text(0, 0), QStringLiteral("I"));
    QVERIFY(row.toDateTime(0, 1).isValid());

    list.searchBox()->setText(QStringLiteral("k"));
    list.searchBox()->clear();
    QCOMPARE(shownNumbers(list), QStringList({"00000001", "00000002"}));
}

void TestMainNumbers::changingTheNumberChangesTheKey()
{
    ExecSql(QStringLiteral("INSERT INTO foszam (foszam, foszam_nev) VALUES (5, 'Öt');"));
    onModal(MainNumberEditor::ObjectName, [&](QDialog *e) {
        QCOMPARE(asEditor(e)->numberEdit()->text(), QStringLiteral("5"));
        asEditor(e)->numberEdit()->setText(QStringLiteral("50"));
        QTest::keyClick(asEditor(e)->nameEdit(), Qt::Key_Return, Qt::ControlModifier);
    });
    QCOMPARE(EditMainNumber(nullptr, 5), 50);
    QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM foszam WHERE foszam = 5;"), -1), 0);
    QCOMPARE(NameLookup(50, QStringLiteral("foszam"), {}), QStringLiteral("Öt"));
}

void TestMainNumbers::numberWithoutADigitIsRefused_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("typed");
    QTest::newRow("new, minus alone") << -1 << "-";
    QTest::newRow("new, empty") << -1 << "";
    QTest::newRow("existing, minus alone") << 5 << "-";
}

void TestMainNumbers::numberWithoutADigitIsRefused()
{
    QFETCH(int, key);
    QFETCH(QString, typed);
    ExecSql(QStringLiteral("INSERT INTO foszam (foszam, foszam_nev) VALUES (5, 'Öt');"));
    bool stayedOpen = false;
    onModal(MainNumberEditor::ObjectName, [&](QDialog *e) {
        asEditor(e)->numberEdit()->setText(typed);
        asEditor(e)->nameEdit()->setText(QStringLiteral("Nulla"));
        QTest::mouseClick(asEditor(e)->okButton(), Qt::LeftButton);
        QTest::keyClick(asEditor(e)->nameEdit(), Qt::Key_Return, Qt::ControlModifier);
        stayedOpen = e->isVisible();
        e->reject();
    });
    QCOMPARE(EditMainNumber(nullptr, key), -1);
    QVERIFY(stayedOpen);
    QCOMPARE(MessageBox::shown().size(), 2);
    QCOMPARE(MessageBox::shown().first().text, QStringLiteral("Nem megfelelő érték."));
    QCOMPARE(SelectText(QStringLiteral("SELECT GROUP_CONCAT(foszam, foszam_nev) FROM foszam;"), {}),
             QStringLiteral("5Öt"));
}

void TestMainNumbers::duplicateNumberReachesTheErrorHandler()
{
    ExecSql(QStringLiteral("INSERT INTO foszam (foszam, foszam_nev) VALUES (1, 'Egy'), (2, 'Kettő');"));
    QStringList afterError;
    bool open = false;
    onModal(MainNumberList::ObjectName, [&](QDialog *d) {
        onModal(MainNumberEditor::ObjectName, [&](QDialog *e) {
            asEditor(e)->numberEdit()->setText(QStringLiteral("1"));
            asEditor(e)->nameEdit()->setText(QStringLiteral("Másik egy"));
            QTest::mouseClick(asEditor(e)->okButton(), Qt::LeftButton);
        });
        QTest::keyClick(asList(d)->grid(), Qt::Key_Insert);
        open = d->isVisible();
        // Still usable: the search and a further new row work.
        asList(d)->searchBox()->setText(QStringLiteral("kettő"));
        afterError = shownNumbers(*asList(d));
        asList(d)->searchBox()->clear();
        onModal(MainNumberEditor::ObjectName, [&](QDialog *e) {
            asEditor(e)->nameEdit()->setText(QStringLiteral("Három"));
            QTest::mouseClick(asEditor(e)->okButton(), Qt::LeftButton);
        });
        trigger(d, "aUj");
        afterError << asList(d)->currentText(QStringLiteral("foszam_nev"));
        d->reject();
    });
    MainNumberPicker(nullptr, -1, false);

    QVERIFY(open);
    QCOMPARE(afterError, QStringList({"00000002", "Három"}));
    // explained in Hungarian as the user's to correct, not offered as an error report
    bool explained = false;
    for (const MessageBox::ShownMessage &m : MessageBox::shown())
        explained = explained ||
                    (m.kind == QLatin1String("error") && m.text.contains(QStringLiteral("ismétlődő kulcs")));
    QVERIFY(explained);
    QCOMPARE(NameLookup(1, QStringLiteral("foszam"), {}), QStringLiteral("Egy"));
}

void TestMainNumbers::pickerReturnsNumberAndName()
{
    ExecSql(QStringLiteral("INSERT INTO foszam (foszam, foszam_nev) VALUES (1, 'Egy'), (2, 'Kettő');"));
    bool acceptShown = false;
    onModal(MainNumberList::ObjectName, [&](QDialog *d) {
        acceptShown = action(d, "aElfogad")->isVisible();
        QTest::keyClick(asList(d)->grid(), Qt::Key_Return);
    });
    const PickResult r = MainNumberPicker(nullptr, 2, true);
    QVERIFY(acceptShown);
    QCOMPARE(r.key, 2);
    QCOMPARE(r.name, QStringLiteral("Kettő"));

    ExecSql(QStringLiteral("DELETE FROM foszam;"));
    onModal(MainNumberList::ObjectName, [&](QDialog *d) { trigger(d, "aElfogad"); });
    const PickResult empty = MainNumberPicker(nullptr, -1, true);
    QCOMPARE(empty.key, 0);
    QCOMPARE(empty.name, QString());
}

QTEST_MAIN(TestMainNumbers)
#include "tst_mainnumbers.moc"
