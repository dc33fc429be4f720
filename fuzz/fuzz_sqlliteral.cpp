// SqlLiteral and the search-box condition: whatever the user types stays inside
// literals, each literal closes, and reads back as the text it came from.
#include "FuzzSupport.h"
#include "common/SqlText.h"
#include "common/Text.h"

#include <QStringList>

namespace {

const QStringList kFields = {QStringLiteral("iktatoaz"), QStringLiteral("targy"), QStringLiteral("megjegyzes")};

QString unescapeLike(const QString &pattern)
{
    QString out;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern.at(i) == QLatin1Char('\\') && i + 1 < pattern.size())
            ++i;
        out += pattern.at(i);
    }
    return out;
}

void checkLiteral(const QString &text)
{
    const QString literal = SqlLiteral(text);
    qsizetype pos = 0;
    QString value;
    FUZZ_CHECK(readSqlLiteral(literal, pos, &value));
    FUZZ_CHECK(pos == literal.size());
    FUZZ_CHECK(value == text);
}

void checkSearchCondition(const QString &text, bool asAnd)
{
    const QString condition = SearchCondition(kFields.join(QLatin1Char(';')), text, asAnd);
    if (condition.isEmpty()) {
        QString blanks = text;
        blanks.replace(QLatin1Char(','), QLatin1Char(' ')).replace(QLatin1Char(';'), QLatin1Char(' '));
        // Only the first six blank-separated tokens count, empty ones too.
        for (int w = 1; w <= 6; ++w)
            FUZZ_CHECK(Token(QStringLiteral(" "), blanks, w).isEmpty());
        return;
    }
    // Outside the literals only the fixed frame may stand.
    QString frame;
    QStringList patterns;
    for (qsizetype i = 0; i < condition.size();) {
        if (condition.at(i) == QLatin1Char('\'')) {
            QString value;
            FUZZ_CHECK(readSqlLiteral(condition, i, &value));
            patterns << value;
            frame += QLatin1Char('?');
        } else {
            frame += condition.at(i++);
        }
    }
    FUZZ_CHECK(!patterns.isEmpty() && patterns.size() % kFields.size() == 0);
    const qsizetype words = patterns.size() / kFields.size();
    FUZZ_CHECK(words <= 6);
    QStringList alternatives;
    for (const QString &f : kFields)
        alternatives << QLatin1Char('(') + f + QStringLiteral(" LIKE ?)");
    const QString group = QLatin1Char('(') + alternatives.join(QStringLiteral(" OR ")) + QLatin1Char(')');
    QStringList groups;
    for (qsizetype w = 0; w < words; ++w)
        groups << group;
    const QString whole = groups.join(QStringLiteral(" AND "));
    FUZZ_CHECK(frame == (asAnd ? QStringLiteral(" AND (") + whole + QLatin1Char(')') : QLatin1Char('(') + whole + QLatin1Char(')')));

    // Each pattern is one typed word between wildcards, its own wildcards escaped.
    for (qsizetype p = 0; p < patterns.size(); ++p) {
        const QString &pattern = patterns.at(p);
        FUZZ_CHECK(pattern.size() >= 3 && pattern.startsWith(QLatin1Char('%')) && pattern.endsWith(QLatin1Char('%')));
        FUZZ_CHECK(pattern == patterns.at(p - p % kFields.size()));
        const QString inner = pattern.mid(1, pattern.size() - 2);
        FUZZ_CHECK(inner == EscapeLike(unescapeLike(inner)));
        const QString word = unescapeLike(inner);
        FUZZ_CHECK(!word.contains(QLatin1Char(' ')) && !word.contains(QLatin1Char(',')) && !word.contains(QLatin1Char(';')));
        FUZZ_CHECK(text.contains(word));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = textOf(data, size);
    checkLiteral(text);
    checkSearchCondition(text, size % 2 == 0);
    return 0;
}
