#include "common/ui/MessageBox.h"
#include "core/Session.h"
#include "core/ui/ListScreen.h"
#include "db/DbHelpers.h"
#include "db/UnitOfWork.h"
#include "db/ui/DatasetModel.h"
#include "masterdata/MasterDataStore.h"
#include "masterdata/ui/ClientEditor.h"
#include "masterdata/ui/ClientList.h"
#include "masterdata/ui/Pickers.h"

#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <memory>

using namespace ModalDriver;

namespace {

ClientList *asList(QDialog *d)
{
    return qobject_cast<ClientList *>(d);
}

EditClientDialog *asEditor(QDialog *d)
{
    return qobject_cast<EditClientDialog *>(d);
}

QStringList names(ClientList *list)
{
    QStringList n;
    const int col = list->data().fieldIndex(u"ugyfel_nev");
    for (int i = 0; i < list->model()->rowCount(); ++i)
        n << list->data().text(list->data().visibleRow(i), col);
    return n;
}

} // namespace

class TestClients : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void kindsSelectTheClients_data();
    void kindsSelectTheClients();
    void radioDropsTheSearchButKeepsTheText();
    void twoWordsNarrowOverAllColumns();
    void newClientFollowsTheOpeningKind();
    void postalCodeFillsAnEmptyTownOnce();
    void namesAreCapitalisedAfterSpaces();
    void editedClientIsSavedExactly();
    void okWritesOnlyTheChangedColumns();
    void deletedClientKeepsItsRow();
    void acceptOnAnEmptyListGivesZero();
    void columnTitleSorts();

private:
    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<TestDatabase> m_db;
};

void TestClients::initTestCase()
{
    m_folder = std::make_unique<TempDataFolder>();
    m_db = std::make_unique<TestDatabase>();
    MessageBox::setRecording(true);
    ExecSql(QStringLiteral("INSERT INTO irsz (irsz, varos) VALUES ('1011', 'Budapest'), ('7621', 'Pécs'), "
                           "('6720', 'Szeged');"));
}

void TestClients::cleanupTestCase()
{
    m_db.reset();
    m_folder.reset();
}

void TestClients::init()
{
    ExecSql(QStringLiteral("DELETE FROM ugyfel;"));
    ExecSql(QStringLiteral(
        "INSERT INTO ugyfel (ugyfel, ugyfel_nev, ui, irsz, varos, cim, telefon, belso, torolve) VALUES "
        "(1, 'Kiss Anna', 'Titkárság', '7621', 'Pécs', 'Király u. 1.', '72/111', 'I', 'N'),"
        "(2, 'Kiss Béla', NULL, '1011', 'Budapest', 'Fő u. 2.', '1/222', 'N', 'N'),"
        "(3, 'Nagy Kft.', 'Kiss Pál', '6720', 'Szeged', 'Tisza u. 3.', '62/333', 'N', 'N'),"
        "(4, 'Pécsi Iroda', NULL, NULL, NULL, NULL, NULL, 'I', 'N'),"
        "(5, 'Törölt Ügyfél', NULL, NULL, NULL, NULL, NULL, 'N', 'I');"));
    MessageBox::clearShown();
    session().settings = ProgramSettings();
    // Every write the screens make runs as a unit of work.
    UnitOfWork::watchWritesOutsideUnits(Connection::current());
}

void TestClients::cleanup()
{
    const QStringList outside = UnitOfWork::writesOutsideUnits();
    UnitOfWork::watchWritesOutsideUnits(nullptr);
    QCOMPARE(outside, QStringList());
}

void TestClients::kindsSelectTheClients_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("all") << 0 << "aOsszes"
                         << QStringList{"Kiss Anna", "Kiss Béla", "Nagy Kft.", "Pécsi Iroda"};
    QTest::newRow("internal") << 1 << "aBelso" << QStringList{"Kiss Anna", "Pécsi Iroda"};
    QTest::newRow("external") << 2 << "aKulso" << QStringList{"Kiss Béla", "Nagy Kft."};
}

void TestClients::kindsSelectTheClients()
{
    QFETCH(int, kind);
    QFETCH(QString, checked);
    QFETCH(QStringList, expected);
    ClientList list(nullptr, ClientKind(kind), false, QStringLiteral("Ügyfél választás"));
    list.openAt(-1);
    QCOMPARE(names(&list), expected);
    QVERIFY(action(&list, checked.toLatin1().constData())->isChecked());
    QCOMPARE(list.windowTitle(), QStringLiteral("Ügyfél választás"));
    QVERIFY(!action(&list, "aElfogad")->isVisible());
    // No search action on this list.
    QVERIFY(!action(&list, "aKeres"));
}

