#include "common/SqlText.h"
#include "common/ui/FileDialog.h"
#include "common/ui/MessageBox.h"
#include "core/AppFolders.h"
#include "core/Session.h"
#include "db/DbHelpers.h"
#include "db/ui/DatasetModel.h"
#include "output/StoredExport.h"
#include "output/ui/StoredExportScreens.h"
#include "register/ui/AttachmentScreens.h"

#include "../../core/LocalServers.h"
#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace ModalDriver;

namespace {

QStringList shown(const QString &kind)
{
    QStringList texts;
    for (const MessageBox::ShownMessage &m : MessageBox::shown())
        if (m.kind == kind)
            texts << m.text;
    return texts;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

SessionUser user(bool administrator, bool masterData)
{
    SessionUser u;
    u.login = QStringLiteral("teszt");
    u.administrator = administrator;
    u.masterDataEditing = masterData;
    return u;
}

// Drops the text on the widget as a drag from the column list would.
void dropText(QWidget *target, const QString &text)
{
    QMimeData mime;
    mime.setText(text);
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

const QString ListSql =
    QStringLiteral("SELECT ugyfel, ugyfel_nev FROM ugyfel WHERE ugyfel IN (1, 2) ORDER BY 1;");

} // namespace

class TestStoredExportScreens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void rightsGateTheEditingActions_data();
    void rightsGateTheEditingActions();
    void emptyListSaysNoRowBeforeRights();
    void ftpExportIsOfferedOnlyForFtpDefinitions();
    void exportsToFileClipboardAndFtp();
    void ftpExportRunsInTheTransferWindowThatStopsIt();
    void failedFileStopsTheExport_data();
    void failedFileStopsTheExport();
    void fileOutsideTheOwnFoldersIsConfirmed_data();
    void fileOutsideTheOwnFoldersIsConfirmed();
    void changingSqlIsRefused();
    void newDefinitionThroughTheEditor();
    void editorDropsRefreshesAndLoadsSql();
    void deleteAsksFirst();

private:
    int insertDefinition(const QString &name, const QString &file, bool ftp);

    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<QTemporaryDir> m_ftpRoot;
    std::unique_ptr<LocalServer> m_ftp;
};

void TestStoredExportScreens::initTestCase()
{
    m_folder = std::make_unique<TempDataFolder>();
    AppFolders::refresh();
    m_db = std::make_unique<TestDatabase>();
    m_ftpRoot = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_ftpRoot->path()).mkpath(QStringLiteral("export")));
    m_ftp = std::make_unique<LocalServer>("ftp_server.py", QStringList{m_ftpRoot->path()});
    QVERIFY2(m_ftp->port() > 0, "the local FTP server did not start");
}

void TestStoredExportScreens::cleanupTestCase()
{
    m_ftp.reset();
    m_db.reset();
    m_folder.reset();
}

void TestStoredExportScreens::init()
{
    resetScreenState();
    session().user = user(true, true);
    ExecSql(QStringLiteral("DELETE FROM csvexp;"));
    ExecSql(QStringLiteral("DELETE FROM ugyfel WHERE ugyfel IN (1, 2);"));
    ExecSql(QStringLiteral("INSERT INTO ugyfel (ugyfel, ugyfel_nev) VALUES (1, 'Első'), (2, 'Második');"));
}

int TestStoredExportScreens::insertDefinition(const QString &name, const QString &file, bool ftp)
{
    ExecSql(QStringLiteral("INSERT INTO csvexp (csvexp_nev, szoveg_sql, file_local, hatarolo, szovegjelolo, "
                           "ftp_kell, host_ftp, file_ftp, ftp_user, ftp_jelszo) VALUES (") +
            SqlLiteral(name) + QLatin1Char(',') + SqlLiteral(ListSql) + QLatin1Char(',') + SqlLiteral(file) +
            QStringLiteral(", 0, 2, ") + SqlLiteral(ftp ? QStringLiteral("I") : QStringLiteral("N")) +
            QLatin1Char(',') + SqlLiteral(m_ftp->host()) + QStringLiteral(", 'export', 'iro', 'jelszo');"));
    return int(db().lastInsertId());
}

