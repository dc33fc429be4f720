#include "common/Encoding.h"

#include <QTest>

class TestEncoding : public QObject
{
    Q_OBJECT

    static QByteArray cp1250(const char *utf8) { return ToCp1250(QString::fromUtf8(utf8)); }

private Q_SLOTS:
    void codePage()
    {
        const QString pangram = QStringLiteral("Árvíztűrő tükörfúrógép ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP");
        const QByteArray bytes = ToCp1250(pangram);
        QCOMPARE(bytes.size(), pangram.size());
        QCOMPARE(bytes.mid(0, 10).toHex(' '), QByteArray("c1 72 76 ed 7a 74 fb 72 f5 20"));
        QCOMPARE(FromCp1250(bytes), pangram);
        QCOMPARE(Cp1250Code(QChar(0x20AC)), 0x80); // euro sign
        QCOMPARE(Cp1250Code(QChar(0x2192)), -1);
        QCOMPARE(ToCp1250(QStringLiteral("a→b")), QByteArray("a?b"));

        // Every byte, the unassigned ones too, survives a round trip.
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(ToCp1250(FromCp1250(all)), all);
    }

    void toUtf8() { QCOMPARE(ToUtf8(QStringLiteral("ő;Ű")), QByteArray("\xC5\x91;\xC5\xB0")); }

    void base64_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << QByteArray() << "";
        QTest::newRow("three") << QByteArray("abc") << "YWJj";
        QTest::newRow("four") << QByteArray("abcd") << "YWJjZA==";
        QTest::newRow("five") << QByteArray("abcde") << "YWJjZGU=";
        QTest::newRow("high bytes use + and /") << QByteArray("\xFB\xFF\xFF") << "+///";
    }
    void base64()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(Base64(bytes), expected);
    }

    void base64HasNoLineBreaks()
    {
        const QString long64 = Base64(QByteArray(300, 'x'));
        QCOMPARE(long64.size(), 400);
        QVERIFY(!long64.contains(QLatin1Char('\n')) && !long64.contains(QLatin1Char('\r')));
    }

    void base64OfTextUsesCodePage()
    {
        QCOMPARE(Base64(QStringLiteral("ő")), QStringLiteral("9Q=="));
        QCOMPARE(Base64("SELECT 1"), QStringLiteral("U0VMRUNUIDE="));
    }

    void repairUtf8_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("capital O double acute") << QByteArray("\xC5\x90") << QByteArray("\xD5");
        QTest::newRow("lower-case letters")
            << QByteArray("árvíztűrő tükörfúrógép") << cp1250("árvíztűrő tükörfúrógép");
        QTest::newRow("capital letters")
            << QByteArray("ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP") << cp1250("ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP");
        QTest::newRow("o tilde stands for o double acute") << QByteArray("\xC3\xB5") << QByteArray("\xF5");
        QTest::newRow("u double acute matched ignoring case") << QByteArray("\xE5\xB1") << QByteArray("\xFB");
        QTest::newRow("registered sign removed") << QByteArray("Korvena\xC2\xAE!") << QByteArray("Korvena!");
        QTest::newRow("trade mark lead removed") << QByteArray("x\xE2\x84y") << QByteArray("xy");
        QTest::newRow("combining acute") << QByteArray("a\xCC\x81"
                                                       "e\xCC\x81"
                                                       "i\xCC\x81")
                                         << QByteArray("\xE1\xE9\xED");
        QTest::newRow("combining acute on other letter") << QByteArray("o\xCC\x81") << QByteArray("o");
        QTest::newRow("plain text unchanged")
            << QByteArray("Verzio 24.0.0.367 | hirek") << QByteArray("Verzio 24.0.0.367 | hirek");
        QTest::newRow("lone lead at the end") << QByteArray("ab\xC3") << QByteArray("ab");
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void repairUtf8()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(RepairUtf8(input).toHex(' '), expected.toHex(' '));
    }

    void repairUtf8OfText()
    {
        // The bytes as a code page 1250 reader shows them, e.g. "Ĺ‘" for "ő".
        const QString misread = FromCp1250(QByteArray("Hírlevél: új verzió, ő és ű"));
        QCOMPARE(RepairUtf8(misread), QStringLiteral("Hírlevél: új verzió, ő és ű"));
    }

    void mimeType_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("expected");
        QTest::newRow("pdf") << "pdf"
                             << "application/pdf";
        QTest::newRow("leading dot, upper case") << ".PDF"
                                                 << "application/pdf";
        QTest::newRow("xlsx like xls") << "xlsx"
                                       << "application/vnd.ms-excel";
        QTest::newRow("docx like doc") << ".docx"
                                       << "application/msword";
        QTest::newRow("jpg") << "jpg"
                             << "image/jpeg";
        QTest::newRow("jpeg unknown") << "jpeg"
                                      << "";
        QTest::newRow("exe") << "exe"
                             << "application/octet-stream";
        QTest::newRow("zip") << "zip"
                             << "application/zip";
        QTest::newRow("rar") << "rar"
                             << "application/rar";
        QTest::newRow("7z") << ".7z"
                            << "application/7z";
        QTest::newRow("mp3") << "MP3"
                             << "audio/mpeg";
        QTest::newRow("unknown") << "txt"
                                 << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void mimeType()
    {
        QFETCH(QString, extension);
        QFETCH(QString, expected);
        QCOMPARE(MimeType(extension), expected);
    }
};

QTEST_GUILESS_MAIN(TestEncoding)
#include "tst_encoding.moc"
