#include "common/Clock.h"
#include "core/AppFolders.h"
#include "core/Session.h"
#include "core/ErrorReport.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrlQuery>
#include <QtTest>

namespace {

const QString kInternet =
    QStringLiteral("Internet kapcsolat megszakadt. Ellenőrizze, majd a program újraindítása szükséges.");
const QString kSyntax =
    QStringLiteral("frm_Main.aUj-You have an error in your SQL syntax; check the manual that "
                   "corresponds to your MariaDB server version (1064)");

QStringList readLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class TestErrorReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void classification_data();
    void classification();
    void syntaxErrorAppendsTheStatementInBase64_data();
    void syntaxErrorAppendsTheStatementInBase64();
    void reportLeavesOutPasswordValues_data();
    void reportLeavesOutPasswordValues();
    void reportQuestion();
    void logLine();
    void unwritableLogIsSkipped();
    void reportAddressKeepsTheMessageWhole();
    void reportAddressDefaultsToTheMakersHost();
};

void TestErrorReport::classification_data()
{
    QTest::addColumn<QString>("m");
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("ignored");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("offerReport");

    const QString printer =
        QStringLiteral("Érvénytelen nyomtató, válasszon ki érvényes nyomtatót, és indítsa újra a programot.");

    QTest::newRow("list index") << "frm_Main.aUj-List index out of bounds (3)"
                                << "frm_Main" << true << QStringList() << false;
    QTest::newRow("cannot focus") << "x-Cannot focus a disabled or invisible window"
                                  << "frm_Main" << true << QStringList() << false;
    QTest::newRow("clipboard") << "x-Cannot open clipboard"
                               << "" << true << QStringList() << false;
    QTest::newRow("ignored even in the preview")
        << "x-Cannot focus" << ReportPreviewWindowName << true << QStringList() << false;
    QTest::newRow("any failure in the preview")
        << "x-(2013)" << ReportPreviewWindowName << false
        << QStringList{QStringLiteral(
               "Nyomtatási probléma, vagy érvénytelen nyomtató: Rendszer menü / Beállítások "
               "alatt válasszon ki érvényes nyomtatót, és indítsa újra a programot.")}
        << false;
    QTest::newRow("printer index") << "x-Printer index out of range"
                                   << "frm_Main" << false << QStringList{printer} << false;
    QTest::newRow("printer not valid") << "x-Printer selected is not valid"
                                       << "" << false << QStringList{printer} << false;
    QTest::newRow("no default printer") << "x-There is no default printer currently selected"
                                        << "" << false << QStringList{printer} << false;
    QTest::newRow("report component")
        << "x-A component named qrLista already exists"
        << "" << false << QStringList{QStringLiteral("Nyomtatási probléma: indítsa újra a programot.")}
        << false;
    QTest::newRow("jpeg") << "x-JPEG error #53"
                          << "" << false << QStringList{QStringLiteral("Érvénytelen kép.")} << false;
    QTest::newRow("write file")
        << "x-WriteFile function failed"
        << "" << false
        << QStringList{QStringLiteral(
               "Fájl, vagy soros port írási hiba, indítsa újra a programot.\r\nx-WriteFile function failed")}
        << false;
    QTest::newRow("locked file") << "x-A folyamat nem fér hozzá a fájlhoz"
                                 << "" << false
                                 << QStringList{QStringLiteral(
                                        "x-A folyamat nem fér hozzá a fájlhoz\r\nIndítsa újra a programot.")}
                                 << false;
    QTest::newRow("not a valid floating point value")
        << "frm_Szerkeszt.aOK-'1,2,3' is not a valid floating point value for field"
        << "" << false
        << QStringList{QStringLiteral(
               "Adat beviteli probléma: érvénytelen dátum, vagy idő formátum, nyomja meg az "
               "ESC gombot, vagy javítsa.")}
        << false;
    QTest::newRow("access violation")
        << "x-Access violation at address 0040"
        << "" << false
        << QStringList{QStringLiteral("Szoftver probléma: lehet, hogy újra kell indítani a programot.")}
        << false;
    QTest::newRow("invalid input") << "x-Invalid input value"
                                   << "" << false
                                   << QStringList{QStringLiteral(
                                          "Érvénytelen érték megadás, ESC, majd add meg az újat.")}
                                   << false;
    for (const char *code : {"2003", "2005", "2006", "2013"}) {
        QTest::addRow("connection lost %s", code)
            << QStringLiteral("frm_Main.aFrissit-Lost connection (%1)").arg(QLatin1String(code)) << "frm_Main"
            << false << QStringList{kInternet} << false;
    }
    QTest::newRow("deadlock") << "x-Deadlock found (1213)"
                              << "" << false
                              << QStringList{QStringLiteral(
                                     "Adatbázis elérés probléma (1213 - Deadlock found...), "
                                     "a program újraindítása szükséges.")}
                              << false;
    QTest::newRow("too many connections")
        << "x-Too many connections (1040)"
        << "" << false
        << QStringList{QStringLiteral(
               "Adatbázis elérés probléma (1040 - Túl sok felhasználói kapcsolat), a program "
               "újraindítása szükséges.")}
        << false;
    QTest::newRow("lock wait")
        << "x-Lock wait timeout exceeded (1205)"
        << "" << false
        << QStringList{QStringLiteral(
               "Adatbázis elérés probléma (1205 - Lock wait timeout exceeded), hívja rendszergazdáját.")}
        << false;
    QTest::newRow("duplicate key") << "frm_TorzsFoszam.aUj-Duplicate entry '12' for key 'PRIMARY' (1062)"
                                   << "" << false
                                   << QStringList{QStringLiteral("Ez az érték már szerepel az adatbázisban "
                                                                 "(ismétlődő kulcs), adjon meg másikat.")}
                                   << false;
    QTest::newRow("text too long") << "x-Data too long for column 'targy' at row 1 (1406)"
                                   << "" << false
                                   << QStringList{QStringLiteral(
                                          "Túl hosszú szöveg: a mező ennyit nem tud tárolni, rövidítse le.")}
                                   << false;
    QTest::newRow("character latin2 cannot hold")
        << "frm_Szerkeszt.aOK-A szöveg olyan karaktert tartalmaz, amelyet az adatbázis nem tud tárolni: „😀”."
        << "" << false
        << QStringList{QStringLiteral(
               "A szöveg olyan karaktert tartalmaz, amelyet az adatbázis nem tud tárolni: „😀”.")}
        << false;
    QTest::newRow("first rule wins") << "x-JPEG error after (2013)"
                                     << "" << false << QStringList{QStringLiteral("Érvénytelen kép.")}
                                     << false;
    QTest::newRow("code without parentheses is not known") << "x-error 2013 happened"
                                                           << "" << false << QStringList() << true;
    QTest::newRow("collation mix")
        << "x-Illegal mix of collations (1267)"
        << "" << false
        << QStringList{QStringLiteral(
               "Helytelen adatbázis kódlap beállítás (1267). Jelezze rendszergazdájának.")}
        << true;
    QTest::newRow("unknown failure") << "frm_Main.aUj-Division by zero"
                                     << "frm_Main" << false << QStringList() << true;
    QTest::newRow("syntax error")
        << kSyntax << "" << false
        << QStringList{QStringLiteral("SQL probléma: indítsa újra a programot.\r\n") + kSyntax} << true;
    QTest::newRow("syntax error, then a lost connection")
        << "x-check the manual that ... (2006)"
        << "" << false
        << QStringList{QStringLiteral(
                           "SQL probléma: indítsa újra a programot.\r\nx-check the manual that ... (2006)"),
                       kInternet}
        << false;
}

