#include "common/SqlText.h"

#include "common/Numbers.h"
#include "common/Text.h"

#include <QDateTime>
#include <cmath>

namespace {

// The value as the server reads it inside a string literal.
QString sqlValueText(const QVariant &value)
{
    if (IsNullValue(value))
        return QString();
    switch (value.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return NumberText(value.toDouble(), QLatin1Char('.'));
    default:
        return VarToText(value);
    }
}

bool startsWithWord(const QString &line, QLatin1StringView word)
{
    return line.startsWith(word, Qt::CaseInsensitive);
}

QString joinLines(const QStringList &lines)
{
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString SqlInt(const QVariant &value)
{
    if (IsNullValue(value))
        return QStringLiteral("0");
    switch (value.metaType().id()) {
    case QMetaType::ULongLong:
    case QMetaType::ULong:
        return QString::number(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (!std::isfinite(d) || std::fabs(d) > 9.2e18)
            return QStringLiteral("0");
        return QString::number(qint64(std::nearbyint(d)));
    }
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString t = VarToText(value).trimmed();
        bool ok = false;
        const qint64 v = t.toLongLong(&ok);
        if (ok)
            return QString::number(v);
        const double d = t.toDouble(&ok);
        if (!ok || !std::isfinite(d) || std::fabs(d) > 9.2e18)
            return QStringLiteral("0");
        return QString::number(qint64(std::nearbyint(d)));
    }
    default: {
        bool ok = false;
        const qint64 v = value.toLongLong(&ok);
        return ok ? QString::number(v) : QStringLiteral("0");
    }
    }
}

QString EscapeText(const QVariant &value)
{
    const QString text = sqlValueText(value);
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            out.append(QLatin1String("\\\\"));
        else if (c == QLatin1Char('\r'))
            out.append(QLatin1String("\\r"));
        else if (c == QLatin1Char('\n'))
            out.append(QLatin1String("\\n"));
        else
            out.append(c);
    }
    return out;
}

QString SqlLiteral(const QVariant &value)
{
    QString escaped = EscapeText(value);
    escaped.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

QString EscapeForExport(const QVariant &value)
{
    const QString text = VarToText(value);
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            out.append(QLatin1String("\\\\"));
        else if (c == QLatin1Char('\r'))
            out.append(QLatin1String("\\n"));
        else if (c != QLatin1Char('\n'))
            out.append(c);
    }
    return out;
}

QString UnescapeLineBreaks(const QString &text)
{
    QString t = text;
    t.replace(QLatin1String("\\\\r\\\\n"), QLatin1String("\r\n"), Qt::CaseInsensitive);
    t.replace(QLatin1String("\\r\\n"), QLatin1String("\r\n"), Qt::CaseInsensitive);
    return t;
}

namespace {

// Index just past the literal that opens at start (the whole rest when unclosed).
qsizetype literalEnd(const QString &sql, qsizetype start)
{
    const QChar quote = sql.at(start);
    const bool backslashEscapes = quote != QLatin1Char('`');
    const qsizetype n = sql.size();
    qsizetype j = start + 1;
    while (j < n) {
        const QChar c = sql.at(j);
        if (backslashEscapes && c == QLatin1Char('\\')) {
            j += 2;
        } else if (c == quote) {
            if (j + 1 < n && sql.at(j + 1) == quote)
                j += 2;
            else
                return j + 1;
        } else {
            ++j;
        }
    }
    return n;
}

bool escapedBreakAt(const QString &sql, qsizetype i)
{
    const QStringView rest = QStringView(sql).mid(i);
    return rest.startsWith(u"\\r\\n", Qt::CaseInsensitive) ||
           rest.startsWith(u"\\\\r\\\\n", Qt::CaseInsensitive);
}

// Index of the end of a line comment opening at i: a real line feed or an
// escaped line break (which the replacement turns into a real one).
qsizetype lineCommentEnd(const QString &sql, qsizetype i)
{
    const qsizetype n = sql.size();
    while (i < n && sql.at(i) != QLatin1Char('\n') && !escapedBreakAt(sql, i))
        ++i;
    return i;
}

bool lineCommentAt(const QString &sql, qsizetype i)
{
    if (sql.at(i) == QLatin1Char('#'))
        return true;
    return sql.at(i) == QLatin1Char('-') && i + 1 < sql.size() && sql.at(i + 1) == QLatin1Char('-') &&
           (i + 2 == sql.size() || sql.at(i + 2).isSpace() || sql.at(i + 2).unicode() < 32);
}

} // namespace

QString UnescapeLineBreaksOutsideLiterals(const QString &sql)
{
    // Comments are scanned over so that a quote in them opens no literal.
    QString out;
    out.reserve(sql.size());
    const qsizetype n = sql.size();
    qsizetype segment = 0;
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            out.append(UnescapeLineBreaks(sql.mid(segment, i - segment)));
            const qsizetype end = std::min(literalEnd(sql, i), n);
            out.append(QStringView(sql).mid(i, end - i));
            i = segment = end;
        } else if (lineCommentAt(sql, i)) {
            i = lineCommentEnd(sql, i);
        } else if (c == QLatin1Char('/') && i + 1 < n && sql.at(i + 1) == QLatin1Char('*')) {
            const qsizetype close = sql.indexOf(QLatin1String("*/"), i + 2);
            i = close < 0 ? n : close + 2;
        } else {
            ++i;
        }
    }
    out.append(UnescapeLineBreaks(sql.mid(segment)));
    return out;
}