void TestClients::radioDropsTheSearchButKeepsTheText()
{
    ClientList list(nullptr, ClientKind::All, false, QStringLiteral("Ügyfél választás"));
    list.openAt(-1);
    list.searchBox()->setText(QStringLiteral("kiss"));
    QCOMPARE(names(&list), QStringList({"Kiss Anna", "Kiss Béla", "Nagy Kft."}));
    trigger(&list, "aKulso");
    QVERIFY(action(&list, "aKulso")->isChecked());
    QVERIFY(!action(&list, "aOsszes")->isChecked());
    QCOMPARE(list.queryLines().at(1), QStringLiteral("WHERE (belso = 'N')"));
    QCOMPARE(names(&list), QStringList({"Kiss Béla", "Nagy Kft."}));
    QCOMPARE(list.searchBox()->text(), QStringLiteral("kiss"));
    // The next search works within the new kind.
    list.searchBox()->setText(QStringLiteral("kiss pál"));
    QCOMPARE(names(&list), QStringList({"Nagy Kft."}));
}

void TestClients::twoWordsNarrowOverAllColumns()
{
    ClientList list(nullptr, ClientKind::All, false, QStringLiteral("Ügyfél választás"));
    list.openAt(-1);
    // "pecs" is in Kiss Anna's address and in Pécsi Iroda's name; "kiss" only in the first.
    list.searchBox()->setText(QStringLiteral("kiss, pecs"));
    QCOMPARE(names(&list), QStringList({"Kiss Anna"}));
    list.searchBox()->setText(QStringLiteral("62/333"));
    QCOMPARE(names(&list), QStringList({"Nagy Kft."}));
}

void TestClients::newClientFollowsTheOpeningKind()
{
    int key = -1;
    bool internalChecked = false;
    QStringList flagsChecked;
    onModal(ClientList::ObjectName, [&](QDialog *d) {
        trigger(d, "aKulso");
        onModal(EditClientDialog::ObjectName, [&](QDialog *e) {
            internalChecked = asEditor(e)->check(QStringLiteral("belso"))->isChecked();
            for (const char *f : {"kellsorvika", "kellemil", "kellsms"})
                if (asEditor(e)->check(QLatin1String(f))->isChecked())
                    flagsChecked << QLatin1String(f);
            asEditor(e)->lineEdit(QStringLiteral("ugyfel_nev"))->setText(QStringLiteral("Új Belső"));
            asEditor(e)->check(QStringLiteral("kellemil"))->setChecked(true);
            QTest::mouseClick(asEditor(e)->okButton(), Qt::LeftButton);
        });
        trigger(d, "aUj");
        key = SelectInt(QStringLiteral("SELECT MAX(ugyfel) FROM ugyfel;"), -1);
        d->reject();
    });
    ClientPicker(nullptr, -1, ClientKind::Internal, false);
    QVERIFY(internalChecked);
    QVERIFY(flagsChecked.isEmpty());
    QVERIFY(key > 5);
    const Dataset row = db().query(
        QStringLiteral(
            "SELECT ugyfel_nev, belso, kellsorvika, kellemil, kellsms FROM ugyfel WHERE ugyfel = %1;")
            .arg(key));
    QCOMPARE(row.rowCount(), 1);
    QCOMPARE(row.text(0, 0), QStringLiteral("Új Belső"));
    QCOMPARE(row.text(0, 1), QStringLiteral("I"));
    QCOMPARE(row.text(0, 2), QStringLiteral("N"));
    QCOMPARE(row.text(0, 3), QStringLiteral("I"));
    QCOMPARE(row.text(0, 4), QStringLiteral("N"));
}

void TestClients::postalCodeFillsAnEmptyTownOnce()
{
    EditClientDialog editor(nullptr);
    editor.setRecord(MasterDataStore::newClient(ClientKind::All));
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    QLineEdit *code = editor.lineEdit(QStringLiteral("irsz"));
    QLineEdit *town = editor.lineEdit(QStringLiteral("varos"));

    code->setFocus();
    QTest::keyClicks(code, QStringLiteral("9999"));
    QTest::keyClick(code, Qt::Key_Tab);
    QCOMPARE(town->text(), QString());

    code->setFocus();
    code->setText(QStringLiteral("7621"));
    QTest::keyClick(code, Qt::Key_Return); // Enter moves on, like Tab
    QCOMPARE(town->text(), QStringLiteral("Pécs"));
    QVERIFY(town->hasFocus());

    code->setFocus();
    code->setText(QStringLiteral("6720"));
    QTest::keyClick(code, Qt::Key_Tab);
    QCOMPARE(town->text(), QStringLiteral("Pécs"));

    // A typed town is never overwritten.
    town->setText(QStringLiteral("Kozármisleny"));
    code->setFocus();
    code->setText(QStringLiteral("1011"));
    QTest::keyClick(code, Qt::Key_Tab);
    QCOMPARE(town->text(), QStringLiteral("Kozármisleny"));
    editor.reject();
}

