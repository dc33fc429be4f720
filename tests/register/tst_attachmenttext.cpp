#include "demo/DemoAttachments.h"
#include "register/content/AttachmentText.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

using namespace korvena::content;
using korvena::demo::sampleFile;
using korvena::demo::sampleFileName;
using korvena::demo::SampleKind;

namespace {

const QString Sentence = QStringLiteral("Tisztelt Ügyfelünk! A kérelmét Győrben iktattuk, a határidő hétfő.");
const QStringList AllWords = {QStringLiteral("Tisztelt"),  QStringLiteral("Ügyfelünk!"),
                              QStringLiteral("kérelmét"),  QStringLiteral("Győrben"),
                              QStringLiteral("iktattuk,"), QStringLiteral("határidő"),
                              QStringLiteral("hétfő.")};
// What OCR of DejaVu Sans 12 pt at 300 dpi reads every time, accents included.
const QStringList OcrWords = {QStringLiteral("Tisztelt"), QStringLiteral("Győrben"),
                              QStringLiteral("határidő")};

void verifyWords(const QString &text, const QStringList &words)
{
    for (const QString &word : words)
        QVERIFY2(text.contains(word), qPrintable(QStringLiteral("„%1” is missing from: %2").arg(word, text)));
}

QByteArray pdfOf(const std::function<void(QPdfWriter &, QPainter &)> &draw)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    {
        QPainter painter(&writer);
        draw(writer, painter);
    }
    buffer.close();
    return bytes;
}

} // namespace

class TestAttachmentText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsEveryKind_data();
    void readsEveryKind();
    void mixedPdfReadsTextLayerAndScannedPage();
    void severalThreadsReadAtOnce();
    void officeMarkupBecomesGaps_data();
    void officeMarkupBecomesGaps();
    void letterheadFooterAndNotesAreRead_data();
    void letterheadFooterAndNotesAreRead();
    void kindComesFromContent_data();
    void kindComesFromContent();
    void damagedFilesGiveAnError_data();
    void damagedFilesGiveAnError();
    void protectedPdf_data();
    void protectedPdf();
    void missingOcrLanguageIsAnError();
    void stopEndsTheReading();
    void indexableText_data();
    void indexableText();
    void indexableTextIsCappedAfterCleaning();
};

void TestAttachmentText::readsEveryKind_data()
{
    QTest::addColumn<SampleKind>("kind");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("pdf text layer") << SampleKind::PdfText << QString(MethodPdf) << AllWords;
    QTest::newRow("scanned pdf") << SampleKind::PdfScanned << QString(MethodOcr) << OcrWords;
    QTest::newRow("png") << SampleKind::Png << QString(MethodOcr) << OcrWords;
    QTest::newRow("tiff") << SampleKind::Tiff << QString(MethodOcr) << OcrWords;
    QTest::newRow("docx") << SampleKind::Docx << QString(MethodDocx) << AllWords;
    QTest::newRow("odt") << SampleKind::Odt << QString(MethodOdt) << AllWords;
    QTest::newRow("utf-8 text") << SampleKind::TextUtf8 << QString(MethodText) << AllWords;
    QTest::newRow("cp1250 text") << SampleKind::TextCp1250 << QString(MethodText) << AllWords;
}

void TestAttachmentText::readsEveryKind()
{
    QFETCH(SampleKind, kind);
    QFETCH(QString, method);
    QFETCH(QStringList, words);

    const QByteArray bytes = sampleFile(kind, Sentence);
    QVERIFY(!bytes.isEmpty());
    const ExtractedText read = extractText(bytes, sampleFileName(kind, QStringLiteral("level")));
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    QCOMPARE(read.method, method);
    verifyWords(read.text, words);
    if (method != QLatin1String(MethodOcr))
        QCOMPARE(read.text, Sentence);
}

