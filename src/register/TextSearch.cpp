#include "register/TextSearch.h"

#include "common/SqlText.h"
#include "common/Text.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "register/DocumentFilter.h"

#include <QHash>
#include <QSet>

namespace {

// The server's built-in stopword list (INFORMATION_SCHEMA.INNODB_FT_DEFAULT_STOPWORD,
// which only an account with PROCESS may read).
const QSet<QString> &builtInStopwords()
{
    static const QSet<QString> words = {
        QStringLiteral("a"),     QStringLiteral("about"), QStringLiteral("an"),   QStringLiteral("are"),
        QStringLiteral("as"),    QStringLiteral("at"),    QStringLiteral("be"),   QStringLiteral("by"),
        QStringLiteral("com"),   QStringLiteral("de"),    QStringLiteral("en"),   QStringLiteral("for"),
        QStringLiteral("from"),  QStringLiteral("how"),   QStringLiteral("i"),    QStringLiteral("in"),
        QStringLiteral("is"),    QStringLiteral("it"),    QStringLiteral("la"),   QStringLiteral("of"),
        QStringLiteral("on"),    QStringLiteral("or"),    QStringLiteral("that"), QStringLiteral("the"),
        QStringLiteral("this"),  QStringLiteral("to"),    QStringLiteral("was"),  QStringLiteral("what"),
        QStringLiteral("when"),  QStringLiteral("where"), QStringLiteral("who"),  QStringLiteral("will"),
        QStringLiteral("with"),  QStringLiteral("und"),   QStringLiteral("www"),
    };
    return words;
}

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// The list's name columns are looked up through the document's own key column, so the
// server can test a row before it joins the other tables: searching every row of a
// large register that way takes a fraction of the time. Same rows: a key with no
// named row gives NULL, which no LIKE matches either.
const QHash<QString, QString> &nameLookups()
{
    static const QHash<QString, QString> lookups = {
        {QStringLiteral("ugyf_kitol_nev"), QStringLiteral("ugyf_kitol IN (SELECT ugyfel FROM ugyfel WHERE ugyfel_nev LIKE %1)")},
        {QStringLiteral("ugyf_kinek_nev"), QStringLiteral("ugyf_hova IN (SELECT ugyfel FROM ugyfel WHERE ugyfel_nev LIKE %1)")},
        {QStringLiteral("ugyf_intezkedesre_nev"),
         QStringLiteral("ugyf_intezkedesre IN (SELECT ugyfel FROM ugyfel WHERE ugyfel_nev LIKE %1)")},
        {QStringLiteral("projekt_nev"), QStringLiteral("projekt IN (SELECT projekt FROM projekt WHERE projekt_nev LIKE %1)")},
        {QStringLiteral("munkaszam_nev"),
         QStringLiteral("munkaszam IN (SELECT munkaszam FROM munkaszam WHERE munkaszam_nev LIKE %1)")},
        {QStringLiteral("csoport_nev"), QStringLiteral("csoport IN (SELECT csoport FROM csoport WHERE csoport_nev LIKE %1)")},
    };
    return lookups;
}

// The identifier ("0012/01/00/2024", a key may be negative) holds digits, '/' and '-'
// only: a word with anything else cannot occur in it.
bool mayOccurInIdentifier(const QString &word)
{
    for (const QChar c : word) {
        if ((c < QLatin1Char('0') || c > QLatin1Char('9')) && c != QLatin1Char('/') && c != QLatin1Char('-'))
            return false;
    }
    return true;
}

// The fields' search of documentSearchPiece(text), written so that it costs little on
// every row it does not find.
QString quickFieldsPiece(const QString &text)
{
    static const QString fields = documentSearchExpressions().join(QLatin1Char(';'));
    static const QString identifier = QStringLiteral("CONVERT(iktatoaz USING latin2)");
    return SearchCondition(fields, text, true, [](const QString &field, const QString &word, const QString &literal) -> QString {
        const auto lookup = nameLookups().constFind(field);
        if (lookup != nameLookups().constEnd())
            return QLatin1Char('(') + lookup->arg(literal) + QLatin1Char(')');
        if (field == identifier && !mayOccurInIdentifier(word))
            return QString();
        return QLatin1Char('(') + field + QStringLiteral(" LIKE ") + literal + QLatin1Char(')');
    });
}

// The text stands PassageBefore characters before the hit in the window read.
constexpr int PassageBefore = 150;
constexpr int PassageWindow = 420;
constexpr int PassageLength = 220;

} // namespace

