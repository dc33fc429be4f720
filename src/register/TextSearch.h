#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

class Connection;

// Searching the text read from attached files (iktato_szoveg, FULLTEXT in boolean mode).

// The words the server's FULLTEXT index keeps: minLength to maxLength characters, not a
// stopword. The defaults are the server's own.
struct FulltextWords
{
    int minLength = 3;
    int maxLength = 84;
    QSet<QString> stopwords; // in lower case; the built-in list by default
    FulltextWords();
};
// The server's settings (token sizes; the stopword table named for the session or the
// server, added to the built-in list: a word wrongly left out only widens a search,
// a word the index never held would make it find nothing). A stopword table that cannot
// be read leaves the built-in list.
FulltextWords readFulltextWords(Connection &connection);

// The words the text must hold for a search box text: the same first six fields the
// fields' search takes, cut where the server's word parser cuts (anything but letters,
// digits and '_'), so no boolean operator of the user's survives. Words the index never
// holds (shorter than three characters, the server's stopwords) are left out, as the
// server would ignore them anyway. Empty when none is left, or when a word is longer
// than the index keeps: then no text can hold every word.
QStringList attachmentTextWords(const QString &text, const FulltextWords &index = FulltextWords());

// "iktato IN (SELECT iktato FROM iktato_szoveg WHERE MATCH(szoveg) AGAINST('+w1 +w2' IN
// BOOLEAN MODE))"; empty for no words.
QString attachmentTextCondition(const QStringList &words);

// The search box's piece with the attached files' text searched as well: the fields'
// search, or every word in one attachment's text. Exactly documentSearchPiece(text)
// when the text gives no word for the index.
QString documentSearchPiece(const QString &text, bool attachmentText, const FulltextWords &index = FulltextWords());

// A stretch of the matching text of one attachment of a document.
struct TextPassage
{
    QString fileName; // the attachment's original name
    QString text;     // empty: no attachment of the document holds every word
};

// The query that reads, for the document's first attachment whose text holds every
// word, its name, where the first word stands and the text around it; no row when none
// holds them all.
QString textPassageSql(qint64 document, const QStringList &words);
// Reads it; an empty passage when the words are empty or nothing matches.
TextPassage readTextPassage(Connection &connection, qint64 document, const QStringList &words);
// About length characters of window around the character at offset, cut at word
// boundaries where it can, with "…" where text was left off on either side.
// windowStartsText / windowEndsText: the window holds the text's own start / end.
QString passageAround(const QString &window, int offset, int length, bool windowStartsText,
                      bool windowEndsText);
