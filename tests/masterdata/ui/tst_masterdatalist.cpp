#include "common/SqlText.h"
#include "common/ui/MessageBox.h"
#include "core/Session.h"
#include "core/ui/RightsGate.h"
#include "core/ui/SettingsDialog.h"
#include "db/DbHelpers.h"
#include "db/UnitOfWork.h"
#include "db/ui/DatasetModel.h"
#include "masterdata/ui/MasterDataList.h"
#include "masterdata/ui/MasterRowEditor.h"
#include "masterdata/ui/Pickers.h"
#include "register/ui/FilterController.h"

#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <memory>

using namespace ModalDriver;

namespace {

MasterDataList *asList(QDialog *d)
{
    return qobject_cast<MasterDataList *>(d);
}

MasterRowEditor *asEditor(QDialog *d)
{
    return qobject_cast<MasterRowEditor *>(d);
}

QStringList errorsShown()
{
    QStringList texts;
    for (const MessageBox::ShownMessage &m : MessageBox::shown())
        if (m.kind == QLatin1String("error"))
            texts << m.text;
    return texts;
}

int count(const QString &sql)
{
    return SelectInt(sql, -1);
}

} // namespace

class TestMasterDataList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void namesAreStoredAndFoundExactly_data();
    void namesAreStoredAndFoundExactly();
    void twoWordsNarrowTheList();
    void searchWordLimits_data();
    void searchWordLimits();
    void firstTypedLetterIsUpperCased();
    void newRowGetsTheServerKey();
    void cancelledNewRowLeavesNothing();
    void emptyListMessages();
    void deletionFollowsTheCaller_data();
    void deletionFollowsTheCaller();
    void readOnlyOffersOnlyAcceptAndClose();
    void writeProtectedRegister();
    void mainWindowEntriesCheckRights_data();
    void mainWindowEntriesCheckRights();
    void everyWiredCallerOpensTheListWithItsModes_data();
    void everyWiredCallerOpensTheListWithItsModes();
    void captionsComeFromTheSettings();
    void settingsGroupButtonUsesThePicker();

private:
    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<TestDatabase> m_db;
};

void TestMasterDataList::initTestCase()
{
    m_folder = std::make_unique<TempDataFolder>();
    m_db = std::make_unique<TestDatabase>();
    MessageBox::setRecording(true);
}

void TestMasterDataList::cleanupTestCase()
{
    m_db.reset();
    m_folder.reset();
}

void TestMasterDataList::init()
{
    for (const char *table : {"projekt", "munkaszam", "tipus", "egyebcsop"})
        ExecSql(QStringLiteral("DELETE FROM %1;").arg(QLatin1String(table)));
    ExecSql(QStringLiteral("DELETE FROM csoport WHERE csoport > 1;"));
    MessageBox::clearShown();
    session().settings = ProgramSettings();
    session().user = SessionUser::builtInAdministrator();
    // Every write the screens make runs as a unit of work.
    UnitOfWork::watchWritesOutsideUnits(Connection::current());
}

void TestMasterDataList::cleanup()
{
    const QStringList outside = UnitOfWork::writesOutsideUnits();
    UnitOfWork::watchWritesOutsideUnits(nullptr);
    QCOMPARE(outside, QStringList());
}

void TestMasterDataList::namesAreStoredAndFoundExactly_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("quotes") << QStringLiteral("O'Brien \"Kft\" ''");
    QTest::newRow("backslashes") << QStringLiteral("C:\\utak\\ \\' vége\\");
    QTest::newRow("Hungarian") << QStringLiteral("Árvíztűrő tükörfúrógép ŐŰ");
    QTest::newRow("wildcards") << QStringLiteral("100% _alatt");
}

void TestMasterDataList::namesAreStoredAndFoundExactly()
{
    QFETCH(QString, name);
    ExecSql(QStringLiteral("INSERT INTO projekt (projekt_nev) VALUES ('Más projekt'), ('100 alatt');"));

    onModal(MasterRowEditor::ObjectName, [&](QDialog *d) {
        asEditor(d)->nameEdit()->setText(name);
        QTest::mouseClick(asEditor(d)->okButton(), Qt::LeftButton);
    });
    const int key = EditMasterRow(nullptr, -1, QStringLiteral("projekt"), QStringLiteral("Projekt"));
    QVERIFY(key > 0);
    QCOMPARE(SelectText(QStringLiteral("SELECT projekt_nev FROM projekt WHERE projekt = %1;").arg(key), {}),
             name);

    int rows = -1;
    onModal(MasterDataList::ObjectName, [&](QDialog *d) {
        asList(d)->searchBox()->setText(name);
        rows = asList(d)->model()->rowCount();
        trigger(d, "aElfogad");
    });
    const PickResult r = MasterDataPicker(nullptr, -1, true, QStringLiteral("projekt"),
                                          QStringLiteral("Projekt"), false, false);
    QCOMPARE(rows, 1);
    QCOMPARE(r.key, key);
    QCOMPARE(r.name, name);
}

