#include "output/ui/ReportOutput.h"

#include "common/ui/FileDialog.h"
#include "common/ui/MessageBox.h"
#include "core/Session.h"
#include "db/Dataset.h"
#include "output/report/ReportRenderer.h"
#include "output/ui/ExportDialog.h"
#include "output/ui/OutputChoice.h"
#include "output/ui/ReportPreview.h"

#include <QApplication>
#include <QDir>
#include <QPrinter>
#include <QStandardPaths>

namespace {

// The configured printer when installed, then the dialog's when that is installed;
// empty for the system's default.
QString resolvedPrinter(const QString &chosen)
{
    const QStringList installed = installedPrinters();
    QString name;
    for (const QString &candidate : {session().local.printer, chosen})
        if (!candidate.isEmpty() && installed.contains(candidate))
            name = candidate;
    return name;
}

void selectPrinter(QPrinter &printer, const QString &chosen)
{
    const QString name = resolvedPrinter(chosen);
    if (!name.isEmpty())
        printer.setPrinterName(name);
}

// The window repaints between pages, so a long report does not freeze it.
bool keepResponsive(int, int)
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return true;
}

void preview(QWidget *parent, ReportRenderer &renderer, const QString &printerName)
{
    ReportPreview dialog(parent, renderer, resolvedPrinter(printerName));
    dialog.exec();
}

void print(ReportRenderer &renderer, const QString &printerName)
{
    if (installedPrinters().isEmpty()) {
        ShowError(QStringLiteral("Nincs telepített nyomtató."));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    selectPrinter(printer, printerName);
    printer.setDocName(renderer.layout().title);
    if (!renderer.paint(printer, keepResponsive))
        ShowError(QStringLiteral("A nyomtatás nem sikerült: ") + printer.printerName());
}

void savePdf(QWidget *parent, ReportRenderer &renderer)
{
    QString fileName = FileDialog::getSaveFileName(parent, QStringLiteral("Mentés PDF-be"),
                                                   documentsFolder() + QLatin1Char('/') +
                                                       renderer.layout().name + QStringLiteral(".pdf"),
                                                   QStringLiteral("PDF fájl (*.pdf)"));
    if (fileName.isEmpty())
        return;
    if (!fileName.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        fileName += QStringLiteral(".pdf");
    if (!renderer.writePdf(fileName, keepResponsive))
        ShowError(QStringLiteral("A fájl nem írható: ") + QDir::toNativeSeparators(fileName));
}

} // namespace

QString documentsFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder.isEmpty() ? QDir::homePath() : folder;
}

void RunReport(QWidget *parent, const ReportLayout &layout, Dataset &data, const Dataset *letterhead)
{
    // A working copy: what the dialog picks counts for this run only.
    QString printerName = session().local.printer;
    const OutputChoice::Choice choice = OutputChoice::ask(parent, printerName);
    if (choice == OutputChoice::Cancelled)
        return;
    if (choice == OutputChoice::Export) {
        ExportDialog::run(parent, data, documentsFolder() + QStringLiteral("/File001.csv"));
        return;
    }
    ReportRenderer renderer(layout, data, letterhead);
    switch (choice) {
    case OutputChoice::Preview:
        preview(parent, renderer, printerName);
        break;
    case OutputChoice::Print:
        print(renderer, printerName);
        break;
    case OutputChoice::Pdf:
        savePdf(parent, renderer);
        break;
    default:
        break;
    }
}
