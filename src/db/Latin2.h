#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The register's text on the wire: latin2 (ISO-8859-2) for every character latin2
// holds, and the code page 1250 byte for the typographic characters only that code
// page holds („ ” – — … € and the like, its 0x80–0x9F range, where latin2 has only
// control codes and so no letter of the server's collation). Reading maps 0x80–0x9F
// back through code page 1250, so text a code page 1250 client wrote reads right too.
// The tables are built once; the per-call work is a lookup.
namespace Latin2 {

QString decode(QByteArrayView bytes);

// Throws EncodingError naming the first character the register cannot hold.
QByteArray encode(QStringView text);

// True when every character of the text can be sent.
bool canEncode(QStringView text);

// The first character the register cannot hold, as a string (it may be a
// surrogate pair); empty when there is none.
QString firstUnencodable(QStringView text);

} // namespace Latin2
