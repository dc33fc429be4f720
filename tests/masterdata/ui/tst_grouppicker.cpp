#include "db/DbHelpers.h"
#include "core/ui/ListScreen.h"
#include "common/ui/MessageBox.h"
#include "core/Session.h"
#include "db/ui/DatasetModel.h"
#include "masterdata/ui/Pickers.h"
#include "masterdata/ui/SqlPickerDialog.h"

#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>
#include <memory>

using namespace ModalDriver;

namespace {

QStringList groupNames(const ListScreen &list)
{
    QStringList n;
    const int col = list.data().fieldIndex(u"csoport_nev");
    for (int i = 0; i < list.model()->rowCount(); ++i)
        n << list.data().text(list.data().visibleRow(i), col);
    return n;
}

void setUser(int code)
{
    SessionUser u = SessionUser::builtInAdministrator();
    u.code = code;
    session().user = u;
}

} // namespace

class TestGroupPicker : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void oneGroupIsTakenWithoutDialog();
    void noGroupGivesZero();
    void severalGroupsAreOffered();
    void searchNeedsEveryWord();
    void closingGivesMinusOne();

private:
    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<TestDatabase> m_db;
};

void TestGroupPicker::initTestCase()
{
    m_folder = std::make_unique<TempDataFolder>();
    m_db = std::make_unique<TestDatabase>();
    MessageBox::setRecording(true);
    ExecSql(QStringLiteral("INSERT INTO csoport (csoport, csoport_nev) VALUES (2, 'Pénzügy és számvitel'), "
                           "(3, 'Titkárság'), (4, 'Pénztár');"));
    ExecSql(QStringLiteral(
        "INSERT INTO felhasznalo (felhkod, felhasznalo, felhasznalo_nev) VALUES "
        "(2, 'egy', 'Egy Csoport'), (3, 'nulla', 'Nincs Csoport'), (4, 'sok', 'Sok Csoport');"));
    ExecSql(QStringLiteral(
        "INSERT INTO felhkod_csoport (felhkod, csoport) VALUES (2, 3), (4, 1), (4, 2), (4, 3), "
        "(4, 4);"));
}

void TestGroupPicker::cleanupTestCase()
{
    m_db.reset();
    m_folder.reset();
}

void TestGroupPicker::init()
{
    MessageBox::clearShown();
}

void TestGroupPicker::oneGroupIsTakenWithoutDialog()
{
    setUser(2);
    ModalWatch watch;
    QCOMPARE(GroupPicker(nullptr), 3);
    QTest::qWait(10);
    QCOMPARE(watch.seen(), 0);
}

void TestGroupPicker::noGroupGivesZero()
{
    setUser(3);
    ModalWatch watch;
    QCOMPARE(GroupPicker(nullptr), 0);
    QTest::qWait(10);
    QCOMPARE(watch.seen(), 0);
}

void TestGroupPicker::severalGroupsAreOffered()
{
    setUser(4);
    QStringList offered;
    QString title;
    QString panel;
    int highlighted = -2;
    int nameColumn = -1;
    QStringList visibleColumns;
    onModal(SqlPickerDialog::ObjectName, [&](QDialog *d) {
        auto *picker = qobject_cast<SqlPickerDialog *>(d);
        title = d->windowTitle();
        panel = picker->captionPanel()->text();
        offered = groupNames(*picker);
        nameColumn = picker->data().fieldIndex(u"csoport_nev");
        highlighted = highlightedColumn(picker->grid());
        for (int c = 0; c < picker->data().fieldCount(); ++c)
            if (!picker->grid()->isColumnHidden(c))
                visibleColumns << picker->model()->headerData(c, Qt::Horizontal).toString();
        // Typing in the grid searches; Down goes back to the grid; Enter accepts.
        picker->grid()->setFocus();
        typeText(picker->grid(), QStringLiteral("T"));
        QCOMPARE(picker->searchBox()->text(), QStringLiteral("t"));
        QTest::keyClick(picker->searchBox(), Qt::Key_Down);
        QVERIFY(picker->grid()->hasFocus());
        QCOMPARE(picker->currentText(QStringLiteral("csoport_nev")), QStringLiteral("Titkárság"));
        QTest::keyClick(picker->grid(), Qt::Key_Return);
    });
    QCOMPARE(GroupPicker(nullptr), 3);
    QCOMPARE(title, QStringLiteral("Csoport választás"));
    QCOMPARE(panel, QStringLiteral("Csoport választás  "));
    QCOMPARE(offered, QStringList({"Általános", "Pénztár", "Pénzügy és számvitel", "Titkárság"}));
    QCOMPARE(visibleColumns, QStringList({"Csoport"}));
    QCOMPARE(highlighted, nameColumn);
}

void TestGroupPicker::searchNeedsEveryWord()
{
    setUser(4);
    QStringList narrowed;
    QStringList bothWords;
    QString where;
    onModal(SqlPickerDialog::ObjectName, [&](QDialog *d) {
        auto *picker = qobject_cast<SqlPickerDialog *>(d);
        picker->searchBox()->setText(QStringLiteral("pénz"));
        narrowed = groupNames(*picker);
        picker->searchBox()->setText(QStringLiteral("pénz számvitel"));
        bothWords = groupNames(*picker);
        where = picker->queryLines().at(5);
        QTableView *grid = picker->grid();
        const QPoint cell =
            grid->visualRect(grid->model()->index(0, picker->data().fieldIndex(u"csoport_nev"))).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    });
    QCOMPARE(GroupPicker(nullptr), 2);
    QCOMPARE(narrowed, QStringList({"Pénztár", "Pénzügy és számvitel"}));
    QCOMPARE(bothWords, QStringList({"Pénzügy és számvitel"}));
    QVERIFY(where.startsWith(QStringLiteral("WHERE (fcs.felhkod = 4) AND (")));
}

void TestGroupPicker::closingGivesMinusOne()
{
    setUser(4);
    onModal(SqlPickerDialog::ObjectName, [](QDialog *d) { QTest::keyClick(d, Qt::Key_Escape); });
    QCOMPARE(GroupPicker(nullptr), -1);

    // Other users' groups are never offered, also not by a search.
    SqlPickRequest request = groupPickerRequest(2);
    request.sql[5] = QStringLiteral("WHERE fcs.felhkod = 4");
    onModal(SqlPickerDialog::ObjectName, [](QDialog *d) {
        auto *picker = qobject_cast<SqlPickerDialog *>(d);
        picker->searchBox()->setText(QStringLiteral("a"));
        QCOMPARE(groupNames(*picker), QStringList({"Titkárság"}));
        d->reject();
    });
    QCOMPARE(SqlPicker(nullptr, request), -1);
}

QTEST_MAIN(TestGroupPicker)
#include "tst_grouppicker.moc"