void TestAttachmentText::mixedPdfReadsTextLayerAndScannedPage()
{
    const QImage scan = QImage::fromData(sampleFile(SampleKind::Png, Sentence));
    QVERIFY(!scan.isNull());
    const QByteArray pdf = pdfOf([&](QPdfWriter &writer, QPainter &painter) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSize(12);
        painter.setFont(font);
        painter.drawText(QRect(300, 300, 1800, 600), Qt::TextWordWrap,
                         QStringLiteral("Első oldal: fellebbezés"));
        writer.newPage();
        painter.drawImage(QRect(0, 0, writer.width(), writer.height()), scan);
    });

    const ExtractedText read = extractText(pdf, QStringLiteral("vegyes.pdf"));
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    QCOMPARE(read.method, QString(MethodPdfOcr));
    verifyWords(read.text, {QStringLiteral("fellebbezés")});
    verifyWords(read.text, OcrWords);
    QVERIFY(read.text.indexOf(QStringLiteral("fellebbezés")) < read.text.indexOf(QStringLiteral("Győrben")));
}

// Each reading has an engine of its own; a shared one would mix the pages up or crash.
void TestAttachmentText::severalThreadsReadAtOnce()
{
    const QString other = QStringLiteral("Értesítjük, hogy Szegeden fellebbezést nyújtottak be.");
    const QByteArray jpeg = sampleFile(SampleKind::Jpeg, Sentence);
    const QByteArray png = sampleFile(SampleKind::Png, other);
    ExtractedText first, second;
    std::thread a([&] { first = extractText(jpeg, QStringLiteral("a.jpg")); });
    std::thread b([&] { second = extractText(png, QStringLiteral("b.png")); });
    a.join();
    b.join();
    QCOMPARE(first.method, QString(MethodOcr));
    QCOMPARE(second.method, QString(MethodOcr));
    verifyWords(first.text, OcrWords);
    verifyWords(second.text, {QStringLiteral("Szegeden"), QStringLiteral("fellebbezést")});
    QVERIFY(!first.text.contains(QStringLiteral("Szegeden")));
}

// Paragraphs and tabs are markup: without a gap for them, words of neighbouring cells run together.
void TestAttachmentText::officeMarkupBecomesGaps_data()
{
    QTest::addColumn<SampleKind>("kind");
    QTest::newRow("docx") << SampleKind::Docx;
    QTest::newRow("odt") << SampleKind::Odt;
}

void TestAttachmentText::officeMarkupBecomesGaps()
{
    QFETCH(SampleKind, kind);
    const QString source =
        QStringLiteral("Iktatószám:\t12/2026\nTárgy: <fellebbezés> & \"panasz\"\n\nÜgyintéző");
    const ExtractedText read =
        extractText(sampleFile(kind, source), sampleFileName(kind, QStringLiteral("a")));
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    QCOMPARE(read.text, QStringLiteral("Iktatószám: 12/2026\nTárgy: <fellebbezés> & \"panasz\"\nÜgyintéző"));
}

// The sender's name and address often stand only in the page header or footer.
void TestAttachmentText::letterheadFooterAndNotesAreRead_data()
{
    QTest::addColumn<SampleKind>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("docx") << SampleKind::Docx
                          << QStringLiteral("Győri Vízművek Zrt. Ügyfélszolgálat\nTisztelt Ügyfelünk!\n"
                                            "A díjtételek áfát tartalmaznak.\n9024 Győr, Bácsai út 1.");
    // ODF: the note stands where it belongs, and its number is left out.
    QTest::newRow("odt") << SampleKind::Odt
                         << QStringLiteral("Tisztelt Ügyfelünk! A díjtételek áfát tartalmaznak.\n"
                                           "Győri Vízművek Zrt. Ügyfélszolgálat\n9024 Győr, Bácsai út 1.");
}

