#include "common/Encoding.h"
#include "core/AppFolders.h"
#include "core/IniFile.h"
#include "core/LocalConfig.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A byte literal that may hold NUL bytes.
template <qsizetype N> QByteArray bytes(const char (&literal)[N])
{
    return QByteArray(literal, N - 1);
}

QByteArray cp1250(const QString &text)
{
    return ToCp1250(text);
}

bool closedToOthers(const QString &path)
{
    const QFileDevice::Permissions p = QFileInfo(path).permissions();
    return p.testFlag(QFileDevice::ReadOwner) && p.testFlag(QFileDevice::WriteOwner) &&
           !(p & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                  QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther));
}

AppFolders foldersIn(const QString &dataFolder)
{
    AppFolders folders;
    folders.programFolder = QStringLiteral("/opt/korvena");
    folders.dataFolder = dataFolder;
    return folders;
}

} // namespace

class TestLocalConfig : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void iniRead_data();
    void iniRead();
    void iniTypedRead_data();
    void iniTypedRead();
    void iniWriteKeepsTheRestOfTheFile_data();
    void iniWriteKeepsTheRestOfTheFile();
    void iniRefusesTextThatBreaksLines();
    void iniKeepsHungarianLettersInCodePage1250();
    void iniRealsFollowTheLocale();
    void iniKeyListingAndRemoval();

    void missingFileGivesDefaults();
    void readsAnExistingFile();
    void writeAndReadBack();
    void writeLeavesProfilesAlone();
    void barcodeKeysShareOneSection();
    void failingKeyDoesNotStopTheOthers();
    void flagNormalisation_data();
    void flagNormalisation();

    void fitIntoWorkArea_data();
    void fitIntoWorkArea();
    void dialogGeometry_data();
    void dialogGeometry();
    void dialogGeometryWriteSkipsSizeOfFixedDialogs();

    void dataFolderRule_data();
    void dataFolderRule();
    void userFolderStartsFromTheAllUsersFile();
    void seedingNeverOverwritesNorCopiesWhatItCannotRead();
    void dataFolderFromEnvironment();
    void testProcessKeepsItsDataInItsOwnFolder();
    void programFolderHasNoTrailingSeparator();

private:
    QTemporaryDir m_dir;
    int m_fileNumber = 0;
    QString newFile(const QByteArray &content = {}, bool create = true);
};

QString TestLocalConfig::newFile(const QByteArray &content, bool create)
{
    const QString path = m_dir.filePath(QStringLiteral("t%1.ini").arg(++m_fileNumber));
    if (create)
        writeBytes(path, content);
    return path;
}

void TestLocalConfig::iniRead_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray barcode = "[BarCode]\r\nVK_Left=12\r\n";
    QTest::newRow("same case") << barcode << "BarCode"
                               << "VK_Left"
                               << "12";
    QTest::newRow("section case differs") << barcode << "Barcode"
                                          << "VK_Left"
                                          << "12";
    QTest::newRow("key case differs") << barcode << "BARCODE"
                                      << "vk_left"
                                      << "12";
    QTest::newRow("blanks around names and value") << QByteArray("  [ Font ]  \n  Size  =  11  \n") << "font"
                                                   << "size"
                                                   << "11";
    QTest::newRow("LF line ends") << QByteArray("[a]\nk=v\n[b]\nk=w\n") << "b"
                                  << "k"
                                  << "w";
    QTest::newRow("no line end at the end") << QByteArray("[a]\nk=v") << "a"
                                            << "k"
                                            << "v";
    QTest::newRow("'=' inside the value") << QByteArray("[a]\nk=x=y;z\n") << "a"
                                          << "k"
                                          << "x=y;z";
    QTest::newRow("empty value is a value") << QByteArray("[a]\nk=\n") << "a"
                                            << "k"
                                            << "";
    QTest::newRow("missing key") << barcode << "BarCode"
                                 << "VK_Top"
                                 << "<default>";
    QTest::newRow("missing section") << barcode << "Font"
                                     << "VK_Left"
                                     << "<default>";
    QTest::newRow("key of another section") << QByteArray("[a]\nk=1\n[b]\n") << "b"
                                            << "k"
                                            << "<default>";
    QTest::newRow("key before any section") << QByteArray("k=1\n[a]\n") << "a"
                                            << "k"
                                            << "<default>";
    QTest::newRow("duplicate key: first wins") << QByteArray("[a]\nk=first\nK=second\n") << "a"
                                               << "k"
                                               << "first";
    QTest::newRow("line without '=' skipped") << QByteArray("[a]\ngarbage line\nk=v\n") << "a"
                                              << "k"
                                              << "v";
    QTest::newRow("section line without ']'") << QByteArray("[a]\n[broken\nk=v\n") << "a"
                                              << "k"
                                              << "v";
    QTest::newRow("comment is no key") << QByteArray("[a]\n;k=c\n") << "a"
                                       << ";k"
                                       << "<default>";
    QTest::newRow("binary junk around") << bytes("\x00\xff\xfe[a]\x01\n\x00\x80=\x9f\n[a]\nk=v\n\x00") << "a"
                                        << "k"
                                        << "v";
    QTest::newRow("only junk") << bytes("\x00\x01\x02\xff\r\r\n==\n[\n]\n") << "a"
                               << "k"
                               << "<default>";
    QTest::newRow("empty file") << QByteArray() << "a"
                                << "k"
                                << "<default>";
}

