#pragma once

#include <QRegularExpression>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

// Colours SQL text: keywords, strings and quoted names, numbers and comments
// (a /* */ comment may run over several lines).
class SqlHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT
public:
    explicit SqlHighlighter(QTextDocument *document);

    // The format given to a kind of text, for the tests.
    enum Kind
    {
        Keyword,
        String,
        Number,
        Comment
    };
    QTextCharFormat format(Kind kind) const { return m_formats[kind]; }

protected:
    void highlightBlock(const QString &text) override;

private:
    QTextCharFormat m_formats[4];
    QRegularExpression m_keywords;
};
