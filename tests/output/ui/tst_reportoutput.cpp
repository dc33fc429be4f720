#include "common/ui/FileDialog.h"
#include "core/Session.h"
#include "db/Dataset.h"
#include "db/DbError.h"
#include "output/report/Reports.h"
#include "output/ui/BarcodeDialog.h"
#include "output/ui/EnvelopeChoice.h"
#include "output/ui/ExportDialog.h"
#include "output/ui/OutputChoice.h"
#include "output/ui/ReportOutput.h"
#include "output/ui/ReportPreview.h"

#include "../ReportPdf.h"
#include "ModalDialogs.h"
#include "TestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

// One row with every column any report reads.
Dataset sampleRows()
{
    const QStringList names = {"iktatoaz",
                               "xtargy",
                               "targy",
                               "dat_erk",
                               "ugyf_kitol_nev",
                               "ugyf_kinek_nev",
                               "irany_nev",
                               "tipus_nev",
                               "figy_szoveg",
                               "dat_figy",
                               "tarolo",
                               "ugyfel_nev",
                               "ui2",
                               "irsz",
                               "varos",
                               "cim",
                               "vkod",
                               "vkod_nev",
                               "kolcsonadva_kinek"};
    QList<Field> fields;
    for (const QString &n : names)
        fields.append(Field{n});
    Dataset rows(fields);
    QVariantList values;
    for (const QString &n : names)
        values << (n == QLatin1String("vkod") ? QStringLiteral("0000101") : QStringLiteral("Minta-") + n);
    rows.appendRow(values);
    rows.first();
    return rows;
}

ReportLayout layoutNamed(const QString &name)
{
    if (name == QLatin1String("qrLista"))
        return ListReport(QStringLiteral("Teszt"));
    if (name == QLatin1String("qrReszletes"))
        return DetailedReport(QStringLiteral("Teszt"), QStringLiteral("Típus"), QStringLiteral("Hiv.szám"),
                              false);
    if (name == QLatin1String("qrReszletes2"))
        return DetailedReport(QStringLiteral("Teszt"), QStringLiteral("Típus"), QStringLiteral("Hiv.szám"),
                              true);
    if (name == QLatin1String("qrBoritek"))
        return EnvelopeReport(EnvelopeSize::C6, QImage());
    if (name == QLatin1String("qrBoritek2"))
        return EnvelopeReport(EnvelopeSize::DL, QImage());
    if (name == QLatin1String("qrBoritek3"))
        return EnvelopeReport(EnvelopeSize::C5, QImage());
    if (name == QLatin1String("qrAjanlott"))
        return RegisteredMailReport();
    if (name == QLatin1String("qrVKod"))
        return LabelSheetReport(LabelSheet{});
    if (name == QLatin1String("qrVKod2"))
        return CornerBarcodeReport(0);
    if (name == QLatin1String("qrAtvevo"))
        return RecipientReport(QStringLiteral("Teszt"));
    if (name == QLatin1String("qrKiadott"))
        return LentOutReport();
    return FolderCoverReport();
}

void choose(QDialog *d, OutputChoice::Choice choice)
{
    auto *dialog = static_cast<OutputChoice *>(d);
    dialog->option(choice)->setChecked(true);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
}

} // namespace