void TestMasterDataList::twoWordsNarrowTheList()
{
    ExecSql(
        QStringLiteral("INSERT INTO tipus (tipus_nev) VALUES ('Kiss Pécs'), ('Kiss Győr'), ('Nagy Pécs'), "
                       "('Pécsi Kissné');"));
    QStringList names;
    onModal(MasterDataList::ObjectName, [&](QDialog *d) {
        asList(d)->searchBox()->setText(QStringLiteral("kiss, pecs"));
        for (int i = 0; i < asList(d)->model()->rowCount(); ++i)
            names << asList(d)->data().text(asList(d)->data().visibleRow(i), 1);
        d->reject();
    });
    MasterDataPicker(nullptr, -1, false, QStringLiteral("tipus"), QStringLiteral("Típus"), true, false);
    QCOMPARE(names, QStringList({QStringLiteral("Kiss Pécs"), QStringLiteral("Pécsi Kissné")}));
}

void TestMasterDataList::searchWordLimits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("rows");
    // The row "a b c d e f" matches every word; "x" is in no row.
    QTest::newRow("two spaces between two words") << "a  f" << 1;
    QTest::newRow("seventh word ignored") << "a b c d e f x" << 1;
    QTest::newRow("sixth word after a double space ignored") << "a b  c d e x" << 1;
    QTest::newRow("sixth word used") << "a b c d e x" << 0;
    QTest::newRow("punctuation only") << " ,; " << 2;
}

void TestMasterDataList::searchWordLimits()
{
    QFETCH(QString, text);
    QFETCH(int, rows);
    ExecSql(QStringLiteral("INSERT INTO munkaszam (munkaszam_nev) VALUES ('a b c d e f'), ('nincs');"));
    int shown = -1;
    QString where;
    onModal(MasterDataList::ObjectName, [&](QDialog *d) {
        asList(d)->searchBox()->setText(text);
        shown = asList(d)->model()->rowCount();
        where = asList(d)->queryLines().at(1);
        d->reject();
    });
    MasterDataPicker(nullptr, -1, false, QStringLiteral("munkaszam"), QStringLiteral("Munkaszám"), false,
                     false);
    QCOMPARE(shown, rows);
    if (text.trimmed() == QLatin1String(",;"))
        QCOMPARE(where, QStringLiteral("WHERE (1 = 1)"));
}

void TestMasterDataList::firstTypedLetterIsUpperCased()
{
    MasterRowEditor editor(nullptr, QStringLiteral("egyebcsop"), QString());
    editor.load(-1);
    QCOMPARE(editor.windowTitle(), QStringLiteral("Egyéb csoportosítás"));
    QTest::keyClicks(editor.nameEdit(), QStringLiteral("kiss anna"));
    QCOMPARE(editor.nameEdit()->text(), QStringLiteral("Kiss anna"));
    // Only a-z: a national letter stays as typed.
    editor.nameEdit()->clear();
    QTest::sendKeyEvent(QTest::Click, editor.nameEdit(), Qt::Key_Aacute, QStringLiteral("á"), Qt::NoModifier);
    QCOMPARE(editor.nameEdit()->text(), QStringLiteral("á"));
}

void TestMasterDataList::newRowGetsTheServerKey()
{
    ExecSql(QStringLiteral("INSERT INTO egyebcsop (egyebcsop, egyebcsop_nev) VALUES (41, 'Első');"));
    QString current;
    QString keyShown;
    onModal(MasterDataList::ObjectName, [&](QDialog *d) {
        onModal(MasterRowEditor::ObjectName, [&](QDialog *e) {
            keyShown = asEditor(e)->keyLabel()->text();
            asEditor(e)->nameEdit()->setText(QStringLiteral("Zárt"));
            QTest::keyClick(asEditor(e)->nameEdit(), Qt::Key_Return, Qt::ControlModifier);
        });
        QTest::keyClick(asList(d)->grid(), Qt::Key_Insert);
        current = asList(d)->currentText(QStringLiteral("egyebcsop_nev"));
        trigger(d, "aElfogad");
    });
    const PickResult r = MasterDataPicker(nullptr, -1, true, QStringLiteral("egyebcsop"),
                                          QStringLiteral("Egyéb csoportosítás"), false, false);
    QCOMPARE(keyShown, QString());
    QCOMPARE(current, QStringLiteral("Zárt"));
    QCOMPARE(r.key, 42);
    QCOMPARE(r.name, QStringLiteral("Zárt"));
}