void TestClients::namesAreCapitalisedAfterSpaces()
{
    EditClientDialog editor(nullptr);
    editor.setRecord(MasterDataStore::newClient(ClientKind::All));
    QLineEdit *name = editor.lineEdit(QStringLiteral("ugyfel_nev"));
    typeText(name, QStringLiteral("őri éva kft"));
    QCOMPARE(name->text(), QStringLiteral("Őri Éva Kft"));
    QLineEdit *contact = editor.lineEdit(QStringLiteral("ui"));
    typeText(contact, QStringLiteral("dr. ünige"));
    QCOMPARE(contact->text(), QStringLiteral("Dr. Ünige"));
    // Other fields keep what is typed.
    QLineEdit *address = editor.lineEdit(QStringLiteral("cim"));
    typeText(address, QStringLiteral("fő u"));
    QCOMPARE(address->text(), QStringLiteral("fő u"));
}

void TestClients::editedClientIsSavedExactly()
{
    const QString name = QStringLiteral("O'Hara \\ \"Űrtechnika\" 50%");
    onModal(EditClientDialog::ObjectName, [&](QDialog *d) {
        QCOMPARE(asEditor(d)->lineEdit(QStringLiteral("ugyfel_nev"))->text(), QStringLiteral("Kiss Béla"));
        asEditor(d)->lineEdit(QStringLiteral("ugyfel_nev"))->setText(name);
        asEditor(d)->lineEdit(QStringLiteral("webpwd"))->setText(QStringLiteral("Titok'\\"));
        // The store's password is masked like every password box.
        QCOMPARE(asEditor(d)->lineEdit(QStringLiteral("webpwd"))->echoMode(), QLineEdit::Password);
        QVERIFY(!asEditor(d)->lineEdit(QStringLiteral("webpwd"))->displayText().contains(QLatin1String("Titok")));
        asEditor(d)->check(QStringLiteral("belso"))->setChecked(true);
        QTest::keyClick(asEditor(d)->lineEdit(QStringLiteral("ui")), Qt::Key_Return, Qt::ControlModifier);
    });
    QCOMPARE(EditClient(nullptr, 2, ClientKind::All), 2);
    const Dataset row =
        db().query(QStringLiteral("SELECT ugyfel_nev, webpwd, belso, varos FROM ugyfel WHERE ugyfel = 2;"));
    QCOMPARE(row.text(0, 0), name);
    QCOMPARE(row.text(0, 1), QStringLiteral("Titok'\\"));
    QCOMPARE(row.text(0, 2), QStringLiteral("I"));
    QCOMPARE(row.text(0, 3), QStringLiteral("Budapest"));

    // Found by the search exactly as stored.
    ClientList list(nullptr, ClientKind::All, true, QStringLiteral("Ügyfél választás"));
    list.openAt(-1);
    list.searchBox()->setText(name);
    QCOMPARE(names(&list), QStringList(name));

    // Cancel changes nothing.
    onModal(EditClientDialog::ObjectName, [&](QDialog *d) {
        asEditor(d)->lineEdit(QStringLiteral("ugyfel_nev"))->setText(QStringLiteral("Más"));
        QTest::mouseClick(asEditor(d)->cancelButton(), Qt::LeftButton);
    });
    QCOMPARE(EditClient(nullptr, 2, ClientKind::All), -1);
    QCOMPARE(NameLookup(2, QStringLiteral("ugyfel"), {}), name);
}

