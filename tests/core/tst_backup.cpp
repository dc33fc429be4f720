// The script backup (its exact text, statement split, literals that a client reads
// back unchanged, archive, stopping) and the full backup's handling of the password.
#include "BackupFixture.h"
#include "TestDatabase.h"
#include "common/SqlText.h"
#include "core/DatabaseBackup.h"
#include "db/Latin2.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <zip.h>

using namespace DatabaseBackup;

namespace {

const char *TableOptions = " ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci";

QByteArray scriptOf(Connection &c)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!writeScript(c, buffer))
        qFatal("the backup stopped by itself");
    return buffer.data();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Entry names and the first entry's contents.
QStringList zipEntries(const QString &archive, QByteArray *firstContents)
{
    int code = 0;
    zip_t *z = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &code);
    if (!z)
        return {};
    QStringList names;
    const zip_int64_t n = zip_get_num_entries(z, 0);
    for (zip_int64_t i = 0; i < n; ++i)
        names << QString::fromUtf8(zip_get_name(z, zip_uint64_t(i), 0));
    if (n > 0 && firstContents) {
        zip_stat_t st;
        zip_stat_index(z, 0, 0, &st);
        zip_file_t *f = zip_fopen_index(z, 0, 0);
        firstContents->resize(qsizetype(st.size));
        zip_fread(f, firstContents->data(), st.size);
        zip_fclose(f);
    }
    zip_discard(z);
    return names;
}

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void literalBytesMatchSqlLiteral_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("plain") << QStringLiteral("Árvíztűrő tükörfúrógép");
        QTest::newRow("quotes") << QStringLiteral("O'Brien ''x'' '");
        QTest::newRow("backslashes") << QStringLiteral("C:\\Iratok\\ \\\\");
        QTest::newRow("line breaks") << QStringLiteral("első\r\nmásodik\nharmadik\r");
        QTest::newRow("code page 1250 only") << QStringLiteral("„idézet” – 100 €");
    }
    void literalBytesMatchSqlLiteral()
    {
        QFETCH(QString, text);
        QByteArray bytes;
        AppendSqlLiteral(bytes, Latin2::encode(text));
        QCOMPARE(bytes, Latin2::encode(SqlLiteral(text)));
    }

    void scriptHasTheExactForm()
    {
        TestDatabase db(TestDatabase::Empty);
        Connection &c = db.connection();
        c.exec(QStringLiteral("CREATE TABLE b (id INT PRIMARY KEY, Nev VARCHAR(20), osszeg DECIMAL(10,2), "
                              "nap DATE, ido DATETIME, ora TIME, kep BLOB)") +
               QLatin1String(TableOptions));
        c.exec(QStringLiteral("CREATE TABLE e (id INT PRIMARY KEY)") + QLatin1String(TableOptions));
        c.exec(QStringLiteral("CREATE VIEW v AS SELECT id, Nev FROM b"));
        c.exec(QStringLiteral("CREATE TABLE `g h` (id INT PRIMARY KEY, `Kulcs Szo` CHAR(3))") +
               QLatin1String(TableOptions));
        c.exec(QStringLiteral("INSERT INTO b VALUES (1, ") + SqlLiteral(QStringLiteral("A'b\\c\r\nd")) +
               QStringLiteral(", 1234.5, '2024-03-15', '2024-03-15 08:09:10', '08:09:10', 'xy'),"
                              " (2, NULL, NULL, NULL, NULL, NULL, NULL),"
                              " (3, CONCAT('a', CHAR(0), 'b'), NULL, NULL, NULL, NULL, NULL)"));
        c.exec(QStringLiteral("INSERT INTO `g h` VALUES (7, 'x')"));

        QCOMPARE(scriptOf(c), QByteArray("SET NAMES latin2;\r\n"
                                         "SET SESSION sql_mode = 'NO_AUTO_VALUE_ON_ZERO';\r\n"
                                         "\r\n"
                                         "TRUNCATE `b`;\r\n"
                                         "INSERT IGNORE INTO `b` (`id`,`nev`,`osszeg`,`nap`,`ido`,`ora`,`kep`) VALUES\r\n"
                                         "(1,'A''b\\\\c\\r\\nd',1234.50,'2024-03-15','2024-03-15 08:09:10',"
                                         "'08:09:10',0x7879),\r\n"
                                         "(2,NULL,NULL,NULL,NULL,NULL,NULL),\r\n"
                                         "(3,'a\\0b',NULL,NULL,NULL,NULL,NULL);\r\n"
                                         "\r\n"
                                         "TRUNCATE `e`;\r\n"
                                         "\r\n"
                                         "TRUNCATE `g h`;\r\n"
                                         "INSERT IGNORE INTO `g h` (`id`,`kulcs szo`) VALUES\r\n"
                                         "(7,'x');\r\n"
                                         "\r\n"));
    }

    void statementsHold99ThenAtMost100Rows()
    {
        TestDatabase source(TestDatabase::Empty);
        Connection &c = source.connection();
        const QString create = QStringLiteral("CREATE TABLE t (id INT PRIMARY KEY, s VARCHAR(10))") +
                               QLatin1String(TableOptions);
        c.exec(create);
        QStringList values;
        for (int i = 1; i <= 250; ++i)
            values << QStringLiteral("(%1, %2)").arg(SqlInt(i), SqlLiteral(QString::number(i * 7)));
        c.exec(QStringLiteral("INSERT INTO t VALUES ") + values.join(QLatin1Char(',')));

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("t.sql"));
        QCOMPARE(scriptBackup(source.params(), file), Outcome::Written);
        const QList<QByteArray> lines = readFile(file).split('\n');
        QList<int> perStatement;
        int closed = 0;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QByteArray &line = lines[i];
            QVERIFY2(line.isEmpty() || line.endsWith('\r'), line.constData());
            if (line.startsWith("INSERT IGNORE INTO `t` (`id`,`s`) VALUES")) {
                perStatement << 0;
            } else if (line.startsWith('(')) {
                ++perStatement.last();
                // Only the last row of a statement closes it.
                if (line.endsWith(");\r")) {
                    ++closed;
                    QVERIFY(lines[i + 1].startsWith("INSERT") || lines[i + 1] == "\r");
                } else {
                    QVERIFY(line.endsWith("),\r"));
                }
            }
        }
        QCOMPARE(closed, 3);
        QCOMPARE(perStatement, QList<int>({99, 100, 51}));

        TestDatabase target(TestDatabase::Empty);
        target.connection().exec(create);
        const QString failure = BackupFixture::loadWithClient(target.name(), file);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(BackupFixture::checksums(c, target.name()), BackupFixture::checksums(c, source.name()));
    }

    void textSurvivesTheClient_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quote") << QStringLiteral("Kovács 'Öcsi' Béla");
        QTest::newRow("backslash") << QStringLiteral("\\\\szerver\\iratok\\");
        QTest::newRow("line breaks") << QStringLiteral("1. sor\r\n2. sor\n3. sor\r");
        QTest::newRow("typographic") << QStringLiteral("„Idézet” – ára 10 €");
        QTest::newRow("all at once") << QStringLiteral("'\\\r\n„”–€''\\n");
    }
    void textSurvivesTheClient()
    {
        QFETCH(QString, text);
        const QString create =
            QStringLiteral("CREATE TABLE s (id INT PRIMARY KEY, rovid VARCHAR(50), hosszu TEXT)") +
            QLatin1String(TableOptions);
        TestDatabase source(TestDatabase::Empty);
        source.connection().exec(create);
        source.connection().exec(QStringLiteral("INSERT INTO s VALUES (1, %1, %1)").arg(SqlLiteral(text)));
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("s.sql"));
        QCOMPARE(scriptBackup(source.params(), file), Outcome::Written);

        TestDatabase target(TestDatabase::Empty);
        target.connection().exec(create);
        const QString failure = BackupFixture::loadWithClient(target.name(), file);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        const Dataset d = target.connection().query(QStringLiteral("SELECT rovid, hosszu FROM s"));
        QCOMPARE(d.rowCount(), 1);
        QCOMPARE(d.text(0, 0), text);
        QCOMPARE(d.text(0, 1), text);
    }

    // A register as an office fills it, read back by the plain command-line client
    // (no character-set option) and by the program's own loader: every table equal.
    void registerComesBackWithAnyClient()
    {
        TestDatabase source;
        Connection &c = source.connection();
        const QString nasty = QStringLiteral("Árvíztűrő „tükör” – 10 € 'idéz' \\szerver\\mappa\r\nkövetkező\nsor");
        c.exec(QStringLiteral("INSERT INTO iktato (iktato, targy, megjegyzes, kulcsszavak) VALUES "
                              "(7, %1, %2, %3), (5, %4, NULL, '')")
                   .arg(SqlLiteral(nasty), SqlLiteral(QString(nasty + nasty)), SqlLiteral(QStringLiteral("őŐűŰ\\")),
                        SqlLiteral(QStringLiteral("Ügyfél ‘levele’ … – „x”"))));
        c.exec(QStringLiteral("INSERT INTO csvexp (csvexp_nev, szoveg_sql, ftp_jelszo) VALUES (%1, %2, %3)")
                   .arg(SqlLiteral(QStringLiteral("Éves „lista”")),
                        SqlLiteral(QStringLiteral("SELECT 'a''b', \"c\\d\"\r\nFROM iktato;")),
                        SqlLiteral(QStringLiteral("t'it\\kos"))));
        c.exec(QStringLiteral("UPDATE iktato SET figy_szoveg = CONCAT('nul', CHAR(0), 'bájt') WHERE iktato = 5"));
        c.exec(QStringLiteral("UPDATE iktato SET iktato = 0 WHERE iktato = 7"));

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("iroda.sql"));
        QCOMPARE(scriptBackup(source.params(), file), Outcome::Written);
        const QMap<QString, QString> live = BackupFixture::checksums(c, source.name());
        QCOMPARE(live.size(), 27);

        TestDatabase byClient;
        const QString failure = BackupFixture::loadWithClient(byClient.name(), file);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(BackupFixture::checksums(c, byClient.name()), live);

        TestDatabase byLoader;
        const QVariant mode = byLoader.connection().selectValue(QStringLiteral("SELECT @@SESSION.sql_mode"));
        loadScript(byLoader.connection(), file);
        // The loading session keeps its own settings.
        QCOMPARE(byLoader.connection().selectValue(QStringLiteral("SELECT @@SESSION.sql_mode")), mode);
        QCOMPARE(byLoader.connection().selectValue(QStringLiteral("SELECT @@collation_connection")).toString(),
                 QStringLiteral("latin2_hungarian_ci"));
        QCOMPARE(BackupFixture::checksums(c, byLoader.name()), live);
        // The zero key is kept, not handed a new number.
        QCOMPARE(c.selectValue(QStringLiteral("SELECT COUNT(*) FROM `%1`.iktato WHERE iktato = 0")
                                   .arg(byClient.name()))
                     .toInt(),
                 1);
    }

    // Attachment texts run to megabytes: a statement of a hundred of them would pass
    // the client's packet limit, so statements end once they are large.
    void longTextsComeBackInStatementsOfBoundedSize()
    {
        TestDatabase source;
        Connection &c = source.connection();
        for (int i = 1; i <= 12; ++i)
            c.exec(QStringLiteral("INSERT INTO iktato_szoveg (iktato_file, iktato, szoveg, modszer) VALUES "
                                  "(%1, %1, CONCAT(REPEAT('Árvíztűrő „tükörfúrógép” \\ ''x'' ', 25000), %1), 'pdf')")
                       .arg(i));
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("szoveg.sql"));
        QCOMPARE(scriptBackup(source.params(), file), Outcome::Written);
        const QByteArray script = readFile(file);
        qsizetype from = script.indexOf("INSERT IGNORE INTO `iktato_szoveg`");
        QVERIFY(from >= 0);
        int statements = 0;
        for (; from >= 0; from = script.indexOf("INSERT IGNORE INTO `iktato_szoveg`", from + 1)) {
            const qsizetype end = script.indexOf(");\r\n", from);
            QVERIFY(end > from);
            QVERIFY2(end - from < 2 * StatementBytes, qPrintable(QString::number(end - from)));
            ++statements;
        }
        QVERIFY(statements > 1);

        TestDatabase byClient;
        const QString failure = BackupFixture::loadWithClient(byClient.name(), file);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(BackupFixture::checksums(c, byClient.name()), BackupFixture::checksums(c, source.name()));
        QCOMPARE(c.selectValue(QStringLiteral("SELECT COUNT(*) FROM `%1`.iktato_szoveg WHERE szoveg LIKE "
                                              "'Árvíztűrő „tükörfúrógép” %%12'")
                                   .arg(byClient.name()))
                     .toInt(),
                 1);
    }

    void onlyWhatAScriptHoldsLoads_data()
    {
        QTest::addColumn<QByteArray>("statement");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("names") << QByteArray("SET NAMES latin2;") << true;
        QTest::newRow("mode") << QByteArray("set session sql_mode = 'NO_AUTO_VALUE_ON_ZERO';") << true;
        QTest::newRow("truncate") << QByteArray("TRUNCATE `a``b`;") << true;
        QTest::newRow("old truncate") << QByteArray("TRUNCATE iktato;") << true;
        QTest::newRow("insert") << QByteArray("INSERT IGNORE INTO `t` (`a`,b) VALUES\r\n(1,'x''y\\;z',NULL),"
                                              "\r\n(-2.5e3,0x00ff,'');")
                                << true;
        QTest::newRow("use") << QByteArray("USE `korvena`;") << false;
        QTest::newRow("drop table") << QByteArray("DROP TABLE IF EXISTS `iktato`;") << false;
        QTest::newRow("create database") << QByteArray("CREATE DATABASE x;") << false;
        QTest::newRow("drop database") << QByteArray("DROP DATABASE korvena;") << false;
        QTest::newRow("alter") << QByteArray("ALTER TABLE t ADD c INT;") << false;
        QTest::newRow("grant") << QByteArray("GRANT ALL ON *.* TO x;") << false;
        QTest::newRow("other set") << QByteArray("SET GLOBAL read_only = 1;") << false;
        QTest::newRow("executable comment") << QByteArray("/*!40101 SET NAMES utf8mb4 */;") << false;
        QTest::newRow("other database") << QByteArray("TRUNCATE korvena.iktato;") << false;
        QTest::newRow("insert elsewhere") << QByteArray("INSERT IGNORE INTO `korvena`.`t` (a) VALUES (1);") << false;
        QTest::newRow("plain insert") << QByteArray("INSERT INTO t (a) VALUES (1);") << false;
        QTest::newRow("expression") << QByteArray("INSERT IGNORE INTO t (a) VALUES ((SELECT 1));") << false;
        QTest::newRow("second statement") << QByteArray("INSERT IGNORE INTO t (a) VALUES (1); DROP TABLE t;")
                                          << false;
        QTest::newRow("open literal") << QByteArray("INSERT IGNORE INTO t (a) VALUES ('x\\');") << false;
    }
    void onlyWhatAScriptHoldsLoads()
    {
        QFETCH(QByteArray, statement);
        QFETCH(bool, accepted);
        QCOMPARE(isScriptStatement(statement), accepted);
    }

    // A full backup by the dump tool says USE and DROP TABLE: loaded for a check it
    // would replace the live register. It is refused before anything runs.
    void dumpToolFileIsRefusedAndTheRegisterKept()
    {
        const QString tool = findDumpTool(QString());
        if (tool.isEmpty())
            QSKIP("no mariadb-dump or mysqldump on this machine");
        TestDatabase live;
        Connection &c = live.connection();
        c.exec(QStringLiteral("INSERT INTO iktato (iktato, targy) VALUES (1, 'mentett')"));
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("teljes.sql"));
        FullBackup backup;
        bool ok = false;
        connect(&backup, &FullBackup::finished, this, [&](bool success, const QString &) { ok = success; });
        backup.start(tool, live.params(), target);
        QVERIFY(backup.waitForFinished(120000));
        QVERIFY(ok);
        QVERIFY(readFile(target).contains(QByteArray("USE `" + live.name().toLatin1() + "`")));
        c.exec(QStringLiteral("INSERT INTO iktato (iktato, targy) VALUES (2, 'a mentés után')"));

        TestDatabase scratch(TestDatabase::Empty);
        QVERIFY_THROWS_EXCEPTION(NotAScript, loadScript(scratch.connection(), target));
        QCOMPARE(c.selectValue(QStringLiteral("SELECT COUNT(*) FROM iktato")).toInt(), 2);
        QCOMPARE(scratch.connection().query(QStringLiteral("SHOW TABLES")).rowCount(), 0);
    }

    void zipHoldsTheDumpAlone()
    {
        TestDatabase db(TestDatabase::Empty);
        db.connection().exec(QStringLiteral("CREATE TABLE z (id INT PRIMARY KEY, s TEXT)") +
                             QLatin1String(TableOptions));
        db.connection().exec(QStringLiteral("INSERT INTO z VALUES (1, 'egy'), (2, 'kettő')"));
        QTemporaryDir dir;
        const QString plain = dir.filePath(QStringLiteral("sima.sql"));
        const QString archive = dir.filePath(QStringLiteral("mentes.ZIP"));
        QCOMPARE(scriptBackup(db.params(), plain), Outcome::Written);
        QFile(archive).open(QIODevice::WriteOnly); // an earlier file of that name is replaced
        {
            // A file of the user's that happens to have the dump's name is not touched.
            QFile own(dir.filePath(QStringLiteral("mentes.sql")));
            QVERIFY(own.open(QIODevice::WriteOnly));
            own.write("sajat");
        }
        QCOMPARE(scriptBackup(db.params(), archive), Outcome::Written);

        QByteArray contents;
        QCOMPARE(zipEntries(archive, &contents), QStringList{QStringLiteral("mentes.sql")});
        QCOMPARE(contents, readFile(plain));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("mentes.sql"))), QByteArray("sajat"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                                            QDir::Name),
                 QStringList({QStringLiteral("mentes.ZIP"), QStringLiteral("mentes.sql"),
                              QStringLiteral("sima.sql")}));
        // Both hold the passwords of the settings: their owner's alone.
        QCOMPARE(BackupFixture::modeOf(plain), QStringLiteral("600"));
        QCOMPARE(BackupFixture::modeOf(archive), QStringLiteral("600"));
    }

    void failedArchiveKeepsTheDump()
    {
        TestDatabase db(TestDatabase::Empty);
        db.connection().exec(QStringLiteral("CREATE TABLE z (id INT PRIMARY KEY)") +
                             QLatin1String(TableOptions));
        QTemporaryDir dir;
        // A folder where the archive should go: the library cannot write it.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("foglalt.zip")));
        QVERIFY_THROWS_EXCEPTION(ArchiveError,
                                 scriptBackup(db.params(), dir.filePath(QStringLiteral("foglalt.zip"))));
        QVERIFY(readFile(dir.filePath(QStringLiteral("foglalt.sql"))).contains("TRUNCATE `z`;\r\n"));
    }

    void stoppedOrRefusedBackupLeavesNoFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("refused");
        QTest::newRow("stopped script") << QStringLiteral("a.sql") << false;
        QTest::newRow("stopped archive") << QStringLiteral("a.zip") << false;
        QTest::newRow("refused script") << QStringLiteral("a.sql") << true;
        QTest::newRow("refused archive") << QStringLiteral("a.zip") << true;
    }
    void stoppedOrRefusedBackupLeavesNoFile()
    {
        QFETCH(QString, name);
        QFETCH(bool, refused);
        TestDatabase db(TestDatabase::Empty);
        Connection &c = db.connection();
        c.exec(QStringLiteral("CREATE TABLE t (id INT PRIMARY KEY)") + QLatin1String(TableOptions));
        c.exec(QStringLiteral("INSERT INTO t SELECT seq FROM seq_1_to_10000"));
        QTemporaryDir dir;
        const QString file = dir.filePath(name);
        {
            QFile previous(file);
            QVERIFY(previous.open(QIODevice::WriteOnly));
            previous.write("az előző mentés");
        }
        if (refused) {
            ConnectionParams p = db.params();
            p.password = QStringLiteral("rossz jelszó");
            QVERIFY_THROWS_EXCEPTION(DbError, scriptBackup(p, file));
        } else {
            int calls = 0;
            // Stops inside the table, after some rows went out.
            QCOMPARE(scriptBackup(db.params(), file,
                                  [&](const Progress &p) { return ++calls < 2 || p.tableRows == 0; }),
                     Outcome::Stopped);
            QCOMPARE(calls, 2);
        }
        // The previous backup of that name stays whole, and nothing is left beside it.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{name});
        QCOMPARE(readFile(file), QByteArray("az előző mentés"));
    }

    void fullBackupKeepsThePasswordOffTheCommandLine()
    {
        QTemporaryDir dir;
        const QString tool = dir.filePath(QStringLiteral("dump"));
        {
            QFile f(tool);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("#!/bin/sh\n"
                    "opt=\"${1#--defaults-extra-file=}\"\n"
                    "printf '%s\\n' \"$@\" > \"" +
                    QFile::encodeName(dir.path()) +
                    "/args\"\n"
                    "stat -c %a \"$opt\" > \"" +
                    QFile::encodeName(dir.path()) +
                    "/mode\"\n"
                    "cat \"$opt\" > \"" +
                    QFile::encodeName(dir.path()) + "/options\"\n");
            f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
        ConnectionParams p;
        p.host = QStringLiteral("db.example");
        p.port = 3307;
        p.user = QStringLiteral("iktato");
        p.password = QStringLiteral("Titok\"\\ jel#szó");
        p.database = QStringLiteral("korvena");
        const QString target = dir.filePath(QStringLiteral("teljes.sql"));

        FullBackup backup;
        bool ok = false;
        connect(&backup, &FullBackup::finished, this, [&](bool success, const QString &) { ok = success; });
        backup.start(tool, p, target);
        const QString optionFile = backup.optionFilePath();
        QVERIFY(backup.waitForFinished(30000));
        QVERIFY(ok);

        const QString args = QString::fromUtf8(readFile(dir.filePath(QStringLiteral("args"))));
        QVERIFY2(!args.contains(QStringLiteral("Titok")), qPrintable(args));
        QStringList given = args.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        // The tool writes a side file that becomes the target only when it succeeded.
        const QString resultFile = given.takeLast();
        QVERIFY2(resultFile.startsWith(QStringLiteral("--result-file=") + target + QLatin1Char('.')) &&
                     resultFile.endsWith(QStringLiteral(".part")),
                 qPrintable(resultFile));
        QCOMPARE(given, QStringList({QStringLiteral("--defaults-extra-file=") + optionFile, QStringLiteral("-c"),
                                     QStringLiteral("-C"), QStringLiteral("--single-transaction"),
                                     QStringLiteral("--force"), QStringLiteral("--databases"),
                                     QStringLiteral("korvena"), QStringLiteral("--port=3307"),
                                     QStringLiteral("--host=db.example"), QStringLiteral("--user=iktato")}));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("mode"))).trimmed(), QByteArray("600"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("options"))),
                 "[client]\npassword=\"Titok\\\"\\\\ jel#sz" + Latin2::encode(QStringLiteral("ó")) + "\"\n");
        QVERIFY2(!QFile::exists(optionFile), "the option file outlived the tool");
        QVERIFY(QFile::exists(target));
        QCOMPARE(BackupFixture::modeOf(target), QStringLiteral("600"));
    }

    // A tool that fails, or is stopped, after writing part of the dump.
    void fullBackupThatDoesNotFinishLeavesThePreviousFile_data()
    {
        QTest::addColumn<bool>("stopped");
        QTest::newRow("tool fails") << false;
        QTest::newRow("stopped while running") << true;
    }
    void fullBackupThatDoesNotFinishLeavesThePreviousFile()
    {
        QFETCH(bool, stopped);
        QTemporaryDir dir;
        const QString tool = dir.filePath(QStringLiteral("dump"));
        {
            QFile f(tool);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("#!/bin/sh\n"
                    "for a; do case \"$a\" in --result-file=*) out=\"${a#--result-file=}\";; esac; done\n"
                    "printf 'CREATE DATABASE csonka' > \"$out\"\n");
            f.write(stopped ? "sleep 30\n" : "echo 'kapcsolati hiba' >&2; exit 2\n");
            f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
        const QString target = dir.filePath(QStringLiteral("teljes.sql"));
        {
            QFile previous(target);
            QVERIFY(previous.open(QIODevice::WriteOnly));
            previous.write("az előző mentés");
        }
        ConnectionParams p;
        p.database = QStringLiteral("korvena");
        {
            FullBackup backup;
            bool ok = true;
            QString message;
            connect(&backup, &FullBackup::finished, this, [&](bool success, const QString &m) {
                ok = success;
                message = m;
            });
            backup.start(tool, p, target);
            if (stopped) {
                const auto partSize = [&] {
                    const QStringList parts = QDir(dir.path()).entryList({QStringLiteral("*.part")}, QDir::Files);
                    return parts.size() == 1 ? QFileInfo(dir.filePath(parts[0])).size() : qint64(-1);
                };
                QTRY_VERIFY(partSize() > 0);
                QVERIFY(backup.isRunning());
            } else {
                QVERIFY(backup.waitForFinished(30000));
                QVERIFY(!ok);
                QVERIFY2(message.contains(QStringLiteral("kapcsolati hiba")), qPrintable(message));
            }
        }
        QCOMPARE(readFile(target), QByteArray("az előző mentés"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({QStringLiteral("dump"), QStringLiteral("teljes.sql")}));
    }

    void fullBackupByTheDumpTool()
    {
        const QString tool = findDumpTool(QStringLiteral("/nincs/ilyen/mysqldump.exe"));
        if (tool.isEmpty())
            QSKIP("no mariadb-dump or mysqldump on this machine");
        TestDatabase db(TestDatabase::Empty);
        Connection &c = db.connection();
        c.exec(QStringLiteral("CREATE TABLE t (id INT PRIMARY KEY, s VARCHAR(20))") +
               QLatin1String(TableOptions));
        c.exec(QStringLiteral("INSERT INTO t VALUES (1, 'első sor')"));
        // A password the option file has to quote and escape to hand over whole.
        const QString user = db.name().left(20) + QStringLiteral("_m");
        const QString password = QStringLiteral("a\"b\\c #d 'é");
        c.exec(QStringLiteral("CREATE USER %1@'%' IDENTIFIED BY %2")
                   .arg(SqlLiteral(user), SqlLiteral(password)));
        c.exec(QStringLiteral("GRANT ALL ON `%1`.* TO %2@'%'").arg(db.name(), SqlLiteral(user)));
        ConnectionParams p = db.params();
        p.user = user;
        p.password = password;
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("teljes.sql"));

        FullBackup backup;
        bool ok = false;
        QString message;
        connect(&backup, &FullBackup::finished, this, [&](bool success, const QString &m) {
            ok = success;
            message = m;
        });
        backup.start(tool, p, target);
        const bool finished = backup.waitForFinished(120000);
        c.exec(QStringLiteral("DROP USER %1@'%'").arg(SqlLiteral(user)));
        QVERIFY(finished);
        QVERIFY2(ok, qPrintable(message));
        const QByteArray dump = readFile(target);
        QVERIFY(dump.contains("CREATE DATABASE"));
        QVERIFY(dump.contains("INSERT INTO `t` (`id`, `s`) VALUES"));
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
