#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The register's text is latin2 (ISO-8859-2) on the wire. These convert at that
// boundary; the tables come from QStringDecoder once, the per-call work is a lookup.
namespace Latin2 {

QString decode(QByteArrayView bytes);

// Throws EncodingError naming the first character latin2 cannot hold.
QByteArray encode(QStringView text);

// True when every character of the text has a latin2 code.
bool canEncode(QStringView text);

// The first character that latin2 cannot hold, or a null QChar... as a string
// (it may be a surrogate pair); empty when there is none.
QString firstUnencodable(QStringView text);

} // namespace Latin2