void TestStoredExportScreens::rightsGateTheEditingActions_data()
{
    QTest::addColumn<bool>("administrator");
    QTest::addColumn<bool>("masterData");
    QTest::addColumn<bool>("newShown");
    QTest::addColumn<bool>("refused");
    QTest::newRow("administrator") << true << false << true << false;
    QTest::newRow("master-data editor") << false << true << true << true;
    QTest::newRow("other user") << false << false << false << true;
}

void TestStoredExportScreens::rightsGateTheEditingActions()
{
    QFETCH(bool, administrator);
    QFETCH(bool, masterData);
    QFETCH(bool, newShown);
    QFETCH(bool, refused);
    insertDefinition(QStringLiteral("Ügyfelek"), QStringLiteral("u.csv"), false);
    session().user = user(administrator, masterData);
    StoredExportList list(nullptr);
    list.requery();
    QCOMPARE(list.windowTitle(), QStringLiteral("Adatexport"));
    QCOMPARE(action(&list, "aUj")->isVisible(), newShown);
    QVERIFY(action(&list, "aSzerkeszt")->isVisible());
    QVERIFY(action(&list, "aTorol")->isVisible());
    if (!refused)
        return;
    trigger(&list, "aSzerkeszt");
    trigger(&list, "aTorol");
    QCOMPARE(shown(QStringLiteral("error")),
             QStringList(2, QStringLiteral("Nincs jogosultság a művelethez.")));
    QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM csvexp;"), -1), 1);
    // The hidden "Új sor" does nothing but refuse when its key is pressed anyway.
    MessageBox::clearShown();
    action(&list, "aUj")->setEnabled(true);
    trigger(&list, "aUj");
    QCOMPARE(shown(QStringLiteral("error")), QStringList(QStringLiteral("Nincs jogosultság a művelethez.")));
}

void TestStoredExportScreens::emptyListSaysNoRowBeforeRights()
{
    session().user = user(false, false);
    StoredExportList list(nullptr);
    list.requery();
    for (const char *name : {"aSzerkeszt", "aTorol", "aExport", "aVagolap"})
        trigger(&list, name);
    QCOMPARE(shown(QStringLiteral("error")), QStringList(4, QStringLiteral("Nincs sor kiválasztva.")));
    QVERIFY(!action(&list, "aFTP")->isVisible());
}

void TestStoredExportScreens::ftpExportIsOfferedOnlyForFtpDefinitions()
{
    insertDefinition(QStringLiteral("A helyi"), QStringLiteral("a.csv"), false);
    const int ftpKey = insertDefinition(QStringLiteral("B feltöltött"), QStringLiteral("b.csv"), true);
    StoredExportList list(nullptr);
    list.requery();
    QCOMPARE(list.currentText(QStringLiteral("csvexp_nev")), QStringLiteral("A helyi"));
    QVERIFY(!action(&list, "aFTP")->isVisible());
    QVERIFY(!action(&list, "aFTP")->isEnabled());
    QVERIFY(list.locateKey(ftpKey));
    QVERIFY(action(&list, "aFTP")->isVisible());
    QVERIFY(action(&list, "aFTP")->isEnabled());
    // The search finds by name and category.
    list.searchBox()->setText(QStringLiteral("hely"));
    QCOMPARE(list.model()->rowCount(), 1);
    QVERIFY(!action(&list, "aFTP")->isVisible());
}

