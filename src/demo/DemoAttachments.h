#pragma once

#include <QByteArray>
#include <QString>

// Files of every kind the content search reads, holding a given sentence: the demo
// register's attachments and the tests' fixtures (no outside samples).
namespace korvena::demo {

enum class SampleKind {
    PdfText,     // a PDF with a text layer
    PdfScanned,  // a PDF whose pages are images only (a scanned letter)
    Png,
    Jpeg,
    Tiff,
    Docx,
    Odt,
    TextUtf8,
    TextCp1250,
};

// The file's bytes: `sentence` typed in a clear font; images and scanned pages at
// 300 dpi on A4. `pages` repeats the sentence on each page (PDF kinds only). The
// kinds that draw text need a QGuiApplication (the offscreen platform will do).
QByteArray sampleFile(SampleKind kind, const QString &sentence, int pages = 1);

// A letter as an office document: its body, the page header (a letterhead) and footer,
// and a footnote; empty parts are left out.
struct LetterParts
{
    QString header;
    QString body;
    QString footer;
    QString note;
};
// kind is SampleKind::Docx or SampleKind::Odt.
QByteArray letterFile(SampleKind kind, const LetterParts &letter);

// `base` with the kind's extension, e.g. "level.pdf".
QString sampleFileName(SampleKind kind, const QString &base);

} // namespace korvena::demo