void TestLocalConfig::iniRead()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const IniFile ini(newFile(content));
    QCOMPARE(ini.readString(section, key, QStringLiteral("<default>")), expected);
}

void TestLocalConfig::iniTypedRead_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("asInt");     // default 42
    QTest::addColumn<bool>("asBool");   // default true
    QTest::addColumn<double>("asReal"); // default -1.5, Hungarian locale

    QTest::newRow("1") << "1" << 1 << true << 1.0;
    QTest::newRow("0") << "0" << 0 << false << 0.0;
    QTest::newRow("any non-zero is true") << "7" << 7 << true << 7.0;
    QTest::newRow("negative") << "-1" << -1 << true << -1.0;
    QTest::newRow("hex with $") << "$1F" << 31 << true << -1.5;
    QTest::newRow("hex with 0x") << "0x10" << 16 << true << -1.5;
    QTest::newRow("locale decimal comma") << "19,2" << 42 << true << 19.2;
    QTest::newRow("C decimal point still read") << "19.2" << 42 << true << 19.2;
    QTest::newRow("words are no numbers") << "igen" << 42 << true << -1.5;
    QTest::newRow("'false' keeps the default") << "false" << 42 << true << -1.5;
    QTest::newRow("empty") << "" << 42 << true << -1.5;
    QTest::newRow("beyond int") << "99999999999" << 42 << true << 99999999999.0;
    QTest::newRow("not finite") << "inf" << 42 << true << -1.5;
}

void TestLocalConfig::iniTypedRead()
{
    QFETCH(QString, value);
    QFETCH(int, asInt);
    QFETCH(bool, asBool);
    QFETCH(double, asReal);
    IniFile ini(newFile(cp1250(QStringLiteral("[S]\r\nK=") + value + QStringLiteral("\r\n"))));
    ini.setLocale(QLocale(QLocale::Hungarian, QLocale::Hungary));
    QCOMPARE(ini.readInt(QStringLiteral("s"), QStringLiteral("k"), 42), asInt);
    QCOMPARE(ini.readBool(QStringLiteral("s"), QStringLiteral("k"), true), asBool);
    QCOMPARE(ini.readReal(QStringLiteral("s"), QStringLiteral("k"), -1.5), asReal);
    QVERIFY(!ini.readBool(QStringLiteral("s"), QStringLiteral("missing"), false));
}

void TestLocalConfig::iniWriteKeepsTheRestOfTheFile_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("after");

    const QByteArray file = "; note\r\n[A]\r\nx=1\r\nY=2\r\njunk\r\n\r\n[B]\r\nz=3\r\n";
    QTest::newRow("existing key keeps its place and spelling")
        << file << "a"
        << "y" << QByteArray("; note\r\n[A]\r\nx=1\r\nY=new\r\njunk\r\n\r\n[B]\r\nz=3\r\n");
    QTest::newRow("new key ends its section, before the blank line")
        << file << "A"
        << "w" << QByteArray("; note\r\n[A]\r\nx=1\r\nY=2\r\njunk\r\nw=new\r\n\r\n[B]\r\nz=3\r\n");
    QTest::newRow("new key in the last section")
        << file << "b"
        << "w" << QByteArray("; note\r\n[A]\r\nx=1\r\nY=2\r\njunk\r\n\r\n[B]\r\nz=3\r\nw=new\r\n");
    QTest::newRow("new section at the end")
        << file << "C"
        << "w" << QByteArray("; note\r\n[A]\r\nx=1\r\nY=2\r\njunk\r\n\r\n[B]\r\nz=3\r\n[C]\r\nw=new\r\n");
    QTest::newRow("duplicate key: the first is changed") << QByteArray("[A]\nk=1\nk=2\n") << "A"
                                                         << "k" << QByteArray("[A]\nk=new\nk=2\n");
    QTest::newRow("LF file stays LF") << QByteArray("[A]\nx=1\n") << "A"
                                      << "y" << QByteArray("[A]\nx=1\ny=new\n");
    QTest::newRow("binary junk survives") << bytes("\x01\x80\xff\n[A]\nx=1\n") << "A"
                                          << "x" << bytes("\x01\x80\xff\n[A]\nx=new\n");
    QTest::newRow("new file") << QByteArray() << "A"
                              << "k" << QByteArray("[A]\r\nk=new\r\n");
}

