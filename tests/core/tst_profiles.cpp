#include "common/Encoding.h"
#include "core/ConnectionProfile.h"
#include "core/IniFile.h"
#include "core/LocalConfig.h"
#include "core/ProfileList.h"
#include "db/DbError.h"

#include "TestDatabase.h"
#include "TestSupport.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kSection = QStringLiteral("Adatbazis");
using StoredProfiles = QMap<int, QString>; // ConStrN -> profile line

} // namespace

class TestProfiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fieldsByPosition_data();
    void fieldsByPosition();
    void lineComposition();
    void tlsChoiceInTheSeventhField_data();
    void tlsChoiceInTheSeventhField();
    void tlsAuthorityFromTheLocalConfig();
    void scrambledForm();
    void scrambleRoundTripsEveryCodeBelow255();
    void unscrambleShortTexts_data();
    void unscrambleShortTexts();

    void startupChoices_data();
    void startupChoices();
    void storedProfileIsOffered();
    void newProfileKey_data();
    void newProfileKey();

    void connectionParams_data();
    void connectionParams();
    void testProfileAgainstTheServer();

    void databaseListSavesTheWholeListOrNothing();

private:
    QTemporaryDir m_dir;
    int m_fileNumber = 0;
    QString newPath() { return m_dir.filePath(QStringLiteral("p%1.ini").arg(++m_fileNumber)); }
};

void TestProfiles::fieldsByPosition_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields"); // 1 .. 7

    QTest::newRow("six fields") << "iktato;localhost;3306;korvena;titok;Iroda"
                                << QStringList{"iktato", "localhost", "3306", "korvena",
                                               "titok",  "Iroda",     ""};
    QTest::newRow("trailing ';' ignored")
        << "iktato;localhost;3306;korvena;titok;Iroda;"
        << QStringList{"iktato", "localhost", "3306", "korvena", "titok", "Iroda", ""};
    QTest::newRow("blanks trimmed") << "  iktato ; 10.0.0.5 ;3307 ; kati ;  ; Fő iroda  "
                                    << QStringList{"iktato", "10.0.0.5", "3307", "kati", "", "Fő iroda", ""};
    QTest::newRow("missing fields read empty")
        << "iktato;localhost" << QStringList{"iktato", "localhost", "", "", "", "", ""};
    QTest::newRow("empty line") << "" << QStringList{"", "", "", "", "", "", ""};
    QTest::newRow("empty fields keep their places")
        << ";;3306;;;Név" << QStringList{"", "", "3306", "", "", "Név", ""};
}

void TestProfiles::fieldsByPosition()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    for (int n = 1; n <= 7; ++n)
        QCOMPARE(profileField(line, n), fields.at(n - 1));
    QCOMPARE(profileField(line, 0), QString());

    const ConnectionProfile p = ConnectionProfile::fromLine(line);
    QCOMPARE(QStringList({p.database, p.server, p.port, p.user, p.password, p.displayName}),
             fields.mid(0, 6));
}

void TestProfiles::lineComposition()
{
    const QString line =
        profileLine(QStringLiteral("iktato"), QStringLiteral("db.iroda.hu"), QStringLiteral("3306"),
                    QStringLiteral("kati"), QStringLiteral("jelszó"), QStringLiteral("Főiroda"));
    QCOMPARE(line, QStringLiteral("iktato;db.iroda.hu;3306;kati;jelszó;Főiroda"));
    QCOMPARE(ConnectionProfile::fromLine(line).line(), line);
}

Q_DECLARE_METATYPE(TlsMode)

void TestProfiles::tlsChoiceInTheSeventhField_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<TlsMode>("tls");
    QTest::addColumn<QString>("written"); // the line as this program writes it back

    const QString six = QStringLiteral("iktato;db;3306;kati;titok;Iroda");
    QTest::newRow("six fields: TLS when offered") << six << TlsMode::Preferred << six;
    QTest::newRow("empty seventh field") << six + ";" << TlsMode::Preferred << six;
    QTest::newRow("off") << six + ";off" << TlsMode::Off << six + ";off";
    QTest::newRow("required") << six + "; required " << TlsMode::Required << six + ";required";
    QTest::newRow("a newer program's word") << six + ";valami" << TlsMode::Preferred << six;
}

