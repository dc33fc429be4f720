#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>

// The text an attached file holds, read for the content search. Derived data: the
// file itself is never changed, and what the register cannot store is left out.
namespace korvena::content {

// How the text was read; stored with it (iktato_szoveg.modszer).
inline constexpr const char *MethodPdf = "pdf";        // text layer of every page
inline constexpr const char *MethodPdfOcr = "pdf+ocr"; // text layer, OCR where a page has none
inline constexpr const char *MethodOcr = "ocr";        // an image, or a PDF with no text layer
inline constexpr const char *MethodDocx = "docx";
inline constexpr const char *MethodOdt = "odt";
inline constexpr const char *MethodText = "szoveg"; // plain text, UTF-8 or code page 1250
inline constexpr const char *MethodNone = "nincs";  // a kind we do not read, or nothing readable

// Most characters of text kept for one file, so a huge file cannot fill the server.
inline constexpr int MaxTextChars = 1024 * 1024;

struct ExtractedText
{
    QString text;   // whitespace collapsed, only what latin2/cp1250 can hold, at most MaxTextChars
    QString method; // one of the Method* names
    QString error;  // non-empty when the file could not be read (damaged, encrypted, ...);
                    // `text` then holds what was read before it, if anything
};

// Reads the text of `bytes`; the kind comes from the content, the name's extension
// only breaks ties. Blocking and CPU-heavy (OCR): call it on a worker thread. Safe
// to call from several threads at once. `stop`, when given and set, ends the work
// early (the result is then empty with an error).
ExtractedText extractText(const QByteArray &bytes, const QString &fileName,
                          const std::atomic_bool *stop = nullptr);

// Cleans text for the index: drops characters the register cannot store,
// collapses whitespace, cuts at MaxTextChars.
QString indexableText(const QString &text);

} // namespace korvena::content
