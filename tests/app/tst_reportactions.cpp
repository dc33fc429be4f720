#include "../output/ReportPdf.h"
#include "DocumentFixture.h"
#include "MainWindowFixture.h"
#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "app/ActionCatalogue.h"
#include "app/MainWindow.h"
#include "common/ui/FileDialog.h"
#include "core/AppFolders.h"
#include "core/ConnectionProfile.h"
#include "core/IniFile.h"
#include "core/Session.h"
#include "db/DbHelpers.h"
#include "output/report/Ean8.h"
#include "output/ui/BarcodeDialog.h"
#include "output/ui/EnvelopeChoice.h"
#include "output/ui/OutputChoice.h"
#include "register/ui/DocumentListModel.h"

#include <QAction>
#include <QDateEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <memory>

namespace {

// The output choice answers with a PDF into the file, or cancels when it is empty.
void answerOutput(const QString &pdf)
{
    if (!pdf.isEmpty())
        FileDialog::setNextFileName(pdf);
    ModalDriver::onModal(QString(OutputChoice::ObjectName), [pdf](QDialog *d) {
        auto *dialog = static_cast<OutputChoice *>(d);
        if (pdf.isEmpty()) {
            QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
            return;
        }
        dialog->option(OutputChoice::Pdf)->setChecked(true);
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    });
}

} // namespace

