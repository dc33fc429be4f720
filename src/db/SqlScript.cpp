#include "db/SqlScript.h"

namespace SqlScript {

namespace {

bool isSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r') || c == QLatin1Char('\f') || c == QLatin1Char('\v');
}

class Splitter
{
public:
    explicit Splitter(const QString &script) : m_s(script) {}

    QStringList run()
    {
        const qsizetype n = m_s.size();
        while (m_pos < n) {
            const QChar c = m_s[m_pos];
            if ((c == QLatin1Char('D') || c == QLatin1Char('d')) && !m_hasContent && atLineStart() &&
                readDelimiterLine())
                continue;
            if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
                copyQuoted(c);
            } else if (c == QLatin1Char('#') || isDashComment()) {
                skipLineComment();
            } else if (c == QLatin1Char('/') && peek(1) == QLatin1Char('*')) {
                blockComment();
            } else if (QStringView(m_s).mid(m_pos).startsWith(m_delimiter)) {
                m_pos += m_delimiter.size();
                finishStatement();
            } else {
                append(c);
                ++m_pos;
            }
        }
        finishStatement();
        return m_statements;
    }

private:
    QChar peek(qsizetype ahead) const
    {
        const qsizetype i = m_pos + ahead;
        return i < m_s.size() ? m_s[i] : QChar();
    }

    bool atLineStart() const
    {
        for (qsizetype i = m_pos - 1; i >= 0; --i) {
            if (m_s[i] == QLatin1Char('\n'))
                return true;
            if (!isSpace(m_s[i]))
                return false;
        }
        return true;
    }

    void append(QChar c)
    {
        m_current += c;
        if (!isSpace(c))
            m_hasContent = true;
    }

    // "DELIMITER x" at the start of a statement: the first word after it is the
    // new delimiter.
    bool readDelimiterLine()
    {
        qsizetype i = m_pos;
        static const QString keyword = QStringLiteral("DELIMITER");
        if (QStringView(m_s).mid(i, keyword.size()).compare(keyword, Qt::CaseInsensitive) != 0)
            return false;
        i += keyword.size();
        if (i < m_s.size() && !isSpace(m_s[i]))
            return false;
        qsizetype end = m_s.indexOf(QLatin1Char('\n'), i);
        if (end < 0)
            end = m_s.size();
        while (i < end && isSpace(m_s[i]))
            ++i;
        qsizetype wordEnd = i;
        while (wordEnd < end && !isSpace(m_s[wordEnd]))
            ++wordEnd;
        if (wordEnd > i)
            m_delimiter = m_s.mid(i, wordEnd - i);
        m_pos = end;
        return true;
    }

    // "--" starts a comment only when followed by white space or the end.
    bool isDashComment() const
    {
        if (m_s[m_pos] != QLatin1Char('-') || peek(1) != QLatin1Char('-'))
            return false;
        const QChar next = peek(2);
        return next.isNull() || isSpace(next);
    }

    void skipLineComment()
    {
        const qsizetype end = m_s.indexOf(QLatin1Char('\n'), m_pos);
        m_pos = end < 0 ? m_s.size() : end; // the line break stays
    }

    void blockComment()
    {
        const QChar kind = peek(2);
        const bool executable = kind == QLatin1Char('!') || kind == QLatin1Char('+') ||
                                (kind == QLatin1Char('M') && peek(3) == QLatin1Char('!'));
        qsizetype end = m_s.indexOf(QStringLiteral("*/"), m_pos + 2);
        end = end < 0 ? m_s.size() : end + 2;
        if (executable) {
            m_current += QStringView(m_s).mid(m_pos, end - m_pos);
            m_hasContent = true;
        } else if (!m_current.isEmpty() && !isSpace(m_current.back())) {
            m_current += QLatin1Char(' '); // "SELECT/**/1" must not become "SELECT1"
        }
        m_pos = end;
    }

    void copyQuoted(QChar quote)
    {
        const bool backslashEscapes = quote != QLatin1Char('`');
        m_hasContent = true;
        m_current += quote;
        ++m_pos;
        while (m_pos < m_s.size()) {
            const QChar c = m_s[m_pos];
            if (backslashEscapes && c == QLatin1Char('\\') && m_pos + 1 < m_s.size()) {
                m_current += c;
                m_current += m_s[m_pos + 1];
                m_pos += 2;
                continue;
            }
            m_current += c;
            ++m_pos;
            if (c == quote) {
                if (peek(0) == quote) { // doubled: still inside
                    m_current += quote;
                    ++m_pos;
                    continue;
                }
                return;
            }
        }
    }

    void finishStatement()
    {
        const QString statement = m_current.trimmed();
        if (!statement.isEmpty())
            m_statements << statement;
        m_current.clear();
        m_hasContent = false;
    }

    const QString &m_s;
    qsizetype m_pos = 0;
    QString m_delimiter = QStringLiteral(";");
    QString m_current;
    bool m_hasContent = false;
    QStringList m_statements;
};

} // namespace

QStringList split(const QString &script)
{
    return Splitter(script).run();
}

} // namespace SqlScript