void TestLocalConfig::iniWriteKeepsTheRestOfTheFile()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QByteArray, after);
    IniFile ini(newFile(before, !before.isEmpty()));
    QVERIFY(ini.writeString(section, key, QStringLiteral("new")));
    QCOMPARE(readBytes(ini.path()), after);
    QCOMPARE(ini.readString(section, key), QStringLiteral("new"));
}

void TestLocalConfig::iniRefusesTextThatBreaksLines()
{
    IniFile ini(newFile("[A]\r\nk=1\r\n"));
    const QByteArray before = readBytes(ini.path());
    QVERIFY(!ini.writeString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("two\r\nlines")));
    QVERIFY(!ini.writeString(QStringLiteral("A"), QStringLiteral("a=b"), QStringLiteral("1")));
    QVERIFY(!ini.writeString(QStringLiteral("A]"), QStringLiteral("k"), QStringLiteral("1")));
    QVERIFY(!ini.writeString(QString(), QStringLiteral("k"), QStringLiteral("1")));
    QCOMPARE(readBytes(ini.path()), before);

    IniFile nowhere(m_dir.filePath(QStringLiteral("no/such/folder/x.ini")));
    QVERIFY(!nowhere.writeString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("1")));
}

void TestLocalConfig::iniKeepsHungarianLettersInCodePage1250()
{
    const QString text = QStringLiteral("Árvíztűrő tükörfúrógép ŐŰőű „€”");
    IniFile ini(newFile({}, false));
    QVERIFY(ini.writeString(QStringLiteral("Felhasználó"), QStringLiteral("Név"), text));
    const QByteArray bytes = readBytes(ini.path());
    QVERIFY(
        bytes.contains("\xc1rv\xedzt\xfbr\xf5 t\xfck\xf6rf\xfar\xf3g\xe9p \xd5\xdb\xf5\xfb \x84\x80\x94"));
    QCOMPARE(ini.readString(QStringLiteral("FELHASZNÁLÓ"), QStringLiteral("név")), text);

    // What the code page cannot hold is stored as '?'.
    QVERIFY(ini.writeString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("日本")));
    QCOMPARE(ini.readString(QStringLiteral("A"), QStringLiteral("k")), QStringLiteral("??"));

    // Every byte reads back as the same byte.
    QByteArray all;
    for (int c = 0x20; c < 0x100; ++c)
        all += char(c);
    QCOMPARE(ToCp1250(FromCp1250(all)), all);
}

void TestLocalConfig::iniRealsFollowTheLocale()
{
    IniFile ini(newFile({}, false));
    ini.setLocale(QLocale(QLocale::Hungarian, QLocale::Hungary));
    QVERIFY(ini.writeReal(QStringLiteral("BarCode"), QStringLiteral("VK_Height"), 19.2));
    QVERIFY(ini.writeReal(QStringLiteral("BarCode"), QStringLiteral("Big"), 12345.5));
    QCOMPARE(ini.readString(QStringLiteral("BarCode"), QStringLiteral("VK_Height")), QStringLiteral("19,2"));
    QCOMPARE(ini.readString(QStringLiteral("BarCode"), QStringLiteral("Big")), QStringLiteral("12345,5"));
    QCOMPARE(ini.readReal(QStringLiteral("BarCode"), QStringLiteral("VK_Height"), 0), 19.2);

    ini.setLocale(QLocale::c());
    QVERIFY(ini.writeReal(QStringLiteral("BarCode"), QStringLiteral("VK_Height"), 2.25));
    QCOMPARE(ini.readString(QStringLiteral("BarCode"), QStringLiteral("VK_Height")), QStringLiteral("2.25"));
}

void TestLocalConfig::iniKeyListingAndRemoval()
{
    IniFile ini(newFile("[Adatbazis]\r\nConStr1=a\r\nconstr1=dup\r\nHtmlUt=x\r\nConStr3=\r\n[ADATBAZIS]\r\n"
                        "ConStr7=b\r\n[Font]\r\nSize=9\r\n"));
    QCOMPARE(ini.keys(QStringLiteral("adatbazis")),
             QStringList({QStringLiteral("ConStr1"), QStringLiteral("HtmlUt"), QStringLiteral("ConStr3"),
                          QStringLiteral("ConStr7")}));
    QCOMPARE(ini.sections(), QStringList({QStringLiteral("Adatbazis"), QStringLiteral("Font")}));
    QVERIFY(ini.hasKey(QStringLiteral("Adatbazis"), QStringLiteral("CONSTR3")));
    QVERIFY(!ini.hasKey(QStringLiteral("Adatbazis"), QStringLiteral("ConStr2")));
    QVERIFY(ini.hasSection(QStringLiteral("font")));

    QVERIFY(ini.removeKey(QStringLiteral("Adatbazis"), QStringLiteral("HtmlUt")));
    QVERIFY(!ini.hasKey(QStringLiteral("Adatbazis"), QStringLiteral("HtmlUt")));
    QVERIFY(ini.removeSection(QStringLiteral("adatbazis")));
    QCOMPARE(readBytes(ini.path()), QByteArray("[Font]\r\nSize=9\r\n"));
}

