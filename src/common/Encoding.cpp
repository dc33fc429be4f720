#include "common/Encoding.h"

#include <QHash>
#include <QStringDecoder>
#include <array>

namespace {

struct Cp1250Table
{
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, uchar> fromUnicode;

    Cp1250Table()
    {
        QStringDecoder decoder("windows-1250");
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QString s = decoder.decode(QByteArrayView(&byte, 1));
            char16_t u = char16_t(b);
            if (s.size() == 1 && s.at(0) != QChar::ReplacementCharacter)
                u = s.at(0).unicode();
            toUnicode[size_t(b)] = u;
            fromUnicode.insert(u, uchar(b));
        }
    }
};

const Cp1250Table &table()
{
    static const Cp1250Table t;
    return t;
}

} // namespace

int Cp1250Code(QChar c)
{
    if (c.unicode() < 0x80)
        return c.unicode();
    const auto &map = table().fromUnicode;
    const auto it = map.constFind(c.unicode());
    return it == map.constEnd() ? -1 : int(it.value());
}

QChar Cp1250Char(uchar code)
{
    return QChar(table().toUnicode[code]);
}

QByteArray ToCp1250(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const int code = Cp1250Code(c);
        out.append(code < 0 ? '?' : char(code));
    }
    return out;
}

QString FromCp1250(const QByteArray &bytes)
{
    const auto &map = table().toUnicode;
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *d = out.data();
    for (const char b : bytes)
        *d++ = QChar(map[uchar(b)]);
    return out;
}

QByteArray ToUtf8(const QString &text)
{
    return text.toUtf8();
}

QString Base64(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toBase64());
}

QString Base64(const QString &text)
{
    return Base64(ToCp1250(text));
}

QString Base64(const char *text)
{
    return Base64(QByteArray(text));
}

namespace {

uchar repairedFollower(uchar x)
{
    switch (x) {
    case 0xA1:
        return 0xE1;
    case 0xA9:
        return 0xE9;
    case 0xAD:
        return 0xED;
    case 0xB3:
        return 0xF3;
    case 0xB6:
        return 0xF6;
    case 0xB5:
        return 0xF5;
    case 0x91:
        return 0xF5;
    case 0xBA:
        return 0xFA;
    case 0xBC:
        return 0xFC;
    case 0xBB:
        return 0xFB;
    case 0x81:
        return 0xC1;
    case 0x89:
        return 0xC9;
    case 0x8D:
        return 0xCD;
    case 0x93:
        return 0xD3;
    case 0x96:
        return 0xD6;
    case 0x90:
        return 0xD5;
    case 0x9A:
        return 0xDA;
    case 0x9C:
        return 0xDC;
    case 0xB1:
        return 0xDB;
    case 0xB0:
        return 0xDB;
    default:
        return x;
    }
}

QByteArray removePairs(const QByteArray &in, char a, char b)
{
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == a && i + 1 < in.size() && in[i + 1] == b)
            ++i;
        else
            out.append(in[i]);
    }
    return out;
}

} // namespace

QByteArray RepairUtf8(const QByteArray &cp1250Bytes)
{
    // "ű" first: its lead byte C5 is rewritten below. The pair is matched without
    // regard to case, and the lower-case partner of C5 ("Ĺ") in code page 1250 is E5.
    QByteArray s;
    s.reserve(cp1250Bytes.size());
    for (qsizetype i = 0; i < cp1250Bytes.size(); ++i) {
        const uchar b = uchar(cp1250Bytes[i]);
        if ((b == 0xC5 || b == 0xE5) && i + 1 < cp1250Bytes.size() && uchar(cp1250Bytes[i + 1]) == 0xB1) {
            s.append(char(0xFB));
            ++i;
        } else {
            s.append(char(b));
        }
    }

    // Registered and trade-mark signs carry nothing Hungarian.
    s = removePairs(s, char(0xC2), char(0xAE));
    s = removePairs(s, char(0xE2), char(0x84));

    s.replace(char(0xC5), char(0xC3));

    for (qsizetype i = s.size() - 2; i >= 0; --i) {
        const uchar b = uchar(s[i]);
        if (b == 0xC3) {
            s[i + 1] = char(repairedFollower(uchar(s[i + 1])));
        } else if ((b == 'a' || b == 'e' || b == 'i') && i + 2 < s.size() && uchar(s[i + 1]) == 0xCC &&
                   uchar(s[i + 2]) == 0x81) {
            s[i] = char(b == 'a' ? 0xE1 : b == 'e' ? 0xE9 : 0xED);
        }
    }

    QByteArray out;
    out.reserve(s.size());
    for (const char c : std::as_const(s)) {
        const uchar b = uchar(c);
        if (b != 0x81 && b != 0xC3 && b != 0xCC)
            out.append(c);
    }
    return out;
}

QString RepairUtf8(const QString &text)
{
    return FromCp1250(RepairUtf8(ToCp1250(text)));
}

QString MimeType(const QString &extension)
{
    QString key = extension;
    if (key.startsWith(QLatin1Char('.')))
        key.remove(0, 1);
    key = key.left(3).toLower();

    static const QHash<QString, QString> types = {
        {QStringLiteral("pdf"), QStringLiteral("application/pdf")},
        {QStringLiteral("xls"), QStringLiteral("application/vnd.ms-excel")},
        {QStringLiteral("doc"), QStringLiteral("application/msword")},
        {QStringLiteral("jpg"), QStringLiteral("image/jpeg")},
        {QStringLiteral("exe"), QStringLiteral("application/octet-stream")},
        {QStringLiteral("zip"), QStringLiteral("application/zip")},
        {QStringLiteral("rar"), QStringLiteral("application/rar")},
        {QStringLiteral("7z"), QStringLiteral("application/7z")},
        {QStringLiteral("mp3"), QStringLiteral("audio/mpeg")},
    };
    return types.value(key);
}
