#include "common/Encoding.h"
#include "core/AppFolders.h"
#include "db/Dataset.h"
#include "db/DbError.h"
#include "db/DbHelpers.h"
#include "output/StoredExport.h"

#include "../core/LocalServers.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A definition over two client rows whose values test the format: a separator and a
// line break inside values, a NULL, a long text and a binary column.
const QString ClientSql = QStringLiteral(
    "SELECT u.ugyfel AS kod, u.ugyfel_nev AS nev, u.varos, u.cim, j.szoveg AS hosszu, "
    "CAST(u.ugyfel_nev AS BINARY) AS kep FROM ugyfel u LEFT JOIN jegyzet j ON j.ugyfel = u.ugyfel "
    "WHERE u.ugyfel IN (1, 2) ORDER BY u.ugyfel;");

} // namespace

class TestStoredExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void lines_data();
    void lines();
    void newDefinitionStartsWithItsDefaultsAndIsSaved();
    void resultColumnsNameEveryColumnOrSayWhyNot();
    void storedSqlCannotChangeData_data();
    void storedSqlCannotChangeData();
    void runsToAFileInTheDataFolder();
    void runsToClipboardText();
    void uploadsToTheFtpFolderOrTheLoginFolder();
    void refusedQueryWritesNothing();
    void fileThatCannotBeWrittenIsReported();

private:
    int saveDefinition(const QString &sql, const QString &file, int separator, int quote,
                       const QString &ftpFolder = {});

    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<QTemporaryDir> m_ftpRoot;
    std::unique_ptr<LocalServer> m_ftp;
};

void TestStoredExport::initTestCase()
{
    m_folder = std::make_unique<TempDataFolder>();
    AppFolders::refresh();
    QCOMPARE(AppFolders::current().dataFolder, m_folder->path());
    m_db = std::make_unique<TestDatabase>();
    ExecSql(QStringLiteral("CREATE TABLE jegyzet (ugyfel INT, szoveg LONGTEXT);"));
    ExecSql(QStringLiteral("INSERT INTO jegyzet VALUES (1, 'hosszú megjegyzés');"));
    m_ftpRoot = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_ftpRoot->path()).mkpath(QStringLiteral("ki/napi")));
    m_ftp = std::make_unique<LocalServer>("ftp_server.py", QStringList{m_ftpRoot->path()});
    QVERIFY2(m_ftp->port() > 0, "the local FTP server did not start");
}

void TestStoredExport::cleanupTestCase()
{
    m_ftp.reset();
    m_db.reset();
    m_folder.reset();
}

void TestStoredExport::init()
{
    resetProcessState();
    ExecSql(QStringLiteral("DELETE FROM csvexp;"));
    ExecSql(QStringLiteral("DELETE FROM ugyfel WHERE ugyfel IN (1, 2);"));
    ExecSql(QStringLiteral("INSERT INTO ugyfel (ugyfel, ugyfel_nev, varos, cim) VALUES "
                           "(1, 'Kovács; és társa', 'Győr', 'Fő utca 1.\\r\\n2. emelet'), "
                           "(2, 'Árvíztűrő \"Bt\"', NULL, '');"));
}

int TestStoredExport::saveDefinition(const QString &sql, const QString &file, int separator, int quote,
                                     const QString &ftpFolder)
{
    EditRecord r = StoredExport::newRecord();
    r.setValue(u"csvexp_nev", QStringLiteral("Ügyfelek"));
    r.setValue(u"szoveg_sql", sql);
    r.setValue(u"file_local", file);
    r.setValue(u"hatarolo", separator);
    r.setValue(u"szovegjelolo", quote);
    r.setValue(u"ftp_kell", QStringLiteral("I"));
    r.setValue(u"host_ftp", m_ftp->host());
    r.setValue(u"ftp_user", QStringLiteral("iro"));
    r.setValue(u"ftp_jelszo", QStringLiteral("jelszo"));
    r.setValue(u"file_ftp", ftpFolder.isEmpty() ? QVariant() : QVariant(ftpFolder));
    return StoredExport::save(-1, r);
}