void TestLocalConfig::missingFileGivesDefaults()
{
    const QString path = newFile({}, false);
    const LocalConfig c = LocalConfig::read(IniFile(path), foldersIn(QStringLiteral("/srv/data")));
    QCOMPARE(c.conStr.size(), LocalConfig::ProfileKeyCount);
    QVERIFY(c.conStr.join(QString()).isEmpty());
    QCOMPARE(c.htmlUt, QStringLiteral("/srv/data/Html"));
    QCOMPARE(c.lang, QStringLiteral("/srv/data/Lang.ini"));
    QCOMPARE(c.masolMezok, QStringLiteral("IIIIIIIIIIIIIIIII"));
    QCOMPARE(c.fontSize, 9);
    QCOMPARE(c.vkHeight, 19.2);
    QCOMPARE(c.vkColumn, 4);
    QVERIFY(c.teljesKep);
    QVERIFY(!c.vanFigyu);
    QCOMPARE(QRect(c.bal, c.felul, c.szeles, c.magas), QRect(5, 5, 640, 400));
    QVERIFY(!QFile::exists(path)); // reading creates nothing
}

void TestLocalConfig::readsAnExistingFile()
{
    const QString path = newFile(readFixture(QStringLiteral("localconfig/Korvena.ini")));
    IniFile ini(path);
    ini.setLocale(QLocale(QLocale::Hungarian, QLocale::Hungary));
    const LocalConfig c = LocalConfig::read(ini, foldersIn(QStringLiteral("/srv/data")));
    QCOMPARE(c.htmlUt, QStringLiteral("D:\\Iktatás\\Html"));
    QCOMPARE(c.masolMezok, QStringLiteral("IINNIIIIIIIIIIII "));
    QVERIFY(c.mezok.isEmpty()); // never read
    QCOMPARE(c.lastUser, QStringLiteral("Kovács Őrs"));
    QCOMPARE(c.fontSize, 11);
    QCOMPARE(c.printer, QStringLiteral("Irodai nyomtató (Űrlap)"));
    QCOMPARE(c.vkLeft, 12.5); // asked for under "Barcode", stored under "BarCode"
    QCOMPARE(c.vkTop, 7.25);
    QCOMPARE(c.vkColumn, 3);
    QCOMPARE(c.vkBcLeft, 2.0);
    QCOMPARE(c.vkHova, 1);
    QVERIFY(!c.teljesKep);
    QVERIFY(c.vanFigyu);
    QCOMPARE(QRect(c.bal, c.felul, c.szeles, c.magas), QRect(20, 30, 800, 600));
}

void TestLocalConfig::writeAndReadBack()
{
    LocalConfig c = LocalConfig::defaults(foldersIn(QStringLiteral("/srv/data")));
    c.htmlUt = QStringLiteral("/home/kati/Weblapok");
    c.masolMezok = QStringLiteral("NINININININININIM");
    c.mezok = QStringLiteral("IIIIINNNNNIIIIINN");
    c.lastUser = QStringLiteral("Szűts Ödön");
    c.fontSize = 12;
    c.printer = QStringLiteral("HP LaserJet");
    c.vkLeft = 1.5;
    c.vkTop = 2.75;
    c.vkColumn = 3;
    c.vkBcLeft = 0.5;
    c.vkHeight = 21.1;
    c.vkHanyadik = 7;
    c.vkTipus = 1;
    c.vkHova = 2;
    c.lang = QStringLiteral("/x/Lang.ini");
    c.teljesKep = false;
    c.vanFigyu = true;
    c.bal = -8;
    c.felul = 3;
    c.magas = 700;
    c.szeles = 1000;

    IniFile ini(newFile({}, false));
    ini.setLocale(QLocale(QLocale::Hungarian, QLocale::Hungary));
    QVERIFY(c.write(ini));
    const LocalConfig r = LocalConfig::read(ini, foldersIn(QStringLiteral("/elsewhere")));
    QCOMPARE(r.htmlUt, c.htmlUt);
    QCOMPARE(r.masolMezok, c.masolMezok);
    QCOMPARE(ini.readString(QStringLiteral("Mezok"), QStringLiteral("Mezok")), c.mezok);
    QCOMPARE(r.lastUser, c.lastUser);
    QCOMPARE(r.fontSize, c.fontSize);
    QCOMPARE(r.printer, c.printer);
    QCOMPARE(r.vkLeft, c.vkLeft);
    QCOMPARE(r.vkTop, c.vkTop);
    QCOMPARE(r.vkColumn, c.vkColumn);
    QCOMPARE(r.vkBcLeft, c.vkBcLeft);
    QCOMPARE(r.vkHeight, c.vkHeight);
    QCOMPARE(r.vkHanyadik, c.vkHanyadik);
    QCOMPARE(r.vkTipus, c.vkTipus);
    QCOMPARE(r.vkHova, c.vkHova);
    QCOMPARE(r.lang, c.lang);
    QCOMPARE(r.teljesKep, c.teljesKep);
    QCOMPARE(r.vanFigyu, c.vanFigyu);
    QCOMPARE(QRect(r.bal, r.felul, r.szeles, r.magas), QRect(c.bal, c.felul, c.szeles, c.magas));
    QCOMPARE(ini.readString(QStringLiteral("Alapertek"), QStringLiteral("TeljesKep")), QStringLiteral("0"));
    QCOMPARE(ini.readString(QStringLiteral("Alapertek"), QStringLiteral("VanFigyu")), QStringLiteral("1"));
}