void TestAttachmentText::letterheadFooterAndNotesAreRead()
{
    QFETCH(SampleKind, kind);
    QFETCH(QString, text);
    const korvena::demo::LetterParts letter{QStringLiteral("Győri Vízművek Zrt.\tÜgyfélszolgálat"),
                                            QStringLiteral("Tisztelt Ügyfelünk!"),
                                            QStringLiteral("9024 Győr, Bácsai út 1."),
                                            QStringLiteral("A díjtételek áfát tartalmaznak.")};
    const QByteArray file = korvena::demo::letterFile(kind, letter);
    const ExtractedText read = extractText(file, sampleFileName(kind, QStringLiteral("level")));
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    QCOMPARE(read.text, text);

    // A damaged header or footer leaves the letter's body.
    QByteArray damaged = file;
    const QByteArray part = kind == SampleKind::Odt ? QByteArray("styles.xml") : QByteArray("word/footer1.xml");
    damaged.replace(damaged.indexOf(part) + part.size() + 4, 16, QByteArray(16, 'x'));
    const ExtractedText body = extractText(damaged, sampleFileName(kind, QStringLiteral("level")));
    QVERIFY2(body.error.isEmpty(), qPrintable(body.error));
    QVERIFY(body.text.contains(QStringLiteral("Tisztelt Ügyfelünk!")));
    QVERIFY(!body.text.contains(QStringLiteral("Bácsai")));
}

void TestAttachmentText::kindComesFromContent_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("text");

    QTest::newRow("docx under a text name") << sampleFile(SampleKind::Docx, Sentence)
                                            << QStringLiteral("level.txt") << QString(MethodDocx) << Sentence;
    QTest::newRow("pdf without extension") << sampleFile(SampleKind::PdfText, Sentence)
                                           << QStringLiteral("level") << QString(MethodPdf) << Sentence;
    QTest::newRow("text naming a pdf header")
        << QByteArray("Ez nem %PDF-1.4 fájl") << QStringLiteral("jegyzet.txt") << QString(MethodText)
        << QStringLiteral("Ez nem %PDF-1.4 fájl");
    QTest::newRow("text without text extension")
        << Sentence.toUtf8() << QStringLiteral("level.dat") << QString(MethodNone) << QString();
    QTest::newRow("unknown binary") << QByteArray("\x00\x01\x02\x03GIF-ish", 11) << QStringLiteral("x.bin")
                                    << QString(MethodNone) << QString();
    QTest::newRow("empty file") << QByteArray() << QStringLiteral("ures.txt") << QString(MethodText)
                                << QString();
    QByteArray utf16("\xFF\xFE", 2);
    for (QChar c : Sentence) {
        utf16.append(char(c.unicode() & 0xFF));
        utf16.append(char(c.unicode() >> 8));
    }
    QTest::newRow("utf-16 with byte order mark")
        << utf16 << QStringLiteral("level.txt") << QString(MethodText) << Sentence;
    QTest::newRow("ascii text, upper-case extension") << QByteArray("Gyor, hetfo") << QStringLiteral("a.TXT")
                                                      << QString(MethodText) << QStringLiteral("Gyor, hetfo");
    // A blank bitmap: OCR runs on it and finds nothing. Its header's size confirms
    // the two-letter signature without the extension; a text starting so is text.
    QByteArray bmp;
    {
        QImage blank(64, 32, QImage::Format_RGB32);
        blank.fill(Qt::white);
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        blank.save(&buffer, "BMP");
    }
    QTest::newRow("bmp without extension")
        << bmp << QStringLiteral("kep.dat") << QString(MethodOcr) << QString();
    QTest::newRow("text starting like a bmp")
        << QByteArray("BMW gépkocsi forgalmi engedélye, 2026") << QStringLiteral("auto.txt")
        << QString(MethodText) << QStringLiteral("BMW gépkocsi forgalmi engedélye, 2026");
    // Not an ODF archive, nor a Word document: a zip we do not read.
    QTest::newRow("other zip") << QByteArray("PK\x05\x06\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 22)
                               << QStringLiteral("a.zip") << QString(MethodNone) << QString();
}

