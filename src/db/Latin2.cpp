#include "db/Latin2.h"

#include "common/Encoding.h"
#include "db/DbError.h"

#include <QHash>
#include <QStringDecoder>
#include <array>

namespace {

bool isCp1250Range(int byte)
{
    return byte >= 0x80 && byte < 0xA0;
}

struct Tables
{
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, uchar> fromUnicode; // only for code points from 0x80 on

    Tables()
    {
        QStringDecoder decoder("ISO-8859-2");
        Q_ASSERT(decoder.isValid());
        char bytes[256];
        for (int i = 0; i < 256; ++i)
            bytes[i] = char(i);
        const QString latin2 = decoder.decode(QByteArrayView(bytes, 256));
        Q_ASSERT(latin2.size() == 256);
        for (int i = 0; i < 256; ++i)
            toUnicode[size_t(i)] = isCp1250Range(i) ? Cp1250Char(uchar(i)).unicode() : latin2.at(i).unicode();
        // Latin2 goes second so that it wins for the letters both hold (Š is A9, not 8A):
        // the server's collation knows only the latin2 byte.
        for (int i = 0x80; i < 0xA0; ++i)
            fromUnicode.insert(toUnicode[size_t(i)], uchar(i));
        for (int i = 0xA0; i < 256; ++i)
            fromUnicode.insert(toUnicode[size_t(i)], uchar(i));
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

// -1 when the register has no code for the character.
inline int codeOf(const Tables &t, char16_t c)
{
    if (c < 0x80)
        return c;
    auto it = t.fromUnicode.constFind(c);
    return it == t.fromUnicode.cend() ? -1 : *it;
}

} // namespace

namespace Latin2 {

QString decode(QByteArrayView bytes)
{
    const Tables &t = tables();
    QString s(bytes.size(), Qt::Uninitialized);
    QChar *out = s.data();
    const uchar *in = reinterpret_cast<const uchar *>(bytes.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(t.toUnicode[in[i]]);
    return s;
}

QString firstUnencodable(QStringView text)
{
    const Tables &t = tables();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (codeOf(t, text[i].unicode()) < 0) {
            if (text[i].isHighSurrogate() && i + 1 < text.size())
                return text.mid(i, 2).toString();
            return QString(text[i]);
        }
    }
    return {};
}

bool canEncode(QStringView text)
{
    const Tables &t = tables();
    for (QChar c : text)
        if (codeOf(t, c.unicode()) < 0)
            return false;
    return true;
}

QByteArray encode(QStringView text)
{
    const Tables &t = tables();
    QByteArray b(text.size(), Qt::Uninitialized);
    char *out = b.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int code = codeOf(t, text[i].unicode());
        if (code < 0) {
            throw EncodingError(QStringLiteral("A szöveg olyan karaktert tartalmaz, amelyet az adatbázis nem "
                                               "tud tárolni: „%1”. Kérem, javítsa.")
                                    .arg(firstUnencodable(text.mid(i))));
        }
        out[i] = char(code);
    }
    return b;
}

} // namespace Latin2
