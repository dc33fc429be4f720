#include "ModalDialogs.h"
#include "common/Clock.h"
#include "common/ui/InputDialogs.h"
#include "common/ui/MessageBox.h"
#include "common/ui/NumberInputDialog.h"
#include "common/ui/PeriodDialog.h"
#include "common/ui/TextInputDialog.h"
#include "core/AppFolders.h"

#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

// Runs the action on the dialog once it shows; whatever the action leaves open is
// cancelled afterwards, so a failing check cannot hang the test.
template <typename DialogType> void whenModal(std::function<void(DialogType *)> action)
{
    ModalDriver::onModal(DialogType::ObjectName, [action = std::move(action)](QDialog *d) {
        const QPointer<QDialog> guard = d;
        action(static_cast<DialogType *>(d));
        if (guard && guard->isVisible())
            guard->reject();
    });
}

void pressOnFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, key, modifiers);
}

QStringList errorsShown()
{
    QStringList texts;
    for (const MessageBox::ShownMessage &m : MessageBox::shown()) {
        if (m.kind == QLatin1String("error") && m.title == QLatin1String("Hiba"))
            texts << m.text;
    }
    return texts;
}

} // namespace

class TestInputDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void askNumber_data();
    void askNumber();
    void askNumberShowsItsQuestion();
    void askTextMinimumLength();
    void askTextLimitsAndCancels();
    void passwordRevealBox();
    void textDialogResizesInWidthOnly();
    void askPeriodIntervals_data();
    void askPeriodIntervals();
    void askPeriodKeepsTheDatesAsTyped();

private:
    std::unique_ptr<TempDataFolder> m_data;
};

void TestInputDialogs::initTestCase()
{
    m_data = std::make_unique<TempDataFolder>();
    AppFolders::refresh();
    MessageBox::setRecording(true);
}

void TestInputDialogs::init()
{
    MessageBox::clearShown();
}

void TestInputDialogs::cleanup()
{
    clearFixedNow();
}

void TestInputDialogs::askNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("value");

    // clang-format off
    QTest::newRow("typed number")                     << "42"          << ""      << "42"          << true  << 42;
    QTest::newRow("negative")                         << "-7"          << ""      << "-7"          << true  << -7;
    QTest::newRow("blanks typed are not taken")       << "1 2 3"       << ""      << "123"         << true  << 123;
    QTest::newRow("letters and points are not taken") << "4a5.x"       << ""      << "45"          << true  << 45;
    QTest::newRow("pasted blanks are removed")        << ""            << "1 2 3" << "1 2 3"       << true  << 123;
    QTest::newRow("empty gives 0")                    << ""            << ""      << ""            << true  << 0;
    QTest::newRow("decimal stays open")               << "12,5"        << ""      << "12,5"        << false << 5;
    QTest::newRow("too large for a whole number")     << "99999999999" << ""      << "99999999999" << false << 5;
    // clang-format on
}

void TestInputDialogs::askNumber()
{
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(QString, shown);
    QFETCH(bool, accepted);
    QFETCH(int, value);

    bool stayedOpen = false;
    QString inBox;
    whenModal<NumberInputDialog>([&](NumberInputDialog *d) {
        d->edit()->clear();
        QTest::keyClicks(d->edit(), typed);
        if (!pasted.isEmpty())
            d->edit()->setText(pasted);
        inBox = d->edit()->text();
        QTest::keyClick(d->edit(), Qt::Key_Return); // Enter confirms here
        stayedOpen = d->isVisible();
        if (stayedOpen)
            QTest::mouseClick(d->cancelButton(), Qt::LeftButton);
    });
    int number = 5;
    QCOMPARE(AskNumber(QStringLiteral("Darab"), QStringLiteral("Hány darab?"), number), accepted);
    QCOMPARE(inBox, shown);
    QCOMPARE(number, value);
    QCOMPARE(stayedOpen, !accepted);
    QCOMPARE(errorsShown(),
             accepted ? QStringList()
                      : QStringList{QStringLiteral("Ehhez a mértékegységhez csak egész szám adható.")});
}

