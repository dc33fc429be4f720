#include "common/ui/Dialog.h"
#include "core/AppFolders.h"
#include "core/Session.h"
#include "core/IniFile.h"

#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

namespace {

// A dialog with one control of each kind the conventions care about.
struct Fixture
{
    explicit Fixture(const QString &name = QStringLiteral("frm_Proba"), bool resizable = false)
        : dialog(std::make_unique<Dialog>(nullptr, name, resizable))
    {
        auto *layout = new QVBoxLayout(dialog.get());
        first = new QLineEdit;
        check = new QCheckBox(QStringLiteral("Jelölő"));
        spin = new QSpinBox;
        date = new QDateEdit;
        combo = new QComboBox;
        combo->setEditable(true);
        memo = new QPlainTextEdit;
        secret = new QLineEdit;
        maskPasswordBox(secret);
        kept = new QLineEdit;
        ok = new QPushButton(QStringLiteral("OK"));
        ok->setDefault(true);
        cancel = new QPushButton(QStringLiteral("Mégsem"));
        const std::pair<QWidget *, const char *> widgets[] = {
            {first, "first"}, {check, "check"},   {spin, "spin"}, {date, "date"}, {combo, "combo"},
            {memo, "memo"},   {secret, "secret"}, {kept, "kept"}, {ok, "ok"},     {cancel, "cancel"}};
        for (const auto &[w, name] : widgets) {
            w->setObjectName(QLatin1String(name));
            layout->addWidget(w);
        }
        dialog->keepEnterKey(kept);
        QObject::connect(ok, &QPushButton::clicked, [this] { ++okClicks; });
    }

    QWidget *widget(const QString &name) const { return dialog->findChild<QWidget *>(name); }

    void showActive()
    {
        dialog->show();
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }

    std::unique_ptr<Dialog> dialog;
    QLineEdit *first;
    QCheckBox *check;
    QSpinBox *spin;
    QDateEdit *date;
    QComboBox *combo;
    QPlainTextEdit *memo;
    QLineEdit *secret;
    QLineEdit *kept;
    QPushButton *ok;
    QPushButton *cancel;
    int okClicks = 0;
};

// Keys go where the keyboard focus is, as they do for a user.
void pressOnFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, key, modifiers);
}

QColor baseOf(QWidget *w)
{
    return w->palette().color(QPalette::Base);
}

} // namespace

class TestDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void fontSize_data();
    void fontSize();
    void focusedBoxIsSkyBlue_data();
    void focusedBoxIsSkyBlue();
    void enterMovesToTheNextControl();
    void enterKeepsItsMeaningWhereAsked();
    void ctrlEnterAccepts_data();
    void ctrlEnterAccepts();
    void escRejects();
    void remembersItsPlace_data();
    void remembersItsPlace();
    void placeIsFittedIntoTheWorkArea();
    void closesWhenThePlaceCannotBeWritten();
    void childDialogKeepsItsOwnConventions();
};

void TestDialog::cleanup()
{
    session().local.fontSize = 9;
}

void TestDialog::fontSize_data()
{
    QTest::addColumn<int>("configured");
    QTest::addColumn<int>("expected");
    QTest::newRow("unset") << 0 << 9;
    QTest::newRow("large") << 14 << 14;
}

void TestDialog::fontSize()
{
    QFETCH(int, configured);
    QFETCH(int, expected);
    session().local.fontSize = configured;
    Fixture f;
    QCOMPARE(f.dialog->font().pointSize(), expected);
    QCOMPARE(f.first->font().pointSize(), expected);
}

void TestDialog::focusedBoxIsSkyBlue_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("line edit") << "first";
    QTest::newRow("spin box") << "spin";
    QTest::newRow("date edit") << "date";
    QTest::newRow("editable combo") << "combo";
    QTest::newRow("multi-line") << "memo";
    QTest::newRow("password box") << "secret";
}

