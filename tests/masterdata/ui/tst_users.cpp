#include "common/ui/MessageBox.h"
#include "core/Login.h"
#include "core/Session.h"
#include "db/DbHelpers.h"
#include "db/UnitOfWork.h"
#include "db/ui/DatasetModel.h"
#include "masterdata/MasterData.h"
#include "masterdata/ui/Pickers.h"
#include "masterdata/ui/UserGroups.h"
#include "masterdata/ui/UserList.h"

#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <memory>

using namespace ModalDriver;

namespace {

UserList *asList(QDialog *d)
{
    return qobject_cast<UserList *>(d);
}

UserEditor *asEditor(QDialog *d)
{
    return qobject_cast<UserEditor *>(d);
}

QStringList logins(const ListScreen &list)
{
    QStringList n;
    const int col = list.data().fieldIndex(u"felhasznalo");
    for (int i = 0; i < list.model()->rowCount(); ++i)
        n << list.data().text(list.data().visibleRow(i), col);
    return n;
}

QStringList groupsOf(int user)
{
    QStringList list;
    FillList(
        list,
        QStringLiteral("SELECT csoport FROM felhkod_csoport WHERE felhkod = %1 ORDER BY csoport;").arg(user));
    return list;
}

const char *const kRightColumns[] = {"rendszergazda", "torzsszerkeszt", "canins", "canedit", "candel"};

} // namespace

class TestUsers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void newUserGetsDefaultsAndCanLogIn();
    void duplicateLoginIsRefused_data();
    void duplicateLoginIsRefused();
    void passwordReset();
    void okKeepsAPasswordChangedMeanwhile();
    void deletedUserKeepsItsRow();
    void flagColumnsArePictures();
    void pickModeAccepts();
    void groupMembership();
    void writeProtectionHidesOk();

private:
    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<TestDatabase> m_db;
};

void TestUsers::initTestCase()
{
    m_folder = std::make_unique<TempDataFolder>();
    m_db = std::make_unique<TestDatabase>();
    MessageBox::setRecording(true);
}

void TestUsers::cleanupTestCase()
{
    m_db.reset();
    m_folder.reset();
}

void TestUsers::init()
{
    ExecSql(QStringLiteral("DELETE FROM felhkod_csoport WHERE felhkod > 1;"));
    ExecSql(QStringLiteral("DELETE FROM felhasznalo WHERE felhkod > 1;"));
    ExecSql(QStringLiteral("DELETE FROM csoport WHERE csoport > 1;"));
    ExecSql(QStringLiteral(
        "INSERT INTO felhasznalo (felhkod, felhasznalo, felhasznalo_nev, rendszergazda, torzsszerkeszt, "
        "jelszomd5, torolve) VALUES (5, 'kovacs', 'Kovács Éva', 'N', 'I', MD5('titok'), 'N'), "
        "(7, 'regi', 'Régi Ember', 'N', 'N', MD5('x'), 'I');"));
    MessageBox::clearShown();
    session().settings = ProgramSettings();
    // Every write the screens make runs as a unit of work.
    UnitOfWork::watchWritesOutsideUnits(Connection::current());
}

void TestUsers::cleanup()
{
    const QStringList outside = UnitOfWork::writesOutsideUnits();
    UnitOfWork::watchWritesOutsideUnits(nullptr);
    QCOMPARE(outside, QStringList());
}