void TestInputDialogs::askNumberShowsItsQuestion()
{
    QString title, prompt, shown, objectName;
    Qt::Alignment alignment;
    whenModal<NumberInputDialog>([&](NumberInputDialog *d) {
        title = d->windowTitle();
        prompt = d->findChild<QLabel *>()->text();
        shown = d->edit()->text();
        alignment = d->edit()->alignment();
        objectName = d->objectName();
        QCOMPARE(d->okButton()->text(), QStringLiteral("OK"));
        QCOMPARE(d->cancelButton()->text(), QStringLiteral("Mégsem"));
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
    });
    int number = 17;
    QVERIFY(AskNumber(QStringLiteral("Darab"), QStringLiteral("Hány darab?"), number));
    QCOMPARE(number, 17);
    QCOMPARE(objectName, NumberInputDialog::ObjectName);
    QCOMPARE(title, QStringLiteral("Darab"));
    QCOMPARE(prompt, QStringLiteral("Hány darab?"));
    QCOMPARE(shown, QStringLiteral("17"));
    QVERIFY(alignment & Qt::AlignRight);

    // Esc cancels and leaves the value alone.
    whenModal<NumberInputDialog>([](NumberInputDialog *d) {
        QTest::keyClicks(d->edit(), QStringLiteral("9"));
        pressOnFocus(Qt::Key_Escape);
    });
    QVERIFY(!AskNumber(QStringLiteral("Darab"), QStringLiteral("Hány darab?"), number));
    QCOMPARE(number, 17);
}

void TestInputDialogs::askTextMinimumLength()
{
    bool stayedOpen = false;
    QStringList errorsWhileOpen;
    whenModal<TextInputDialog>([&](TextInputDialog *d) {
        d->edit()->clear();
        QTest::keyClicks(d->edit(), QStringLiteral("abc"));
        QTest::keyClick(d->edit(), Qt::Key_Return);
        stayedOpen = d->isVisible();
        errorsWhileOpen = errorsShown();
        QTest::keyClicks(d->edit(), QStringLiteral("d"));
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
    });
    QString text = QStringLiteral("régi");
    QVERIFY(AskText(QStringLiteral("Név"), QStringLiteral("Új név:"), false, 4, -1, text));
    QVERIFY(stayedOpen);
    QCOMPARE(errorsWhileOpen, QStringList{QStringLiteral("Túl rövid. Legalább 4 karakter kell.")});
    QCOMPARE(text, QStringLiteral("abcd"));
}

void TestInputDialogs::askTextLimitsAndCancels()
{
    QString shownAtStart;
    whenModal<TextInputDialog>([&](TextInputDialog *d) {
        shownAtStart = d->edit()->text();
        d->edit()->clear();
        QTest::keyClicks(d->edit(), QStringLiteral("abcdefg"));
        QTest::keyClick(d->edit(), Qt::Key_Return);
    });
    QString text = QStringLiteral("régi");
    QVERIFY(AskText(QStringLiteral("Név"), QStringLiteral("Új név:"), false, 0, 5, text));
    QCOMPARE(shownAtStart, QStringLiteral("régi"));
    QCOMPARE(text, QStringLiteral("abcde"));

    whenModal<TextInputDialog>([](TextInputDialog *d) {
        QTest::keyClicks(d->edit(), QStringLiteral("xyz"));
        QTest::keyClick(d->edit(), Qt::Key_Escape);
    });
    QVERIFY(!AskText(QStringLiteral("Név"), QStringLiteral("Új név:"), false, 0, -1, text));
    QCOMPARE(text, QStringLiteral("abcde"));
}

void TestInputDialogs::passwordRevealBox()
{
    TextInputDialog plain(nullptr, QStringLiteral("Név"), QStringLiteral("Új név:"), false, 0, -1, QString());
    QCOMPARE(plain.objectName(), TextInputDialog::ObjectName);
    QCOMPARE(plain.edit()->echoMode(), QLineEdit::Normal);
    QVERIFY(plain.revealBox()->isHidden());

    TextInputDialog secret(nullptr, QStringLiteral("Jelszó"), QStringLiteral("Jelszó:"), true, 0, -1,
                           QStringLiteral("titok"));
    secret.show();
    secret.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&secret));
    QCOMPARE(secret.edit()->displayText(), QStringLiteral("*****"));
    QVERIFY(secret.revealBox()->isVisible());
    QCOMPARE(secret.revealBox()->text(), QStringLiteral("Látszanak a karakterek"));

    QTest::mouseClick(secret.revealBox(), Qt::LeftButton);
    QCOMPARE(secret.edit()->displayText(), QStringLiteral("titok"));
    QTRY_VERIFY(secret.edit()->hasFocus());
    QTest::mouseClick(secret.revealBox(), Qt::LeftButton);
    QCOMPARE(secret.edit()->displayText(), QStringLiteral("*****"));
    QTRY_VERIFY(secret.edit()->hasFocus());
    QCOMPARE(secret.text(), QStringLiteral("titok"));
    secret.reject();
}

void TestInputDialogs::textDialogResizesInWidthOnly()
{
    TextInputDialog d(nullptr, QStringLiteral("Név"), QStringLiteral("Új név:"), false, 0, -1, QString());
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QCOMPARE(d.height(), 297);
    d.resize(600, 500);
    QTRY_COMPARE(d.width(), 600);
    QCOMPARE(d.height(), 297);
    QCOMPARE(d.edit()->width(), 600 - 73);
    QCOMPARE(d.okButton()->x(), 600 - 110);
    QCOMPARE(d.cancelButton()->x(), 600 - 110);
    d.reject();
}

