// Reading attached files for the content search, no server: a 10-page PDF with a
// text layer (goal 0.5 s) and OCR of one scanned A4 page at 300 dpi (goal 5 s on
// one core). Each figure is the median of several runs; the CPU time beside it
// shows that OCR keeps to one core.
//   fulltext_bench [--runs n]
#include "FulltextBench.h"

#include "BenchSupport.h"
#include "demo/DemoAttachments.h"
#include "register/content/AttachmentText.h"

#include <QGuiApplication>

#include <ctime>
#include <functional>

using korvena::demo::SampleKind;

namespace {

// A typed letter that fills most of an A4 page.
QString letterText()
{
    const QString paragraph = QStringLiteral(
        "Tisztelt Ügyfelünk! Értesítjük, hogy a 2026. november 12-én benyújtott kérelmét Győrben, a "
        "városháza ügyfélszolgálatán iktattuk. A kérelem elbírálásához szükséges iratokat a megadott "
        "határidőig, legkésőbb jövő hét hétfőig kérjük pótolni, mert ennek hiányában az eljárást meg kell "
        "szüntetnünk. Kérdéseivel munkaidőben a titkárságot keresheti.");
    return QStringList(6, paragraph).join(QStringLiteral("\n\n"));
}

struct Measure
{
    double wallSeconds;
    double cpuSeconds;
};

Measure medianOf(int runs, const std::function<void()> &work)
{
    QList<double> walls, cpus;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        const std::clock_t cpu = std::clock();
        timer.start();
        work();
        walls << timer.nsecsElapsed() / 1e9;
        cpus << double(std::clock() - cpu) / CLOCKS_PER_SEC;
    }
    return {bench::median(walls), bench::median(cpus)};
}

void report(const QString &what, const Measure &m, double goal, const korvena::content::ExtractedText &read)
{
    bench::out() << what << ": " << QString::number(m.wallSeconds, 'f', 3) << " s (CPU "
                 << QString::number(m.cpuSeconds, 'f', 3) << " s), goal " << goal
                 << " s: " << (m.wallSeconds <= goal ? "met" : "MISSED") << "; method " << read.method << ", "
                 << read.text.size() << " characters"
                 << (read.error.isEmpty() ? QString() : QStringLiteral(", error: ") + read.error) << "\n";
    bench::out().flush();
}

} // namespace

int fulltextExtractBench(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Reading attached files for the content search."));
    parser.addHelpOption();
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Measured runs."),
                                        QStringLiteral("n"), QStringLiteral("5"));
    parser.addOption(runsOption);
    parser.process(app);
    const int runs = qMax(1, parser.value(runsOption).toInt());

    const QString letter = letterText();
    const QByteArray textPdf = korvena::demo::sampleFile(SampleKind::PdfText, letter, 10);
    const QByteArray scannedPdf = korvena::demo::sampleFile(SampleKind::PdfScanned, letter, 1);
    const QByteArray scannedPng = korvena::demo::sampleFile(SampleKind::Png, letter);
    bench::out() << "Files: 10-page PDF " << textPdf.size() / 1024 << " KiB, scanned PDF page "
                 << scannedPdf.size() / 1024 << " KiB, PNG page " << scannedPng.size() / 1024
                 << " KiB; median of " << runs << " runs\n";

    korvena::content::ExtractedText read;
    auto extract = [&](const QByteArray &bytes, const QString &name) {
        return [&read, bytes, name] { read = korvena::content::extractText(bytes, name); };
    };
    // The first reading loads the OCR language data from disk; it is not measured.
    korvena::content::extractText(scannedPng, QStringLiteral("warm.png"));

    Measure m = medianOf(runs, extract(textPdf, QStringLiteral("level.pdf")));
    report(QStringLiteral("10-page PDF, text layer"), m, 0.5, read);
    m = medianOf(runs, extract(scannedPdf, QStringLiteral("szkennelt.pdf")));
    report(QStringLiteral("Scanned A4 page at 300 dpi in a PDF (render + OCR)"), m, 5, read);
    m = medianOf(runs, extract(scannedPng, QStringLiteral("szkennelt.png")));
    report(QStringLiteral("Scanned A4 page at 300 dpi, PNG (OCR)"), m, 5, read);
    return 0;
}