void TestDialog::focusedBoxIsSkyBlue()
{
    QFETCH(QString, kind);
    TempDataFolder data;
    AppFolders::refresh();
    Fixture f;
    QWidget *box = f.widget(kind);
    QVERIFY(box);
    f.cancel->setFocus();
    f.showActive();
    const QColor before = baseOf(box);
    QVERIFY(before != focusColor());

    box->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(baseOf(box), focusColor());
    QCOMPARE(focusColor(), QColor(166, 202, 240));
    // Only the focused box.
    QCOMPARE(baseOf(f.kept), before);

    f.cancel->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(baseOf(box), before);
    QVERIFY(!box->testAttribute(Qt::WA_SetPalette));
}

void TestDialog::enterMovesToTheNextControl()
{
    TempDataFolder data;
    AppFolders::refresh();
    Fixture f;
    f.showActive();
    f.first->setFocus();
    QTRY_VERIFY(f.first->hasFocus());

    const QList<QWidget *> chain = {f.check, f.spin, f.date, f.combo, f.memo, f.secret, f.kept};
    for (QWidget *next : chain) {
        pressOnFocus(Qt::Key_Return);
        QVERIFY2(next->hasFocus(), qPrintable(QApplication::focusWidget()->metaObject()->className()));
    }
    QVERIFY(f.memo->toPlainText().isEmpty());
    // The default button saw none of it.
    QCOMPARE(f.okClicks, 0);
    QVERIFY(f.dialog->isVisible());

    f.first->setFocus();
    pressOnFocus(Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(f.check->hasFocus());
}

void TestDialog::enterKeepsItsMeaningWhereAsked()
{
    TempDataFolder data;
    AppFolders::refresh();
    Fixture f;
    f.showActive();
    f.kept->setFocus();
    QTRY_VERIFY(f.kept->hasFocus());
    pressOnFocus(Qt::Key_Return);
    QCOMPARE(f.okClicks, 1);
    QVERIFY(f.kept->hasFocus());

    // A focused button is pressed by Enter, not skipped.
    f.cancel->setFocus();
    bool cancelled = false;
    QObject::connect(f.cancel, &QPushButton::clicked, [&] { cancelled = true; });
    pressOnFocus(Qt::Key_Return);
    QVERIFY(cancelled);
}

void TestDialog::ctrlEnterAccepts_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::newRow("line edit") << "first" << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << "first" << int(Qt::Key_Enter);
    QTest::newRow("box that keeps Enter") << "kept" << int(Qt::Key_Return);
    QTest::newRow("multi-line box") << "memo" << int(Qt::Key_Return);
    QTest::newRow("cancel button") << "cancel" << int(Qt::Key_Return);
    QTest::newRow("check box") << "check" << int(Qt::Key_Return);
}

void TestDialog::ctrlEnterAccepts()
{
    QFETCH(QString, from);
    QFETCH(int, key);
    TempDataFolder data;
    AppFolders::refresh();
    Fixture f;
    f.showActive();
    QWidget *start = f.widget(from);
    QVERIFY(start);
    start->setFocus();
    QTRY_VERIFY(start->hasFocus());
    pressOnFocus(Qt::Key(key), Qt::ControlModifier);
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    QCOMPARE(f.okClicks, 0);
}

void TestDialog::escRejects()
{
    TempDataFolder data;
    AppFolders::refresh();
    Fixture f;
    f.showActive();
    f.first->setFocus();
    QTRY_VERIFY(f.first->hasFocus());
    pressOnFocus(Qt::Key_Escape);
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
}

void TestDialog::remembersItsPlace_data()
{
    QTest::addColumn<bool>("resizable");
    QTest::addColumn<QString>("closeBy");
    QTest::newRow("fixed, accepted") << false << "accept";
    QTest::newRow("resizable, accepted") << true << "accept";
    QTest::newRow("resizable, closed") << true << "close";
}

