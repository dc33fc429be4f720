// Reading an attached file's text behind the main window's attach: the status bar
// says so, several files queue up, and closing the window does not wait for them.
#include "MainWindowFixture.h"

#include "DocumentFixture.h"
#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"
#include "common/ui/FileDialog.h"
#include "db/DbHelpers.h"
#include "register/AttachmentTextQueue.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <memory>

namespace {

// A reader that holds every file until it is let go or told to stop.
struct HeldReader
{
    std::atomic_bool release{false};
    std::atomic_int started{0};
    std::atomic_bool sawStop{false};

    AttachmentTextQueue::Extractor extractor()
    {
        return [this](const QByteArray &bytes, const QString &, const std::atomic_bool *stop) {
            ++started;
            while (!release && !(stop && *stop))
                QThread::msleep(5);
            if (stop && *stop)
                sawStop = true;
            return korvena::content::ExtractedText{QString::fromUtf8(bytes), QStringLiteral("szoveg"), {}};
        };
    }
};

int textRows()
{
    return SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktato_szoveg;"), -1);
}

} // namespace

class TestAttachmentTextReading : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TempDataFolder> m_data;
    QTemporaryDir m_files;

    Window openWindow()
    {
        Window w = openMainWindow(&m_db->connection());
        if (w) {
            w->activateWindow();
            if (!QTest::qWaitForWindowActive(w.get()))
                return Window(nullptr, WindowCloser{&m_db->connection()});
        }
        return w;
    }
    QString chosen(const QString &name, const QByteArray &data)
    {
        const QString path = m_files.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    // F6 on the list, the file dialog answered with the file.
    void attach(const QString &path)
    {
        FileDialog::setNextFileName(path);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        DocumentFixture::load();
    }
    void init()
    {
        m_data = prepareStartup(*m_db, QStringLiteral("Teszt"));
        ExecSql(QStringLiteral("UPDATE beallit SET vanbelep = 'N', irasvedett = 'N', hatidfigyel = -1"));
        ExecSql(QStringLiteral("DELETE FROM iktato_szoveg;"));
    }
    void cleanup()
    {
        AttachmentTextQueue::setExtractorForTests({});
        Connection::setCurrent(&m_db->connection());
        m_data.reset();
    }
    void cleanupTestCase()
    {
        Connection::setCurrent(&m_db->connection());
        m_db.reset();
    }

    void statusBarShowsTheReadingAndFilesQueueUp()
    {
        HeldReader reader;
        AttachmentTextQueue::setExtractorForTests(reader.extractor());
        auto w = openWindow();
        QVERIFY(w);
        const qint64 document = w->currentDocument();
        QVERIFY(document > 0);
        const QString attachments =
            QStringLiteral("SELECT COUNT(*) FROM iktato_file WHERE iktato=%1").arg(document);
        const int before = SelectInt(attachments, 0);
        QLabel *panel = w->textReadingPanel();
        QVERIFY(panel->isHidden());

        attach(chosen(QStringLiteral("elso.txt"), "első levél szövege"));
        // The attach is done while its text is still being read.
        QCOMPARE(SelectInt(attachments, 0), before + 1);
        QTRY_COMPARE(reader.started.load(), 1);
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->text(), QStringLiteral("Csatolt állomány szövegének olvasása…"));

        QTRY_VERIFY(QApplication::focusWidget());
        attach(chosen(QStringLiteral("masodik.txt"), "második levél"));
        QCOMPARE(SelectInt(attachments, 0), before + 2);
        QCOMPARE(panel->text(), QStringLiteral("Csatolt állományok szövegének olvasása… (2)"));
        QCOMPARE(textRows(), 0);

        reader.release = true;
        QTRY_COMPARE(textRows(), 2);
        QTRY_VERIFY(panel->isHidden());
        QCOMPARE(SelectText(QStringLiteral("SELECT GROUP_CONCAT(szoveg ORDER BY iktato_file SEPARATOR '|') "
                                           "FROM iktato_szoveg WHERE iktato=%1")
                                .arg(document),
                            QString()),
                 QStringLiteral("első levél szövege|második levél"));
    }

    void closingStopsAReadingUnderWay()
    {
        HeldReader reader;
        AttachmentTextQueue::setExtractorForTests(reader.extractor());
        auto w = openWindow();
        QVERIFY(w);
        attach(chosen(QStringLiteral("hosszu.txt"), "soha nem ér véget"));
        QTRY_COMPARE(reader.started.load(), 1);
        QVERIFY(w->close());
        QTRY_VERIFY(reader.sawStop);
        w.reset();
        QTest::qWait(50);
        QCOMPARE(textRows(), 0);
        QCOMPARE(AttachmentTextQueue::instance().outstanding(), 0);
    }
};

QTEST_MAIN(TestAttachmentTextReading)
#include "tst_attachmenttextreading.moc"