void TestLocalConfig::writeLeavesProfilesAlone()
{
    IniFile ini(newFile("[Adatbazis]\r\nConStr1=abc\r\nConStr2=def\r\n"));
    LocalConfig c = LocalConfig::read(ini, foldersIn(QStringLiteral("/d")));
    QCOMPARE(c.conStr.mid(0, 3), QStringList({QStringLiteral("abc"), QStringLiteral("def"), QString()}));
    c.conStr[0] = QStringLiteral("changed");
    c.conStr[4] = QStringLiteral("added");
    QVERIFY(c.write(ini));
    QCOMPARE(ini.readString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1")), QStringLiteral("abc"));
    QCOMPARE(ini.keys(QStringLiteral("Adatbazis")),
             QStringList({QStringLiteral("ConStr1"), QStringLiteral("ConStr2"), QStringLiteral("HtmlUt")}));
}

void TestLocalConfig::barcodeKeysShareOneSection()
{
    for (const QByteArray &start :
         {QByteArray(), QByteArray("[BarCode]\r\nVK_Top=1\r\n"), QByteArray("[BARCODE]\r\nVK_Left=1\r\n")}) {
        IniFile ini(newFile(start, !start.isEmpty()));
        QVERIFY(LocalConfig::defaults(foldersIn(QStringLiteral("/d"))).write(ini));
        const QString text = FromCp1250(readBytes(ini.path()));
        const QRegularExpression header(QStringLiteral("^\\[barcode\\]"),
                                        QRegularExpression::CaseInsensitiveOption |
                                            QRegularExpression::MultilineOption);
        QCOMPARE(text.count(header), 1);
        QCOMPARE(ini.keys(QStringLiteral("barcode")).size(), 8);
    }
}

void TestLocalConfig::failingKeyDoesNotStopTheOthers()
{
    IniFile ini(newFile({}, false));
    LocalConfig c = LocalConfig::defaults(foldersIn(QStringLiteral("/d")));
    c.masolMezok = QStringLiteral("broken\nvalue"); // cannot be written
    c.szeles = 777;
    QVERIFY(!c.write(ini));
    QVERIFY(!ini.hasKey(QStringLiteral("Mezok"), QStringLiteral("MasolMezok")));
    QCOMPARE(ini.readInt(QStringLiteral("Alapertek"), QStringLiteral("Szeles"), 0), 777);
    QVERIFY(ini.hasKey(QStringLiteral("Mezok"), QStringLiteral("Mezok")));
}

void TestLocalConfig::flagNormalisation_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QList<int>>("set"); // positions counting as set

    QTest::newRow("missing: all set") << QByteArray("[Mezok]\n") << "IIIIIIIIIIIIIIIII"
                                      << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    QTest::newRow("16 characters: the 17th is a blank, not set")
        << QByteArray("[Mezok]\nMasolMezok=IIIIIIIIIIIIIIII\n") << "IIIIIIIIIIIIIIII "
        << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    QTest::newRow("longer: cut to 17")
        << QByteArray("[Mezok]\nMasolMezok=NNNNNNNNNNNNNNNNIIII\n") << "NNNNNNNNNNNNNNNNI" << QList<int>{16};
    QTest::newRow("empty value: nothing set")
        << QByteArray("[Mezok]\nMasolMezok=\n") << QString(17, QLatin1Char(' ')) << QList<int>{};
    QTest::newRow("only 'I' counts, not 'i' or 'Y'")
        << QByteArray("[Mezok]\nMasolMezok=iYI1INNNNNNNNNNNN\n") << "iYI1INNNNNNNNNNNN" << QList<int>{2, 4};
}

