#pragma once

#include "common/Encoding.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property that does not hold is a finding: abort, so libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Text as users and files bring it: the first byte picks how the rest is read,
// so code page 1250 files, UTF-8 and arbitrary UTF-16 (lone surrogates too) all come in.
inline QString textOf(const uint8_t *data, size_t size)
{
    if (size == 0)
        return {};
    const QByteArray rest = bytesOf(data + 1, size - 1);
    switch (data[0] % 3) {
    case 0:
        return FromCp1250(rest);
    case 1:
        return QString::fromUtf8(rest);
    default:
        return QString(reinterpret_cast<const QChar *>(rest.constData()), rest.size() / 2);
    }
}

// One single-quoted literal as the server reads it (backslash escapes on), from
// pos, which must be at the opening quote. False when it never closes; pos ends
// behind the closing quote.
inline bool readSqlLiteral(const QString &sql, qsizetype &pos, QString *value)
{
    if (pos >= sql.size() || sql.at(pos) != QLatin1Char('\''))
        return false;
    QString out;
    for (qsizetype i = pos + 1; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\\')) {
            if (++i >= sql.size())
                return false;
            const char16_t e = sql.at(i).unicode();
            switch (e) {
            case u'0': out += QChar(0); break;
            case u'b': out += QChar(8); break;
            case u'n': out += QChar(10); break;
            case u'r': out += QChar(13); break;
            case u't': out += QChar(9); break;
            case u'Z': out += QChar(26); break;
            case u'%': out += QStringLiteral("\\%"); break;
            case u'_': out += QStringLiteral("\\_"); break;
            default: out += QChar(e); break;
            }
        } else if (c == QLatin1Char('\'')) {
            if (i + 1 < sql.size() && sql.at(i + 1) == QLatin1Char('\'')) {
                out += c;
                ++i;
            } else {
                pos = i + 1;
                *value = out;
                return true;
            }
        } else {
            out += c;
        }
    }
    return false;
}