QString SqlDate(const QDate &date, bool usForm)
{
    if (!date.isValid())
        return QStringLiteral("NULL");
    const QString y = QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
    const QString m = QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0'));
    const QString d = QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0'));
    if (usForm)
        return QLatin1Char('\'') + m + QLatin1Char('/') + d + QLatin1Char('/') + y + QLatin1Char('\'');
    return QLatin1Char('\'') + y + QLatin1Char('-') + m + QLatin1Char('-') + d + QLatin1Char('\'');
}

QString SetOrderBy(QStringList &lines, const QString &field)
{
    for (QString &line : lines) {
        if (startsWithWord(line, QLatin1StringView("ORDER"))) {
            line = QStringLiteral("ORDER BY ") + field + QLatin1Char(';');
            break;
        }
    }
    return joinLines(lines);
}

QString SetWhere(QStringList &lines, const QString &condition, bool firstOnly)
{
    for (QString &line : lines) {
        if (startsWithWord(line, QLatin1StringView("WHERE"))) {
            line = QStringLiteral("WHERE ") + condition;
            if (firstOnly)
                break;
        }
    }
    return joinLines(lines);
}

QString AppendToWhere(QStringList &lines, const QString &text)
{
    for (QString &line : lines) {
        if (!startsWithWord(line.trimmed(), QLatin1StringView("WHERE")))
            continue;
        const qsizetype semicolon = line.indexOf(QLatin1Char(';'));
        if (semicolon >= 0) {
            line.remove(semicolon, 1);
            line += text + QLatin1Char(';');
        } else {
            line += text;
        }
        break;
    }
    return joinLines(lines);
}

QString QuotedIdentifier(const QString &name, bool allowDatabase)
{
    auto quote = [](QString part) -> QString {
        part.replace(QLatin1Char('`'), QLatin1String("``"));
        return QLatin1Char('`') + part + QLatin1Char('`');
    };
    const QString trimmed = name.trimmed();
    const qsizetype dot = allowDatabase ? trimmed.indexOf(QLatin1Char('.')) : -1;
    if (dot < 0)
        return quote(trimmed);
    return quote(trimmed.left(dot)) + QLatin1Char('.') + quote(trimmed.mid(dot + 1));
}

QString EscapeLike(const QString &text)
{
    QString out;
    out.reserve(text.size() + 4);
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            out.append(QLatin1Char('\\'));
        out.append(c);
    }
    return out;
}

QString SearchCondition(const QString &fields, const QString &text, bool asAnd)
{
    return SearchCondition(fields, text, asAnd, [](const QString &field, const QString &, const QString &literal) -> QString {
        return QLatin1Char('(') + field + QStringLiteral(" LIKE ") + literal + QLatin1Char(')');
    });
}

QString SearchCondition(const QString &fields, const QString &text, bool asAnd,
                        const std::function<QString(const QString &, const QString &, const QString &)> &alternative)
{
    QString words = text;
    words.replace(QLatin1Char(','), QLatin1Char(' ')).replace(QLatin1Char(';'), QLatin1Char(' '));
    if (words.trimmed().isEmpty())
        return QString();

    QStringList fieldNames;
    for (int f = 1; f <= 15; ++f) {
        const QString name = Token(QStringLiteral(";"), fields, f);
        if (name.isEmpty())
            break;
        fieldNames << name;
    }

    QStringList groups;
    for (int w = 1; w <= 6; ++w) {
        const QString word = Token(QStringLiteral(" "), words, w);
        if (word.isEmpty())
            continue;
        const QString literal = SqlLiteral(QString(QLatin1Char('%') + EscapeLike(word) + QLatin1Char('%')));
        QStringList alternatives;
        for (const QString &field : std::as_const(fieldNames)) {
            const QString one = alternative(field, word, literal);
            if (!one.isEmpty())
                alternatives << one;
        }
        // A word no field can hold: the group can never be true.
        if (alternatives.isEmpty())
            alternatives << QStringLiteral("FALSE");
        groups << QLatin1Char('(') + alternatives.join(QStringLiteral(" OR ")) + QLatin1Char(')');
    }
    // No field or no word among the first six: no condition rather than "()".
    if (groups.isEmpty() || fieldNames.isEmpty())
        return QString();

    const QString whole = groups.join(QStringLiteral(" AND "));
    if (asAnd)
        return QStringLiteral(" AND (") + whole + QLatin1Char(')');
    return QLatin1Char('(') + whole + QLatin1Char(')');
}

void AppendSqlLiteral(QByteArray &out, QByteArrayView bytes)
{
    out.append('\'');
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    while (p < end) {
        const char *run = p;
        while (p < end && *p != '\'' && *p != '\\' && *p != '\r' && *p != '\n')
            ++p;
        out.append(run, p - run);
        if (p == end)
            break;
        switch (*p++) {
        case '\'':
            out.append("''", 2);
            break;
        case '\\':
            out.append("\\\\", 2);
            break;
        case '\r':
            out.append("\\r", 2);
            break;
        default:
            out.append("\\n", 2);
        }
    }
    out.append('\'');
}