void TestErrorReport::classification()
{
    QFETCH(QString, m);
    QFETCH(QString, window);
    QFETCH(bool, ignored);
    QFETCH(QStringList, boxes);
    QFETCH(bool, offerReport);

    const ErrorReaction reaction = classifyUnhandledError(m, QStringLiteral("SELECT 1"), window);
    QCOMPARE(reaction.ignored, ignored);
    QCOMPARE(reaction.errorBoxes, boxes);
    QCOMPARE(reaction.offerReport, offerReport);
}

void TestErrorReport::syntaxErrorAppendsTheStatementInBase64_data()
{
    QTest::addColumn<QString>("lastSql");
    QTest::addColumn<QString>("appended");

    QTest::newRow("3 characters") << "abc"
                                  << ".sql: YWJj";
    QTest::newRow("4 characters") << "abcd"
                                  << ".sql: YWJjZA==";
    QTest::newRow("5 characters") << "abcde"
                                  << ".sql: YWJjZGU=";
    // The statement goes as the register's single-byte text: ő is one byte (0xF5).
    QTest::newRow("accented") << "ő"
                              << ".sql: 9Q==";
    QTest::newRow("no statement") << ""
                                  << "";
}

void TestErrorReport::syntaxErrorAppendsTheStatementInBase64()
{
    QFETCH(QString, lastSql);
    QFETCH(QString, appended);

    const ErrorReaction reaction = classifyUnhandledError(kSyntax, lastSql, QString());
    QCOMPARE(reaction.message, kSyntax + appended);
    // The box shows the failure as it came.
    QCOMPARE(reaction.errorBoxes.value(0),
             QStringLiteral("SQL probléma: indítsa újra a programot.\r\n") + kSyntax);
    QVERIFY(reaction.offerReport);
    QVERIFY(reaction.reportQuestion().contains(kSyntax + appended + QStringLiteral("\r\n")));

    // Other failures never carry the statement.
    QCOMPARE(classifyUnhandledError(QStringLiteral("x-y"), lastSql, QString()).message,
             QStringLiteral("x-y"));
}