void TestStoredExportScreens::exportsToFileClipboardAndFtp()
{
    insertDefinition(QStringLiteral("Ügyfelek"), QStringLiteral("ugyfelek.csv"), true);
    StoredExportList list(nullptr);
    list.requery();
    QDir::setCurrent(QDir::tempPath());

    trigger(&list, "aExport");
    const QByteArray expected = QByteArrayLiteral("ugyfel;ugyfel_nev;\r\n1;Els\xf5;\r\n2;M\xe1sodik;\r\n");
    QCOMPARE(readFile(m_folder->file(QStringLiteral("ugyfelek.csv"))), expected);
    QCOMPARE(QDir::current().canonicalPath(), QDir(m_folder->path()).canonicalPath());

    trigger(&list, "aVagolap");
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("ugyfel;ugyfel_nev;\r\n1;Első;\r\n2;Második;"));

    QFile::remove(m_folder->file(QStringLiteral("ugyfelek.csv")));
    trigger(&list, "aFTP");
    QCOMPARE(readFile(m_ftpRoot->filePath(QStringLiteral("export/ugyfelek.csv"))), expected);
    QCOMPARE(shown(QStringLiteral("info")),
             QStringList({"Export kész.", "Export vágólapra kész.", "Export kész."}));
    QVERIFY(shown(QStringLiteral("error")).isEmpty());
}

void TestStoredExportScreens::ftpExportRunsInTheTransferWindowThatStopsIt()
{
    // The server takes the file but never confirms it: only the window's Esc ends the wait.
    LocalServer stalled("stalled_ftp_server.py", QStringList{QStringLiteral("data")});
    QVERIFY(stalled.port() > 0);
    insertDefinition(QStringLiteral("Elakadó"), QStringLiteral("elakad.csv"), true);
    ExecSql(QStringLiteral("UPDATE csvexp SET host_ftp = ") + SqlLiteral(stalled.host()));
    StoredExportList list(nullptr);
    list.requery();
    bool windowShown = false;
    onModal(QString(FtpWindow::ObjectName), [&](QDialog *window) {
        windowShown = true;
        QCOMPARE(window->windowTitle(), QStringLiteral("FTP kommunikáció"));
        QTest::keyClick(window, Qt::Key_Escape);
    });
    trigger(&list, "aFTP");
    QVERIFY(windowShown);
    QVERIFY(QFile::exists(m_folder->file(QStringLiteral("elakad.csv"))));
    // Stopped by the user: neither a completion nor a failure to report.
    QVERIFY(MessageBox::shown().isEmpty());
}

// A file that was not written is never reported done, nor sent: the FTP server
// would get a cut or stale file.
void TestStoredExportScreens::failedFileStopsTheExport_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("file") << QStringLiteral("aExport");
    QTest::newRow("ftp") << QStringLiteral("aFTP");
}

void TestStoredExportScreens::failedFileStopsTheExport()
{
    QFETCH(QString, action);
    insertDefinition(QStringLiteral("Rossz hely"), QStringLiteral("nincs/ilyen/u.csv"), true);
    StoredExportList list(nullptr);
    list.requery();
    trigger(&list, action.toLatin1().constData());
    const QList<MessageBox::ShownMessage> messages = MessageBox::shown();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].kind, QStringLiteral("error"));
    QVERIFY(messages[0].text.startsWith(QStringLiteral("Hiba: ")));
    QVERIFY(!QFile::exists(m_ftpRoot->filePath(QStringLiteral("export/u.csv"))));
}

// A stored name that leaves the data and documents folders is written only when the
// user confirms the full path.
void TestStoredExportScreens::fileOutsideTheOwnFoldersIsConfirmed_data()
{
    QTest::addColumn<bool>("absolute");
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("climbing out, refused") << false << false;
    QTest::newRow("climbing out, confirmed") << false << true;
    QTest::newRow("absolute, refused") << true << false;
}