// A reader of six fields (an older copy of the program) finds its fields where they were.
void TestProfiles::tlsChoiceInTheSeventhField()
{
    QFETCH(QString, line);
    QFETCH(TlsMode, tls);
    QFETCH(QString, written);
    const ConnectionProfile p = ConnectionProfile::fromLine(line);
    QCOMPARE(p.tls, tls);
    QCOMPARE(p.line(), written);
    for (int n = 1; n <= 6; ++n)
        QCOMPARE(profileField(p.line(), n), profileField(line, n));
    QCOMPARE(p.connectionParams().tls, tls);
}

void TestProfiles::tlsAuthorityFromTheLocalConfig()
{
    const ConnectionProfile p =
        ConnectionProfile::fromLine(QStringLiteral("iktato;db;3306;kati;titok;Iroda;required"));
    {
        TempDataFolder data;
        AppFolders::refresh();
        QCOMPARE(p.connectionParams().tlsCaFile, QString());
        IniFile ini = localConfigFile();
        QVERIFY(ini.writeString(kSection, QStringLiteral("TlsCaFile"), QStringLiteral("/etc/korvena/ca.pem")));
        QCOMPARE(p.connectionParams().tlsCaFile, QStringLiteral("/etc/korvena/ca.pem"));
    }
    AppFolders::refresh();
}

void TestProfiles::scrambledForm()
{
    const QString line = QStringLiteral("ab;ő");
    QRandomGenerator first(7), second(7), other(8);
    const QString scrambled = ScrambleProfile(line, &first);
    QCOMPARE(ScrambleProfile(line, &second), scrambled); // the filler comes from the given source
    QVERIFY(ScrambleProfile(line, &other) != scrambled);

    QCOMPARE(scrambled.size(), 3 + 2 * line.size());
    // Each character moves one code up in code page 1250: 'ő' (0xF5) becomes 'ö' (0xF6).
    QCOMPARE(scrambled.at(3), QLatin1Char('b'));
    QCOMPARE(scrambled.at(5), QLatin1Char('c'));
    QCOMPARE(scrambled.at(7), QLatin1Char('<'));
    QCOMPARE(scrambled.at(9), QChar(0x00F6));
    for (int i : {0, 1, 2, 4, 6, 8, 10}) {
        const int code = scrambled.at(i).unicode();
        QVERIFY2(code >= 33 && code <= 87, qPrintable(QString::number(code)));
    }

    // Over many draws the filler reaches both ends of its range and nothing beyond.
    QRandomGenerator random(1);
    const QString filler = ScrambleProfile(QString(2000, QLatin1Char('x')), &random);
    int low = 255, high = 0;
    for (qsizetype i = 0; i < filler.size(); ++i) {
        if (i >= 3 && (i - 3) % 2 == 0)
            continue; // a character of the line
        low = qMin(low, int(filler.at(i).unicode()));
        high = qMax(high, int(filler.at(i).unicode()));
    }
    QCOMPARE(low, 33);
    QCOMPARE(high, 87);
}

void TestProfiles::scrambleRoundTripsEveryCodeBelow255()
{
    QString all;
    for (int code = 0; code < 255; ++code) {
        const QString one(Cp1250Char(uchar(code)));
        QCOMPARE(UnscrambleProfile(ScrambleProfile(one)), one);
        all += one;
    }
    QCOMPARE(UnscrambleProfile(ScrambleProfile(all)), all);

    // Through the file too, for every character that can stand in a line of it.
    QString printable;
    for (int code = 32; code < 255; ++code)
        printable += Cp1250Char(uchar(code));
    IniFile ini(newPath());
    QVERIFY(ini.writeString(kSection, QStringLiteral("ConStr1"), ScrambleProfile(printable)));
    QCOMPARE(UnscrambleProfile(ini.readString(kSection, QStringLiteral("ConStr1"))), printable);
}

void TestProfiles::unscrambleShortTexts_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("line");

    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("filler only") << "A7("
                                 << "";
    QTest::newRow("one character, filler missing") << "A7(b"
                                                   << "a";
    QTest::newRow("odd length") << "A7(b!c"
                                << "ab";
}

void TestProfiles::unscrambleShortTexts()
{
    QFETCH(QString, stored);
    QFETCH(QString, line);
    QCOMPARE(UnscrambleProfile(stored), line);
}