void TestClients::okWritesOnlyTheChangedColumns()
{
    ExecSql(QStringLiteral("UPDATE ugyfel SET emil = '', webuser = NULL WHERE ugyfel = 3;"));
    onModal(EditClientDialog::ObjectName, [&](QDialog *d) {
        // Another workstation saves the same client meanwhile.
        ExecSql(QStringLiteral("UPDATE ugyfel SET telefon = '62/999', kellsms = 'I' WHERE ugyfel = 3;"));
        asEditor(d)->lineEdit(QStringLiteral("cim"))->setText(QStringLiteral("Kárász u. 9."));
        asEditor(d)->lineEdit(QStringLiteral("ui"))->clear();
        QTest::mouseClick(asEditor(d)->okButton(), Qt::LeftButton);
    });
    QCOMPARE(EditClient(nullptr, 3, ClientKind::All), 3);
    const Dataset row = db().query(
        QStringLiteral("SELECT cim, ui, telefon, kellsms, emil, webuser FROM ugyfel WHERE ugyfel = 3;"));
    QCOMPARE(row.text(0, 0), QStringLiteral("Kárász u. 9."));
    QVERIFY(row.isNull(0, 1)); // an emptied box is NULL
    QCOMPARE(row.text(0, 2), QStringLiteral("62/999"));
    QCOMPARE(row.text(0, 3), QStringLiteral("I"));
    // Untouched empty boxes keep what the row held.
    QVERIFY(!row.isNull(0, 4));
    QVERIFY(row.isNull(0, 5));

    // Nothing changed: nothing is written.
    setLastSql(QStringLiteral("előző"));
    onModal(EditClientDialog::ObjectName,
            [&](QDialog *d) { QTest::mouseClick(asEditor(d)->okButton(), Qt::LeftButton); });
    QCOMPARE(EditClient(nullptr, 3, ClientKind::All), 3);
    QVERIFY2(!LastSql().startsWith(QLatin1String("UPDATE")), qPrintable(LastSql()));
}

void TestClients::deletedClientKeepsItsRow()
{
    ClientList list(nullptr, ClientKind::All, false, QStringLiteral("Ügyfél választás"));
    list.openAt(3);
    QCOMPARE(list.currentText(QStringLiteral("ugyfel_nev")), QStringLiteral("Nagy Kft."));
    MessageBox::setNextAnswer(true);
    trigger(&list, "aTorol");
    QCOMPARE(MessageBox::shown().last().text, QStringLiteral("Valóban töröljem a sort?"));
    QVERIFY(!names(&list).contains(QStringLiteral("Nagy Kft.")));
    list.searchBox()->setText(QStringLiteral("nagy"));
    QCOMPARE(list.model()->rowCount(), 0);
    const Dataset row =
        db().query(QStringLiteral("SELECT torolve, dat_torolve FROM ugyfel WHERE ugyfel = 3;"));
    QCOMPARE(row.text(0, 0), QStringLiteral("I"));
    QVERIFY(row.toDateTime(0, 1).isValid());

    // Answering No keeps the client.
    list.searchBox()->clear();
    MessageBox::setNextAnswer(false);
    trigger(&list, "aTorol");
    QCOMPARE(list.model()->rowCount(), 3);
}

void TestClients::acceptOnAnEmptyListGivesZero()
{
    onModal(ClientList::ObjectName, [&](QDialog *d) {
        asList(d)->searchBox()->setText(QStringLiteral("senki sincs"));
        QTest::keyClick(asList(d)->searchBox(), Qt::Key_Return);
    });
    const PickResult r = ClientPicker(nullptr, -1, ClientKind::External, true, QStringLiteral("Kitől"));
    QCOMPARE(r.key, 0);
    QCOMPARE(r.name, QString());

    onModal(ClientList::ObjectName, [&](QDialog *d) { trigger(d, "aElfogad"); });
    const PickResult positioned = ClientPicker(nullptr, 4, ClientKind::All, true);
    QCOMPARE(positioned.key, 4);
    QCOMPARE(positioned.name, QStringLiteral("Pécsi Iroda"));

    onModal(ClientList::ObjectName, [&](QDialog *d) { trigger(d, "aBezar"); });
    QCOMPARE(ClientPicker(nullptr, 4, ClientKind::All, true).key, -1);
}

void TestClients::columnTitleSorts()
{
    ClientList list(nullptr, ClientKind::All, false, QStringLiteral("Ügyfél választás"));
    list.openAt(-1);
    list.show();
    QVERIFY(QTest::qWaitForWindowActive(&list));
    QTableView *grid = list.grid();
    const int name = list.data().fieldIndex(u"ugyfel_nev");
    const int phone = list.data().fieldIndex(u"telefon");
    QCOMPARE(highlightedColumn(grid), name);
    QHeaderView *header = grid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(phone) + header->sectionSize(phone) / 2, 5));
    QCOMPARE(list.queryLines().at(2), QStringLiteral("ORDER BY telefon;"));
    QCOMPARE(highlightedColumn(grid), phone);
    QCOMPARE(names(&list).first(), QStringLiteral("Pécsi Iroda")); // NULL phone first
    QCOMPARE(grid->model()->headerData(phone, Qt::Horizontal).toString(), QStringLiteral("Telefon"));
}

QTEST_MAIN(TestClients)
#include "tst_clients.moc"