void TestStoredExportScreens::fileOutsideTheOwnFoldersIsConfirmed()
{
    QFETCH(bool, absolute);
    QFETCH(bool, confirmed);
    QTemporaryDir outside; // beside the data folder, both in the temporary folder
    const QString target = outside.filePath(QStringLiteral("x.csv"));
    const QString stored =
        absolute ? target : QStringLiteral("../") + QFileInfo(outside.path()).fileName() + QStringLiteral("/x.csv");
    QCOMPARE(QFileInfo(outside.path()).absolutePath(), QFileInfo(m_folder->path()).absolutePath());
    insertDefinition(QStringLiteral("Kifelé"), stored, false);
    StoredExportList list(nullptr);
    list.requery();
    MessageBox::setNextAnswer(confirmed);
    trigger(&list, "aExport");
    QCOMPARE(shown(QStringLiteral("question")).size(), 1);
    QVERIFY(shown(QStringLiteral("question")).first().contains(QDir::toNativeSeparators(QDir::cleanPath(target))));
    QCOMPARE(QFile::exists(target), confirmed);
    QCOMPARE(shown(QStringLiteral("info")), confirmed ? QStringList{QStringLiteral("Export kész.")} : QStringList());
}

// Stored SQL that would change data is refused with a message before anything runs.
void TestStoredExportScreens::changingSqlIsRefused()
{
    const int key = insertDefinition(QStringLiteral("Törlő"), QStringLiteral("t.csv"), false);
    ExecSql(QStringLiteral("UPDATE csvexp SET szoveg_sql = 'SELECT 1; DELETE FROM ugyfel' WHERE csvexp = ") +
            SqlInt(key));
    StoredExportList list(nullptr);
    list.requery();
    trigger(&list, "aExport");
    trigger(&list, "aVagolap");
    QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM ugyfel WHERE ugyfel IN (1, 2)"), -1), 2);
    QCOMPARE(shown(QStringLiteral("error")).size(), 2);
    QVERIFY(shown(QStringLiteral("info")).isEmpty());
    QVERIFY(!QFile::exists(m_folder->file(QStringLiteral("t.csv"))));
}

void TestStoredExportScreens::newDefinitionThroughTheEditor()
{
    ExecSql(QStringLiteral("INSERT INTO csvexp (csvexp_nev, kategoria) VALUES ('Régi', 'Havi');"));
    StoredExportList list(nullptr);
    list.requery();
    QStringList categories;
    QStringList columns;
    onModal(StoredExportEditor::ObjectName, [&](QDialog *d) {
        auto *editor = qobject_cast<StoredExportEditor *>(d);
        QCOMPARE(editor->windowTitle(), QStringLiteral("CSV Export beállítások"));
        auto *category = editor->findChild<QComboBox *>(QStringLiteral("cbKategoria"));
        for (int i = 0; i < category->count(); ++i)
            categories << category->itemText(i);
        typeText(editor->nameEdit(), QStringLiteral("új export"));
        category->setEditText(QStringLiteral("Napi"));
        editor->pages()->setCurrentIndex(StoredExportEditor::SqlPage);
        editor->sqlEditor()->setPlainText(ListSql);
        trigger(editor, "aFrissit");
        for (int i = 0; i < editor->columnList()->count(); ++i)
            columns << editor->columnList()->item(i)->text();
        QTest::keyClick(editor->sqlEditor(), Qt::Key_Return, Qt::ControlModifier);
    });
    trigger(&list, "aUj");
    QCOMPARE(categories, QStringList({"Havi"}));
    QCOMPARE(columns, QStringList({"ugyfel", "ugyfel_nev"}));
    QCOMPARE(list.currentText(QStringLiteral("csvexp_nev")), QStringLiteral("Új export"));
    const Dataset row = db().query(QStringLiteral(
        "SELECT kategoria, szoveg_sql, ftp_kell, ezgrafikon, adatcentrum, hatarolo, szovegjelolo FROM csvexp "
        "WHERE csvexp_nev = 'Új export';"));
    QCOMPARE(row.rowCount(), 1);
    QCOMPARE(row.text(0, 0), QStringLiteral("Napi"));
    QCOMPARE(row.text(0, 1), ListSql);
    QCOMPARE(row.text(0, 2) + row.text(0, 3) + row.text(0, 4) + row.text(0, 5) + row.text(0, 6),
             QStringLiteral("NNN00"));
}