void TestLocalConfig::flagNormalisation()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QFETCH(QList<int>, set);
    const LocalConfig c = LocalConfig::read(IniFile(newFile(content)), foldersIn(QStringLiteral("/d")));
    QCOMPARE(c.masolMezok, expected);
    QList<int> found;
    for (int i = -1; i <= LocalConfig::FlagCount; ++i) {
        if (LocalConfig::isFlagSet(c.masolMezok, i))
            found << i;
    }
    QCOMPARE(found, set);
}

void TestLocalConfig::fitIntoWorkArea_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<QRect>("expected");

    const QRect screen(0, 0, 1920, 1040);
    QTest::newRow("inside stays") << QRect(100, 50, 400, 300) << screen << QRect(100, 50, 400, 300);
    QTest::newRow("left beyond the right edge")
        << QRect(2500, 50, 400, 300) << screen << QRect(0, 50, 400, 300);
    QTest::newRow("left exactly at the edge moves back")
        << QRect(1920, 50, 400, 300) << screen << QRect(1520, 50, 400, 300);
    QTest::newRow("overhanging the right edge")
        << QRect(1800, 50, 400, 300) << screen << QRect(1520, 50, 400, 300);
    QTest::newRow("touching the right edge stays")
        << QRect(1520, 50, 400, 300) << screen << QRect(1520, 50, 400, 300);
    QTest::newRow("wider than the work area")
        << QRect(300, 50, 2500, 300) << screen << QRect(0, 50, 1920, 300);
    QTest::newRow("exactly as wide, shifted")
        << QRect(10, 50, 1920, 300) << screen << QRect(0, 50, 1920, 300);
    QTest::newRow("top beyond the bottom edge")
        << QRect(100, 1200, 400, 300) << screen << QRect(100, 0, 400, 300);
    QTest::newRow("overhanging the bottom edge")
        << QRect(100, 900, 400, 300) << screen << QRect(100, 740, 400, 300);
    QTest::newRow("taller than the work area")
        << QRect(100, 20, 400, 1500) << screen << QRect(100, 0, 400, 1040);
    QTest::newRow("both axes") << QRect(5000, 5000, 3000, 3000) << screen << QRect(0, 0, 1920, 1040);
    QTest::newRow("negative places are left alone")
        << QRect(-50, -20, 400, 300) << screen << QRect(-50, -20, 400, 300);
    QTest::newRow("edges count from the origin")
        << QRect(1000, 100, 500, 300) << QRect(200, 0, 1000, 800) << QRect(700, 100, 500, 300);
}

void TestLocalConfig::fitIntoWorkArea()
{
    QFETCH(QRect, rect);
    QFETCH(QRect, workArea);
    QFETCH(QRect, expected);
    QCOMPARE(::fitIntoWorkArea(rect, workArea), expected);
}

void TestLocalConfig::dialogGeometry_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("resizable");
    QTest::addColumn<QRect>("expected");

    // Designed 300 x 200; work area 1024 x 768.
    QTest::newRow("nothing stored") << QByteArray() << true << QRect(10, 10, 300, 200);
    QTest::newRow("place only") << QByteArray("[frm_Kiad]\nLeft=100\nTop=50\n") << false
                                << QRect(100, 50, 300, 200);
    QTest::newRow("size read when resizable")
        << QByteArray("[FRM_KIAD]\nLeft=100\nTop=50\nWidth=500\nHeight=400\n") << true
        << QRect(100, 50, 500, 400);
    QTest::newRow("size ignored when fixed")
        << QByteArray("[frm_Kiad]\nLeft=100\nTop=50\nWidth=500\nHeight=400\n") << false
        << QRect(100, 50, 300, 200);
    QTest::newRow("other dialog's place ignored")
        << QByteArray("[frm_Init]\nLeft=100\nTop=50\n") << false << QRect(10, 10, 300, 200);
    QTest::newRow("stored on a larger screen")
        << QByteArray("[frm_Kiad]\nLeft=1700\nTop=500\nWidth=1200\nHeight=500\n") << true
        << QRect(0, 268, 1024, 500);
    QTest::newRow("damaged numbers") << QByteArray("[frm_Kiad]\nLeft=x\nTop=\nWidth=wide\n") << true
                                     << QRect(10, 10, 300, 200);
}

