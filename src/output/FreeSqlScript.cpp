#include "output/FreeSqlScript.h"

#include "db/Connection.h"

#include <QRegularExpression>

namespace FreeSql {

namespace {

QStringList lines(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    return text.split(lineBreak);
}

// Reads the script one line at a time and hands out each finished statement.
class LineReader
{
public:
    // The statement that this line completes, or an empty optional.
    std::optional<QString> feed(const QString &rawLine)
    {
        const QString line = rawLine.trimmed();
        if (line.isEmpty())
            return std::nullopt;
        // Only the lower-case word counts: "DELIMITER $$" stays part of a statement.
        if (line.startsWith(QLatin1String("delimiter"))) {
            const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (words.size() > 1)
                m_delimiter = words[1];
            return std::nullopt;
        }
        m_buffer << line;
        if (!line.endsWith(m_delimiter))
            return std::nullopt;
        QString statement = m_buffer.join(QLatin1Char('\n')).trimmed();
        statement.chop(m_delimiter.size());
        m_buffer.clear();
        return statement.trimmed();
    }

private:
    QString m_delimiter = QStringLiteral(";");
    QStringList m_buffer;
};

} // namespace

std::optional<QString> requestedTable(const QString &editorText)
{
    const QString first = lines(editorText).value(0);
    if (!first.toLower().startsWith(QLatin1String("table")))
        return std::nullopt;
    const qsizetype colon = first.indexOf(QLatin1Char(':'));
    return colon < 0 ? QString() : first.mid(colon + 1).trimmed();
}

bool isQuery(const QString &statement)
{
    const QString s = statement.trimmed().toUpper();
    return s.startsWith(QLatin1String("SELECT")) || s.startsWith(QLatin1String("SHOW"));
}

QString firstStatement(const QString &text)
{
    const qsizetype end = text.indexOf(QLatin1Char(';'));
    return end < 0 ? text : text.left(end);
}

QStringList scriptStatements(const QString &script)
{
    QStringList statements;
    LineReader reader;
    for (const QString &line : lines(script))
        if (std::optional<QString> statement = reader.feed(line))
            statements << *statement;
    return statements;
}

ScriptOutcome runScript(Connection &connection, const QString &script,
                        const std::function<bool(int done, int total)> &progress)
{
    ScriptOutcome outcome;
    const QStringList all = lines(script);
    const int total = int(all.size());
    LineReader reader;
    for (int i = 0; i < total; ++i) {
        if (std::optional<QString> statement = reader.feed(all[i]); statement && !statement->isEmpty()) {
            try {
                connection.exec(*statement);
            } catch (const KorvenaError &e) {
                outcome.status = ScriptOutcome::Failed;
                outcome.error = e.text();
                outcome.failedStatement = *statement;
                return outcome;
            }
            ++outcome.executed;
        }
        if (progress && !progress(i + 1, total)) {
            outcome.status = i + 1 < total ? ScriptOutcome::Stopped : ScriptOutcome::Completed;
            return outcome;
        }
    }
    return outcome;
}

} // namespace FreeSql
