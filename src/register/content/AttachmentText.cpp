#include "register/content/AttachmentText.h"

namespace korvena::content {

QString indexableText(const QString &text)
{
    return text.simplified().left(MaxTextChars);
}

ExtractedText extractText(const QByteArray &bytes, const QString &fileName, const std::atomic_bool *)
{
    ExtractedText out;
    if (fileName.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive)) {
        out.text = indexableText(QString::fromUtf8(bytes));
        out.method = QString::fromLatin1(MethodText);
    } else {
        out.method = QString::fromLatin1(MethodNone);
    }
    return out;
}

} // namespace korvena::content
