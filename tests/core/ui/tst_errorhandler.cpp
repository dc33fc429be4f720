#include "common/Clock.h"
#include "common/Encoding.h"
#include "common/LastAction.h"
#include "common/ui/DesktopServices.h"
#include "common/ui/MessageBox.h"
#include "core/AppFolders.h"
#include "core/ErrorReport.h"
#include "core/ui/Application.h"
#include "core/ui/ErrorHandler.h"
#include "db/Connection.h"
#include "db/DbError.h"

#include "TestSupport.h"

#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QUrlQuery>
#include <QtTest>
#include <functional>
#include <memory>
#include <stdexcept>

namespace {

QStringList logLines()
{
    QFile f(errorLogPath());
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

const QString kInternet =
    QStringLiteral("Internet kapcsolat megszakadt. Ellenőrizze, majd a program újraindítása szükséges.");

} // namespace

class TestErrorHandler : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void failureInAnEventReachesTheHandler_data();
    void failureInAnEventReachesTheHandler();
    void failureInAButtonHandler();
    void reportOpensTheAddress_data();
    void reportOpensTheAddress();
    void ignoredFailureLeavesOnlyALogLine();
    void failureWhileTheHandlerRunsIsOnlyLogged();

private:
    std::unique_ptr<TempDataFolder> m_data;
};

void TestErrorHandler::init()
{
    m_data = std::make_unique<TempDataFolder>();
    AppFolders::refresh();
    MessageBox::setRecording(true);
    MessageBox::clearShown();
    DesktopServices::setRecording(true);
    DesktopServices::clearOpened();
    setLastAction(QStringLiteral("frm_Main.aUj"));
    setLastSql(QStringLiteral("SELECT 1"));
}

void TestErrorHandler::cleanup()
{
    m_data.reset();
    MessageBox::setRecording(true);
    MessageBox::clearShown();
    setLastAction(QString());
    setLastSql(QString());
}

void TestErrorHandler::failureInAnEventReachesTheHandler_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("m");
    QTest::addColumn<QString>("kindShown");
    QTest::addColumn<QString>("textShown");

    const QString question = QStringLiteral("question-error");
    QTest::newRow("server error") << 0 << "frm_Main.aUj-Lost connection to server during query (2013)"
                                  << "error" << kInternet;
    QTest::newRow("program error")
        << 1 << "frm_Main.aUj-A mező üres." << question
        << "Kérem, az alábbi hibaüzenetet az OK gombra kattintva küldje el nekünk:\r\n"
           "frm_Main.aUj-A mező üres.\r\nNyomja meg az OK gombot!";
    QTest::newRow("standard exception")
        << 2 << "frm_Main.aUj-boom" << question
        << "Kérem, az alábbi hibaüzenetet az OK gombra kattintva küldje el nekünk:\r\n"
           "frm_Main.aUj-boom\r\nNyomja meg az OK gombot!";
    QTest::newRow("anything else")
        << 3 << "frm_Main.aUj-Ismeretlen hiba" << question
        << "Kérem, az alábbi hibaüzenetet az OK gombra kattintva küldje el nekünk:\r\n"
           "frm_Main.aUj-Ismeretlen hiba\r\nNyomja meg az OK gombot!";
}

void TestErrorHandler::failureInAnEventReachesTheHandler()
{
    QFETCH(int, kind);
    QFETCH(QString, m);
    QFETCH(QString, kindShown);
    QFETCH(QString, textShown);

    QTimer::singleShot(0, [kind] {
        switch (kind) {
        case 0:
            throw DbError(QStringLiteral("Lost connection to server during query"), 2013);
        case 1:
            throw KorvenaError(QStringLiteral("A mező üres."));
        case 2:
            throw std::runtime_error("boom");
        default:
            throw 42;
        }
    });
    QTRY_COMPARE(logLines().size(), 1);
    QVERIFY2(logLines().at(0).endsWith(QStringLiteral(" - ") + m), qPrintable(logLines().at(0)));

    const QList<MessageBox::ShownMessage> shown = MessageBox::shown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).kind, kindShown);
    QCOMPARE(shown.at(0).title, QStringLiteral("Hiba"));
    QCOMPARE(shown.at(0).text, textShown);
    // No answer was queued: the report was declined.
    QVERIFY(DesktopServices::opened().isEmpty());

    // The event loop is still alive.
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    QTRY_VERIFY(ran);
}

