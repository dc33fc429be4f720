// Typed numbers: any text parses without a fault, and the plain number text the
// program writes reads back as the same number.
#include "FuzzSupport.h"
#include "common/Numbers.h"

#include <cmath>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = textOf(data, size);
    const QString filtered = NumericFilter(text);
    FUZZ_CHECK(filtered.size() <= text.size());
    TextToInt(text);
    KeepNumberChars(text);
    const double number = TextToNumber(text, 0.0);
    FUZZ_CHECK(std::isfinite(number));

    if (size >= sizeof(double) + sizeof(int)) {
        double d;
        int n;
        std::memcpy(&d, data, sizeof d);
        std::memcpy(&n, data + sizeof d, sizeof n);
        FUZZ_CHECK(TextToInt(QString::number(n)) == n);
        if (std::isfinite(d)) {
            for (const QChar separator : {QLatin1Char('.'), QLatin1Char(',')}) {
                // Typed numbers have no exponent, so only the plain form must read back.
                const QString written = NumberText(d, separator);
                if (written.contains(QLatin1Char('E')))
                    continue;
                const double back = TextToNumber(written, std::nan(""));
                // Fifteen significant digits are what the text keeps.
                FUZZ_CHECK(back == d || std::fabs(back - d) <= std::fabs(d) * 1e-14);
            }
        } else {
            NumberText(d, QLatin1Char('.'));
        }
    }
    return 0;
}