void TestAttachmentText::kindComesFromContent()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, fileName);
    QFETCH(QString, method);
    QFETCH(QString, text);

    const ExtractedText read = extractText(bytes, fileName);
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    QCOMPARE(read.method, method);
    QCOMPARE(read.text, text);
}

void TestAttachmentText::damagedFilesGiveAnError_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("fileName");

    const QByteArray pdf = sampleFile(SampleKind::PdfText, Sentence);
    const QByteArray docx = sampleFile(SampleKind::Docx, Sentence);
    const QByteArray png = sampleFile(SampleKind::Png, Sentence);
    QTest::newRow("pdf header and garbage")
        << QByteArray("%PDF-1.7\n\x01\x02garbage\n%%EOF") << QStringLiteral("a.pdf");
    QTest::newRow("pdf header only") << pdf.left(9) << QStringLiteral("a.pdf");
    QTest::newRow("truncated docx") << docx.left(docx.size() / 2) << QStringLiteral("a.docx");
    // The compressed body of the document part, past its local header.
    QByteArray damagedPart = docx;
    damagedPart.replace(damagedPart.indexOf("word/document.xml") + 40, 24, QByteArray(24, 'x'));
    QTest::newRow("docx with a damaged part") << damagedPart << QStringLiteral("a.docx");
    QTest::newRow("png header only") << png.left(40) << QStringLiteral("a.png");
}

void TestAttachmentText::damagedFilesGiveAnError()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, fileName);

    const ExtractedText read = extractText(bytes, fileName);
    QVERIFY(!read.error.isEmpty());
    QVERIFY(read.text.isEmpty());
    QCOMPARE(read.method, QString(MethodNone));
}

// Offices often send PDFs that forbid copying or printing but open without a
// password: their text is read. One that needs a password to open is named so.
void TestAttachmentText::protectedPdf_data()
{
    QTest::addColumn<QStringList>("encryption");
    QTest::addColumn<QString>("error");
    QTest::newRow("copying and printing forbidden")
        << QStringList{"--encrypt", "", "tulajdonos", "256", "--extract=n", "--print=none", "--"} << QString();
    QTest::newRow("opening needs a password")
        << QStringList{"--encrypt", "olvaso", "tulajdonos", "256", "--"}
        << QStringLiteral("A PDF-fájl jelszóval védett.");
}