class TestReportOutput : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void init() { ModalDriver::resetScreenState(); }

    void printerListOnlyForPrinting()
    {
        OutputChoice dialog(nullptr, QStringLiteral("Irodai nyomtató"));
        QCOMPARE(dialog.objectName(), QStringLiteral("frm_NyomValaszt"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Nyomtatás típusa"));
        QCOMPARE(dialog.choice(), OutputChoice::Preview);
        QCOMPARE(dialog.printerText(), QStringLiteral("Irodai nyomtató"));
        QVERIFY(!dialog.printerBox()->isEnabled());
        dialog.option(OutputChoice::Print)->setChecked(true);
        QVERIFY(dialog.printerBox()->isEnabled());
        dialog.option(OutputChoice::Export)->setChecked(true);
        QVERIFY(!dialog.printerBox()->isEnabled());
        QCOMPARE(dialog.option(OutputChoice::Export)->text(), QStringLiteral("Excelbe (CSV)"));
    }

    void choiceAndPrinterName_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("name");
        QTest::newRow("print with a typed name")
            << int(OutputChoice::Print) << true << int(OutputChoice::Print) << "Másik nyomtató";
        QTest::newRow("pdf") << int(OutputChoice::Pdf) << true << int(OutputChoice::Pdf) << "Másik nyomtató";
        QTest::newRow("cancel keeps the name")
            << int(OutputChoice::Print) << false << int(OutputChoice::Cancelled) << "Régi";
    }
    void choiceAndPrinterName()
    {
        QFETCH(int, choice);
        QFETCH(bool, confirm);
        QFETCH(int, expected);
        QFETCH(QString, name);
        ModalDriver::onModal(QString(OutputChoice::ObjectName), [&](QDialog *d) {
            auto *dialog = static_cast<OutputChoice *>(d);
            dialog->option(OutputChoice::Choice(choice))->setChecked(true);
            dialog->printerBox()->setEditText(QStringLiteral("Másik nyomtató"));
            QTest::mouseClick(confirm ? dialog->okButton() : dialog->cancelButton(), Qt::LeftButton);
        });
        QString printer = QStringLiteral("Régi");
        QCOMPARE(int(OutputChoice::ask(nullptr, printer)), expected);
        QCOMPARE(printer, name);
    }

    // Without any printer installed every report still goes to a PDF file.
    void everyReportSavesAsPdf_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("expected");
        QTest::newRow("qrLista") << "qrLista"
                                 << "Egyszerű lista";
        QTest::newRow("qrReszletes") << "qrReszletes"
                                     << "QrReszletes";
        QTest::newRow("qrReszletes2") << "qrReszletes2"
                                      << "QrReszletes2";
        QTest::newRow("qrBoritek") << "qrBoritek"
                                   << "Minta-ugyfel_nev";
        QTest::newRow("qrBoritek2") << "qrBoritek2"
                                    << "Minta-ugyfel_nev";
        QTest::newRow("qrBoritek3") << "qrBoritek3"
                                    << "Minta-ugyfel_nev";
        QTest::newRow("qrAjanlott") << "qrAjanlott"
                                    << "Minta-cim";
        QTest::newRow("qrVKod") << "qrVKod"
                                << "Minta-vkod_nev";
        QTest::newRow("qrVKod2") << "qrVKod2"
                                 << "Minta-vkod_nev";
        QTest::newRow("qrAtvevo") << "qrAtvevo"
                                  << "QrAtvevo";
        QTest::newRow("qrKiadott") << "qrKiadott"
                                   << "QrKiadott";
        QTest::newRow("qrMappa") << "qrMappa"
                                 << "Ügyiratot látta";
    }
    void everyReportSavesAsPdf()
    {
        QFETCH(QString, report);
        QFETCH(QString, expected);
        Dataset rows = sampleRows();
        const QString file = m_dir.filePath(report); // the extension is added
        FileDialog::setNextFileName(file);
        ModalDriver::onModal(QString(OutputChoice::ObjectName),
                             [](QDialog *d) { choose(d, OutputChoice::Pdf); });
        RunReport(nullptr, layoutNamed(report), rows, nullptr);
        QVERIFY(!FileDialog::hasQueuedAnswers());
        const QString pdf = file + QStringLiteral(".pdf");
        QVERIFY(QFileInfo::exists(pdf));
        QVERIFY2(ReportPdf::text(pdf).contains(expected), qPrintable(ReportPdf::text(pdf)));
    }

    void cancelledSaveWritesNothing()
    {
        Dataset rows = sampleRows();
        FileDialog::setNextFileName(QString());
        ModalDriver::onModal(QString(OutputChoice::ObjectName),
                             [](QDialog *d) { choose(d, OutputChoice::Pdf); });
        RunReport(nullptr, ListReport(QString()), rows, nullptr);
        QVERIFY(!FileDialog::hasQueuedAnswers());
        QVERIFY(MessageBox::shown().isEmpty()); // no attempt to write a file without a name
    }

    void exportOffersFile001InTheDocumentsFolder()
    {
        Dataset rows = sampleRows();
        QString offered;
        ModalDriver::onModal(QString(OutputChoice::ObjectName), [&](QDialog *d) {
            ModalDriver::onModal(QString(ExportDialog::ObjectName), [&](QDialog *e) {
                offered = e->findChild<QLineEdit *>(QStringLiteral("edFilenev"))->text();
                e->reject();
            });
            choose(d, OutputChoice::Export);
        });
        RunReport(nullptr, ListReport(QString()), rows, nullptr);
        QCOMPARE(offered, documentsFolder() + QStringLiteral("/File001.csv"));
    }

    void previewPaintsThePageShown()
    {
        Dataset rows = sampleRows();
        for (int i = 0; i < 99; ++i)
            rows.appendRow({QStringLiteral("ID-%1").arg(i)});
        int pages = 0, afterLast = -1;
        bool painted = false;
        ModalDriver::onModal(QString(OutputChoice::ObjectName), [&](QDialog *d) {
            ModalDriver::onModal(QString(ReportPreview::ObjectName), [&](QDialog *p) {
                auto *preview = static_cast<ReportPreview *>(p);
                pages = preview->pageCount();
                painted = !preview->pageView()->pixmap().isNull() && preview->page() == 0;
                QTest::mouseClick(p->findChild<QPushButton *>(QStringLiteral("btnUtolso")), Qt::LeftButton);
                afterLast = preview->page();
                QTest::mouseClick(p->findChild<QPushButton *>(QStringLiteral("btnBezar")), Qt::LeftButton);
            });
            choose(d, OutputChoice::Preview);
        });
        RunReport(nullptr, ListReport(QString()), rows, nullptr);
        QVERIFY(pages > 1);
        QVERIFY(painted);
        QCOMPARE(afterLast, pages - 1);
    }

    void envelopeChoice_data()
    {
        QTest::addColumn<int>("pick");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("expected");
        QTest::newRow("C6 at start") << -1 << true << 0;
        QTest::newRow("DL") << 1 << true << 1;
        QTest::newRow("C5") << 2 << true << 2;
        QTest::newRow("cancel") << 2 << false << -1;
    }
    void envelopeChoice()
    {
        QFETCH(int, pick);
        QFETCH(bool, confirm);
        QFETCH(int, expected);
        ModalDriver::onModal(QString(EnvelopeChoice::ObjectName), [&](QDialog *d) {
            auto *dialog = static_cast<EnvelopeChoice *>(d);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Boríték méret választás"));
            if (pick >= 0)
                dialog->option(pick)->setChecked(true);
            QTest::mouseClick(confirm ? dialog->okButton() : dialog->cancelButton(), Qt::LeftButton);
        });
        QCOMPARE(EnvelopeChoice::ask(nullptr), expected);
    }

    void barcodeDialogShowsAndStoresTheSettings()
    {
        LocalConfig &config = session().local;
        config.vkTipus = 1;
        config.vkHova = 2;
        config.vkHanyadik = 7;
        BarcodeDialog dialog(nullptr);
        QVERIFY(dialog.modeOption(1)->isChecked());
        QVERIFY(dialog.cornerOption(2)->isChecked());
        QCOMPARE(dialog.field(0)->text(), QStringLiteral("10"));
        QCOMPARE(dialog.field(4)->text(), QStringLiteral("19.2"));
        QCOMPARE(dialog.field(5)->text(), QStringLiteral("7"));
        dialog.modeOption(0)->setChecked(true);
        dialog.cornerOption(3)->setChecked(true);
        dialog.field(3)->setText(QStringLiteral("3"));
        dialog.field(5)->setText(QStringLiteral("x"));
        QVERIFY_THROWS_EXCEPTION(KorvenaError, dialog.store());
        QCOMPARE(config.vkColumn, 3);
        QCOMPARE(config.vkHanyadik, 7);
        QCOMPARE(config.vkTipus, 1); // the choices come after the fields
        dialog.field(5)->setText(QStringLiteral("2"));
        dialog.store();
        QCOMPARE(config.vkHanyadik, 2);
        QCOMPARE(config.vkTipus, 0);
        QCOMPARE(config.vkHova, 3);
    }

    // A mistyped field is an input error in a "Hiba" box, not a failure offered for a
    // report; nothing prints and the fields before it keep their new values.
    void barcodeDialogBadNumberIsAnInputError()
    {
        session().local.vkColumn = 4;
        session().local.vkHanyadik = 3;
        MessageBox::clearShown();
        ModalDriver::onModal(QString(BarcodeDialog::ObjectName), [](QDialog *d) {
            auto *dialog = static_cast<BarcodeDialog *>(d);
            dialog->field(3)->setText(QStringLiteral("2"));
            dialog->field(5)->setText(QStringLiteral("x"));
            QTest::mouseClick(dialog->printButton(), Qt::LeftButton);
        });
        QVERIFY(!BarcodeDialog::ask(nullptr));
        const QList<MessageBox::ShownMessage> shown = MessageBox::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].kind, QStringLiteral("error"));
        QCOMPARE(shown[0].text, QStringLiteral("'x' nem érvényes szám."));
        QCOMPARE(session().local.vkColumn, 2);
        QCOMPARE(session().local.vkHanyadik, 3);
    }

    void barcodeDialogCancelChangesNothing()
    {
        session().local.vkHanyadik = 4;
        ModalDriver::onModal(QString(BarcodeDialog::ObjectName), [](QDialog *d) {
            auto *dialog = static_cast<BarcodeDialog *>(d);
            dialog->field(5)->setText(QStringLiteral("9"));
            QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
        });
        QVERIFY(!BarcodeDialog::ask(nullptr));
        QCOMPARE(session().local.vkHanyadik, 4);
    }
};

QTEST_MAIN(TestReportOutput)
#include "tst_reportoutput.moc"