void TestLocalConfig::dialogGeometry()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, resizable);
    QFETCH(QRect, expected);
    const IniFile ini(newFile(content, !content.isEmpty()));
    QCOMPARE(readDialogGeometry(ini, QStringLiteral("frm_Kiad"), QRect(0, 0, 300, 200), resizable,
                                QRect(0, 0, 1024, 768)),
             expected);
}

void TestLocalConfig::dialogGeometryWriteSkipsSizeOfFixedDialogs()
{
    TempDataFolder data;
    AppFolders::refresh();
    writeDialogGeometry(QStringLiteral("frm_Init"), QRect(40, 60, 300, 200), false);
    writeDialogGeometry(QStringLiteral("frm_AdatbazisNyit"), QRect(70, 80, 500, 400), true);
    IniFile ini(data.file(QStringLiteral("Korvena.ini")));
    QCOMPARE(ini.keys(QStringLiteral("frm_Init")),
             QStringList({QStringLiteral("Left"), QStringLiteral("Top")}));
    QCOMPARE(readDialogGeometry(QStringLiteral("frm_AdatbazisNyit"), QRect(0, 0, 1, 1), true,
                                QRect(0, 0, 1024, 768)),
             QRect(70, 80, 500, 400));
    QCOMPARE(
        readDialogGeometry(QStringLiteral("frm_Init"), QRect(0, 0, 320, 240), false, QRect(0, 0, 1024, 768)),
        QRect(40, 60, 320, 240));
}

void TestLocalConfig::dataFolderRule_data()
{
    // allUsers: "" (the platform has none), "new" (can be made), "blocked" (a
    // file stands in its way, so it cannot be made or written, even by root).
    QTest::addColumn<bool>("iniBesideProgram");
    QTest::addColumn<QString>("allUsers");
    QTest::addColumn<bool>("hasHome");
    QTest::addColumn<QString>("expected"); // program, allUsers, user
    QTest::addColumn<bool>("seeded");

    QTest::newRow("portable install wins") << true << "new" << true << "program" << false;
    QTest::newRow("all-users folder, made when missing") << false << "new" << true << "allUsers" << false;
    QTest::newRow("all-users folder not writable: the user's own")
        << false << "blocked" << true << "user" << true;
    QTest::newRow("no all-users folder: the user's own") << false << "" << true << "user" << false;
    QTest::newRow("neither: the program folder") << false << "blocked" << false << "program" << false;
}

void TestLocalConfig::dataFolderRule()
{
    QFETCH(bool, iniBesideProgram);
    QFETCH(QString, allUsers);
    QFETCH(bool, hasHome);
    QFETCH(QString, expected);
    QFETCH(bool, seeded);

    QTemporaryDir root;
    const QString program = root.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(program));
    if (iniBesideProgram)
        writeBytes(program + QStringLiteral("/Korvena.ini"), "[Font]\r\nSize=9\r\n");
    QString allUsersFolder;
    if (allUsers == QLatin1String("new")) {
        allUsersFolder = root.filePath(QStringLiteral("share/not/yet/Korvena"));
    } else if (allUsers == QLatin1String("blocked")) {
        writeBytes(root.filePath(QStringLiteral("share")), "a file, not a folder");
        allUsersFolder = root.filePath(QStringLiteral("share/Korvena"));
    }
    const QString user = hasHome ? root.filePath(QStringLiteral("home/.local/share/Korvena")) : QString();

    const AppFolders f = AppFolders::choose(program, allUsersFolder, user);
    const QString wanted = expected == QLatin1String("program")    ? program
                           : expected == QLatin1String("allUsers") ? allUsersFolder
                                                                   : user;
    QCOMPARE(f.dataFolder, wanted);
    QCOMPARE(f.programFolder, program);
    QVERIFY(QFileInfo(f.dataFolder).isDir());
    QCOMPARE(f.seedConfigFile, seeded ? allUsersFolder + QStringLiteral("/Korvena.ini") : QString());
    if (expected == QLatin1String("user"))
        QVERIFY(closedToOthers(user));
    // Nothing lands beside the program but what was there.
    QCOMPARE(QDir(program).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(),
             iniBesideProgram ? 1 : 0);
}

void TestLocalConfig::userFolderStartsFromTheAllUsersFile()
{
    QTemporaryDir root;
    const QString allUsers = root.filePath(QStringLiteral("all-users"));
    QVERIFY(QDir().mkpath(allUsers));
    const QByteArray shared = "[Adatbazis]\r\nConStr1=scrambled\r\n[Font]\r\nSize=12\r\n";
    writeBytes(allUsers + QStringLiteral("/Korvena.ini"), shared);

    AppFolders own = foldersIn(root.filePath(QStringLiteral("own")));
    own.seedConfigFile = allUsers + QStringLiteral("/Korvena.ini");
    QVERIFY(QDir().mkpath(own.dataFolder));
    AppFolders::setCurrent(own);

    const LocalConfig c = LocalConfig::load();
    QCOMPARE(c.conStr.value(0), QStringLiteral("scrambled"));
    QCOMPARE(c.fontSize, 12);
    QCOMPARE(readBytes(own.configFile()), shared);
    QVERIFY(closedToOthers(own.configFile()));
    // The user's changes are the user's: the shared file stays as it was.
    LocalConfig changed = c;
    changed.fontSize = 14;
    QVERIFY(changed.save());
    QCOMPARE(LocalConfig::load().fontSize, 14);
    QCOMPARE(readBytes(allUsers + QStringLiteral("/Korvena.ini")), shared);
    AppFolders::refresh();
}

