#include "db/DbError.h"
#include "db/Latin2.h"

#include <QTest>

class TestLatin2 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void encode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QStringLiteral("Abc 1;'\\") << QByteArray("Abc 1;'\\");
        QTest::newRow("hungarian letters") << QStringLiteral("áéíóöőúüű ÁÉÍÓÖŐÚÜŰ")
                                           << QByteArray::fromHex("e1e9edf3f6f5fafcfb20c1c9cdd3d6d5dadcdb");
        QTest::newRow("quotation marks")
            << QStringLiteral("„Idézet”") << QByteArray::fromHex("844964e97a657494");
        QTest::newRow("single quotes and guillemets")
            << QStringLiteral("‚‘’‹›") << QByteArray::fromHex("8291928b9b");
        QTest::newRow("dashes, ellipsis, euro") << QStringLiteral("– — … €")
                                                << QByteArray::fromHex("962097208520"
                                                                       "80");
        QTest::newRow("daggers, per mille, bullet, trade mark")
            << QStringLiteral("†‡‰•™") << QByteArray::fromHex("8687899599");
        // Letters both code pages hold take the latin2 byte the server's collation sorts by.
        QTest::newRow("letters of both code pages")
            << QStringLiteral("ŠšŽžŤťŚśŹź") << QByteArray::fromHex("a9b9aebeabbba6b6acbc");
        QTest::newRow("code page 1250 gaps stay controls")
            << QStringLiteral("\u0081\u0083\u0088\u0090\u0098") << QByteArray::fromHex("8183889098");
    }
    void encode()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QVERIFY(Latin2::canEncode(text));
        QCOMPARE(Latin2::encode(text).toHex(' '), bytes.toHex(' '));
        QCOMPARE(Latin2::decode(Latin2::encode(text)), text);
    }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("latin2 letters") << QByteArray::fromHex("f5fbd5dba9") << QStringLiteral("őűŐŰŠ");
        QTest::newRow("code page 1250 letter") << QByteArray::fromHex("8a9a8e9e") << QStringLiteral("ŠšŽž");
        QTest::newRow("code page 1250 punctuation")
            << QByteArray::fromHex("84939496978580") << QStringLiteral("„“”–—…€");
        QTest::newRow("gap") << QByteArray::fromHex("81") << QStringLiteral("\u0081");
    }
    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(Latin2::decode(bytes), text);
    }

    // Whatever another client wrote reads as text that goes back unchanged.
    void everyByteReadsAsSendableText()
    {
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QString read = Latin2::decode(QByteArrayView(&byte, 1));
            QCOMPARE(read.size(), 1);
            QVERIFY2(Latin2::canEncode(read), qPrintable(QString::number(b, 16)));
            QCOMPARE(Latin2::decode(Latin2::encode(read)), read);
        }
    }

    void refused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("named");
        QTest::newRow("emoji, named whole") << QStringLiteral("ok 😀 x") << QStringLiteral("😀");
        QTest::newRow("cyrillic") << QStringLiteral("Жук") << QStringLiteral("Ж");
        QTest::newRow("check mark") << QStringLiteral("kész ✓") << QStringLiteral("✓");
        QTest::newRow("guillemet of code page 1250's upper half")
            << QStringLiteral("«a»") << QStringLiteral("«");
        QTest::newRow("copyright") << QStringLiteral("© 2024") << QStringLiteral("©");
        // Its byte would read back as "€".
        QTest::newRow("control where code page 1250 has the euro")
            << QStringLiteral("a\u0080") << QStringLiteral("\u0080");
        QTest::newRow("first of several") << QStringLiteral("€ ✓ 😀") << QStringLiteral("✓");
    }
    void refused()
    {
        QFETCH(QString, text);
        QFETCH(QString, named);
        QVERIFY(!Latin2::canEncode(text));
        QCOMPARE(Latin2::firstUnencodable(text), named);
        try {
            Latin2::encode(text);
            QFAIL("sent text the register cannot hold");
        } catch (const EncodingError &e) {
            QCOMPARE(e.text(),
                     QStringLiteral("A szöveg olyan karaktert tartalmaz, amelyet az adatbázis nem tud "
                                    "tárolni: „%1”. Kérem, javítsa.")
                         .arg(named));
        }
    }
};

QTEST_GUILESS_MAIN(TestLatin2)
#include "tst_latin2.moc"