void TestStoredExport::lines_data()
{
    QTest::addColumn<int>("separator");
    QTest::addColumn<int>("quote");
    QTest::addColumn<QString>("expected");
    // Values go out unchanged: the separator in a name splits it, a line break splits
    // the record; every line keeps its final separator.
    QTest::newRow("semicolon, double quote")
        << 0 << 0
        << QStringLiteral(
               "\"kod\";\"nev\";\"varos\";\"cim\";\"hosszu\";\"kep\";\r\n"
               "\"1\";\"Kovács; és társa\";\"Győr\";\"Fő utca 1.\r\n2. emelet\";\"BLOB\";\"BLOB\";\r\n"
               "\"2\";\"Árvíztűrő \"Bt\"\";\"\";\"\";\"BLOB\";\"BLOB\";\r\n");
    QTest::newRow("tab, apostrophe")
        << 1 << 1
        << QStringLiteral("'kod'\t'nev'\t'varos'\t'cim'\t'hosszu'\t'kep'\t\r\n"
                          "'1'\t'Kovács; és társa'\t'Győr'\t'Fő utca 1.\r\n2. emelet'\t'BLOB'\t'BLOB'\t\r\n"
                          "'2'\t'Árvíztűrő \"Bt\"'\t''\t''\t'BLOB'\t'BLOB'\t\r\n");
    QTest::newRow("comma, none") << 2 << 2
                                 << QStringLiteral(
                                        "kod,nev,varos,cim,hosszu,kep,\r\n"
                                        "1,Kovács; és társa,Győr,Fő utca 1.\r\n2. emelet,BLOB,BLOB,\r\n"
                                        "2,Árvíztűrő \"Bt\",,,BLOB,BLOB,\r\n");
    QTest::newRow("pipe") << 3 << 2
                          << QStringLiteral("kod|nev|varos|cim|hosszu|kep|\r\n"
                                            "1|Kovács; és társa|Győr|Fő utca 1.\r\n2. emelet|BLOB|BLOB|\r\n"
                                            "2|Árvíztűrő \"Bt\"|||BLOB|BLOB|\r\n");
}

void TestStoredExport::lines()
{
    QFETCH(int, separator);
    QFETCH(int, quote);
    QFETCH(QString, expected);
    const Dataset rows = db().query(ClientSql);
    const QByteArray bytes =
        StoredExport::lines(rows, StoredExport::separatorChar(separator), StoredExport::quoteText(quote));
    QCOMPARE(FromCp1250(bytes), expected);
    QCOMPARE(bytes, ToCp1250(expected));
}

void TestStoredExport::newDefinitionStartsWithItsDefaultsAndIsSaved()
{
    EditRecord r = StoredExport::newRecord();
    QCOMPARE(r.value(u"ftp_kell").toString(), QStringLiteral("N"));
    QCOMPARE(r.value(u"ezgrafikon").toString(), QStringLiteral("N"));
    QCOMPARE(r.value(u"adatcentrum").toString(), QStringLiteral("N"));
    QCOMPARE(r.value(u"hatarolo").toInt(), 0);
    QCOMPARE(r.value(u"szovegjelolo").toInt(), 0);
    r.setValue(u"csvexp_nev", QStringLiteral("Havi 'lista'"));
    r.setValue(u"szoveg_sql", QStringLiteral("SELECT 'a\\b';"));
    const int key = StoredExport::save(-1, r);
    QVERIFY(key > 0);

    EditRecord loaded = StoredExport::load(key);
    QCOMPARE(loaded.value(u"csvexp_nev").toString(), QStringLiteral("Havi 'lista'"));
    QCOMPARE(loaded.value(u"szoveg_sql").toString(), QStringLiteral("SELECT 'a\\b';"));
    QCOMPARE(loaded.value(u"ftp_kell").toString(), QStringLiteral("N"));
    loaded.setValue(u"kategoria", QStringLiteral("Havi"));
    loaded.setValue(u"hatarolo", 3);
    QCOMPARE(StoredExport::save(key, loaded), key);
    QCOMPARE(SelectText(QStringLiteral("SELECT CONCAT(kategoria, hatarolo) FROM csvexp;"), {}),
             QStringLiteral("Havi3"));

    ExecSql(StoredExport::deleteStatement(key));
    QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM csvexp;"), -1), 0);
}

