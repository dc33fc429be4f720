#include "output/ui/SqlHighlighter.h"

namespace {

const char *const keywordList[] = {
    "ADD",      "ALL",       "ALTER",      "AND",    "AS",        "ASC",    "BEGIN",    "BETWEEN",
    "BY",       "CALL",      "CASE",       "CHANGE", "COLUMN",    "COMMIT", "CREATE",   "CROSS",
    "DATABASE", "DECLARE",   "DEFAULT",    "DELETE", "DELIMITER", "DESC",   "DESCRIBE", "DISTINCT",
    "DO",       "DROP",      "ELSE",       "ELSEIF", "END",       "EXISTS", "FOREIGN",  "FROM",
    "FUNCTION", "GRANT",     "GROUP",      "HAVING", "IF",        "IGNORE", "IN",       "INDEX",
    "INNER",    "INSERT",    "INTO",       "IS",     "JOIN",      "KEY",    "LEFT",     "LIKE",
    "LIMIT",    "MODIFY",    "NOT",        "NULL",   "ON",        "OR",     "ORDER",    "OUTER",
    "PRIMARY",  "PROCEDURE", "REFERENCES", "RENAME", "REPLACE",   "RETURN", "RETURNS",  "REVOKE",
    "RIGHT",    "ROLLBACK",  "SELECT",     "SET",    "SHOW",      "TABLE",  "TABLES",   "THEN",
    "TRIGGER",  "TRUNCATE",  "UNION",      "UNIQUE", "UPDATE",    "USE",    "USING",    "VALUES",
    "VIEW",     "WHEN",      "WHERE",      "WHILE",  "WITH",
};

QString keywordPattern()
{
    QStringList words;
    for (const char *word : keywordList)
        words << QLatin1String(word);
    return QStringLiteral("\\b(?:") + words.join(QLatin1Char('|')) + QStringLiteral(")\\b");
}

enum State
{
    Plain = 0,
    InComment = 1
};

} // namespace

SqlHighlighter::SqlHighlighter(QTextDocument *document)
    : QSyntaxHighlighter(document), m_keywords(keywordPattern(), QRegularExpression::CaseInsensitiveOption)
{
    m_formats[Keyword].setForeground(QColor(0, 0, 160));
    m_formats[Keyword].setFontWeight(QFont::Bold);
    m_formats[String].setForeground(QColor(160, 0, 0));
    m_formats[Number].setForeground(QColor(128, 0, 128));
    m_formats[Comment].setForeground(QColor(0, 128, 0));
    m_formats[Comment].setFontItalic(true);
}

void SqlHighlighter::highlightBlock(const QString &text)
{
    for (auto it = m_keywords.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        setFormat(int(m.capturedStart()), int(m.capturedLength()), m_formats[Keyword]);
    }
    static const QRegularExpression number(QStringLiteral("\\b\\d+(?:\\.\\d+)?\\b"));
    for (auto it = number.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        setFormat(int(m.capturedStart()), int(m.capturedLength()), m_formats[Number]);
    }

    // One pass for strings and comments, as each hides the other's marks.
    const int n = int(text.size());
    int i = 0;
    if (previousBlockState() == InComment) {
        const int end = int(text.indexOf(QLatin1String("*/")));
        if (end < 0) {
            setFormat(0, n, m_formats[Comment]);
            setCurrentBlockState(InComment);
            return;
        }
        setFormat(0, end + 2, m_formats[Comment]);
        i = end + 2;
    }
    setCurrentBlockState(Plain);
    while (i < n) {
        const QChar c = text[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            int j = i + 1;
            while (j < n && text[j] != c) {
                if (text[j] == QLatin1Char('\\') && c != QLatin1Char('`'))
                    ++j;
                ++j;
            }
            const int end = qMin(j + 1, n);
            setFormat(i, end - i, m_formats[String]);
            i = end;
        } else if (c == QLatin1Char('#') ||
                   (c == QLatin1Char('-') && text.mid(i, 3) == QLatin1String("-- ")) ||
                   (c == QLatin1Char('-') && text.mid(i) == QLatin1String("--"))) {
            setFormat(i, n - i, m_formats[Comment]);
            return;
        } else if (c == QLatin1Char('/') && i + 1 < n && text[i + 1] == QLatin1Char('*')) {
            const int end = int(text.indexOf(QLatin1String("*/"), i + 2));
            if (end < 0) {
                setFormat(i, n - i, m_formats[Comment]);
                setCurrentBlockState(InComment);
                return;
            }
            setFormat(i, end + 2 - i, m_formats[Comment]);
            i = end + 2;
        } else {
            ++i;
        }
    }
}
