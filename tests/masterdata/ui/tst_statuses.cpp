#include "db/DbHelpers.h"
#include "common/ui/MessageBox.h"
#include "core/Session.h"
#include "db/UnitOfWork.h"
#include "db/ui/DatasetModel.h"
#include "masterdata/ui/Pickers.h"
#include "masterdata/ui/StatusList.h"

#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <memory>

using namespace ModalDriver;

namespace {

StatusList *asList(QDialog *d)
{
    return qobject_cast<StatusList *>(d);
}

StatusEditor *asEditor(QDialog *d)
{
    return qobject_cast<StatusEditor *>(d);
}

QStringList statusNames(const StatusList &list)
{
    QStringList n;
    const int col = list.data().fieldIndex(u"statusz_nev");
    for (int i = 0; i < list.model()->rowCount(); ++i)
        n << list.data().text(list.data().visibleRow(i), col);
    return n;
}

} // namespace

class TestStatuses : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void fullTableProposesTenAndIsRefused();
    void editorSavesColourAndDone();
    void searchNarrowsByName();
    void deleteRemovesTheRowOnly();
    void listOffersNoAccept();

private:
    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<TestDatabase> m_db;
};

void TestStatuses::initTestCase()
{
    m_folder = std::make_unique<TempDataFolder>();
    m_db = std::make_unique<TestDatabase>();
    MessageBox::setRecording(true);
}

void TestStatuses::cleanupTestCase()
{
    m_db.reset();
    m_folder.reset();
}

void TestStatuses::init()
{
    ExecSql(QStringLiteral("DELETE FROM statusz;"));
    MessageBox::clearShown();
    session().settings = ProgramSettings();
    // Every write the screens make runs as a unit of work.
    UnitOfWork::watchWritesOutsideUnits(Connection::current());
}

void TestStatuses::cleanup()
{
    const QStringList outside = UnitOfWork::writesOutsideUnits();
    UnitOfWork::watchWritesOutsideUnits(nullptr);
    QCOMPARE(outside, QStringList());
}

void TestStatuses::fullTableProposesTenAndIsRefused()
{
    for (int i = 0; i <= 9; ++i)
        if (i != 4)
            ExecSql(QStringLiteral("INSERT INTO statusz (statusz, statusz_nev) VALUES (%1, 'S%1');").arg(i));
    QString proposed;
    bool stayedOpen = false;
    int current = -1;
    onModal(StatusList::ObjectName, [&](QDialog *d) {
        onModal(StatusEditor::ObjectName, [&](QDialog *e) {
            proposed = asEditor(e)->numberEdit()->text();
            asEditor(e)->nameEdit()->setText(QStringLiteral("Folyamatban"));
            QTest::mouseClick(asEditor(e)->okButton(), Qt::LeftButton);
            stayedOpen = e->isVisible();
            asEditor(e)->numberEdit()->setText(QStringLiteral("4"));
            QTest::mouseClick(asEditor(e)->okButton(), Qt::LeftButton);
        });
        trigger(d, "aUj");
        current = int(asList(d)->currentValue(QStringLiteral("statusz")).toLongLong());
        d->reject();
    });
    StatusAdmin(nullptr);
    QCOMPARE(proposed, QStringLiteral("10"));
    QVERIFY(stayedOpen);
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().first().text, QStringLiteral("Nem megfelelő érték."));
    QCOMPARE(current, 4);
    QCOMPARE(NameLookup(4, QStringLiteral("statusz"), {}), QStringLiteral("Folyamatban"));
}

void TestStatuses::editorSavesColourAndDone()
{
    ExecSql(QStringLiteral(
        "INSERT INTO statusz (statusz, statusz_nev, kesz, szin) VALUES (0, 'Új', 'N', 'info');"));
    QStringList colours;
    onModal(StatusEditor::ObjectName, [&](QDialog *e) {
        QComboBox *colour = asEditor(e)->colourBox();
        QVERIFY(!colour->isEditable());
        QCOMPARE(colour->currentText(), QStringLiteral("info"));
        for (int i = 0; i < colour->count(); ++i)
            colours << colour->itemText(i);
        colour->setCurrentText(QStringLiteral("danger"));
        asEditor(e)->doneBox()->setChecked(true);
        QTest::keyClick(asEditor(e)->nameEdit(), Qt::Key_Return, Qt::ControlModifier);
    });
    QCOMPARE(EditStatus(nullptr, 0), 0);
    QCOMPARE(colours, QStringList({"", "active", "primary", "secondary", "success", "danger", "warning",
                                   "info", "light", "dark"}));
    const Dataset row = db().query(QStringLiteral("SELECT kesz, szin FROM statusz WHERE statusz = 0;"));
    QCOMPARE(row.text(0, 0), QStringLiteral("I"));
    QCOMPARE(row.text(0, 1), QStringLiteral("danger"));

    // A national first letter is upper-cased in the empty name field.
    StatusEditor editor(nullptr);
    editor.load(-1);
    QCOMPARE(editor.numberEdit()->text(), QStringLiteral("1"));
    typeText(editor.nameEdit(), QStringLiteral("ügyintézés"));
    QCOMPARE(editor.nameEdit()->text(), QStringLiteral("Ügyintézés"));
}

void TestStatuses::searchNarrowsByName()
{
    ExecSql(QStringLiteral("INSERT INTO statusz (statusz, statusz_nev) VALUES (0, 'Beérkezett'), "
                           "(1, 'Kiadva ügyintézésre'), (2, 'Lezárva'), (3, 'Ügyintézés alatt');"));
    StatusList list(nullptr);
    list.openAt(-1);
    list.searchBox()->setText(QStringLiteral("ügyintéz"));
    QCOMPARE(statusNames(list), QStringList({"Kiadva ügyintézésre", "Ügyintézés alatt"}));
    // Positioned on the first row whose sort column (the number) begins with the text: none here.
    list.searchBox()->setText(QStringLiteral("2"));
    QCOMPARE(statusNames(list), QStringList());
}

void TestStatuses::deleteRemovesTheRowOnly()
{
    ExecSql(QStringLiteral("INSERT INTO statusz (statusz, statusz_nev) VALUES (0, 'Egy'), (1, 'Kettő');"));
    StatusList list(nullptr);
    list.openAt(1);
    MessageBox::setNextAnswer(true);
    trigger(&list, "aTorol");
    QCOMPARE(statusNames(list), QStringList({"Egy"}));
    QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM statusz WHERE statusz = 1;"), -1), 0);
}

void TestStatuses::listOffersNoAccept()
{
    StatusList list(nullptr);
    list.openAt(-1);
    QVERIFY(!action(&list, "aElfogad")->isVisible());
    QVERIFY(!action(&list, "aElfogad")->isEnabled());
    QCOMPARE(action(&list, "aKeres")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    QCOMPARE(action(&list, "aTorol")->toolTip(), QStringLiteral("Sor törlése"));
}

QTEST_MAIN(TestStatuses)
#include "tst_statuses.moc"