void TestAttachmentText::protectedPdf()
{
    QFETCH(QStringList, encryption);
    QFETCH(QString, error);
    const QString qpdf = QStandardPaths::findExecutable(QStringLiteral("qpdf"));
    QVERIFY2(!qpdf.isEmpty(), "qpdf is missing (scripts/install-deps installs it)");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile plain(dir.filePath(QStringLiteral("level.pdf")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write(sampleFile(SampleKind::PdfText, Sentence));
    plain.close();
    QProcess encrypt;
    encrypt.start(qpdf, encryption + QStringList{plain.fileName(), dir.filePath(QStringLiteral("vedett.pdf"))});
    QVERIFY(encrypt.waitForFinished(30000));
    QVERIFY2(encrypt.exitCode() == 0, encrypt.readAllStandardError().constData());
    QFile locked(dir.filePath(QStringLiteral("vedett.pdf")));
    QVERIFY(locked.open(QIODevice::ReadOnly));

    const ExtractedText read = extractText(locked.readAll(), QStringLiteral("vedett.pdf"));
    QCOMPARE(read.error, error);
    if (error.isEmpty()) {
        QCOMPARE(read.method, QString(MethodPdf));
        QCOMPARE(read.text, Sentence);
    } else {
        QCOMPARE(read.method, QString(MethodNone));
        QVERIFY(read.text.isEmpty());
    }
}

void TestAttachmentText::missingOcrLanguageIsAnError()
{
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    const QByteArray previous = qgetenv("TESSDATA_PREFIX");
    qputenv("TESSDATA_PREFIX", QFile::encodeName(empty.path()));
    const ExtractedText image = extractText(sampleFile(SampleKind::Png, Sentence), QStringLiteral("a.png"));
    const ExtractedText mixed =
        extractText(pdfOf([](QPdfWriter &writer, QPainter &painter) {
                        painter.drawText(QPointF(300, 300), QStringLiteral("Szöveges oldal"));
                        writer.newPage();
                        painter.fillRect(QRect(300, 300, 600, 60), Qt::black);
                    }),
                    QStringLiteral("b.pdf"));
    if (previous.isNull())
        qunsetenv("TESSDATA_PREFIX");
    else
        qputenv("TESSDATA_PREFIX", previous);

    QVERIFY2(image.error.contains(QStringLiteral("hun.traineddata")), qPrintable(image.error));
    QVERIFY(image.text.isEmpty());
    // The text layer read before OCR was needed is kept beside the error.
    QVERIFY(!mixed.error.isEmpty());
    QCOMPARE(mixed.text, QStringLiteral("Szöveges oldal"));
}

void TestAttachmentText::stopEndsTheReading()
{
    std::atomic_bool stop{true};
    for (SampleKind kind : {SampleKind::PdfText, SampleKind::Png, SampleKind::Docx}) {
        const ExtractedText read =
            extractText(sampleFile(kind, Sentence), sampleFileName(kind, QStringLiteral("a")), &stop);
        QVERIFY(!read.error.isEmpty());
        QVERIFY(read.text.isEmpty());
    }
}

void TestAttachmentText::indexableText_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("kept as it is") << Sentence << Sentence;
    QTest::newRow("outside latin2 and cp1250 dropped")
        << QStringLiteral("Győr Ω város 😀! Привет") << QStringLiteral("Győr város !");
    QTest::newRow("cp1250 punctuation kept")
        << QStringLiteral("„Idézet” – 5 € …") << QStringLiteral("„Idézet” – 5 € …");
    QTest::newRow("spaces collapse") << QStringLiteral("  a \t b\u00A0\u00A0c  ") << QStringLiteral("a b c");
    QTest::newRow("line breaks collapse to one")
        << QStringLiteral("a  \r\n\r\n  b\fc\u2029d") << QStringLiteral("a\nb\nc\nd");
    QTest::newRow("a dropped character leaves no double space")
        << QStringLiteral("a Ω b") << QStringLiteral("a b");
    QTest::newRow("combining accent joins its letter")
        << QStringLiteral("Gyo\u030Brben") << QStringLiteral("Győrben");
    QTest::newRow("ligature and foreign accent")
        << QStringLiteral("\uFB01nom mañana") << QStringLiteral("finom manana");
    QTest::newRow("soft hyphen and controls")
        << QStringLiteral("hatá\u00ADridő\u0001") << QStringLiteral("határidő");
    QTest::newRow("lone surrogate dropped")
        << QStringLiteral("a") + QChar(0xD83D) + QStringLiteral("b") << QStringLiteral("ab");
    QTest::newRow("nothing left") << QStringLiteral(" 😀 \n ") << QString();
}

void TestAttachmentText::indexableText()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(korvena::content::indexableText(input), expected);
}

void TestAttachmentText::indexableTextIsCappedAfterCleaning()
{
    // Dropped characters and collapsed gaps do not count towards the cap.
    QString input = QString(10, QChar(0x3A9)) + QString(50, QLatin1Char(' '));
    input += QString(MaxTextChars + 10, QLatin1Char('a'));
    const QString text = korvena::content::indexableText(input);
    QCOMPARE(text.size(), qsizetype(MaxTextChars));
    QVERIFY(text.startsWith(QLatin1Char('a')));

    const ExtractedText read = extractText(QByteArray(MaxTextChars + 5, 'x'), QStringLiteral("nagy.txt"));
    QCOMPARE(read.text.size(), qsizetype(MaxTextChars));
}

QTEST_MAIN(TestAttachmentText)
#include "tst_attachmenttext.moc"
