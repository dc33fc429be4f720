#include "TestDatabase.h"
#include "common/SqlText.h"
#include "common/ui/DesktopServices.h"
#include "core/ui/MessagePanel.h"
#include "db/DbHelpers.h"

#include <QLabel>
#include <QtTest>
#include <memory>

// The notice's link is written by any user of the register: a click opens it
// only when it is a web page or a mail address.
class TestMessagePanel : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        DesktopServices::setRecording(true);
    }
    void cleanupTestCase() { m_db.reset(); }

    void linkOpensOnlyForWebAndMail_data();
    void linkOpensOnlyForWebAndMail();
};

void TestMessagePanel::linkOpensOnlyForWebAndMail_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("opened"); // empty: nothing is opened

    QTest::newRow("https") << "https://pelda.hu/hir" << "https://pelda.hu/hir";
    QTest::newRow("http") << "http://pelda.hu/hir?a=1" << "http://pelda.hu/hir?a=1";
    QTest::newRow("bare host") << "pelda.hu/hir" << "http://pelda.hu/hir";
    QTest::newRow("mail") << "mailto:iroda@pelda.hu" << "mailto:iroda@pelda.hu";
    QTest::newRow("local program") << "/usr/bin/xterm" << "";
    QTest::newRow("file address") << "file:///etc/passwd" << "";
    QTest::newRow("share") << "smb://szerver/kozos/program.exe" << "";
    QTest::newRow("script") << "javascript:alert(1)" << "";
    QTest::newRow("windows path") << "C:\\Windows\\System32\\calc.exe" << "";
    QTest::newRow("web without host") << "http:/etc/passwd" << "";
}

void TestMessagePanel::linkOpensOnlyForWebAndMail()
{
    QFETCH(QString, link);
    QFETCH(QString, opened);
    ExecSql(QStringLiteral("DELETE FROM uzenet"));
    ExecSql(QStringLiteral("INSERT INTO uzenet (uzenet, szoveg, link, csakegyszer, olvasva) VALUES (1, 'Hír', ") +
            SqlLiteral(link) + QStringLiteral(", 'N', 'N')"));
    DesktopServices::clearOpened();
    MessagePanel panel(nullptr);
    QVERIFY(panel.showFirstUnread());
    auto *label = panel.findChild<QLabel *>(QStringLiteral("lblLink"));
    QVERIFY(label->isVisible());
    QCOMPARE(label->text(), link);
    QTest::mouseClick(label, Qt::LeftButton);
    const QList<QUrl> expected = opened.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(opened)};
    QCOMPARE(DesktopServices::opened(), expected);
}

QTEST_MAIN(TestMessagePanel)
#include "tst_messagepanel.moc"