void TestErrorReport::reportLeavesOutPasswordValues_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("lastSql");
    QTest::addColumn<QString>("reportedSql"); // empty: no statement goes with it

    const QString near = QStringLiteral(
        "frm_Beallit.btnOK-You have an error in your SQL syntax; check the manual that corresponds to your "
        "MariaDB server version for the right syntax to use near '%1' at line 1 (1064)");
    // The quote left open by the fault hides the rest of the statement too.
    QTest::newRow("settings, open quote")
        << near.arg(QStringLiteral("titok42'' WHERE beallit = 1"))
        << "UPDATE beallit SET ftp_pwd = 'titok42'' WHERE beallit = 1"
        << "UPDATE beallit SET ftp_pwd = '?'";
    QTest::newRow("client")
        << near.arg(QStringLiteral("WHERE ugyfel = 12 'titok42'"))
        << "UPDATE ugyfel SET webpwd = 'titok42', ugyfel_nev = 'Kiss' WHERE ugyfel = 12 'x'"
        << "UPDATE ugyfel SET webpwd = '?', ugyfel_nev = '?' WHERE ugyfel = ? '?'";
    QTest::newRow("login")
        << near.arg(QStringLiteral("titok42'))"))
        << "SELECT COUNT(*) FROM felhasznalo WHERE (felhasznalo = 'anna') AND (jelszomd5 = MD5(\"titok42\")))"
        << "SELECT COUNT(*) FROM felhasznalo WHERE (felhasznalo = '?') AND (jelszomd5 = MD5('?')))";
    QTest::newRow("stored export")
        << near.arg(QStringLiteral("0x7469746f6b3432)"))
        << "INSERT INTO `csvexp` (`ftp_jelszo`, hatarolo) VALUES (0x7469746f6b3432, 1.5))"
        << "INSERT INTO `csvexp` (`ftp_jelszo`, hatarolo) VALUES (?, ?))";
    // A refusal that quotes the value, with no statement attached.
    QTest::newRow("quoted value")
        << "frm_TorzsUgyfel_Szerkeszt.btnOK-Incorrect string value: 'titok42' for column `webpwd` at row 1 (1366)"
        << "UPDATE ugyfel SET webpwd = 'titok42' WHERE ugyfel = 12"
        << "";
}

void TestErrorReport::reportLeavesOutPasswordValues()
{
    QFETCH(QString, failure);
    QFETCH(QString, lastSql);
    QFETCH(QString, reportedSql);

    const ErrorReaction reaction = classifyUnhandledError(failure, lastSql, QStringLiteral("frm_Main"));
    QVERIFY(reaction.offerReport);
    const QString err = QUrlQuery(errorReportUrl(QStringLiteral("frm_Main"), QStringLiteral("db"), QString(),
                                                 reaction.message))
                            .queryItemValue(QStringLiteral("err"), QUrl::FullyDecoded);
    QCOMPARE(err, reaction.message);
    QVERIFY2(!err.contains(QLatin1String("titok42")) && !err.contains(QLatin1String("7469746f6b3432")),
             qPrintable(err));
    const qsizetype at = err.indexOf(QLatin1String(".sql: "));
    QCOMPARE(at >= 0, !reportedSql.isEmpty());
    if (at >= 0)
        QCOMPARE(QString::fromLatin1(QByteArray::fromBase64(err.mid(at + 6).toLatin1())), reportedSql);
    // The user's own box still shows the failure as it came.
    if (!reportedSql.isEmpty())
        QVERIFY(reaction.errorBoxes.value(0).endsWith(failure));
}

void TestErrorReport::reportQuestion()
{
    ErrorReaction reaction;
    reaction.message = QStringLiteral("frm_Main.aUj-boom");
    QCOMPARE(reaction.reportQuestion(),
             QStringLiteral("Kérem, az alábbi hibaüzenetet az OK gombra kattintva küldje el nekünk:\r\n"
                            "frm_Main.aUj-boom\r\nNyomja meg az OK gombot!"));
}