void TestErrorHandler::failureInAButtonHandler()
{
    QPushButton button(QStringLiteral("Frissít"));
    QObject::connect(&button, &QPushButton::clicked, [] {
        setLastAction(QStringLiteral("frm_Main.aFrissit"));
        throw DbError(QStringLiteral("Server has gone away"), 2006);
    });
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    QTest::mouseClick(&button, Qt::LeftButton);

    QCOMPARE(logLines().size(), 1);
    QVERIFY(logLines().at(0).endsWith(QStringLiteral(" - frm_Main.aFrissit-Server has gone away (2006)")));
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().at(0).text, kInternet);
}

void TestErrorHandler::reportOpensTheAddress_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("sent") << true;
    QTest::newRow("declined") << false;
}

void TestErrorHandler::reportOpensTheAddress()
{
    QFETCH(bool, yes);
    qputenv("KORVENA_VENDOR_URL", "http://127.0.0.1:9");
    const QString sql = QStringLiteral("SELEC * FROM iktato");
    setLastSql(sql);
    MessageBox::setNextAnswer(yes);
    QTimer::singleShot(0, [] {
        throw DbError(
            QStringLiteral("You have an error in your SQL syntax; check the manual that corresponds to "
                           "your MariaDB server version"),
            1064);
    });
    QTRY_COMPARE(MessageBox::shown().size(), 2);
    qunsetenv("KORVENA_VENDOR_URL");

    const QString m =
        QStringLiteral("frm_Main.aUj-You have an error in your SQL syntax; check the manual that "
                       "corresponds to your MariaDB server version (1064)");
    QCOMPARE(MessageBox::shown().at(0).kind, QStringLiteral("error"));
    QCOMPARE(MessageBox::shown().at(0).text,
             QStringLiteral("SQL probléma: indítsa újra a programot.\r\n") + m);
    QCOMPARE(MessageBox::shown().at(1).kind, QStringLiteral("question-error"));
    const QString reported = m + QStringLiteral(".sql: ") + Base64(sql);
    QVERIFY(MessageBox::shown().at(1).text.contains(reported));
    // The log keeps the failure as it came.
    QVERIFY(logLines().at(0).endsWith(QStringLiteral(" - ") + m));

    if (!yes) {
        QVERIFY(DesktopServices::opened().isEmpty());
        return;
    }
    QCOMPARE(DesktopServices::opened().size(), 1);
    const QUrl url = DesktopServices::opened().at(0);
    QCOMPARE(url.toString(QUrl::RemoveQuery), QStringLiteral("http://127.0.0.1:9/apperr.php"));
    QCOMPARE(QUrlQuery(url).queryItemValue(QStringLiteral("err"), QUrl::FullyDecoded), reported);
}

void TestErrorHandler::ignoredFailureLeavesOnlyALogLine()
{
    QTimer::singleShot(
        0, [] { throw KorvenaError(QStringLiteral("Cannot focus a disabled or invisible window")); });
    QTRY_COMPARE(logLines().size(), 1);
    QVERIFY(MessageBox::shown().isEmpty());
    QVERIFY(DesktopServices::opened().isEmpty());
}

void TestErrorHandler::failureWhileTheHandlerRunsIsOnlyLogged()
{
    // Real boxes: the handler waits in the box's own event loop, where the
    // second failure arrives.
    MessageBox::setRecording(false);
    QStringList boxTexts;
    bool secondThrown = false;
    auto visibleBox = [] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        return box && box->isVisible() ? box : nullptr;
    };
    // A timer does not fire again while its own handler runs, so throwing and
    // closing are separate timers. Every box that appears is closed, so a second
    // one would be counted here instead of hanging the test.
    QTimer thrower;
    QObject::connect(&thrower, &QTimer::timeout, [&] {
        if (!visibleBox() || secondThrown)
            return;
        secondThrown = true;
        throw KorvenaError(QStringLiteral("second"));
    });
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QMessageBox *box = visibleBox(); box && secondThrown) {
            boxTexts << box->text();
            box->done(QMessageBox::No);
        }
    });
    thrower.start(20);
    closer.start(50);
    QTimer::singleShot(0, [] { throw DbError(QStringLiteral("Lost connection"), 2013); });

    QTRY_VERIFY(!boxTexts.isEmpty() && !QApplication::activeModalWidget());
    thrower.stop();
    closer.stop();
    QCOMPARE(boxTexts, QStringList{kInternet});
    const QStringList lines = logLines();
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(0).endsWith(QStringLiteral("frm_Main.aUj-Lost connection (2013)")));
    QVERIFY(lines.at(1).endsWith(QStringLiteral("frm_Main.aUj-second")));
}

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    TestErrorHandler test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_errorhandler.moc"
