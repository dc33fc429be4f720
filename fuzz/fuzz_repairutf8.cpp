// Downloaded UTF-8 read as code page 1250: any bytes are repaired without a
// fault and never grow, and Hungarian text comes out as its code page 1250 form.
#include "FuzzSupport.h"

namespace {

const QString kHungarian = QStringLiteral("aábcdeéfghiíjklmnoóöőpqrstuúüűvwxyzAÁBCDEÉFGHIÍJKLMNOÓÖŐPQRSTUÚÜŰVWXYZ0123456789 .,-!?");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    FUZZ_CHECK(RepairUtf8(bytes).size() <= bytes.size());
    RepairUtf8(FromCp1250(bytes));

    // The same bytes pick a Hungarian text, one letter each.
    QString text;
    for (const char b : bytes)
        text += kHungarian.at(uchar(b) % kHungarian.size());
    FUZZ_CHECK(RepairUtf8(text.toUtf8()) == ToCp1250(text));
    FUZZ_CHECK(RepairUtf8(FromCp1250(text.toUtf8())) == text);
    return 0;
}
