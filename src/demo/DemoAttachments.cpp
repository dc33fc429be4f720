#include "demo/DemoAttachments.h"

namespace korvena::demo {

QByteArray sampleFile(SampleKind kind, const QString &sentence, int)
{
    if (kind == SampleKind::TextUtf8)
        return sentence.toUtf8();
    return {};
}

QString sampleFileName(SampleKind kind, const QString &base)
{
    switch (kind) {
    case SampleKind::PdfText:
    case SampleKind::PdfScanned: return base + QStringLiteral(".pdf");
    case SampleKind::Png: return base + QStringLiteral(".png");
    case SampleKind::Jpeg: return base + QStringLiteral(".jpg");
    case SampleKind::Tiff: return base + QStringLiteral(".tif");
    case SampleKind::Docx: return base + QStringLiteral(".docx");
    case SampleKind::Odt: return base + QStringLiteral(".odt");
    case SampleKind::TextUtf8:
    case SampleKind::TextCp1250: return base + QStringLiteral(".txt");
    }
    return base;
}

} // namespace korvena::demo