FulltextWords::FulltextWords() : stopwords(builtInStopwords()) {}

FulltextWords readFulltextWords(Connection &connection)
{
    FulltextWords index;
    Dataset settings;
    try {
        settings = connection.query(QStringLiteral(
            "SELECT @@innodb_ft_min_token_size, @@innodb_ft_max_token_size, "
            "@@innodb_ft_user_stopword_table, @@innodb_ft_server_stopword_table"));
    } catch (const DbError &e) {
        // A server without these settings indexes with the defaults.
        if (e.code() != 1193)
            throw;
    }
    if (settings.rowCount() == 0)
        return index;
    index.minLength = int(settings.toInt(0, 0, index.minLength));
    index.maxLength = int(settings.toInt(0, 1, index.maxLength));
    for (const int column : {2, 3}) {
        // "database/table", as the server names it
        const QStringList name = settings.text(0, column).split(QLatin1Char('/'));
        if (name.size() != 2 || name.at(0).isEmpty() || name.at(1).isEmpty())
            continue;
        try {
            const Dataset words = connection.query(QStringLiteral("SELECT value FROM ") + QuotedIdentifier(name.at(0)) + QLatin1Char('.') +
                                                   QuotedIdentifier(name.at(1)));
            for (int r = 0; r < words.rowCount(); ++r)
                index.stopwords.insert(words.text(r, 0).toLower());
        } catch (const DbError &) {
            // Not readable for this account: the built-in list stands.
        }
    }
    return index;
}

QStringList attachmentTextWords(const QString &text, const FulltextWords &index)
{
    QString fields = text;
    fields.replace(QLatin1Char(','), QLatin1Char(' ')).replace(QLatin1Char(';'), QLatin1Char(' '));
    QStringList words;
    QSet<QString> seen;
    for (int f = 1; f <= 6; ++f) {
        const QString field = Token(QStringLiteral(" "), fields, f);
        qsizetype i = 0;
        while (i < field.size()) {
            while (i < field.size() && !isWordCharacter(field.at(i)))
                ++i;
            const qsizetype start = i;
            while (i < field.size() && isWordCharacter(field.at(i)))
                ++i;
            const QString word = field.mid(start, i - start).toLower();
            if (word.size() > index.maxLength)
                return {};
            if (word.size() < index.minLength || index.stopwords.contains(word) || seen.contains(word))
                continue;
            seen.insert(word);
            words << word;
        }
    }
    return words;
}

QString attachmentTextCondition(const QStringList &words)
{
    if (words.isEmpty())
        return QString();
    QStringList required;
    for (const QString &w : words)
        required << QLatin1Char('+') + w;
    return QStringLiteral("iktato IN (SELECT iktato FROM iktato_szoveg WHERE MATCH(szoveg) AGAINST(") +
           SqlLiteral(required.join(QLatin1Char(' '))) + QStringLiteral(" IN BOOLEAN MODE))");
}

QString documentSearchPiece(const QString &text, bool attachmentText, const FulltextWords &index)
{
    const QString fields = documentSearchPiece(text);
    if (!attachmentText || fields.isEmpty())
        return fields;
    const QString inText = attachmentTextCondition(attachmentTextWords(text, index));
    if (inText.isEmpty())
        return fields;
    // " AND (<groups>)": the groups become one side of the OR.
    const QString groups = quickFieldsPiece(text).mid(QStringLiteral(" AND ").size());
    return QStringLiteral(" AND (") + groups + QStringLiteral(" OR ") + inText + QLatin1Char(')');
}