void TestInputDialogs::askPeriodIntervals_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");

    const QDate newYearsEve(2025, 12, 31); // a Wednesday
    QTest::newRow("week across the new year")
        << newYearsEve << "Ez a hét" << QDate(2025, 12, 29) << QDate(2026, 1, 4);
    QTest::newRow("week on its Sunday")
        << QDate(2026, 1, 4) << "Ez a hét" << QDate(2025, 12, 29) << QDate(2026, 1, 4);
    QTest::newRow("week on its Monday")
        << QDate(2025, 12, 29) << "Ez a hét" << QDate(2025, 12, 29) << QDate(2026, 1, 4);
    QTest::newRow("this month") << newYearsEve << "Ez a hónap" << QDate(2025, 12, 1) << QDate(2025, 12, 31);
    QTest::newRow("this month, leap February")
        << QDate(2024, 2, 10) << "Ez a hónap" << QDate(2024, 2, 1) << QDate(2024, 2, 29);
    QTest::newRow("last month in January")
        << QDate(2026, 1, 15) << "Múlt hónap" << QDate(2025, 12, 1) << QDate(2025, 12, 31);
    QTest::newRow("last month from a 31st")
        << QDate(2024, 3, 31) << "Múlt hónap" << QDate(2024, 2, 1) << QDate(2024, 2, 29);
    QTest::newRow("this year") << newYearsEve << "Idén" << QDate(2025, 1, 1) << QDate(2025, 12, 31);
    QTest::newRow("today only") << newYearsEve << "Csak a mai nap" << newYearsEve << newYearsEve;
    QTest::newRow("last year") << QDate(2026, 1, 1) << "Tavaly" << QDate(2025, 1, 1) << QDate(2025, 12, 31);
}

void TestInputDialogs::askPeriodIntervals()
{
    QFETCH(QDate, today);
    QFETCH(QString, button);
    QFETCH(QDate, first);
    QFETCH(QDate, last);

    setFixedNow(QDateTime(today, QTime(23, 59, 0)));
    bool found = false;
    whenModal<PeriodDialog>([&](PeriodDialog *d) {
        for (QPushButton *b : d->findChildren<QPushButton *>()) {
            if (b->text() == button) {
                found = true;
                QTest::mouseClick(b, Qt::LeftButton);
            }
        }
        // Ctrl+Enter confirms from wherever the focus is.
        pressOnFocus(Qt::Key_Return, Qt::ControlModifier);
    });
    QDate from(2000, 1, 1);
    QDate to(2000, 1, 2);
    QVERIFY(AskPeriod(from, to));
    QVERIFY(found);
    QCOMPARE(from, first);
    QCOMPARE(to, last);
}

void TestInputDialogs::askPeriodKeepsTheDatesAsTyped()
{
    QString defaultTitle, objectName;
    QDate shownFirst, shownLast;
    bool enterMoved = false;
    whenModal<PeriodDialog>([&](PeriodDialog *d) {
        defaultTitle = d->windowTitle();
        objectName = d->objectName();
        shownFirst = d->firstEdit()->date();
        shownLast = d->lastEdit()->date();
        d->firstEdit()->setFocus();
        QTRY_VERIFY(d->firstEdit()->hasFocus());
        pressOnFocus(Qt::Key_Return);
        enterMoved = d->lastEdit()->hasFocus();
        QVERIFY(d->isVisible());
        // A first date after the last one is the user's business.
        d->firstEdit()->setDate(QDate(2025, 5, 10));
        d->lastEdit()->setDate(QDate(2025, 5, 1));
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
    });
    QDate from(2025, 1, 1);
    QDate to(2025, 1, 31);
    QVERIFY(AskPeriod(from, to));
    QCOMPARE(objectName, PeriodDialog::ObjectName);
    QCOMPARE(defaultTitle, QStringLiteral("Időszak megadása"));
    QCOMPARE(shownFirst, QDate(2025, 1, 1));
    QCOMPARE(shownLast, QDate(2025, 1, 31));
    QVERIFY(enterMoved);
    QCOMPARE(from, QDate(2025, 5, 10));
    QCOMPARE(to, QDate(2025, 5, 1));

    QString title;
    whenModal<PeriodDialog>([&](PeriodDialog *d) {
        title = d->windowTitle();
        d->firstEdit()->setDate(QDate(2020, 1, 1));
        QTest::mouseClick(d->cancelButton(), Qt::LeftButton);
    });
    QVERIFY(!AskPeriod(from, to, QStringLiteral("Kiadások időszaka")));
    QCOMPARE(title, QStringLiteral("Kiadások időszaka"));
    QCOMPARE(from, QDate(2025, 5, 10));
}

QTEST_MAIN(TestInputDialogs)
#include "tst_inputdialogs.moc"