void TestMasterDataList::cancelledNewRowLeavesNothing()
{
    onModal(MasterRowEditor::ObjectName, [&](QDialog *d) {
        asEditor(d)->nameEdit()->setText(QStringLiteral("Elvetett"));
        QTest::keyClick(asEditor(d)->nameEdit(), Qt::Key_Escape);
    });
    QCOMPARE(EditMasterRow(nullptr, -1, QStringLiteral("projekt")), -1);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM projekt;")), 0);
}

void TestMasterDataList::emptyListMessages()
{
    bool stayedOpen = false;
    onModal(MasterDataList::ObjectName, [&](QDialog *d) {
        trigger(d, "aSzerkeszt");
        trigger(d, "aTorol");
        trigger(d, "aElfogad");
        stayedOpen = d->isVisible();
        trigger(d, "aBezar");
    });
    const PickResult r = MasterDataPicker(nullptr, -1, true, QStringLiteral("projekt"),
                                          QStringLiteral("Projekt"), false, false);
    QVERIFY(stayedOpen);
    QCOMPARE(r.key, -1);
    QCOMPARE(errorsShown(),
             QStringList({QStringLiteral("Nincs sor kiválasztva."), QStringLiteral("Nincs sor kiválasztva."),
                          QStringLiteral("Nincs kiválasztott sor.")}));
}

void TestMasterDataList::deletionFollowsTheCaller_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("softDelete");
    QTest::newRow("projekt") << "projekt" << false;
    QTest::newRow("munkaszam") << "munkaszam" << false;
    QTest::newRow("egyebcsop") << "egyebcsop" << false;
    QTest::newRow("tipus from the main window") << "tipus" << true;
    QTest::newRow("tipus from the new-document picker") << "tipus" << false;
    QTest::newRow("csoport") << "csoport" << true;
}

void TestMasterDataList::deletionFollowsTheCaller()
{
    QFETCH(QString, table);
    QFETCH(bool, softDelete);
    ExecSql(QStringLiteral("INSERT INTO %1 (%1, %1_nev) VALUES (7, 'Törlendő'), (8, 'Marad');").arg(table));
    if (table == QLatin1String("tipus"))
        ExecSql(
            QStringLiteral("INSERT INTO tipus (tipus, tipus_nev, torolve) VALUES (9, 'Régen törölt', 'I');"));

    QStringList before;
    QStringList after;
    auto names = [](MasterDataList *l) {
        QStringList n;
        for (int i = 0; i < l->model()->rowCount(); ++i)
            n << l->data().text(l->data().visibleRow(i),
                                l->data().fieldIndex(QString(l->data().field(1).name)));
        return n;
    };
    QStringList whileSearching;
    onModal(MasterDataList::ObjectName, [&](QDialog *d) {
        before = names(asList(d));
        MessageBox::setNextAnswer(true);
        // A shortcut reaches its action only once the grid holds the focus of the active window.
        QTableView *grid = asList(d)->grid();
        grid->setFocus();
        if (!QTest::qWaitFor([grid] { return grid->hasFocus(); }, 2000))
            qWarning("the grid never got the focus");
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        after = names(asList(d));
        asList(d)->searchBox()->setText(QStringLiteral("t"));
        whileSearching = names(asList(d));
        d->reject();
    });
    MasterDataPicker(nullptr, 7, false, table, QStringLiteral("Táblázat"), softDelete, false);
    // In soft-delete mode a marked row stays out while searching too.
    if (softDelete)
        QVERIFY(!whileSearching.contains(QStringLiteral("Törlendő")));

    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().first().text, QStringLiteral("Valóban töröljem a sort?"));
    QCOMPARE(MessageBox::shown().first().title, QStringLiteral("Megerősítés"));
    QVERIFY(before.contains(QStringLiteral("Törlendő")));
    QVERIFY(!after.contains(QStringLiteral("Törlendő")));
    QVERIFY(after.contains(QStringLiteral("Marad")));
    // Outside soft-delete mode a marked type is still listed.
    if (table == QLatin1String("tipus"))
        QCOMPARE(before.contains(QStringLiteral("Régen törölt")), !softDelete);
    const int left = count(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %1 = 7;").arg(table));
    QCOMPARE(left, softDelete ? 1 : 0);
    if (softDelete)
        QCOMPARE(SelectText(QStringLiteral("SELECT torolve FROM %1 WHERE %1 = 7;").arg(table), {}),
                 QStringLiteral("I"));
}

