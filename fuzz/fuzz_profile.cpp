// Stored connection profiles: any stored text unscrambles without a fault into a
// profile, and a line scrambled, stored in the code page 1250 ini file and read
// back is the line it was.
#include "FuzzSupport.h"
#include "core/ConnectionProfile.h"
#include "db/DbError.h"

#include <QRandomGenerator>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString stored = textOf(data, size);
    const QString line = UnscrambleProfile(stored);
    const ConnectionProfile profile = ConnectionProfile::fromLine(line);
    try {
        profile.connectionParams();
    } catch (const KorvenaError &) {
        // A port that is no port is refused: expected.
    }
    profileChoices(QStringList{stored, line});

    // The stored form is written to the ini file in code page 1250, so only
    // lines of that code page can come back, and only below its last code: the
    // character above 255 that the last one scrambles to has no byte.
    QString original = FromCp1250(bytesOf(data, size).replace(char(0xFF), char(0xFE)));
    QRandomGenerator random(size);
    const QString scrambled = ScrambleProfile(original, &random);
    FUZZ_CHECK(UnscrambleProfile(FromCp1250(ToCp1250(scrambled))) == original);
    return 0;
}
