#pragma once

#include <QList>
#include <QRectF>
#include <QString>

// EAN-8 symbols drawn from zint's vector output.

// The check digit of seven digits as the EAN standard computes it; -1 when the
// text is not seven digits.
int Ean8CheckDigit(const QString &sevenDigits);
// The bars of the symbol of seven digits, as fractions of the symbol's width
// (x and width in 0..1, every bar the full height); empty when the text is not
// seven digits.
QList<QRectF> Ean8Bars(const QString &sevenDigits);
