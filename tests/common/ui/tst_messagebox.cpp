#include "common/ui/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

namespace {

struct SeenBox
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QWidget *owner = nullptr;
};

// Reads the modal box once it is up and presses the button whose text (without
// the mnemonic mark) is `press`.
void answerNextBox(SeenBox &seen, const QString &press)
{
    QTimer::singleShot(0, [&seen, press] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            // Not up yet: try again on the next turn of the event loop.
            answerNextBox(seen, press);
            return;
        }
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.owner = box->parentWidget();
        QAbstractButton *target = nullptr;
        for (QAbstractButton *b : box->buttons()) {
            const QString label = b->text().remove(QLatin1Char('&'));
            seen.buttons << label;
            if (label == press)
                target = b;
        }
        if (target)
            target->click();
        else
            box->reject();
    });
}

} // namespace

class TestMessageBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(installHungarianTranslation(*QCoreApplication::instance())); }

    void init()
    {
        MessageBox::setRecording(true);
        MessageBox::clearShown();
    }

    void recordsEveryKind()
    {
        ShowError(QStringLiteral("Nincs jogosultság a művelethez."));
        ShowWarning(QStringLiteral("w"));
        ShowInfo(QStringLiteral("i"));
        AskYesNo(QStringLiteral("Valóban töröljem a sort?"), QStringLiteral("Megerősítés"));

        const QList<MessageBox::ShownMessage> shown = MessageBox::shown();
        QCOMPARE(shown.size(), 4);
        const QStringList expected[] = {{"error", "Hiba", "Nincs jogosultság a művelethez."},
                                        {"warning", "Figyelmeztetés", "w"},
                                        {"info", "Üzenet", "i"},
                                        {"question", "Megerősítés", "Valóban töröljem a sort?"}};
        for (int i = 0; i < 4; ++i)
            QCOMPARE((QStringList{shown[i].kind, shown[i].title, shown[i].text}), expected[i]);
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void answersComeFromTheQueue()
    {
        MessageBox::setNextAnswer(true);
        MessageBox::setNextAnswer(false);
        MessageBox::setNextAnswer(true);
        QCOMPARE(AskYesNo(QStringLiteral("1"), QStringLiteral("t")), true);
        QCOMPARE(AskYesNo(QStringLiteral("2"), QStringLiteral("t")), false);
        QCOMPARE(AskYesNo(QStringLiteral("3"), QStringLiteral("t")), true);
        QCOMPARE(AskYesNo(QStringLiteral("none queued"), QStringLiteral("t")), false);

        MessageBox::setNextAnswer(true);
        MessageBox::clearShown();
        QCOMPARE(AskYesNo(QStringLiteral("cleared"), QStringLiteral("t")), false);
    }

    void realBoxesSpeakHungarianAndGiveFocusBack()
    {
        MessageBox::setRecording(false);
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *first = new QLineEdit(&window);
        auto *second = new QLineEdit(&window);
        layout->addWidget(first);
        layout->addWidget(second);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        second->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), second);

        SeenBox question;
        answerNextBox(question, QStringLiteral("Igen"));
        QVERIFY(AskYesNo(QStringLiteral("Valóban töröljem a sort?"), QStringLiteral("Megerősítés")));
        QCOMPARE(question.title, QStringLiteral("Megerősítés"));
        QCOMPARE(question.text, QStringLiteral("Valóban töröljem a sort?"));
        QCOMPARE(question.icon, QMessageBox::Question);
        QCOMPARE(question.owner, &window);
        QCOMPARE(question.buttons.size(), 2);
        QVERIFY(question.buttons.contains(QStringLiteral("Igen")));
        QVERIFY(question.buttons.contains(QStringLiteral("Nem")));
        QTRY_COMPARE(QApplication::focusWidget(), second);

        SeenBox no;
        answerNextBox(no, QStringLiteral("Nem"));
        QVERIFY(!AskYesNo(QStringLiteral("?"), QStringLiteral("Megerősítés")));

        SeenBox error;
        answerNextBox(error, QStringLiteral("OK"));
        ShowError(QStringLiteral("Hibás adat."));
        QCOMPARE(error.title, QStringLiteral("Hiba"));
        QCOMPARE(error.icon, QMessageBox::Critical);
        QCOMPARE(error.buttons, QStringList{QStringLiteral("OK")});

        SeenBox warning, info;
        answerNextBox(warning, QStringLiteral("OK"));
        ShowWarning(QStringLiteral("w"));
        answerNextBox(info, QStringLiteral("OK"));
        ShowInfo(QStringLiteral("i"));
        QCOMPARE((QList<QMessageBox::Icon>{warning.icon, info.icon}),
                 (QList<QMessageBox::Icon>{QMessageBox::Warning, QMessageBox::Information}));
        // Boxes in a row stay over the window even before it is active again.
        QCOMPARE((QList<QWidget *>{error.owner, warning.owner, info.owner}),
                 (QList<QWidget *>{&window, &window, &window}));
        QCOMPARE((QStringList{warning.title, info.title}), (QStringList{"Figyelmeztetés", "Üzenet"}));
        QTRY_COMPARE(QApplication::focusWidget(), second);
        QVERIFY(MessageBox::shown().isEmpty());
    }
};

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
