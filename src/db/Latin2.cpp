#include "db/Latin2.h"

#include "db/DbError.h"

#include <QHash>
#include <QStringDecoder>
#include <array>

namespace {

struct Tables
{
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, char> fromUnicode; // only for code points above 0xA0

    Tables()
    {
        QStringDecoder decoder("ISO-8859-2");
        Q_ASSERT(decoder.isValid());
        char bytes[256];
        for (int i = 0; i < 256; ++i)
            bytes[i] = char(i);
        const QString all = decoder.decode(QByteArrayView(bytes, 256));
        Q_ASSERT(all.size() == 256);
        for (int i = 0; i < 256; ++i) {
            toUnicode[size_t(i)] = all.at(i).unicode();
            if (i >= 0xA0)
                fromUnicode.insert(all.at(i).unicode(), char(i));
        }
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

// -1 when latin2 has no code for the character.
inline int codeOf(const Tables &t, char16_t c)
{
    if (c < 0xA0)
        return c;
    auto it = t.fromUnicode.constFind(c);
    return it == t.fromUnicode.cend() ? -1 : uchar(*it);
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