void TestMasterDataList::readOnlyOffersOnlyAcceptAndClose()
{
    ExecSql(QStringLiteral("INSERT INTO tipus (tipus, tipus_nev) VALUES (3, 'Levél'), (4, 'Számla');"));
    QStringList available;
    int editorsSeen = -1;
    onModal(MasterDataList::ObjectName, [&](QDialog *d) {
        for (QAction *a : d->findChildren<QAction *>(QString(), Qt::FindDirectChildrenOnly))
            if (a->isVisible() && a->isEnabled() && !a->objectName().isEmpty())
                available << a->objectName();
        {
            ModalWatch watch(d);
            QTableView *grid = asList(d)->grid();
            QTest::keyClick(grid, Qt::Key_Insert);
            QTest::keyClick(grid, Qt::Key_F2);
            QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
            const QPoint cell = grid->visualRect(grid->model()->index(0, 1)).center();
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
            QTest::qWait(30);
            editorsSeen = watch.seen();
        }
        if (d->isVisible())
            d->reject();
    });
    const PickResult r =
        MasterDataPicker(nullptr, 4, true, QStringLiteral("tipus"), QStringLiteral("Típus"), false, true);
    available.sort();
    QCOMPARE(available,
             QStringList({QStringLiteral("aBezar"), QStringLiteral("aElfogad"), QStringLiteral("aKeres")}));
    QCOMPARE(editorsSeen, 0);
    QVERIFY(MessageBox::shown().isEmpty());
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM tipus;")), 2);
    // The double-click accepted the row under the mouse.
    QCOMPARE(r.key, 3);
}

void TestMasterDataList::writeProtectedRegister()
{
    session().settings.irasvedett = true;
    ExecSql(QStringLiteral("INSERT INTO projekt (projekt, projekt_nev) VALUES (5, 'Védett');"));
    bool newEnabled = true;
    bool deleteEnabled = true;
    onModal(MasterDataList::ObjectName, [&](QDialog *d) {
        newEnabled = action(d, "aUj")->isEnabled();
        deleteEnabled = action(d, "aTorol")->isEnabled();
        trigger(d, "aSzerkeszt");
        d->reject();
    });
    MasterDataPicker(nullptr, -1, false, QStringLiteral("projekt"), QStringLiteral("Projekt"), false, false);
    QVERIFY(!newEnabled);
    QVERIFY(!deleteEnabled);
    QCOMPARE(errorsShown(), QStringList(noRightMessage()));

    // The editor's OK is disabled and Ctrl+Enter does not save.
    bool okEnabled = true;
    onModal(MasterRowEditor::ObjectName, [&](QDialog *d) {
        okEnabled = asEditor(d)->okButton()->isEnabled();
        asEditor(d)->nameEdit()->setText(QStringLiteral("Átírt"));
        QTest::keyClick(asEditor(d)->nameEdit(), Qt::Key_Return, Qt::ControlModifier);
        if (d->isVisible())
            d->reject();
    });
    QCOMPARE(EditMasterRow(nullptr, 5, QStringLiteral("projekt")), -1);
    QVERIFY(!okEnabled);
    QCOMPARE(NameLookup(5, QStringLiteral("projekt"), {}), QStringLiteral("Védett"));
}

void TestMasterDataList::mainWindowEntriesCheckRights_data()
{
    QTest::addColumn<QString>("actionName");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<bool>("opens");
    // Every right but the administrator's.
    QTest::newRow("aProjekt") << "aProjekt"
                              << "frm_Torzsadat" << true;
    QTest::newRow("aMunkaszam") << "aMunkaszam"
                                << "frm_Torzsadat" << true;
    QTest::newRow("aTipus") << "aTipus"
                            << "frm_Torzsadat" << true;
    QTest::newRow("aFoszam") << "aFoszam"
                             << "frm_TorzsFoszam" << true;
    QTest::newRow("aUgyfel") << "aUgyfel"
                             << "frm_TorzsUgyfel" << true;
    QTest::newRow("aCsoport") << "aCsoport"
                              << "" << false;
    QTest::newRow("aStatusz") << "aStatusz"
                              << "" << false;
    QTest::newRow("aFelhasznalo") << "aFelhasznalo"
                                  << "" << false;
}