void TestStoredExport::resultColumnsNameEveryColumnOrSayWhyNot()
{
    QCOMPARE(StoredExport::resultColumns(ClientSql),
             QStringList({"kod", "nev", "varos", "cim", "hosszu", "kep"}));
    // Statements that cannot stand as a derived table are asked as they are.
    QCOMPARE(StoredExport::resultColumns(QStringLiteral("SELECT 1 AS a, 2 AS a")), QStringList({"a", "a"}));
    QCOMPARE(StoredExport::resultColumns(QStringLiteral("SHOW TABLES LIKE 'csvexp'")).size(), 1);
    // Asking must not run a statement that changes data.
    ExecSql(QStringLiteral("INSERT INTO csvexp (csvexp_nev) VALUES ('marad');"));
    QVERIFY_THROWS_EXCEPTION(KorvenaError, StoredExport::resultColumns(QStringLiteral("DELETE FROM csvexp;")));
    QVERIFY_THROWS_EXCEPTION(
        KorvenaError, StoredExport::resultColumns(QStringLiteral("SELECT 1 AS a; DELETE FROM csvexp;")));
    QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM csvexp;"), -1), 1);
    QString refusal;
    try {
        StoredExport::resultColumns(QStringLiteral("SELECT nincsilyen FROM csvexp;"));
    } catch (const DbError &e) {
        refusal = e.text();
    }
    QVERIFY2(refusal.contains(QStringLiteral("nincsilyen")) && refusal.endsWith(QStringLiteral("(1054)")),
             qPrintable(refusal));
}

void TestStoredExport::storedSqlCannotChangeData_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("refused"); // before the server sees it
    QTest::newRow("second statement") << "SELECT 1; DELETE FROM csvexp" << true;
    QTest::newRow("out of the probe") << "SELECT 1) x; DELETE FROM csvexp WHERE 1=1; SELECT (1" << true;
    QTest::newRow("change alone") << "DELETE FROM csvexp" << true;
    QTest::newRow("hidden in a comment") << "SELECT 1 /*! ; DELETE FROM csvexp */" << true;
    QTest::newRow("into a server file") << "SELECT * FROM csvexp INTO OUTFILE '/tmp/korvena-x.csv'" << true;
    QTest::newRow("a routine that writes") << "SELECT torol_mind()" << false;
    QTest::newRow("locking read") << "SELECT * FROM csvexp FOR UPDATE" << false;
}

void TestStoredExport::storedSqlCannotChangeData()
{
    QFETCH(QString, sql);
    QFETCH(bool, refused);
    ExecSql(QStringLiteral("DROP FUNCTION IF EXISTS torol_mind"));
    ExecSql(QStringLiteral("CREATE FUNCTION torol_mind() RETURNS INT MODIFIES SQL DATA "
                           "BEGIN DELETE FROM csvexp; RETURN 1; END"));
    ExecSql(QStringLiteral("INSERT INTO csvexp (csvexp_nev) VALUES ('marad');"));
    QCOMPARE(StoredExport::refusal(sql).isEmpty(), !refused);
    StoredExportDefinition d;
    d.sql = sql;
    try {
        StoredExport::resultColumns(sql);
    } catch (const KorvenaError &) {
    }
    try {
        StoredExport::runQuery(d);
    } catch (const KorvenaError &) {
    }
    QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM csvexp;"), -1), 1);
    // Whatever ran left no transaction open behind it.
    QCOMPARE(SelectInt(QStringLiteral("SELECT @@in_transaction"), -1), 0);
    ExecSql(QStringLiteral("DROP FUNCTION torol_mind"));
}