void TestDialog::remembersItsPlace()
{
    QFETCH(bool, resizable);
    QFETCH(QString, closeBy);
    TempDataFolder data;
    AppFolders::refresh();

    QSize designed;
    {
        Fixture f(QStringLiteral("frm_Proba"), resizable);
        f.dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.dialog.get()));
        designed = f.dialog->size();
        QCOMPARE(f.dialog->pos(), QPoint(10, 10)); // nothing remembered yet
        f.dialog->move(120, 90);
        if (resizable)
            f.dialog->resize(designed + QSize(60, 40));
        else
            QCOMPARE(f.dialog->maximumSize(), designed);
        if (closeBy == QLatin1String("close"))
            f.dialog->close();
        else
            f.dialog->accept();
    }

    IniFile ini(data.file(QStringLiteral("Korvena.ini")));
    QCOMPARE(ini.readInt(QStringLiteral("frm_Proba"), QStringLiteral("Left"), -1), 120);
    QCOMPARE(ini.readInt(QStringLiteral("frm_Proba"), QStringLiteral("Top"), -1), 90);
    QCOMPARE(ini.hasKey(QStringLiteral("frm_Proba"), QStringLiteral("Width")), resizable);
    QCOMPARE(ini.hasKey(QStringLiteral("frm_Proba"), QStringLiteral("Height")), resizable);

    Fixture again(QStringLiteral("frm_Proba"), resizable);
    again.dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(again.dialog.get()));
    QCOMPARE(again.dialog->pos(), QPoint(120, 90));
    QCOMPARE(again.dialog->size(), resizable ? designed + QSize(60, 40) : designed);
}

void TestDialog::placeIsFittedIntoTheWorkArea()
{
    TempDataFolder data;
    AppFolders::refresh();
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    IniFile ini(data.file(QStringLiteral("Korvena.ini")));
    QVERIFY(ini.writeInt(QStringLiteral("frm_Proba"), QStringLiteral("Left"), work.right() + 500));
    QVERIFY(ini.writeInt(QStringLiteral("frm_Proba"), QStringLiteral("Top"), 30));
    QVERIFY(ini.writeInt(QStringLiteral("frm_Proba"), QStringLiteral("Width"), work.width() + 300));
    QVERIFY(ini.writeInt(QStringLiteral("frm_Proba"), QStringLiteral("Height"), 300));

    Fixture f(QStringLiteral("frm_Proba"), true);
    f.dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.dialog.get()));
    // The outer frame is what fits.
    const QRect frame = windowFrameGeometry(f.dialog.get());
    QCOMPARE(frame.topLeft(), QPoint(0, 30));
    QCOMPARE(frame.width(), work.x() + work.width());
}

void TestDialog::closesWhenThePlaceCannotBeWritten()
{
    TempDataFolder data;
    QFile blocker(data.file(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    AppFolders folders = AppFolders::detect();
    folders.dataFolder = blocker.fileName() + QStringLiteral("/below");
    AppFolders::setCurrent(folders);

    Fixture f;
    f.dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.dialog.get()));
    f.dialog->accept();
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    AppFolders::refresh();
}

void TestDialog::childDialogKeepsItsOwnConventions()
{
    TempDataFolder data;
    AppFolders::refresh();
    Fixture parent;
    parent.showActive();

    // A dialog opened over another one: Ctrl+Enter closes only the one in front.
    Dialog child(parent.dialog.get(), QStringLiteral("frm_Gyerek"));
    auto *layout = new QVBoxLayout(&child);
    auto *edit = new QLineEdit;
    layout->addWidget(edit);
    child.show();
    child.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&child));
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    QTRY_COMPARE(baseOf(edit), focusColor());
    QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(!child.isVisible());
    QCOMPARE(child.result(), int(QDialog::Accepted));
    QVERIFY(parent.dialog->isVisible());
}

QTEST_MAIN(TestDialog)
#include "tst_dialog.moc"
