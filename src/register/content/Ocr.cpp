#include "register/content/Ocr.h"

#include "register/content/Readers.h"

#include <QDir>
#include <QFileInfo>

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>

#include <dlfcn.h>

#include <mutex>

namespace korvena::content {

namespace {

constexpr const char *Languages = "hun+eng";
constexpr int DefaultDpi = 300;
// A page that takes longer is a picture, not a letter: its text so far is kept.
constexpr int PageDeadlineMsecs = 120000;

bool cancelRequested(void *stop, int)
{
    return stopRequested(static_cast<const std::atomic_bool *>(stop));
}

// Debian's Tesseract runs its recognizer in OpenMP teams of four, and OMP_THREAD_LIMIT
// is read when the runtime loads, before any code of ours. No nested level may be
// active instead, so every team is the calling thread alone. The runtime is looked up
// rather than linked: it comes with Tesseract. Per call, as newer runtimes keep the
// setting per thread.
void keepToOneCore()
{
    using SetInt = void (*)(int);
    static const auto setLevels = reinterpret_cast<SetInt>(dlsym(RTLD_DEFAULT, "omp_set_max_active_levels"));
    static const auto setThreads = reinterpret_cast<SetInt>(dlsym(RTLD_DEFAULT, "omp_set_num_threads"));
    if (setLevels)
        setLevels(0);
    if (setThreads)
        setThreads(1);
}

} // namespace

void Ocr::quietLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] {
        setMsgSeverity(L_SEVERITY_NONE);
        // A global of Tesseract's: set once, before any engine reads it.
        tesseract::TessBaseAPI api;
        api.SetVariable("debug_file", "/dev/null");
    });
}

Ocr::Ocr(const std::atomic_bool *stop) : m_stop(stop) {}

Ocr::~Ocr()
{
    if (m_api)
        m_api->End();
}

QString Ocr::dataFolder()
{
    const QString prefix = qEnvironmentVariable("TESSDATA_PREFIX");
    return prefix.isEmpty() ? QStringLiteral("/usr/share/tesseract-ocr/5/tessdata") : prefix;
}

bool Ocr::start()
{
    if (m_api)
        return true;
    if (!m_error.isEmpty())
        return false;
    quietLibraries();
    const QString folder = dataFolder();
    QStringList missing;
    for (const QString &language : QString::fromLatin1(Languages).split(QLatin1Char('+'))) {
        const QString file = language + QStringLiteral(".traineddata");
        if (!QFileInfo(QDir(folder).filePath(file)).isReadable())
            missing << file;
    }
    if (!missing.isEmpty()) {
        m_error = QStringLiteral("Hiányzik az OCR nyelvi adata: %1 (%2).")
                      .arg(missing.join(QStringLiteral(", ")), QDir::toNativeSeparators(folder));
        return false;
    }
    auto api = std::make_unique<tesseract::TessBaseAPI>();
    if (api->Init(QFile::encodeName(folder).constData(), Languages, tesseract::OEM_LSTM_ONLY) != 0) {
        m_error = QStringLiteral("Az OCR nem indult el (%1).").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    // A letter: blocks of text in columns, headings and address blocks among them.
    api->SetPageSegMode(tesseract::PSM_AUTO);
    m_api = std::move(api);
    return true;
}

std::optional<QString> Ocr::recognize()
{
    tesseract::ETEXT_DESC monitor;
    monitor.cancel = &cancelRequested;
    monitor.cancel_this = const_cast<std::atomic_bool *>(m_stop);
    monitor.set_deadline_msecs(PageDeadlineMsecs);
    keepToOneCore();
    m_api->Recognize(&monitor);
    if (stopRequested(m_stop)) {
        m_api->Clear();
        m_error = stoppedError();
        return std::nullopt;
    }
    std::unique_ptr<char[]> utf8(m_api->GetUTF8Text());
    m_api->Clear();
    return utf8 ? QString::fromUtf8(utf8.get()) : QString();
}

std::optional<QString> Ocr::read(Pix *page)
{
    if (stopRequested(m_stop)) {
        m_error = stoppedError();
        return std::nullopt;
    }
    if (!start())
        return std::nullopt;
    m_api->SetImage(page);
    if (pixGetXRes(page) < 70 || pixGetYRes(page) < 70)
        m_api->SetSourceResolution(DefaultDpi);
    return recognize();
}

std::optional<QString> Ocr::read(const QImage &page)
{
    if (stopRequested(m_stop)) {
        m_error = stoppedError();
        return std::nullopt;
    }
    if (!start())
        return std::nullopt;
    const QImage grey = page.convertToFormat(QImage::Format_Grayscale8);
    m_api->SetImage(grey.constBits(), grey.width(), grey.height(), 1, int(grey.bytesPerLine()));
    const int dpi = qRound(grey.dotsPerMeterX() * 0.0254);
    m_api->SetSourceResolution(dpi >= 70 ? dpi : DefaultDpi);
    return recognize();
}

} // namespace korvena::content
