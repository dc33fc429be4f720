#include "../LocalServers.h"
#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "core/AppFolders.h"
#include "core/VendorNotices.h"
#include "core/ui/VendorNoticeWindows.h"
#include "db/DbHelpers.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

using namespace VendorNotices;

class TestVendorNotices : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<QTemporaryDir> m_answers;
    std::unique_ptr<LocalServer> m_vendor;
    std::unique_ptr<TempDataFolder> m_data;
    QByteArray m_vendorUrl = qgetenv("KORVENA_VENDOR_URL");

    void answer(const char *name, const QByteArray &body)
    {
        QFile f(m_answers->filePath(QLatin1String(name)));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(body);
    }
    QStringList requests() const
    {
        QFile f(m_answers->filePath(QStringLiteral("requests.log")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts)
                                           : QStringList();
    }
    void useVendor()
    {
        qputenv("KORVENA_VENDOR_URL", QString(QStringLiteral("http://") + m_vendor->host()).toUtf8());
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        m_answers = std::make_unique<QTemporaryDir>();
        m_vendor = std::make_unique<LocalServer>("vendor_server.py", QStringList{m_answers->path()});
        QVERIFY2(m_vendor->port() > 0, "the local vendor server did not start");
    }
    void init()
    {
        ModalDriver::resetScreenState();
        m_data = std::make_unique<TempDataFolder>();
        AppFolders::refresh();
        useVendor();
        QFile::remove(m_answers->filePath(QStringLiteral("requests.log")));
        QFile::remove(m_answers->filePath(QStringLiteral("hirfolyam.php")));
        QFile::remove(m_answers->filePath(QStringLiteral("hirfolyam.php.delay")));
        QFile::remove(m_answers->filePath(QStringLiteral("verziokovetes.php")));
        ExecSql(QStringLiteral("UPDATE beallit SET verzioelfogadva = NULL, hirelfogadva = 0"));
    }
    void cleanup()
    {
        qputenv("KORVENA_VENDOR_URL", m_vendorUrl);
        m_data.reset();
    }
    void cleanupTestCase() { m_db.reset(); }

    void versionNoticeOnlyForABuildAboveBoth_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("accepted");
        QTest::addColumn<bool>("shown");
        QTest::newRow("newer build") << "24.0.0.368|Új"
                                     << "" << true;
        QTest::newRow("the program's own build") << "24.0.0.367|Régi"
                                                 << "" << false;
        QTest::newRow("dismissed build above the offer") << "24.0.0.380|x"
                                                         << "24.0.0.400" << false;
        QTest::newRow("dismissed build equal to the offer") << "24.0.0.400|x"
                                                            << "24.0.0.400" << false;
        QTest::newRow("dismissed build below the offer") << "24.0.0.401|x"
                                                         << "24.0.0.400" << true;
        QTest::newRow("dismissed build below the program's") << "24.0.0.300|x"
                                                             << "24.0.0.100" << false;
        QTest::newRow("no build number") << "24.0.0|x"
                                         << "" << false;
        QTest::newRow("malformed answer") << "<html>hiba</html>"
                                          << "" << false;
    }
    void versionNoticeOnlyForABuildAboveBoth()
    {
        QFETCH(QString, answer);
        QFETCH(QString, accepted);
        QFETCH(bool, shown);
        QCOMPARE(versionNoticeOf(answer, accepted, QStringLiteral("24.0.0.367")).has_value(), shown);
    }

    void newsItemNeedsAnIdentifier_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("id");
        QTest::newRow("item") << "12|Cím|Szöveg" << 12;
        QTest::newRow("zero") << "0|Cím|Szöveg" << -1;
        QTest::newRow("empty") << "|Cím|Szöveg" << -1;
        QTest::newRow("nothing") << "" << -1;
    }
    void newsItemNeedsAnIdentifier()
    {
        QFETCH(QString, answer);
        QFETCH(int, id);
        const std::optional<NewsItem> item = newsItemOf(answer);
        QCOMPARE(item ? item->id : -1, id);
    }

    void newsIsShownAndItsDismissalOnlyRaisesTheRemembered()
    {
        // The vendor writes UTF-8; the window shows the repaired Hungarian text.
        answer("hirfolyam.php", QByteArray("12|C\xC3\xADm|Sz\xC3\xB6veg \xC5\x90r"));
        QPointer<NewsWindow> window = checkNews(nullptr);
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QVERIFY(!window->isModal());
        QCOMPARE(window->windowTitle(), QStringLiteral("Hírek"));
        QCOMPARE(window->findChild<QLabel *>(QStringLiteral("lblCim"))->text(), QStringLiteral("Cím"));
        QCOMPARE(window->findChild<QLabel *>(QStringLiteral("lblSzoveg"))->text(),
                 QStringLiteral("Szöveg Őr"));
        QCOMPARE(requests(), QStringList{QStringLiteral("/hirfolyam.php?prg=36&hir=0")});
        QVERIFY(QFile::exists(m_data->file(QStringLiteral("hirkov.txt"))));

        const QString details =
            QStringLiteral("http://") + m_vendor->host() + QStringLiteral("/hirek.php?hir=12");
        QVERIFY(window->detailsLink()->text().contains(details));
        Q_EMIT window->detailsLink()->linkActivated(details);
        QCOMPARE(DesktopServices::opened(), QList<QUrl>{QUrl(details)});

        window->dismissBox()->setChecked(true);
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("btnOK")), Qt::LeftButton);
        QTRY_VERIFY(!window); // discarded once closed
        QCOMPARE(SelectInt(QStringLiteral("SELECT hirelfogadva FROM beallit"), -1), 12);

        // The next check tells the vendor what was dismissed; an older item does not lower it.
        answer("hirfolyam.php", "11|Régebbi|Hír");
        window = checkNews(nullptr);
        QVERIFY(window);
        QCOMPARE(requests().last(), QStringLiteral("/hirfolyam.php?prg=36&hir=12"));
        window->dismissBox()->setChecked(true);
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("btnOK")), Qt::LeftButton);
        QTRY_VERIFY(!window);
        QCOMPARE(SelectInt(QStringLiteral("SELECT hirelfogadva FROM beallit"), -1), 12);
    }

    void newsLeftUntickedIsNotRemembered()
    {
        answer("hirfolyam.php", "12|Cím|Szöveg");
        QPointer<NewsWindow> window = checkNews(nullptr);
        QVERIFY(window);
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("btnOK")), Qt::LeftButton);
        QTRY_VERIFY(!window);
        QCOMPARE(SelectInt(QStringLiteral("SELECT hirelfogadva FROM beallit"), -1), 0);
    }

    void noNewsShowsNothing_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("identifier 0") << QByteArray("0|Cím|Szöveg");
        QTest::newRow("empty identifier") << QByteArray("|Cím|Szöveg");
        QTest::newRow("empty answer") << QByteArray();
    }
    void noNewsShowsNothing()
    {
        QFETCH(QByteArray, body);
        answer("hirfolyam.php", body);
        QVERIFY(!checkNews(nullptr));
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void versionNoticeShowsModallyAndItsDismissalIsRemembered()
    {
        // A stale answer of an earlier start is not read again.
        QFile stale(m_data->file(QStringLiteral("Verkov.txt")));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("24.0.0.999|régi válasz");
        stale.close();
        answer("verziokovetes.php", "24.0.0.400|Letölthető az új verzió.");

        QString title, text;
        ModalDriver::onModal(QString(VersionNoticeWindow::ObjectName), [&](QDialog *d) {
            title = d->windowTitle();
            text = d->findChild<QLabel *>(QStringLiteral("lblSzoveg"))->text();
            d->findChild<QCheckBox *>(QStringLiteral("cbNeFigyelmeztessen"))->setChecked(true);
            QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("btnOK")), Qt::LeftButton);
        });
        checkVersionNotice(nullptr);
        QCOMPARE(title, QStringLiteral("Verziókövetés: 24.0.0.400"));
        QCOMPARE(text, QStringLiteral("Letölthető az új verzió."));
        QCOMPARE(requests(), QStringList{QStringLiteral("/verziokovetes.php?prg=36")});
        QCOMPARE(SelectText(QStringLiteral("SELECT verzioelfogadva FROM beallit"), QString()),
                 QStringLiteral("24.0.0.400"));

        // The same offer again: dismissed for good.
        ModalDriver::ModalWatch watch;
        checkVersionNotice(nullptr);
        QTest::qWait(50);
        QCOMPARE(watch.seen(), 0);
    }

    void windowKeepsWorkingWhileTheVendorIsSlow()
    {
        answer("hirfolyam.php", "12|Cím|Szöveg");
        answer("hirfolyam.php.delay", "0.5");
        bool ticked = false;
        QTimer::singleShot(100, this, [&] { ticked = true; });
        QPointer<NewsWindow> window = checkNews(nullptr);
        QVERIFY(ticked);
        QVERIFY(window);
        window->close();
    }

    void unreachableVendorShowsNothingAndRaisesNothing()
    {
        qputenv("KORVENA_VENDOR_URL", "http://127.0.0.1:9");
        ModalDriver::ModalWatch watch;
        checkVersionNotice(nullptr);
        QVERIFY(!checkNews(nullptr));
        QTest::qWait(50);
        QCOMPARE(watch.seen(), 0);
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(SelectInt(QStringLiteral("SELECT hirelfogadva FROM beallit"), -1), 0);
    }

    void answerFilesReplaceLinksPlantedInTheSharedFolder()
    {
        // The data folder is shared by the workstation's users: a link under an
        // answer's name must not make this user write where it points.
        QTemporaryDir elsewhere;
        const QString victim = elsewhere.filePath(QStringLiteral("sajat.ini"));
        const QString dangling = elsewhere.filePath(QStringLiteral("uj.txt"));
        {
            QFile f(victim);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("sajat");
        }
        const QDir data(AppFolders::current().dataFolder);
        QVERIFY(QFile::link(victim, data.filePath(QStringLiteral("Verkov.txt"))));
        QVERIFY(QFile::link(dangling, data.filePath(QStringLiteral("hirkov.txt"))));
        answer("verziokovetes.php", "24.0.0.368|Új változat");
        answer("hirfolyam.php", "12|Cím|Szöveg");

        QVERIFY(checkVersion().has_value());
        QVERIFY(checkNews().has_value());
        QFile f(victim);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("sajat"));
        QVERIFY(!QFile::exists(dangling));
        QVERIFY(!QFileInfo(data.filePath(QStringLiteral("Verkov.txt"))).isSymLink());
    }

    void refusedDownloadShowsNothing()
    {
        // No answer files: the vendor answers 404.
        ModalDriver::ModalWatch watch;
        checkVersionNotice(nullptr);
        QVERIFY(!checkNews(nullptr));
        QTest::qWait(50);
        QCOMPARE(watch.seen(), 0);
        QVERIFY(MessageBox::shown().isEmpty());
    }
};

QTEST_MAIN(TestVendorNotices)
#include "tst_vendornotices.moc"
