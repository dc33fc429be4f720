#pragma once

#include <QChar>
#include <QString>

// Tolerant number parsing of typed text and the number literal for SQL.

// The decimal separator of the system (QLocale::system()), unless a test or the
// settings fixed another one with setSystemDecimalSeparator; a null QChar goes
// back to the system's.
QChar systemDecimalSeparator();
void setSystemDecimalSeparator(QChar separator);

// After trimming: the digits, a "-" only as the first character and only the
// first "," or "."; everything else dropped.
QString NumericFilter(const QString &text);
// The integer NumericFilter leaves; 0 when that is empty or not an integer ("12,5" gives 0).
int TextToInt(const QString &text);
// Only digits, ",", "-" and ".".
QString KeepNumberChars(const QString &text);
// Either "," or "." is taken as the decimal mark; the default when the text is
// empty or not a number.
double TextToNumber(const QString &text, double defaultValue);
// General format with up to 15 significant digits ("1.5", "1E20", "1E-5"), with
// "." as decimal mark when the separator is ".", else ",".
QString NumberText(double number, QChar separator);
