// The attachment readers of our own: Word and ODF archives (libzip and XML) and plain
// text in any encoding. Whatever the file, the reading ends, and what goes to the index
// is short enough and storable by the register. PDF and images go to poppler and
// tesseract, which are not fuzzed here: they are stubbed out below.
#include "FuzzSupport.h"
#include "db/Latin2.h"
#include "register/content/Readers.h"

namespace korvena::content {
ExtractedText readPdf(const QByteArray &, const std::atomic_bool *)
{
    return {};
}
ExtractedText readImage(const QByteArray &, const std::atomic_bool *)
{
    return {};
}
} // namespace korvena::content

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace korvena::content;
    const QByteArray bytes = bytesOf(data, size);
    for (const char *name : {"a.docx", "a.txt"}) {
        const ExtractedText read = extractText(bytes, QString::fromLatin1(name));
        FUZZ_CHECK(read.text.size() <= MaxTextChars);
        FUZZ_CHECK(Latin2::canEncode(read.text));
        FUZZ_CHECK(read.error.isEmpty() || read.text.isEmpty());
    }
    const ExtractedText zip = readZip(bytes);
    const QString indexed = indexableText(zip.text);
    FUZZ_CHECK(indexed.size() <= MaxTextChars);
    FUZZ_CHECK(Latin2::canEncode(indexed));
    FUZZ_CHECK(indexableText(indexed) == indexed);
    return 0;
}
