#pragma once

#include <QByteArray>
#include <QString>

// The program's text model is single-byte code page 1250. These convert between
// QString and that byte form, and hold the few encodings the outputs need.

// The code page 1250 byte of a character; -1 when the code page has none. The
// five bytes the code page leaves unassigned (81, 83, 88, 90, 98) stand for the
// C1 control characters of the same number, so every byte survives a round trip.
int Cp1250Code(QChar c);
// The character a code page 1250 byte stands for.
QChar Cp1250Char(uchar code);

// Unencodable characters become "?".
QByteArray ToCp1250(const QString &text);
QString FromCp1250(const QByteArray &bytes);

// UTF-8 bytes of the text, for files written in UTF-8.
QByteArray ToUtf8(const QString &text);

// Standard Base64 (RFC 4648 alphabet, "=" padding, no line breaks). The text form
// encodes the text's code page 1250 bytes.
QString Base64(const QByteArray &bytes);
QString Base64(const QString &text);
QString Base64(const char *text);

// Turns UTF-8 that was read byte by byte as code page 1250 into proper Hungarian
// code page 1250 text.
QByteArray RepairUtf8(const QByteArray &cp1250Bytes);
// The same on text whose characters stand for those bytes.
QString RepairUtf8(const QString &text);

// The MIME type by a file extension (with or without its leading dot); only its
// first three characters count, so "docx" maps like "doc". Empty when unknown.
QString MimeType(const QString &extension);