class TestReportActions : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TempDataFolder> m_data;
    QTemporaryDir m_dir;

    Window openWindow() { return openMainWindow(&m_db->connection()); }
    QString pdf(const QString &name) const { return m_dir.filePath(name + QStringLiteral(".pdf")); }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        DocumentFixture::load();
        ExecSql(QStringLiteral("UPDATE tulajdonos SET tulajdonos = 'Próba Hivatal'"));
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

    // The lists print the list as it stands: with the marked-only view on, only the
    // marked documents; the recipient list of a period ignores that view.
    void listsFollowTheMarkedOnlyView()
    {
        ExecSql(QStringLiteral("UPDATE iktato SET nyomtatni = 'I' WHERE iktato = 101"));
        auto w = openWindow();
        QVERIFY(w);
        QCOMPARE(w->listModel()->dataset().rowCount(), 2);
        w->actionCatalogue().action(QStringLiteral("aNyomniSzur"))->trigger();

        for (const char *action : {"aNyomtat", "aNyomReszletes", "aNyomAtvevo"}) {
            answerOutput(pdf(QString::fromLatin1(action)));
            w->actionCatalogue().action(QString::fromLatin1(action))->trigger();
            const QString text = ReportPdf::text(pdf(QString::fromLatin1(action)));
            QVERIFY2(text.contains(QStringLiteral("Pécsi fiók bérleti")), action);
            QVERIFY2(!text.contains(QStringLiteral("Számla 50%")), action);
            QVERIFY2(text.contains(QStringLiteral("Próba Hivatal")), action);
        }

        ModalDriver::onModal(QStringLiteral("frm_Idoszak"), [](QDialog *d) {
            d->findChild<QDateEdit *>(QStringLiteral("deKezdet"))->setDate(QDate(2024, 3, 1));
            d->findChild<QDateEdit *>(QStringLiteral("deVeg"))->setDate(QDate(2024, 3, 31));
            QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("btnOK")), Qt::LeftButton);
        });
        answerOutput(pdf(QStringLiteral("aAtvevo2")));
        w->actionCatalogue().action(QStringLiteral("aAtvevo2"))->trigger();
        const QString text = ReportPdf::text(pdf(QStringLiteral("aAtvevo2")));
        QVERIFY(text.contains(QStringLiteral("Pécsi fiók bérleti")));
        QVERIFY(text.contains(QStringLiteral("Számla 50%")));
    }

    // Label mode: the label lands on the position asked for, and the next print takes
    // the next position even when the output is cancelled.
    void labelPositionAdvancesEveryPrint()
    {
        auto w = openWindow();
        QVERIFY(w);
        session().local.vkTipus = 1;
        session().local.vkColumn = 4;
        session().local.vkHanyadik = 5;
        const qint64 document = w->currentDocument();
        const QString digits = QString::number(document).rightJustified(7, QLatin1Char('0'));
        const QString code = QStringLiteral("EAN-8:") + digits + QString::number(Ean8CheckDigit(digits));

        auto confirmBarcode = [] {
            ModalDriver::onModal(QString(BarcodeDialog::ObjectName), [](QDialog *d) {
                QTest::mouseClick(static_cast<BarcodeDialog *>(d)->printButton(), Qt::LeftButton);
            });
        };
        confirmBarcode();
        answerOutput(pdf(QStringLiteral("labels")));
        w->actionCatalogue().action(QStringLiteral("aVKod"))->trigger();
        QCOMPARE(session().local.vkHanyadik, 6);
        const QString sheet = pdf(QStringLiteral("labels"));
        QCOMPARE(ReportPdf::barcodes(sheet, 1, QRectF(10, 10 + 4 * 19.2, 47.5, 19.2)), QStringList{code});
        QCOMPARE(ReportPdf::barcodes(sheet, 1), QStringList{code});

        confirmBarcode();
        answerOutput(QString());
        w->actionCatalogue().action(QStringLiteral("aVKod"))->trigger();
        QCOMPARE(session().local.vkHanyadik, 7);
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM vkod"), -1), 6);
        QCOMPARE(SelectInt(QStringLiteral("SELECT azon FROM vkod WHERE vkod <> ''"), -1), 6);
    }

    void documentCornerCarriesTheIdentifier()
    {
        auto w = openWindow();
        QVERIFY(w);
        session().local.vkTipus = 0;
        session().local.vkHova = 3;
        ModalDriver::onModal(QString(BarcodeDialog::ObjectName), [](QDialog *d) {
            QTest::mouseClick(static_cast<BarcodeDialog *>(d)->printButton(), Qt::LeftButton);
        });
        answerOutput(pdf(QStringLiteral("corner")));
        w->actionCatalogue().action(QStringLiteral("aVKod"))->trigger();
        const QString digits = QString::number(w->currentDocument()).rightJustified(7, QLatin1Char('0'));
        QCOMPARE(ReportPdf::barcodes(pdf(QStringLiteral("corner")), 1, QRectF(105, 257, 105, 40)),
                 QStringList{QStringLiteral("EAN-8:") + digits + QString::number(Ean8CheckDigit(digits))});
        const Dataset &list = w->listModel()->dataset();
        QVERIFY(ReportPdf::text(pdf(QStringLiteral("corner")))
                    .contains(list.displayText(list.current(), list.fieldIndex(u"iktatoaz"))));
    }

    void envelopeToThePickedClient()
    {
        auto w = openWindow();
        QVERIFY(w);
        ModalDriver::onModal(QStringLiteral("frm_TorzsUgyfel"), [](QDialog *d) {
            ModalDriver::onModal(QString(EnvelopeChoice::ObjectName), [](QDialog *e) {
                auto *choice = static_cast<EnvelopeChoice *>(e);
                choice->option(1)->setChecked(true);
                QTest::mouseClick(choice->okButton(), Qt::LeftButton);
            });
            d->findChild<QAction *>(QStringLiteral("aElfogad"))->trigger();
        });
        answerOutput(pdf(QStringLiteral("envelope")));
        w->actionCatalogue().action(QStringLiteral("aBoritek"))->trigger();
        const QString file = pdf(QStringLiteral("envelope"));
        const QSizeF size = ReportPdf::pageSizeMm(file);
        QVERIFY(qAbs(size.width() - 220) < 0.5 && qAbs(size.height() - 110) < 0.5);
        const QString text = ReportPdf::text(file);
        QVERIFY(text.contains(QStringLiteral("Próba Hivatal")));
        QVERIFY(text.contains(QStringLiteral("Részére")));
    }

    void folderCoverOfTheCurrentDocument()
    {
        auto w = openWindow();
        QVERIFY(w);
        answerOutput(pdf(QStringLiteral("cover")));
        w->actionCatalogue().action(QStringLiteral("aMappa"))->trigger();
        const Dataset &list = w->listModel()->dataset();
        const QString text = ReportPdf::text(pdf(QStringLiteral("cover")));
        QVERIFY(text.contains(list.displayText(list.current(), list.fieldIndex(u"iktatoaz"))));
        QVERIFY(text.contains(QStringLiteral("Ügyiratot látta")));
    }
};

QTEST_MAIN(TestReportActions)
#include "tst_reportactions.moc"