void TestMasterDataList::mainWindowEntriesCheckRights()
{
    QFETCH(QString, actionName);
    QFETCH(QString, screen);
    QFETCH(bool, opens);
    SessionUser user = SessionUser::builtInAdministrator();
    user.administrator = false;
    session().user = user;

    QString opened;
    std::unique_ptr<ModalWatch> refusedWatch;
    if (opens)
        onModal(screen, [&](QDialog *d) {
            opened = d->objectName();
            d->reject();
        });
    else
        refusedWatch = std::make_unique<ModalWatch>();
    // A refused entry reports that no screen ran, so the main list is not re-read.
    QCOMPARE(openMasterDataFromMainWindow(nullptr, actionName), opens);
    if (opens) {
        QCOMPARE(opened, screen);
        QVERIFY(errorsShown().isEmpty());
    } else {
        QCOMPARE(refusedWatch->seen(), 0);
        QCOMPARE(errorsShown(), QStringList(QStringLiteral("Nincs jogosultság a művelethez.")));
    }

    // Without the master-data right only the clients open.
    MessageBox::clearShown();
    user.masterDataEditing = false;
    session().user = user;
    if (actionName == QLatin1String("aProjekt") || actionName == QLatin1String("aFoszam")) {
        ModalWatch none;
        QVERIFY(!openMasterDataFromMainWindow(nullptr, actionName));
        QCOMPARE(none.seen(), 0);
        QCOMPARE(errorsShown(), QStringList(QStringLiteral("Nincs jogosultság a művelethez.")));
    }
    QVERIFY(!openMasterDataFromMainWindow(nullptr, QStringLiteral("aNincsIlyen")));
}

void TestMasterDataList::everyWiredCallerOpensTheListWithItsModes_data()
{
    using C = MasterTable::Caller;
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("caller");
    QTest::newRow("aProjekt") << "aProjekt" << int(C::ProjectAdmin);
    QTest::newRow("aMunkaszam") << "aMunkaszam" << int(C::WorkNumberAdmin);
    QTest::newRow("aTipus") << "aTipus" << int(C::TypeAdmin);
    QTest::newRow("aCsoport") << "aCsoport" << int(C::GroupAdmin);
    QTest::newRow("aSzur7 type filter") << "aSzur7" << int(C::TypeFilter);
    QTest::newRow("aSzur12 other-grouping filter") << "aSzur12" << int(C::OtherGroupFilter);
    QTest::newRow("settings default group") << "settings" << int(C::SettingsDefaultGroup);
    QTest::newRow("membership new group") << "membership" << int(C::MembershipNewGroup);
}