void TestStoredExportScreens::editorDropsRefreshesAndLoadsSql()
{
    const int key = insertDefinition(QStringLiteral("Ügyfelek"), QStringLiteral("u.csv"), false);
    StoredExportEditor editor(nullptr);
    // The FTP password is masked like every password box.
    auto *password = editor.findChild<QLineEdit *>(QStringLiteral("edFtpJelszo"));
    QVERIFY(password);
    password->setText(QStringLiteral("titok"));
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    QVERIFY(!password->displayText().contains(QLatin1String("titok")));
    editor.load(StoredExport::load(key));
    editor.show();
    // A non-empty SQL fills the column list at once.
    QCOMPARE(editor.columnList()->count(), 2);

    QCOMPARE(editor.dropBoxes().size(), 7);
    QLineEdit *fields = editor.dropBoxes().first();
    dropText(fields, QStringLiteral("ugyfel"));
    dropText(fields, QStringLiteral("ugyfel_nev"));
    QCOMPARE(fields->text(), QStringLiteral("ugyfel,ugyfel_nev"));
    QVERIFY(editor.nameEdit()->acceptDrops());

    // The file actions work only on the SQL page.
    QVERIFY(!action(&editor, "aMegnyitas")->isEnabled());
    editor.pages()->setCurrentIndex(StoredExportEditor::SqlPage);
    QVERIFY(action(&editor, "aMegnyitas")->isEnabled());
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("lista"));
    editor.sqlEditor()->setPlainText(QStringLiteral("SELECT 'ő' AS betű"));
    FileDialog::setNextFileName(saved);
    trigger(&editor, "aMentes");
    QCOMPARE(readFile(saved + QStringLiteral(".sql")), QByteArray("SELECT '\xf5' AS bet\xfb"));

    editor.sqlEditor()->setPlainText(QStringLiteral("SELECT nincsilyen FROM ugyfel"));
    trigger(&editor, "aFrissit");
    QCOMPARE(editor.columnList()->count(), 0);
    const QStringList errors = shown(QStringLiteral("error"));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors[0].startsWith(QStringLiteral("Hibás SQL: ")) &&
                 errors[0].contains(QStringLiteral("nincsilyen")),
             qPrintable(errors[0]));

    FileDialog::setNextFileName(saved + QStringLiteral(".sql"));
    trigger(&editor, "aMegnyitas");
    QCOMPARE(editor.sqlEditor()->toPlainText(), QStringLiteral("SELECT 'ő' AS betű"));
    QCOMPARE(editor.columnList()->count(), 1);
    QCOMPARE(editor.columnList()->item(0)->text(), QStringLiteral("betű"));
    QCOMPARE(editor.record().value(u"mezonevek").toString(), QStringLiteral("ugyfel,ugyfel_nev"));
    QCOMPARE(editor.record().value(u"szoveg_sql").toString(), QStringLiteral("SELECT 'ő' AS betű"));
}

void TestStoredExportScreens::deleteAsksFirst()
{
    insertDefinition(QStringLiteral("Ügyfelek"), QStringLiteral("u.csv"), false);
    StoredExportList list(nullptr);
    list.requery();
    MessageBox::setNextAnswer(false);
    trigger(&list, "aTorol");
    QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM csvexp;"), -1), 1);
    MessageBox::setNextAnswer(true);
    trigger(&list, "aTorol");
    QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM csvexp;"), -1), 0);
    QCOMPARE(list.model()->rowCount(), 0);
    QCOMPARE(shown(QStringLiteral("question")), QStringList(2, QStringLiteral("Valóban töröljem a sort?")));
}

QTEST_MAIN(TestStoredExportScreens)
#include "tst_storedexportscreens.moc"