void TestUsers::newUserGetsDefaultsAndCanLogIn()
{
    QMap<QString, bool> rights;
    onModal(UserList::ObjectName, [&](QDialog *d) {
        onModal(UserEditor::ObjectName, [&](QDialog *e) {
            for (const char *c : kRightColumns)
                rights.insert(QLatin1String(c), asEditor(e)->rightBox(QLatin1String(c))->isChecked());
            asEditor(e)->loginEdit()->setText(QStringLiteral("nagy.peter"));
            asEditor(e)->nameEdit()->setText(QStringLiteral("Nagy Péter"));
            QTest::mouseClick(asEditor(e)->okButton(), Qt::LeftButton);
        });
        QTest::keyClick(asList(d)->grid(), Qt::Key_Insert);
        QCOMPARE(asList(d)->currentText(QStringLiteral("felhasznalo")), QStringLiteral("nagy.peter"));
        d->reject();
    });
    UserAdmin(nullptr);

    QCOMPARE(rights.value(QStringLiteral("rendszergazda")), false);
    QCOMPARE(rights.value(QStringLiteral("torzsszerkeszt")), false);
    QCOMPARE(rights.value(QStringLiteral("canins")), true);
    QCOMPARE(rights.value(QStringLiteral("canedit")), true);
    QCOMPARE(rights.value(QStringLiteral("candel")), true);
    // The next key counts deleted users too.
    QCOMPARE(
        SelectInt(QStringLiteral("SELECT felhkod FROM felhasznalo WHERE felhasznalo = 'nagy.peter';"), -1),
        8);
    const std::optional<SessionUser> user =
        checkCredentials(QStringLiteral("nagy.peter"), QStringLiteral("pirkalo"));
    QVERIFY(user.has_value());
    QCOMPARE(user->code, 8);
    QCOMPARE(user->fullName, QStringLiteral("Nagy Péter"));
    QVERIFY(!user->administrator && !user->masterDataEditing);
    QVERIFY(user->mayInsert && user->mayEdit && user->mayDelete);
}

void TestUsers::duplicateLoginIsRefused_data()
{
    QTest::addColumn<QString>("login");
    QTest::newRow("same") << "kovacs";
    QTest::newRow("other letter case") << "KOVACS";
    QTest::newRow("deleted user's") << "Regi";
}

void TestUsers::duplicateLoginIsRefused()
{
    QFETCH(QString, login);
    bool stayedOpen = false;
    QString typed;
    onModal(UserEditor::ObjectName, [&](QDialog *e) {
        asEditor(e)->loginEdit()->setText(login);
        QTest::keyClick(asEditor(e)->loginEdit(), Qt::Key_Return, Qt::ControlModifier);
        stayedOpen = e->isVisible();
        typed = asEditor(e)->loginEdit()->text();
        e->reject();
    });
    QCOMPARE(EditUser(nullptr, -1), -1);
    QVERIFY(stayedOpen);
    QCOMPARE(typed, login);
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().first().text, QStringLiteral("Felhasználó már létezik."));
    QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM felhasznalo;"), -1), 3);

    // An existing user's own login is not checked.
    onModal(UserEditor::ObjectName, [&](QDialog *e) {
        asEditor(e)->nameEdit()->setText(QStringLiteral("Kovács Éva dr."));
        QTest::mouseClick(asEditor(e)->okButton(), Qt::LeftButton);
    });
    QCOMPARE(EditUser(nullptr, 5), 5);
}

void TestUsers::passwordReset()
{
    auto resetThen = [](bool ok) {
        onModal(UserEditor::ObjectName, [ok](QDialog *e) {
            QTest::mouseClick(e->findChild<QPushButton *>(QStringLiteral("btnVisszaallit")), Qt::LeftButton);
            QTest::mouseClick(ok ? asEditor(e)->okButton() : asEditor(e)->cancelButton(), Qt::LeftButton);
        });
        return EditUser(nullptr, 5);
    };
    QCOMPARE(resetThen(false), -1);
    QVERIFY(checkCredentials(QStringLiteral("kovacs"), QStringLiteral("titok")).has_value());
    QCOMPARE(resetThen(true), 5);
    QVERIFY(!checkCredentials(QStringLiteral("kovacs"), QStringLiteral("titok")).has_value());
    QVERIFY(checkCredentials(QStringLiteral("kovacs"), QStringLiteral("pirkalo")).has_value());
    // The other fields are kept.
    QCOMPARE(SelectText(QStringLiteral("SELECT torzsszerkeszt FROM felhasznalo WHERE felhkod = 5;"), {}),
             QStringLiteral("I"));
}

