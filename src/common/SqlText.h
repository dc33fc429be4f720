#pragma once

#include <functional>

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

// SQL literals and in-place editing of list queries kept as lines. Values enter
// SQL text only through these (and NumberText). The server reads backslash escapes
// in string literals (no NO_BACKSLASH_ESCAPES).

// Decimal text of the integer; "0" when NULL or not a number.
QString SqlInt(const QVariant &value);
// The value's text escaped by EscapeText, in single quotes with inner quotes
// doubled; NULL gives ''. Numbers are written with "." and dates as yyyy-mm-dd.
QString SqlLiteral(const QVariant &value);
// Backslashes doubled, CR as \r and LF as \n (two characters each); NULL gives "".
QString EscapeText(const QVariant &value);
// For the delimited-text export: backslashes doubled, CR as \n, LF removed.
QString EscapeForExport(const QVariant &value);
// \\r\\n and then \r\n (as written in text, letter case ignored) become CR LF.
QString UnescapeLineBreaks(const QString &text);
// The same replacements, but only outside '...', "..." and `...` literals, so the
// escaped text a literal holds stays as it was written.
QString UnescapeLineBreaksOutsideLiterals(const QString &sql);
// 'yyyy-mm-dd', or 'mm/dd/yyyy' in the US form; NULL (unquoted) for an invalid date.
QString SqlDate(const QDate &date, bool usForm = false);

// The query line editors below compare the start of a line without regard to
// letter case and return the whole query: the lines joined with "\n" (no trailing
// line break), which is what the list screens hand to the server.

// The first line beginning with "ORDER" becomes "ORDER BY " + field + ";".
QString SetOrderBy(QStringList &lines, const QString &field);
// Lines beginning with "WHERE" (only the first with firstOnly) become "WHERE " + condition.
QString SetWhere(QStringList &lines, const QString &condition, bool firstOnly = true);
// The text is appended to the first line that begins with "WHERE" after trimming;
// a ";" in that line (its first) moves behind the appended text.
QString AppendToWhere(QStringList &lines, const QString &text);

// The search-box condition: each of the first six blank-separated words of the
// text ("," and ";" count as blanks) must occur, as typed, in one of the first
// fifteen ";"-separated fields. Empty for a blank text; with asAnd the form
// " AND (...)" to append to an existing condition.
QString SearchCondition(const QString &fields, const QString &text, bool asAnd = false);
// The same words and groups, each field's alternative written by alternative from the
// field and the word's LIKE literal ("'%word%'"); an empty alternative is left out.
QString SearchCondition(const QString &fields, const QString &text, bool asAnd,
                        const std::function<QString(const QString &field, const QString &word,
                                                    const QString &likeLiteral)> &alternative);
// A table or column name as an identifier: `name`, or `database`.`table` for a
// dotted name; backquotes inside are doubled.
QString QuotedIdentifier(const QString &name, bool allowDatabase = false);
// The text with LIKE's wildcards and escape character escaped by backslash.
QString EscapeLike(const QString &text);

// SqlLiteral of text already in the register's single-byte form, appended to out:
// for writers that pass millions of values and never need them as QString. The
// escapes touch only ASCII, so the bytes come out as SqlLiteral's text would encode.
void AppendSqlLiteral(QByteArray &out, QByteArrayView bytes);