void TestProfiles::startupChoices_data()
{
    QTest::addColumn<StoredProfiles>("stored");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("lines");

    const QString one = QStringLiteral("db1;host1;3306;u1;p1;Első");
    const QString three = QStringLiteral("db3;host3;3307;u3;p3;Harmadik");
    QTest::newRow("1 and 3, 2 missing") << StoredProfiles{{1, one}, {3, three}}
                                        << QStringList{"1; Első", "3; Harmadik"} << QStringList{one, three};
    QTest::newRow("1 and 3, 2 without display name")
        << StoredProfiles{{1, one}, {2, QStringLiteral("db2;host2;3306;u2;p2;  ")}, {3, three}}
        << QStringList{"1; Első", "3; Harmadik"} << QStringList{one, three};
    QTest::newRow("25 offered, 26 not") << StoredProfiles{{25, one}, {26, three}, {100, three}}
                                        << QStringList{"25; Első"} << QStringList{one};
    QTest::newRow("none configured") << StoredProfiles{{2, QStringLiteral("db;h;1;u;p")}} << QStringList{}
                                     << QStringList{};
}

void TestProfiles::startupChoices()
{
    QFETCH(StoredProfiles, stored);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, lines);

    IniFile ini(newPath());
    ini.writeString(QStringLiteral("Adatbazis"), QStringLiteral("HtmlUt"), QStringLiteral("/x"));
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        QVERIFY(
            ini.writeString(kSection, QStringLiteral("ConStr%1").arg(it.key()), ScrambleProfile(it.value())));

    // From the file, and from the values LocalConfig read at start-up.
    AppFolders folders;
    folders.dataFolder = m_dir.path();
    for (const QList<ProfileChoice> &choices :
         {profileChoices(ini), profileChoices(LocalConfig::read(ini, folders).conStr)}) {
        QStringList gotCaptions, gotLines;
        for (const ProfileChoice &c : choices) {
            gotCaptions << c.caption();
            gotLines << c.line;
        }
        QCOMPARE(gotCaptions, captions);
        QCOMPARE(gotLines, lines);
    }
}

void TestProfiles::storedProfileIsOffered()
{
    IniFile ini(newPath());
    const QString line =
        profileLine(QStringLiteral("iktató"), QStringLiteral("szerver"), QStringLiteral("3306"),
                    QStringLiteral("Ödön"), QStringLiteral("p=w x"), QStringLiteral("Központ"));
    QCOMPARE(storeNewProfile(ini, line), 1);
    const QList<ProfileChoice> choices = profileChoices(ini);
    QCOMPARE(choices.size(), 1);
    QCOMPARE(choices.first().caption(), QStringLiteral("1; Központ"));
    QCOMPARE(choices.first().line, line);

    IniFile unwritable(m_dir.filePath(QStringLiteral("missing/folder/Korvena.ini")));
    QVERIFY_THROWS_EXCEPTION(KorvenaError, storeNewProfile(unwritable, line));
}

void TestProfiles::newProfileKey_data()
{
    QTest::addColumn<QList<int>>("existing");
    QTest::addColumn<int>("expected");

    QList<int> all;
    for (int n = 1; n <= 100; ++n)
        all << n;
    QTest::newRow("empty file") << QList<int>{} << 1;
    QTest::newRow("after 1 and 2") << QList<int>{1, 2} << 3;
    QTest::newRow("fills a gap") << QList<int>{1, 3} << 2;
    QTest::newRow("numbers above 25 count") << QList<int>{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                                                          14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}
                                            << 26;
    QTest::newRow("1 to 100 taken") << all << 0;
    QTest::newRow("1 to 100 and 0 taken") << (QList<int>{0} + all) << 0;
}

void TestProfiles::newProfileKey()
{
    QFETCH(QList<int>, existing);
    QFETCH(int, expected);
    IniFile ini(newPath());
    for (int n : existing) {
        // A key counts even when empty or spelled in another case.
        const QString key = (n % 2 ? QStringLiteral("constr%1") : QStringLiteral("ConStr%1")).arg(n);
        QVERIFY(ini.writeString(kSection, key, n == 3 ? QString() : QStringLiteral("x")));
    }
    const QString line = QStringLiteral("d;s;3306;u;p;Új");
    QCOMPARE(storeNewProfile(ini, line), expected);
    QCOMPARE(UnscrambleProfile(ini.readString(kSection, QStringLiteral("ConStr%1").arg(expected))), line);
}

void TestProfiles::connectionParams_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<int>("expected"); // -1: refused

    QTest::newRow("3306") << "3306" << 3306;
    QTest::newRow("highest") << "65535" << 65535;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("letters") << "abc" << -1;
    QTest::newRow("number with text") << "3306x" << -1;
    QTest::newRow("decimal") << "3306.5" << -1;
    QTest::newRow("negative") << "-1" << -1;
    QTest::newRow("too large") << "65536" << -1;
}

