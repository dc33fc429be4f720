// The code pages: every code page 1250 byte survives a round trip, text the code
// page (or the register's latin2 wire form) can hold comes back unchanged, and
// what it cannot hold is refused or marked, never mangled silently.
#include "FuzzSupport.h"
#include "db/DbError.h"
#include "db/Latin2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    const QString fromBytes = FromCp1250(bytes);
    FUZZ_CHECK(fromBytes.size() == bytes.size());
    FUZZ_CHECK(ToCp1250(fromBytes) == bytes);
    FUZZ_CHECK(Base64(bytes) == QString::fromLatin1(bytes.toBase64()));

    const QString wire = Latin2::decode(bytes);
    FUZZ_CHECK(Latin2::canEncode(wire));
    FUZZ_CHECK(Latin2::decode(Latin2::encode(wire)) == wire);

    const QString text = textOf(data, size);
    bool cp1250 = true;
    for (const QChar c : text) {
        const int code = Cp1250Code(c);
        if (code < 0)
            cp1250 = false;
        else
            FUZZ_CHECK(Cp1250Char(uchar(code)) == c);
    }
    const QByteArray encoded = ToCp1250(text);
    if (cp1250)
        FUZZ_CHECK(FromCp1250(encoded) == text);
    else
        FUZZ_CHECK(encoded.contains('?'));

    if (Latin2::canEncode(text)) {
        FUZZ_CHECK(Latin2::firstUnencodable(text).isEmpty());
        FUZZ_CHECK(Latin2::decode(Latin2::encode(text)) == text);
    } else {
        FUZZ_CHECK(!Latin2::firstUnencodable(text).isEmpty());
        bool refused = false;
        try {
            Latin2::encode(text);
        } catch (const KorvenaError &) {
            refused = true;
        }
        FUZZ_CHECK(refused);
    }
    return 0;
}
