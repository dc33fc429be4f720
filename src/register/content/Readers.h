#pragma once

#include "register/content/AttachmentText.h"

// The readers of each kind behind extractText. Their text is raw: extractText
// makes it indexable.
namespace korvena::content {

// Raw text past this many characters is not read on: what is kept is cut far below it.
inline constexpr qsizetype MaxRawChars = 4 * qsizetype(MaxTextChars);

inline bool stopRequested(const std::atomic_bool *stop)
{
    return stop && stop->load(std::memory_order_relaxed);
}

QString stoppedError();

ExtractedText readPdf(const QByteArray &bytes, const std::atomic_bool *stop);
// PNG, JPEG, TIFF (every page), BMP, WebP.
ExtractedText readImage(const QByteArray &bytes, const std::atomic_bool *stop);
// DOCX or ODT; another archive gives MethodNone.
ExtractedText readZip(const QByteArray &bytes);

} // namespace korvena::content