void TestProfiles::connectionParams()
{
    QFETCH(QString, port);
    QFETCH(int, expected);
    const ConnectionProfile p = ConnectionProfile::fromLine(QStringLiteral("iktato;db.iroda.hu;") + port +
                                                            QStringLiteral(";kati;titok;Iroda"));
    if (expected < 0) {
        try {
            p.connectionParams();
            QFAIL("a bad port was accepted");
        } catch (const DbError &) {
            QFAIL("a bad port is no server error");
        } catch (const KorvenaError &e) {
            QCOMPARE(e.text(), QStringLiteral("Érvénytelen portszám: '%1'").arg(port));
        }
        return;
    }
    const ConnectionParams params = p.connectionParams();
    QCOMPARE(params.database, QStringLiteral("iktato"));
    QCOMPARE(params.host, QStringLiteral("db.iroda.hu"));
    QCOMPARE(int(params.port), expected);
    QCOMPARE(params.user, QStringLiteral("kati"));
    QCOMPARE(params.password, QStringLiteral("titok"));
    QCOMPARE(params.connectTimeout, 30);
    QVERIFY(params.compress);
}

void TestProfiles::testProfileAgainstTheServer()
{
    const ConnectionParams server = TestDatabase::serverParams();
    ConnectionProfile p;
    p.server = server.host;
    p.port = QString::number(server.port);
    p.user = server.user;
    p.password = server.password;
    p.displayName = QStringLiteral("Teszt");
    QCOMPARE(testProfile(p), QString());

    p.password = QStringLiteral("rossz jelszó");
    const QString message = testProfile(p);
    QVERIFY(!message.isEmpty());
    QVERIFY2(message.endsWith(QStringLiteral("(1045)")), qPrintable(message));

    p.port = QStringLiteral("port");
    QVERIFY_THROWS_EXCEPTION(KorvenaError, testProfile(p));
}

// Closing the database list commits the new list once: a row that cannot be stored
// (a tab scrambles into a line break) leaves every stored profile and the tool path as
// they were, instead of a list cut off half way.
void TestProfiles::databaseListSavesTheWholeListOrNothing()
{
    const auto row = [](const QString &name) {
        return ProfileRow::fromLine(name + QStringLiteral(";szerver;3306;u;p;") + name + QLatin1Char(';'));
    };
    const auto names = [](const QList<ProfileRow> &rows) {
        QStringList list;
        for (const ProfileRow &r : rows)
            list << r.displayName;
        return list;
    };
    const QString path = newPath();
    IniFile ini(path);
    QVERIFY(ini.writeString(QStringLiteral("Egyeb"), QStringLiteral("Kulcs"), QStringLiteral("marad")));
    QVERIFY(ProfileList::save(path, {row(QStringLiteral("a")), row(QStringLiteral("b")), row(QStringLiteral("c"))},
                              QStringLiteral("/regi/mysqldump")));
    QCOMPARE(QFile::permissions(path) & (QFileDevice::ReadOther | QFileDevice::ReadGroup), QFileDevice::Permissions());

    ProfileRow bad = row(QStringLiteral("rossz"));
    bad.password = QStringLiteral("ta\tb");
    QVERIFY(!ProfileList::save(path, {row(QStringLiteral("x")), bad, row(QStringLiteral("z"))},
                               QStringLiteral("/uj/mysqldump")));
    QCOMPARE(names(ProfileList::read(ini)), (QStringList{"a", "b", "c"}));
    QCOMPARE(ProfileList::dumpToolPath(ini), QStringLiteral("/regi/mysqldump"));
    QVERIFY(!QFile::exists(path + QStringLiteral(".uj")));

    // A shorter list leaves no key of the longer one; other sections stay.
    QVERIFY(ProfileList::save(path, {row(QStringLiteral("x")), row(QStringLiteral("z"))}, QStringLiteral("/uj/mysqldump")));
    QCOMPARE(names(ProfileList::read(ini)), (QStringList{"x", "z"}));
    QVERIFY(!ini.hasKey(kSection, QStringLiteral("ConStr3")));
    QCOMPARE(ProfileList::dumpToolPath(ini), QStringLiteral("/uj/mysqldump"));
    QCOMPARE(ini.readString(QStringLiteral("Egyeb"), QStringLiteral("Kulcs")), QStringLiteral("marad"));
}

QTEST_GUILESS_MAIN(TestProfiles)
#include "tst_profiles.moc"