void TestLocalConfig::seedingNeverOverwritesNorCopiesWhatItCannotRead()
{
    QTemporaryDir root;
    AppFolders own = foldersIn(root.path());
    own.seedConfigFile = root.filePath(QStringLiteral("missing/Korvena.ini"));
    QVERIFY(!seedLocalConfig(own));
    QVERIFY(!QFileInfo::exists(own.configFile()));

    own.seedConfigFile = newFile("[Font]\r\nSize=20\r\n");
    writeBytes(own.configFile(), "[Font]\r\nSize=11\r\n");
    QVERIFY(!seedLocalConfig(own));
    QCOMPARE(readBytes(own.configFile()), QByteArray("[Font]\r\nSize=11\r\n"));

    // Not the user's own folder: no copy, whatever the field says.
    own.seedConfigFile.clear();
    QFile::remove(own.configFile());
    QVERIFY(!seedLocalConfig(own));
    QVERIFY(!QFileInfo::exists(own.configFile()));
}

void TestLocalConfig::dataFolderFromEnvironment()
{
    {
        TempDataFolder data;
        const AppFolders &f = AppFolders::refresh();
        QCOMPARE(f.dataFolder, QDir::cleanPath(data.path()));
        QCOMPARE(f.configFile(), data.file(QStringLiteral("Korvena.ini")));
        QCOMPARE(f.documentFolder(), data.file(QStringLiteral("Dok")));
        QCOMPARE(f.tmpFolder(), data.file(QStringLiteral("tmp")));
        QCOMPARE(f.htmlFolder(), data.file(QStringLiteral("Html")));
        QCOMPARE(f.langFile(), data.file(QStringLiteral("Lang.ini")));
        QCOMPARE(&AppFolders::current(), &f);
        QCOMPARE(f.programFolder, QCoreApplication::applicationDirPath());

        f.createDocumentFolder();
        QVERIFY(QFileInfo(f.documentFolder()).isDir());
        f.createDocumentFolder(); // already there: nothing happens

        LocalConfig c = LocalConfig::load();
        QCOMPARE(c.htmlUt, f.htmlFolder());
        c.createHtmlFolder();
        QVERIFY(QFileInfo(f.htmlFolder()).isDir());
        c.fontSize = 14;
        QVERIFY(c.save());
        QCOMPARE(LocalConfig::load().fontSize, 14);
    }
    qputenv("KORVENA_DATA", m_dir.filePath(QStringLiteral("sub/../portable/")).toUtf8());
    QCOMPARE(AppFolders::refresh().dataFolder, m_dir.filePath(QStringLiteral("portable")));
    qunsetenv("KORVENA_DATA");
}

// Every test executable: a main window or an error log of a test that sets no
// KORVENA_DATA lands in the process's own temporary folders, not in the
// machine's all-users folder, the real home or the build tree.
void TestLocalConfig::testProcessKeepsItsDataInItsOwnFolder()
{
    QVERIFY(!qEnvironmentVariableIsSet("KORVENA_DATA"));
    const QString temp = QDir(QDir::tempPath()).canonicalPath() + QLatin1Char('/');
    const AppFolders f = AppFolders::detect();
    QVERIFY2(QDir(f.dataFolder).canonicalPath().startsWith(temp), qPrintable(f.dataFolder));
    QVERIFY2(QDir(AppFolders::userFolder()).absolutePath().startsWith(temp),
             qPrintable(AppFolders::userFolder()));
    QVERIFY2(QDir::homePath().startsWith(temp), qPrintable(QDir::homePath()));
    AppFolders::refresh();
}

void TestLocalConfig::programFolderHasNoTrailingSeparator()
{
    QCOMPARE(AppFolders::programFolderOf(QStringLiteral("/opt/Korvena/bin/")),
             QStringLiteral("/opt/Korvena/bin"));
    QCOMPARE(AppFolders::programFolderOf(QStringLiteral("/opt/Korvena/./bin")),
             QStringLiteral("/opt/Korvena/bin"));
}

QTEST_GUILESS_MAIN(TestLocalConfig)
#include "tst_localconfig.moc"