void TestErrorReport::logLine()
{
    TempDataFolder data;
    AppFolders::refresh();
    const QDateTime when(QDate(2025, 12, 31), QTime(14, 5, 9));
    setFixedNow(when);

    const QString path = errorLogPath();
    QCOMPARE(path, data.path() + QLatin1Char('/') +
                       QFileInfo(QCoreApplication::applicationFilePath()).fileName() +
                       QStringLiteral(".log"));

    appendErrorLog(QStringLiteral("frm_Main"), QStringLiteral("frm_Main.aUj-first"));
    appendErrorLog(QString(), QStringLiteral("-second"));
    clearFixedNow();

    const QStringList lines = readLines(path);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0),
             errorLogLine(when, QStringLiteral("frm_Main"), QStringLiteral("frm_Main.aUj-first")));
    QVERIFY(lines.at(0).endsWith(QStringLiteral(" : frm_Main - frm_Main.aUj-first")));
    QVERIFY(lines.at(1).endsWith(QStringLiteral(" :  - -second")));

    // The stamp is the user's date format with the time to the second.
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    const QString line = errorLogLine(when, QStringLiteral("w"), QStringLiteral("m"));
    QLocale::setDefault(previous);
    QVERIFY2(line.startsWith(
                 QLocale(QLocale::Hungarian, QLocale::Hungary).toString(when.date(), QLocale::ShortFormat)),
             qPrintable(line));
    QVERIFY2(line.contains(QStringLiteral("14:05:09")), qPrintable(line));
}

void TestErrorReport::unwritableLogIsSkipped()
{
    TempDataFolder data;
    QFile blocker(data.file(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    AppFolders folders = AppFolders::detect();
    folders.dataFolder = blocker.fileName() + QStringLiteral("/below");
    AppFolders::setCurrent(folders);

    appendErrorLog(QStringLiteral("frm_Main"), QStringLiteral("x"));
    QVERIFY(!QFileInfo::exists(errorLogPath()));
    AppFolders::refresh();
}

void TestErrorReport::reportAddressKeepsTheMessageWhole()
{
    qputenv("KORVENA_VENDOR_URL", "http://127.0.0.1:9/");
    session().profileLine = QStringLiteral("iktato2025;db.local;3306;u;p;Iroda");
    session().ownerName = QStringLiteral("Kovács & Fia Kft.");
    const QString m = QStringLiteral("frm_Main.aUj-a b&err=x#y?z+1%\r\nő");

    const QUrl url = errorReportUrl(QStringLiteral("frm_Main"), m);
    qunsetenv("KORVENA_VENDOR_URL");

    QVERIFY(url.isValid());
    QCOMPARE(url.toString(QUrl::RemoveQuery), QStringLiteral("http://127.0.0.1:9/apperr.php"));
    QVERIFY(!url.hasFragment());
    const QList<std::pair<QString, QString>> items = QUrlQuery(url).queryItems(QUrl::FullyDecoded);
    const QList<std::pair<QString, QString>> expected = {
        {QStringLiteral("app"), QStringLiteral("36")},
        {QStringLiteral("appnev"),
         QStringLiteral("Korvena-") + QFileInfo(QCoreApplication::applicationFilePath()).fileName()},
        {QStringLiteral("ver"), QStringLiteral("24.0.0.367")},
        {QStringLiteral("form"), QStringLiteral("frm_Main")},
        {QStringLiteral("database"), QStringLiteral("iktato2025")},
        {QStringLiteral("client"), QStringLiteral("Kovács & Fia Kft.")},
        {QStringLiteral("err"), m},
    };
    QCOMPARE(items, expected);
    session() = Session();
}

void TestErrorReport::reportAddressDefaultsToTheMakersHost()
{
    qunsetenv("KORVENA_VENDOR_URL");
    const QUrl url =
        errorReportUrl(QStringLiteral("frm_Main"), QStringLiteral("db"), QString(), QStringLiteral("m"));
    QVERIFY(url.toString().startsWith(
        QStringLiteral("https://www.korvena.hu/apperr.php?app=36&appnev=Korvena-")));
    QVERIFY(url.toString().endsWith(QStringLiteral("&form=frm_Main&database=db&client=&err=m")));
}

QTEST_GUILESS_MAIN(TestErrorReport)
#include "tst_errorreport.moc"