void TestMasterDataList::everyWiredCallerOpensTheListWithItsModes()
{
    QFETCH(QString, entry);
    QFETCH(int, caller);
    session().settings.mezo1 = QStringLiteral("Ügyszám");
    session().settings.mezo2 = QStringLiteral("Munka");
    session().settings.mezo3 = QStringLiteral("Fajta");
    const MasterTable::CallModes modes = MasterTable::callModes(MasterTable::Caller(caller));
    ExecSql(QStringLiteral("INSERT INTO %1 (%1, %1_nev) VALUES (7, 'Élő');").arg(modes.table));
    const bool marksDeleted =
        modes.table == QLatin1String("tipus") || modes.table == QLatin1String("csoport");
    if (marksDeleted)
        ExecSql(QStringLiteral("INSERT INTO %1 (%1, %1_nev, torolve) VALUES (8, 'Törölt', 'I');")
                    .arg(modes.table));

    QString table;
    QString title;
    QString where;
    bool pick = false;
    bool editable = false;
    bool deletedListed = false;
    auto inspect = [&](QDialog *d) {
        auto *list = asList(d);
        table = list->data().field(0).name;
        title = d->windowTitle();
        where = list->queryLines().at(1);
        pick = action(d, "aElfogad")->isVisible();
        editable = action(d, "aUj")->isVisible();
        for (int i = 0; i < list->model()->rowCount(); ++i)
            deletedListed =
                deletedListed || list->data().text(list->data().visibleRow(i), 1) == QStringLiteral("Törölt");
        d->reject();
    };

    if (entry == QLatin1String("settings")) {
        registerMasterDataPickers();
        SettingsDialog settings(nullptr);
        onModal(MasterDataList::ObjectName, inspect);
        QTest::mouseClick(settings.findChild<QPushButton *>(QStringLiteral("btn_alapcsoport")),
                          Qt::LeftButton);
        settings.reject();
    } else if (entry == QLatin1String("membership")) {
        onModal(QStringLiteral("frm_FelhCsop"), [&](QDialog *d) {
            onModal(MasterDataList::ObjectName, inspect);
            trigger(d, "aUj");
            d->reject();
        });
        EditUserGroups(nullptr, 1);
    } else if (entry.startsWith(QLatin1String("aSzur"))) {
        const FilterPickers pickers = FilterPickers::standard();
        onModal(MasterDataList::ObjectName, inspect);
        QCOMPARE((entry == QLatin1String("aSzur7") ? pickers.type : pickers.otherGroup)(nullptr), -1);
    } else {
        onModal(MasterDataList::ObjectName, inspect);
        QVERIFY(openMasterDataFromMainWindow(nullptr, entry));
    }

    QCOMPARE(table, modes.table);
    QCOMPARE(title, modes.captionIn(session().settings));
    QCOMPARE(pick, modes.pickMode);
    QCOMPARE(editable, !modes.readOnly);
    QCOMPARE(where, QStringLiteral("WHERE ") + MasterTable::baseCondition(modes.softDelete));
    // Without soft delete a row marked deleted is still offered (the type filter, for one).
    if (marksDeleted)
        QCOMPARE(deletedListed, !modes.softDelete);
}

void TestMasterDataList::captionsComeFromTheSettings()
{
    session().settings.mezo1 = QStringLiteral("Ügyszám");
    session().settings.mezo2 = QStringLiteral("Munka");
    session().settings.mezo3 = QStringLiteral("Fajta");
    const QList<std::pair<QString, QString>> cases = {
        {QStringLiteral("aMunkaszam"), QStringLiteral("Ügyszám")},
        {QStringLiteral("aProjekt"), QStringLiteral("Munka")},
        {QStringLiteral("aTipus"), QStringLiteral("Fajta")},
        {QStringLiteral("aCsoport"), QStringLiteral("Csoport")}};
    for (const auto &[actionName, caption] : cases) {
        QString title;
        QString panel;
        QString column;
        bool acceptShown = true;
        onModal(MasterDataList::ObjectName, [&](QDialog *d) {
            title = d->windowTitle();
            panel = asList(d)->captionPanel()->text();
            const Dataset &data = asList(d)->data();
            column = asList(d)
                         ->model()
                         ->headerData(data.fieldIndex(data.field(1).name), Qt::Horizontal)
                         .toString();
            acceptShown = action(d, "aElfogad")->isVisible();
            d->reject();
        });
        openMasterDataFromMainWindow(nullptr, actionName);
        QCOMPARE(title, caption);
        QCOMPARE(panel, caption + QStringLiteral("  "));
        QCOMPARE(column, caption);
        QVERIFY(!acceptShown);
    }
}

void TestMasterDataList::settingsGroupButtonUsesThePicker()
{
    ExecSql(QStringLiteral("INSERT INTO csoport (csoport, csoport_nev, torolve) VALUES (3, 'Iktató', 'N'), "
                           "(4, 'Megszűnt', 'I');"));
    registerMasterDataPickers();
    SettingsDialog settings(nullptr);
    QStringList offered;
    bool pickMode = false;
    onModal(MasterDataList::ObjectName, [&](QDialog *d) {
        for (int i = 0; i < asList(d)->model()->rowCount(); ++i)
            offered << asList(d)->data().text(asList(d)->data().visibleRow(i), 1);
        pickMode = action(d, "aElfogad")->isVisible();
        asList(d)->locateKey(3);
        trigger(d, "aElfogad");
    });
    QTest::mouseClick(settings.findChild<QPushButton *>(QStringLiteral("btn_alapcsoport")), Qt::LeftButton);
    QCOMPARE(offered, QStringList({"Általános", "Iktató"}));
    QVERIFY(pickMode);
    QCOMPARE(settings.findChild<QLineEdit *>(QStringLiteral("alapcsoport_nev"))->text(),
             QStringLiteral("Iktató"));
    settings.reject();
}

QTEST_MAIN(TestMasterDataList)
#include "tst_masterdatalist.moc"