void TestUsers::okKeepsAPasswordChangedMeanwhile()
{
    onModal(UserEditor::ObjectName, [](QDialog *e) {
        changePassword(QStringLiteral("kovacs"), QStringLiteral("új jelszó"));
        asEditor(e)->nameEdit()->setText(QStringLiteral("Kovács Éva dr."));
        asEditor(e)->rightBox(QStringLiteral("candel"))->setChecked(false);
        QTest::mouseClick(asEditor(e)->okButton(), Qt::LeftButton);
    });
    QCOMPARE(EditUser(nullptr, 5), 5);
    QVERIFY(checkCredentials(QStringLiteral("kovacs"), QStringLiteral("új jelszó")).has_value());
    const Dataset row =
        db().query(QStringLiteral("SELECT felhasznalo_nev, candel FROM felhasznalo WHERE felhkod = 5;"));
    QCOMPARE(row.text(0, 0), QStringLiteral("Kovács Éva dr."));
    QCOMPARE(row.text(0, 1), QStringLiteral("N"));

    // A reset is written even when the editor opened on the default password.
    changePassword(QStringLiteral("kovacs"), Users::defaultPassword());
    onModal(UserEditor::ObjectName, [](QDialog *e) {
        changePassword(QStringLiteral("kovacs"), QStringLiteral("saját"));
        QTest::mouseClick(e->findChild<QPushButton *>(QStringLiteral("btnVisszaallit")), Qt::LeftButton);
        QTest::mouseClick(asEditor(e)->okButton(), Qt::LeftButton);
    });
    QCOMPARE(EditUser(nullptr, 5), 5);
    QVERIFY(checkCredentials(QStringLiteral("kovacs"), Users::defaultPassword()).has_value());
}

void TestUsers::deletedUserKeepsItsRow()
{
    UserList list(nullptr, false);
    list.openAt(5);
    QCOMPARE(logins(list), QStringList({"kovacs", "rendszergazda"}));
    MessageBox::setNextAnswer(true);
    trigger(&list, "aTorol");
    QCOMPARE(logins(list), QStringList({"rendszergazda"}));
    list.searchBox()->setText(QStringLiteral("kov"));
    QCOMPARE(logins(list), QStringList());
    const Dataset row =
        db().query(QStringLiteral("SELECT torolve, dat_torolve FROM felhasznalo WHERE felhkod = 5;"));
    QCOMPARE(row.text(0, 0), QStringLiteral("I"));
    QVERIFY(row.toDateTime(0, 1).isValid());
}

void TestUsers::flagColumnsArePictures()
{
    UserList list(nullptr, false);
    list.openAt(-1);
    const int admin = list.data().fieldIndex(u"rendszergazda");
    const int master = list.data().fieldIndex(u"torzsszerkeszt");
    // kovacs: no administrator, master-data editing.
    const QModelIndex noFlag = list.model()->index(0, admin);
    const QModelIndex flag = list.model()->index(0, master);
    QCOMPARE(noFlag.data(Qt::DisplayRole).toString(), QString());
    const QImage on = flag.data(Qt::DecorationRole).value<QPixmap>().toImage();
    const QImage off = noFlag.data(Qt::DecorationRole).value<QPixmap>().toImage();
    QVERIFY(!on.isNull() && !off.isNull());
    QVERIFY(on != off);
    QCOMPARE(list.model()->headerData(admin, Qt::Horizontal).toString(), QStringLiteral("R.gazda"));
    QCOMPARE(list.model()->headerData(master, Qt::Horizontal).toString(), QStringLiteral("Törzs.Szerk"));
}

