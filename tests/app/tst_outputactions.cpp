#include "MainWindowFixture.h"
#include "DocumentFixture.h"
#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"
#include "core/ui/Startup.h"
#include "common/Encoding.h"
#include "common/ui/MessageBox.h"
#include "core/AppFolders.h"
#include "core/ConnectionProfile.h"
#include "core/IniFile.h"
#include "core/Session.h"
#include "db/DbHelpers.h"
#include "output/ui/ExportDialog.h"
#include "output/ui/HtmlExportDialog.h"
#include "output/ui/StoredExportScreens.h"
#include "register/ui/DocumentListModel.h"
#include "register/ui/DocumentListView.h"

#include <QAction>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {


} // namespace

class TestOutputActions : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TempDataFolder> m_data;

    Window openWindow() { return openMainWindow(&m_db->connection()); }

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
        ExecSql(QStringLiteral("UPDATE iktato SET nyomtatni = 'N'"));
    }
    void cleanup()
    {
        Connection::setCurrent(&m_db->connection());
        m_data.reset();
    }
    void cleanupTestCase()
    {
        Connection::setCurrent(&m_db->connection());
        m_db.reset();
    }

    void excelExportsTheListAndTheGridFollowsItsLastRow()
    {
        auto w = openWindow();
        QVERIFY(w);
        const Dataset &list = w->listModel()->dataset();
        QCOMPARE(list.rowCount(), 2);
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("Iktato.csv"));
        QString defaultName;
        ModalDriver::onModal(QString(ExportDialog::ObjectName), [&](QDialog *d) {
            auto *edit = d->findChild<QLineEdit *>(QStringLiteral("edFilenev"));
            defaultName = edit->text();
            edit->setText(name);
            QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("btnExport")), Qt::LeftButton);
            QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("btnBezar")), Qt::LeftButton);
        });
        w->actionCatalogue().action(QStringLiteral("aExcel"))->trigger();
        QCOMPARE(defaultName, QStringLiteral("Iktato.csv"));
        QFile f(name);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QCOMPARE(lines.size(), 4); // header, two documents, nothing after the last CR LF
        QVERIFY(FromCp1250(lines[0]).startsWith(QStringLiteral("iktato;Főszám;Alszám;targy;")));
        QCOMPARE(lines[1].count(';'), 45);
        QCOMPARE(w->listView()->currentDatasetRow(), 1);
        QCOMPARE(w->currentDocument(), list.toInt(1, list.fieldIndex(u"iktato")));
    }

    void clipboardCopyOfTheCurrentOrTheMarkedDocuments()
    {
        auto w = openWindow();
        QVERIFY(w);
        session().local.masolMezok = QStringLiteral("NINNNNNNNNNNNN");
        const qint64 current = w->currentDocument();
        w->actionCatalogue().action(QStringLiteral("aVagolapra"))->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Kitől: Kiss Péter\r\n-*-\r\n\r\n"));

        ExecSql(QStringLiteral("UPDATE iktato SET nyomtatni = 'I' WHERE iktato IN (101, 102)"));
        w->refreshList();
        w->actionCatalogue().action(QStringLiteral("aVagolapra"))->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("Kitől: Kiss Péter\r\n-*-\r\n\r\nKitől: Kovács és Társa Bt.\r\n-*-\r\n\r\n"));
        QCOMPARE(w->currentDocument(), current);
    }

    void htmlPageShowsTheListColumnsInTheirScreenOrder()
    {
        auto w = openWindow();
        QVERIFY(w);
        const qint64 current = w->currentDocument();
        // A column moved on screen comes first on the page too.
        QHeaderView *header = w->listView()->horizontalHeader();
        const int moved = DocumentListModel::FirstFieldColumn + 1;
        const QString movedTitle = w->listModel()->headerData(moved, Qt::Horizontal).toString();
        header->moveSection(header->visualIndex(moved), 0);
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("lista.htm"));
        QString defaultName;
        ModalDriver::onModal(QString(HtmlExportDialog::ObjectName), [&](QDialog *d) {
            auto *edit = d->findChild<QLineEdit *>(QStringLiteral("edMentesHelye"));
            defaultName = edit->text();
            edit->setText(name);
            QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("btnOK")), Qt::LeftButton);
        });
        w->actionCatalogue().action(QStringLiteral("aHtml"))->trigger();
        QVERIFY(defaultName.endsWith(QStringLiteral("/iktat_k_nyv.htm")));
        QFile f(name);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString page = FromCp1250(f.readAll());
        QVERIFY(page.contains(QStringLiteral("<h1>Iktatókönyv</h1>")));
        QVERIFY(page.contains(QStringLiteral("Összesen 2 sor.")));
        const int firstTitle = page.indexOf(QStringLiteral("<th "));
        QVERIFY(firstTitle > 0);
        QCOMPARE(page.mid(page.indexOf(QLatin1Char('>'), firstTitle) + 1, movedTitle.size()), movedTitle);
        QCOMPARE(w->currentDocument(), current);
    }

    void dataCentreOpensTheStoredExports()
    {
        auto w = openWindow();
        QVERIFY(w);
        QString caption;
        ModalDriver::onModal(QString(StoredExportList::ObjectName), [&](QDialog *d) {
            caption = d->windowTitle();
            d->reject();
        });
        w->actionCatalogue().action(QStringLiteral("aAdatcentrum"))->trigger();
        QCOMPARE(caption, QStringLiteral("Adatexport"));
    }
};

QTEST_MAIN(TestOutputActions)
#include "tst_outputactions.moc"