QString textPassageSql(qint64 document, const QStringList &words)
{
    QStringList located, found, positions;
    for (int n = 0; n < words.size(); ++n) {
        const QString p = QStringLiteral("p") + QString::number(n + 1);
        located << QStringLiteral("LOCATE(") + SqlLiteral(words.at(n)) + QStringLiteral(", s.szoveg) AS ") + p;
        found << p + QStringLiteral(" > 0");
        positions << p;
    }
    const QString first = positions.size() == 1
                              ? positions.first()
                              : QStringLiteral("LEAST(") + positions.join(QStringLiteral(", ")) + QLatin1Char(')');
    // Only the window around the hit comes over the wire, never the whole text.
    return QStringLiteral("SELECT origfilenev, ") + first + QStringLiteral(" AS hol, GREATEST(1, ") + first +
           QStringLiteral(" - ") + QString::number(PassageBefore) + QStringLiteral(") AS tol, SUBSTRING(szoveg, GREATEST(1, ") +
           first + QStringLiteral(" - ") + QString::number(PassageBefore) + QStringLiteral("), ") +
           QString::number(PassageWindow) + QStringLiteral(") AS resz, CHAR_LENGTH(szoveg) AS hossz\n") +
           QStringLiteral("FROM (SELECT s.iktato_file, f.origfilenev, s.szoveg, ") +
           located.join(QStringLiteral(", ")) +
           QStringLiteral("\n      FROM iktato_szoveg s LEFT JOIN iktato_file f ON (f.iktato_file = s.iktato_file)\n"
                          "      WHERE s.iktato = ") +
           QString::number(document) + QStringLiteral(") d\nWHERE ") + found.join(QStringLiteral(" AND ")) +
           QStringLiteral("\nORDER BY iktato_file LIMIT 1;");
}

TextPassage readTextPassage(Connection &connection, qint64 document, const QStringList &words)
{
    if (words.isEmpty() || document <= 0)
        return {};
    const Dataset found = connection.query(textPassageSql(document, words));
    if (found.rowCount() == 0)
        return {};
    const int at = int(found.toInt(0, found.fieldIndex(u"hol")));
    const int from = int(found.toInt(0, found.fieldIndex(u"tol")));
    const int length = int(found.toInt(0, found.fieldIndex(u"hossz")));
    const QString window = found.text(0, found.fieldIndex(u"resz"));
    TextPassage passage;
    passage.fileName = found.text(0, found.fieldIndex(u"origfilenev"));
    passage.text = passageAround(window, at - from, PassageLength, from <= 1,
                                 from - 1 + window.size() >= length);
    return passage;
}

QString passageAround(const QString &window, int offset, int length, bool windowStartsText, bool windowEndsText)
{
    offset = qBound(0, offset, int(window.size()));
    qsizetype start = qMax(0, offset - length / 3);
    qsizetype end = qMin(window.size(), start + length);
    start = qMax(qsizetype(0), qMin(start, end - length));
    // A cut inside a word moves to the word's edge, never past the hit.
    if (start > 0 && isWordCharacter(window.at(start - 1))) {
        qsizetype s = start;
        while (s < offset && isWordCharacter(window.at(s)))
            ++s;
        if (s < offset)
            start = s;
    }
    if (end < window.size() && isWordCharacter(window.at(end))) {
        qsizetype e = end;
        while (e > offset && isWordCharacter(window.at(e - 1)))
            --e;
        if (e > offset)
            end = e;
    }
    QString text = window.mid(start, end - start).simplified();
    if (start > 0 || !windowStartsText)
        text.prepend(QStringLiteral("…"));
    if (end < window.size() || !windowEndsText)
        text.append(QStringLiteral("…"));
    return text;
}
