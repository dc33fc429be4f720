#pragma once

#include <QImage>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>

struct Pix;
namespace tesseract {
class TessBaseAPI;
}

namespace korvena::content {

// Hungarian and English OCR of typed pages on the calling thread, one core. The
// engine loads its language data on the first page, so a file that needs no OCR
// costs nothing. One per reading: Tesseract's engine is not shared across threads.
class Ocr
{
public:
    explicit Ocr(const std::atomic_bool *stop);
    ~Ocr();
    Ocr(const Ocr &) = delete;
    Ocr &operator=(const Ocr &) = delete;

    // The page's text; nothing when the engine could not start or was stopped
    // (error() says which). A page without a resolution is taken as 300 dpi.
    std::optional<QString> read(Pix *page);
    std::optional<QString> read(const QImage &page);
    QString error() const { return m_error; }

    // Where the language data is looked for: TESSDATA_PREFIX, else Debian's folder.
    static QString dataFolder();
    // Damaged images are reported by our error, not on the console; once per process.
    static void quietLibraries();

private:
    bool start();
    std::optional<QString> recognize();

    const std::atomic_bool *m_stop;
    std::unique_ptr<tesseract::TessBaseAPI> m_api;
    QString m_error;
};

} // namespace korvena::content