void TestStoredExport::runsToAFileInTheDataFolder()
{
    QDir::setCurrent(QDir::tempPath());
    const int key = saveDefinition(ClientSql, QStringLiteral("ugyfelek.csv"), 0, 2);
    const Dataset list = db().query(QStringLiteral("SELECT * FROM csvexp;"));
    const StoredExportDefinition d = StoredExportDefinition::fromRow(list, 0);
    QVERIFY(key > 0);
    QVERIFY(d.ftp);
    const Dataset rows = StoredExport::runQuery(d);
    QCOMPARE(StoredExport::writeFile(d, rows), QString());
    const QByteArray written = readFile(m_folder->file(QStringLiteral("ugyfelek.csv")));
    QVERIFY(written.startsWith("kod;nev;varos;cim;hosszu;kep;\r\n1;"));
    QCOMPARE(written.count("\r\n"), 4);
    // The data folder stays the working folder for later relative names.
    QCOMPARE(QDir::current().canonicalPath(), QDir(m_folder->path()).canonicalPath());
}

void TestStoredExport::runsToClipboardText()
{
    saveDefinition(QStringLiteral("SELECT ugyfel, varos FROM ugyfel WHERE ugyfel IN (1, 2) ORDER BY 1"), {},
                   1, 0);
    const StoredExportDefinition d =
        StoredExportDefinition::fromRow(db().query(QStringLiteral("SELECT * FROM csvexp;")), 0);
    QCOMPARE(StoredExport::clipboardText(d, StoredExport::runQuery(d)),
             QStringLiteral("\"ugyfel\"\t\"varos\"\t\r\n\"1\"\t\"Győr\"\t\r\n\"2\"\t\"\"\t"));
}

void TestStoredExport::uploadsToTheFtpFolderOrTheLoginFolder()
{
    saveDefinition(ClientSql, QStringLiteral("ki.csv"), 0, 0, QStringLiteral("ki/napi"));
    saveDefinition(ClientSql, QStringLiteral("gyoker.csv"), 0, 0);
    const Dataset list = db().query(QStringLiteral("SELECT * FROM csvexp ORDER BY csvexp;"));
    for (int row = 0; row < 2; ++row) {
        const StoredExportDefinition d = StoredExportDefinition::fromRow(list, row);
        QCOMPARE(StoredExport::writeFile(d, StoredExport::runQuery(d)), QString());
        StoredExport::upload(d);
    }
    const QByteArray local = readFile(m_folder->file(QStringLiteral("ki.csv")));
    QVERIFY(!local.isEmpty());
    QCOMPARE(readFile(m_ftpRoot->filePath(QStringLiteral("ki/napi/ki.csv"))), local);
    QCOMPARE(readFile(m_ftpRoot->filePath(QStringLiteral("gyoker.csv"))), local);

    // A refused upload fails with the transfer's reason.
    StoredExportDefinition readOnly = StoredExportDefinition::fromRow(list, 0);
    readOnly.ftpUser = QStringLiteral("olvaso");
    QVERIFY_THROWS_EXCEPTION(KorvenaError, StoredExport::upload(readOnly));
}

void TestStoredExport::refusedQueryWritesNothing()
{
    saveDefinition(QStringLiteral("SELECT nincsilyen FROM ugyfel;"), QStringLiteral("hibas.csv"), 0, 0);
    const StoredExportDefinition d =
        StoredExportDefinition::fromRow(db().query(QStringLiteral("SELECT * FROM csvexp;")), 0);
    QVERIFY_THROWS_EXCEPTION(DbError, StoredExport::runQuery(d));
    QVERIFY(!QFile::exists(m_folder->file(QStringLiteral("hibas.csv"))));
}

void TestStoredExport::fileThatCannotBeWrittenIsReported()
{
    StoredExportDefinition d;
    d.sql = QStringLiteral("SELECT 1;");
    d.localFile = QStringLiteral("nincs/ilyen/mappa.csv");
    QVERIFY(!StoredExport::writeFile(d, StoredExport::runQuery(d)).isEmpty());
    d.localFile.clear();
    QVERIFY(!StoredExport::writeFile(d, StoredExport::runQuery(d)).isEmpty());
}

QTEST_GUILESS_MAIN(TestStoredExport)
#include "tst_storedexport.moc"
