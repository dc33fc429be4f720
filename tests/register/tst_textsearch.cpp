#include "DocumentFixture.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "common/SqlText.h"
#include "db/DbHelpers.h"
#include "register/DocumentFilter.h"
#include "register/DocumentListQuery.h"
#include "register/TextSearch.h"

#include <QtTest>
#include <memory>

// The list's search in the text read from attached files: which documents a search
// brings back through their text, how the user's text is made safe for the server's
// boolean mode, and the passage shown for the current document.
class TestTextSearch : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

    // The list's keys for a search as the main window runs it: user 1, all directions.
    static QList<qint64> listed(const QString &text, bool inText, int year = 0)
    {
        DocumentFilter filter;
        filter.year = year;
        DocumentListQuery query;
        query.setCondition(filter.compose(AllDirections, 1) + documentSearchPiece(text, inText));
        query.setOrder(QStringLiteral("iktato"));
        const Dataset rows = db().query(query.sql());
        QList<qint64> keys;
        for (int r = 0; r < rows.rowCount(); ++r)
            keys << rows.toInt(r, rows.fieldIndex(u"iktato"), 0);
        return keys;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>();
        DocumentFixture::load();
        // Attachments 1 and 2 belong to 101, 3 to 103 (the fixture's); the rest are texts
        // of documents the list must never show through them: deleted (107), another
        // group's (108), and one of an earlier year (105).
        ExecSql(QStringLiteral(
            "INSERT INTO iktato_szoveg (iktato_file, iktato, szoveg, modszer) VALUES "
            "(1, 101, 'A díj emeléséről szóló értesítés. Árvíztűrő tükörfúrógép.', 'pdf'), "
            "(2, 101, 'Második melléklet: csak a kémény állapota.', 'pdf'), "
            "(3, 103, 'Válasz: a kéményseprő jövő kedden érkezik, bérleti ügyben, a tükörfúrógép javítva.', 'doc'), "
            "(10, 107, 'tükörfúrógép kéményseprő törölt', 'pdf'), "
            "(11, 108, 'tükörfúrógép kéményseprő titkos', 'pdf'), "
            "(12, 105, 'tükörfúrógép régi', 'pdf')"));
    }
    void cleanupTestCase() { m_db.reset(); }

    // With the choice on, the fields' matches and the text's matches together; the
    // filter's own rules hold for both.
    void findsDocumentsByTheirText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("year");
        QTest::addColumn<QList<qint64>>("keys");
        const QList<qint64> drill{101, 103, 105};
        QTest::newRow("word only in the text") << "tükörfúrógép" << 0 << drill;
        QTest::newRow("capitals") << "TÜKÖRFÚRÓGÉP" << 0 << drill;
        QTest::newRow("the year tab holds") << "tükörfúrógép" << 2024 << QList<qint64>{101, 103};
        QTest::newRow("both words in one text") << "kéményseprő jövő" << 0 << QList<qint64>{103};
        QTest::newRow("words of two documents") << "kéményseprő emeléséről" << 0 << QList<qint64>{};
        QTest::newRow("fields or text") << "bérleti" << 0 << QList<qint64>{101, 103};
        QTest::newRow("a field word and a text word") << "kiss tükörfúrógép" << 0 << QList<qint64>{};
        // The user's operators are plain text: no exclusion, no prefix, no phrase.
        QTest::newRow("minus") << "+tükörfúrógép -kéményseprő" << 0 << QList<qint64>{103};
        QTest::newRow("star") << "tükör*" << 0 << QList<qint64>{};
        QTest::newRow("quotes") << "\"árvíztűrő tükörfúrógép\"" << 0 << QList<qint64>{101};
        QTest::newRow("unbalanced quote and bracket") << "\"(tükörfúrógép" << 0 << drill;
        QTest::newRow("apostrophe") << "d'tükörfúrógép" << 0 << drill;
        QTest::newRow("backslash") << "tükörfúrógép\\" << 0 << drill;
        QTest::newRow("other operators") << "@tükörfúrógép~ <>" << 0 << drill;
        // Words the index never holds do not make the text unmatchable.
        QTest::newRow("short word") << "az tükörfúrógép" << 0 << drill;
        QTest::newRow("stopword") << "the tükörfúrógép" << 0 << drill;
        QTest::newRow("all words short") << "ab cd" << 0 << QList<qint64>{};
        QTest::newRow("many words, six count") << QString(QStringLiteral("tükörfúrógép ")).repeated(2000) << 0 << drill;
        QTest::newRow("word longer than the index keeps") << QString(100, QLatin1Char('x')) + QStringLiteral(" tükörfúrógép") << 0
                                                         << QList<qint64>{};
    }
    void findsDocumentsByTheirText()
    {
        QFETCH(QString, text);
        QFETCH(int, year);
        QFETCH(QList<qint64>, keys);
        QCOMPARE(listed(text, true, year), keys);
    }

    // Without the choice the piece is the fields' search, word for word, and so are the rows.
    void withoutTheChoiceNothingChanges_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<qint64>>("keys");
        QTest::newRow("text word") << "tükörfúrógép" << QList<qint64>{};
        QTest::newRow("field word") << "bérleti" << QList<qint64>{101};
        QTest::newRow("two words") << "kiss, pecs" << QList<qint64>{101, 103};
        QTest::newRow("operators") << "+kiss -\"pécs" << QList<qint64>{};
        QTest::newRow("percent") << "50%" << QList<qint64>{102};
        QTest::newRow("blank") << "  " << QList<qint64>{101, 102, 103, 104, 105, 106};
    }
    void withoutTheChoiceNothingChanges()
    {
        QFETCH(QString, text);
        QFETCH(QList<qint64>, keys);
        QCOMPARE(documentSearchPiece(text, false), documentSearchPiece(text));
        QCOMPARE(listed(text, false), keys);
    }

    // With the choice on, the fields' side is written for speed (names through the
    // document's key columns, the identifier only for words it can hold): it must find
    // exactly the rows the fields' search finds without the choice.
    void fieldsFindTheSameRowsWithTheChoice_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<qint64>>("keys");
        QTest::newRow("sender or addressee") << "kiss" << QList<qint64>{101, 103, 105, 106};
        QTest::newRow("two words of a name, a sender gone") << "nagy anna" << QList<qint64>{101, 102, 103};
        QTest::newRow("to act on") << "kovács" << QList<qint64>{102, 104};
        QTest::newRow("apostrophe in a name") << "O'Neil" << QList<qint64>{105};
        QTest::newRow("project") << "árvízvédelem" << QList<qint64>{104};
        QTest::newRow("work number") << "msz-77" << QList<qint64>{104};
        QTest::newRow("group") << "pénzügy" << QList<qint64>{101, 102, 103, 104, 105, 106};
        QTest::newRow("keywords") << "lezárt" << QList<qint64>{104};
        QTest::newRow("reference") << "a_b" << QList<qint64>{102};
        QTest::newRow("backslash") << "c:\\dok" << QList<qint64>{104};
        QTest::newRow("identifier") << "0103/02/01" << QList<qint64>{103};
        QTest::newRow("identifier year") << "/2023" << QList<qint64>{105};
        QTest::newRow("year in any field") << "2024 kiss" << QList<qint64>{101, 103};
        QTest::newRow("identifier and a name") << "0101 kiss" << QList<qint64>{101};
        QTest::newRow("a name nobody bears") << "zzzyyy" << QList<qint64>{};
    }
    void fieldsFindTheSameRowsWithTheChoice()
    {
        QFETCH(QString, text);
        QFETCH(QList<qint64>, keys);
        ExecSql(QStringLiteral("START TRANSACTION"));
        const auto rollBack = qScopeGuard([] { ExecSql(QStringLiteral("ROLLBACK")); });
        // A project, a work number, a party to act, keywords, a renamed group, and a
        // sender whose row is gone (106).
        ExecSql(QStringLiteral("INSERT INTO projekt (projekt, projekt_nev) VALUES (1, 'Árvízvédelem')"));
        ExecSql(QStringLiteral("INSERT INTO munkaszam (munkaszam, munkaszam_nev) VALUES (1, 'MSZ-77')"));
        ExecSql(QStringLiteral("UPDATE iktato SET projekt = 1, munkaszam = 1, ugyf_intezkedesre = 3, "
                               "kulcsszavak = 'lezárt, sürgős' WHERE iktato = 104"));
        ExecSql(QStringLiteral("UPDATE iktato SET ugyf_kitol = 99 WHERE iktato = 106"));
        ExecSql(QStringLiteral("UPDATE csoport SET csoport_nev = 'Pénzügy' WHERE csoport = 1"));
        QVERIFY(documentSearchPiece(text, true) != documentSearchPiece(text));
        QCOMPARE(listed(text, false), keys);
        QCOMPARE(listed(text, true), keys);
    }
    // The identifier is left out for a word with anything but digits, '/' and '-': no
    // other character may compare equal to one of them.
    void onlyDigitsSlashAndHyphenEqualTheIdentifiersCharacters()
    {
        QCOMPARE(SelectText(QStringLiteral(
                     "SELECT GROUP_CONCAT(HEX(seq) ORDER BY seq) FROM seq_32_to_255 "
                     "WHERE CONVERT(UNHEX(HEX(seq)) USING latin2) COLLATE latin2_hungarian_ci "
                     "IN ('0','1','2','3','4','5','6','7','8','9','/','-')"),
                            QString()),
                 QStringLiteral("2D,2F,30,31,32,33,34,35,36,37,38,39"));
    }

    // Nothing the user types reaches the server's boolean syntax, and words the index
    // never holds are not asked for.
    void wordsForTheIndex_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("operators") << "+levél -\"ügy\" (irat)* ~x<y>z @3 régi" << QStringList{"levél", "ügy", "irat", "régi"};
        QTest::newRow("underscore is a word character") << "kft_nev e-mail" << QStringList{"kft_nev", "mail"};
        QTest::newRow("short and stopwords") << "az the és ABOUT Szeged" << QStringList{"szeged"};
        QTest::newRow("repeated") << "Levél levél" << QStringList{"levél"};
        QTest::newRow("seventh field left out") << "aaa bbb ccc ddd eee fff ggg" << QStringList{"aaa", "bbb", "ccc", "ddd", "eee", "fff"};
        QTest::newRow("blanks use up fields") << "  aaa bbb ccc ddd eee" << QStringList{"aaa", "bbb", "ccc", "ddd"};
        QTest::newRow("too long") << QString(85, QLatin1Char('a')) << QStringList{};
        QTest::newRow("longest kept") << QString(84, QLatin1Char('a')) << QStringList{QString(84, QLatin1Char('a'))};
    }
    void wordsForTheIndex()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QCOMPARE(attachmentTextWords(text), words);
        const QString condition = attachmentTextCondition(words);
        if (words.isEmpty())
            QVERIFY(condition.isEmpty());
        else
            QVERIFY(condition.contains(QStringLiteral("AGAINST('+") + words.join(QStringLiteral(" +")) +
                                       QStringLiteral("' IN BOOLEAN MODE)")));
    }

    // A server whose index keeps other words: what it never holds is not required.
    void wordsFollowTheServersIndex_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("minLength");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QStringList>("stopwords");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("defaults") << "díj levél az" << 3 << 84 << QStringList{} << QStringList{"díj", "levél"};
        QTest::newRow("longer shortest word") << "díj levél az" << 4 << 84 << QStringList{} << QStringList{"levél"};
        QTest::newRow("shorter shortest word") << "díj levél az" << 2 << 84 << QStringList{} << QStringList{"díj", "levél", "az"};
        QTest::newRow("shorter longest word") << "díj levél" << 3 << 4 << QStringList{} << QStringList{};
        QTest::newRow("own stopword") << "Tisztelt díj levél" << 3 << 84 << QStringList{"tisztelt"} << QStringList{"díj", "levél"};
    }
    void wordsFollowTheServersIndex()
    {
        QFETCH(QString, text);
        QFETCH(int, minLength);
        QFETCH(int, maxLength);
        QFETCH(QStringList, stopwords);
        QFETCH(QStringList, words);
        FulltextWords index;
        index.minLength = minLength;
        index.maxLength = maxLength;
        for (const QString &w : stopwords)
            index.stopwords.insert(w);
        QCOMPARE(attachmentTextWords(text, index), words);
    }
    // The server's settings, and a stopword table named for the session added to the
    // built-in list.
    void serversIndexSettingsAreRead()
    {
        const FulltextWords server = readFulltextWords(db());
        QCOMPARE(server.minLength, 3);
        QCOMPARE(server.maxLength, 84);
        QCOMPARE(server.stopwords, FulltextWords().stopwords);
        QVERIFY(server.stopwords.contains(QStringLiteral("the")));

        ExecSql(QStringLiteral("CREATE TABLE sajat_stopszo (value VARCHAR(30)) ENGINE=InnoDB"));
        ExecSql(QStringLiteral("INSERT INTO sajat_stopszo VALUES ('Tisztelt'), ('ügyfelünk')"));
        ExecSql(QStringLiteral("SET SESSION innodb_ft_user_stopword_table = CONCAT(DATABASE(), '/sajat_stopszo')"));
        const auto reset = qScopeGuard([] {
            ExecSql(QStringLiteral("SET SESSION innodb_ft_user_stopword_table = NULL"));
            ExecSql(QStringLiteral("DROP TABLE sajat_stopszo"));
        });
        const FulltextWords own = readFulltextWords(db());
        QVERIFY(own.stopwords.contains(QStringLiteral("tisztelt")));
        QVERIFY(own.stopwords.contains(QStringLiteral("ügyfelünk")));
        QVERIFY(own.stopwords.contains(QStringLiteral("the")));
        QCOMPARE(attachmentTextWords(QStringLiteral("Tisztelt Ügyfelünk, a kérelmét"), own), QStringList{"kérelmét"});
    }

    void passageOfTheMatchingAttachment()
    {
        // The second attachment holds the word; its name comes with the passage.
        TextPassage p = readTextPassage(m_db->connection(), 101, attachmentTextWords(QStringLiteral("kémény")));
        QCOMPARE(p.fileName, QStringLiteral("melleklet.pdf"));
        QCOMPARE(p.text, QStringLiteral("Második melléklet: csak a kémény állapota."));

        p = readTextPassage(m_db->connection(), 103, attachmentTextWords(QStringLiteral("JÖVŐ kéményseprő")));
        QCOMPARE(p.fileName, QStringLiteral("valasz.doc"));
        QVERIFY(p.text.contains(QStringLiteral("kéményseprő jövő")));

        // A document found through its fields alone has no passage.
        QVERIFY(readTextPassage(m_db->connection(), 101, attachmentTextWords(QStringLiteral("bérleti"))).text.isEmpty());
        QVERIFY(readTextPassage(m_db->connection(), 101, {}).text.isEmpty());

        // A long text: about two hundred characters around the word, cut at words.
        QString filler;
        for (int i = 0; filler.size() < 3000; ++i)
            filler += QStringLiteral("szó%1 ").arg(i);
        ExecSql(QStringLiteral("INSERT INTO iktato_szoveg (iktato_file, iktato, szoveg, modszer) VALUES (20, 104, ") +
                SqlLiteral(QString(filler + QStringLiteral("zúzmarás ") + filler)) + QStringLiteral(", 'pdf')"));
        p = readTextPassage(m_db->connection(), 104, attachmentTextWords(QStringLiteral("zúzmarás")));
        QVERIFY2(p.text.size() >= 150 && p.text.size() <= 250, qPrintable(p.text));
        QVERIFY(p.text.startsWith(QStringLiteral("…szó")));
        QVERIFY(p.text.endsWith(QStringLiteral("…")));
        QVERIFY(p.text.indexOf(QStringLiteral("zúzmarás")) > 30);
        QVERIFY(p.fileName.isEmpty()); // no attachment row: the text alone
    }

    void passageAroundTheHit_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<bool>("ends");
        QTest::addColumn<QString>("passage");
        QTest::newRow("whole short text") << "egy kettő három" << 4 << 40 << true << true << "egy kettő három";
        QTest::newRow("window inside the text") << "egy kettő három" << 4 << 40 << false << false << "…egy kettő három…";
        QTest::newRow("cuts inside words move to their edges") << "aaaa bbbb cccc dddd eeee ffff" << 10 << 12 << true << true << "…cccc…";
        QTest::newRow("hit at the end") << "aaaa bbbb cccc dddd" << 15 << 12 << true << true << "…cccc dddd";
        QTest::newRow("one long word") << "aaaaaaaaaaaaaaaaaaaaaaaa" << 10 << 12 << true << true << "…aaaaaaaaaaaa…";
        QTest::newRow("offset beyond the window") << "aaaa" << 99 << 12 << true << true << "aaaa";
    }
    void passageAroundTheHit()
    {
        QFETCH(QString, window);
        QFETCH(int, offset);
        QFETCH(int, length);
        QFETCH(bool, starts);
        QFETCH(bool, ends);
        QFETCH(QString, passage);
        QCOMPARE(passageAround(window, offset, length, starts, ends), passage);
    }
};

QTEST_GUILESS_MAIN(TestTextSearch)
#include "tst_textsearch.moc"
