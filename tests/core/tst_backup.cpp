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
        c.exec(QStringLiteral("INSERT INTO b VALUES (1, ") + SqlLiteral(QStringLiteral("A'b\\c\r\nd")) +
               QStringLiteral(", 1234.5, '2024-03-15', '2024-03-15 08:09:10', '08:09:10', 'xy'),"
                              " (2, NULL, NULL, NULL, NULL, NULL, NULL)"));

        QCOMPARE(scriptOf(c), QByteArray("TRUNCATE b;\r\n"
                                         "INSERT IGNORE INTO b (id,nev,osszeg,nap,ido,ora,kep) VALUES\r\n"
                                         "(1,'A''b\\\\c\\r\\nd',1234.50,'2024-03-15','2024-03-15 08:09:10',"
                                         "'08:09:10',0x7879),\r\n"
                                         "(2,NULL,NULL,NULL,NULL,NULL,NULL);\r\n"
                                         "\r\n"
                                         "TRUNCATE e;\r\n"
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
            if (line.startsWith("INSERT IGNORE INTO t (id,s) VALUES")) {
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
        QCOMPARE(scriptBackup(db.params(), archive), Outcome::Written);

        QByteArray contents;
        QCOMPARE(zipEntries(archive, &contents), QStringList{QStringLiteral("mentes.sql")});
        QCOMPARE(contents, readFile(plain));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
                 QStringList({QStringLiteral("mentes.ZIP"), QStringLiteral("sima.sql")}));
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
        QVERIFY(readFile(dir.filePath(QStringLiteral("foglalt.sql"))).startsWith("TRUNCATE z;\r\n"));
    }

    void stoppedOrRefusedBackupLeavesNoFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("refused");
        QTest::newRow("stopped script") << QStringLiteral("a.sql") << false;
        QTest::newRow("stopped archive") << QStringLiteral("a.zip") << false;
        QTest::newRow("refused script") << QStringLiteral("a.sql") << true;
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
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
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
        QCOMPARE(args.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                 QStringList({QStringLiteral("--defaults-extra-file=") + optionFile, QStringLiteral("-c"),
                              QStringLiteral("-C"), QStringLiteral("--force"), QStringLiteral("--databases"),
                              QStringLiteral("korvena"), QStringLiteral("--port=3307"),
                              QStringLiteral("--host=db.example"), QStringLiteral("--user=iktato"),
                              QStringLiteral("--result-file=") + target}));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("mode"))).trimmed(), QByteArray("600"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("options"))),
                 "[client]\npassword=\"Titok\\\"\\\\ jel#sz" + Latin2::encode(QStringLiteral("ó")) + "\"\n");
        QVERIFY2(!QFile::exists(optionFile), "the option file outlived the tool");
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
