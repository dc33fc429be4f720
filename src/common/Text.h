#pragma once

#include <QChar>
#include <QDate>
#include <QString>
#include <QVariant>
#include <type_traits>
#include <utility>

// Conversions of nullable values (a database NULL is an invalid or null QVariant)
// and small text routines shared by every screen.

inline bool IsNullValue(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

// The value as text; the default when NULL. Numbers are written with the system
// decimal separator, dates as yyyy-mm-dd, date-times as yyyy-mm-dd hh:mm:ss, bytes
// are read as code page 1250.
QString VarToText(const QVariant &value, const QString &def = QString());
// The value as integer (a fraction rounds to the nearest, ties to even); the
// default when NULL or not a number.
int VarToInt(const QVariant &value, int def = 0);
// The value as floating number; the default when NULL or not a number.
double VarToNumber(const QVariant &value, double def = 0);
// The value as date (the date part of a date-time); the default when NULL or not a date.
QDate VarToDate(const QVariant &value, const QDate &def = QDate());

// The value's text cut to n characters or padded on the right with blanks to n.
QString FixedWidth(const QVariant &value, int n);

// The n-th token (from 1), tokens separated by any one character of the delimiter
// set; two delimiters in a row make an empty token. Trimmed. Empty for n <= 0 or
// beyond the last token.
QString Token(const QString &delimiters, const QString &text, int n);

// Every character a replaced by b; NULL gives the empty text.
QString ReplaceChar(const QVariant &value, QChar a, QChar b);
// Every blank (space) removed.
QString RemoveBlanks(const QString &text);
// Every character of the text that occurs in the set removed.
QString RemoveChars(const QString &set, const QString &text);
// The first or last n characters (all of them when shorter; none for n <= 0).
QString LeftText(const QString &text, int n);
QString RightText(const QString &text, int n);
// The decimal text of the number prefixed with c until it is width long; never cut.
QString PadNumber(qint64 number, int width, QChar c);

// A file-name-safe, lower-case form: blank ! " # % & ' * + / : ? @ \ become "-",
// every character with code page 1250 code 129 or above (or none) becomes "_".
QString SafeFileName(const QString &text);

// The folder of the running program without a trailing separator. Lower-cased on
// Windows only: elsewhere the file system tells letter cases apart.
QString ProgramFolder();

// a when the flag is true, else b. Both are evaluated, as with a function.
template <typename A, typename B>
std::common_type_t<std::decay_t<A>, std::decay_t<B>> Iif(bool flag, A &&a, B &&b)
{
    using R = std::common_type_t<std::decay_t<A>, std::decay_t<B>>;
    return flag ? R(std::forward<A>(a)) : R(std::forward<B>(b));
}

// Text for a caption that Qt reads for a keyboard mnemonic (actions, menus, tabs,
// labels with a buddy): every "&" doubled, so users' names show as they are.
QString LiteralAmpersands(const QString &text);