void TestUsers::pickModeAccepts()
{
    QStringList available;
    onModal(UserList::ObjectName, [&](QDialog *d) {
        for (QAction *a : d->findChildren<QAction *>(QString(), Qt::FindDirectChildrenOnly))
            if (a->isVisible() && a->isEnabled())
                available << a->objectName();
        ModalWatch none(d);
        QTest::keyClick(asList(d)->grid(), Qt::Key_Insert);
        QTest::keyClick(asList(d)->grid(), Qt::Key_F2);
        QCOMPARE(none.seen(), 0);
        QTest::keyClick(asList(d)->grid(), Qt::Key_Return);
    });
    QCOMPARE(UserPicker(nullptr, 1), 1);
    available.sort();
    QCOMPARE(available, QStringList({"aBezar", "aElfogad"}));

    onModal(UserList::ObjectName, [&](QDialog *d) {
        QTableView *grid = asList(d)->grid();
        const QPoint cell = grid->visualRect(grid->model()->index(0, 1)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    });
    QCOMPARE(UserPicker(nullptr), 5);

    onModal(UserList::ObjectName, [&](QDialog *d) { trigger(d, "aBezar"); });
    QCOMPARE(UserPicker(nullptr), -1);
}

void TestUsers::groupMembership()
{
    ExecSql(QStringLiteral("INSERT INTO csoport (csoport, csoport_nev, torolve) VALUES (2, 'Pénzügy', 'N'), "
                           "(3, 'Titkárság', 'N'), (4, 'Megszűnt', 'I');"));
    QStringList afterAll;
    QStringList afterSecondAll;
    QStringList afterRemove;
    QStringList pickerNames;
    onModal(UserGroups::ObjectName, [&](QDialog *d) {
        auto *screen = qobject_cast<UserGroups *>(d);
        QCOMPARE(d->windowTitle(), QStringLiteral("Felhasználó csoportjai"));
        // Removing from an empty membership does nothing.
        trigger(d, "aTorol");
        // "Új csoport" offers the groups not marked deleted.
        onModal(QStringLiteral("frm_Torzsadat"), [&](QDialog *p) {
            auto *picker = qobject_cast<ListScreen *>(p);
            for (int i = 0; i < picker->model()->rowCount(); ++i)
                pickerNames << picker->data().text(picker->data().visibleRow(i), 1);
            picker->locateKey(3);
            trigger(p, "aElfogad");
        });
        trigger(d, "aUj");
        QCOMPARE(groupsOf(5), QStringList({"3"}));
        trigger(d, "aUj2");
        afterAll = groupsOf(5);
        trigger(d, "aUj2");
        afterSecondAll = groupsOf(5);
        screen->locateKey(2);
        trigger(d, "aTorol");
        afterRemove = groupsOf(5);
        QCOMPARE(screen->model()->rowCount(), 3);
        d->reject();
    });
    EditUserGroups(nullptr, 5);
    QCOMPARE(pickerNames, QStringList({"Általános", "Pénzügy", "Titkárság"}));
    QCOMPARE(afterAll, QStringList({"1", "2", "3", "4"}));
    QCOMPARE(afterSecondAll, afterAll);
    QCOMPARE(afterRemove, QStringList({"1", "3", "4"}));
    QVERIFY(MessageBox::shown().isEmpty());

    // The user list shows the groups after the membership screen closes.
    UserList list(nullptr, false);
    list.openAt(5);
    QVERIFY(list.currentText(QStringLiteral("csopstr")).contains(QStringLiteral("Titkárság")));
}

void TestUsers::writeProtectionHidesOk()
{
    session().settings.irasvedett = true;
    bool okHidden = false;
    onModal(UserEditor::ObjectName, [&](QDialog *e) {
        okHidden = asEditor(e)->okButton()->isHidden();
        QTest::keyClick(asEditor(e)->nameEdit(), Qt::Key_Return, Qt::ControlModifier);
        if (e->isVisible())
            e->reject();
    });
    QCOMPARE(EditUser(nullptr, 5), -1);
    QVERIFY(okHidden);

    UserGroups screen(nullptr, 5, QStringLiteral("Kovács Éva"), QStringLiteral("kovacs"));
    screen.requery();
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QVERIFY(!action(&screen, "aUj")->isEnabled());
    QVERIFY(!action(&screen, "aUj2")->isEnabled());
    QVERIFY(!action(&screen, "aTorol")->isEnabled());
}

QTEST_MAIN(TestUsers)
#include "tst_users.moc"
