#include "common/Clock.h"
#include "common/SqlText.h"
#include "common/ui/FileDialog.h"
#include "common/ui/NumberInputDialog.h"
#include "common/ui/PeriodDialog.h"
#include "core/AppFolders.h"
#include "core/Session.h"
#include "db/DbHelpers.h"
#include "db/ui/DatasetModel.h"
#include "masterdata/ui/UserList.h"
#include "core/ErrorReport.h"
#include "register/AttachmentTextQueue.h"
#include "register/Attachments.h"
#include "register/ui/AttachmentScreens.h"
#include "register/ui/AttachmentsPage.h"
#include "register/ui/JournalViewer.h"
#include "register/ui/OnlineStoreScreens.h"

#include "../../core/LocalServers.h"
#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include <QActionGroup>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSplitter>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace ModalDriver;

namespace {

QByteArray randomBytes(qsizetype size)
{
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator generator(11);
    for (qsizetype i = 0; i < size; ++i)
        data[i] = char(generator.bounded(256));
    return data;
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(data), data.size());
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList journal(qint64 document)
{
    QStringList rows;
    FillList(rows,
             QStringLiteral("SELECT szoveg FROM iktnaplo WHERE iktato=%1 ORDER BY iktnaplo;").arg(document));
    return rows;
}

QStringList errors()
{
    QStringList texts;
    for (const MessageBox::ShownMessage &m : MessageBox::shown())
        if (m.kind == QLatin1String("error"))
            texts << m.text;
    return texts;
}

int fileRows()
{
    return SelectInt(QStringLiteral("SELECT COUNT(*) FROM iktato_file;"), -1);
}

// The texts of one column of a list screen, in the grid's order.
QStringList column(const ListScreen &list, const char16_t *field)
{
    QStringList texts;
    const int col = list.data().fieldIndex(field);
    for (int i = 0; i < list.model()->rowCount(); ++i)
        texts << list.data().text(list.model()->datasetRow(i), col);
    return texts;
}

} // namespace

class TestAttachmentScreens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void attachAndOpenThroughTheScreens_data();
    void attachAndOpenThroughTheScreens();
    void cancelledFileDialogStoresNothing();
    void folderErrorComesBeforeTheFileDialog();
    void ftpUploadRefusedThenAccepted();
    void editorPageJournalsItsActions();
    void editorPageReadOnly();
    void attachedFilesTextIsReadBehindTheAttach_data();
    void attachedFilesTextIsReadBehindTheAttach();

    void journalShowsTheDocumentsRows();
    void journalFilters();
    void journalCancelKeepsTheFilter();
    void journalSortsByColumnTitle();

    void onlineStoreRefusals();
    void onlineStoreHandOver();
    void onlineStoreSettingsAreSaved();

private:
    void useStorage(bool groups, bool scramble);
    QString chosen(const QString &name, const QByteArray &data);

    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<QTemporaryDir> m_work;
};

void TestAttachmentScreens::initTestCase()
{
    m_folder = std::make_unique<TempDataFolder>();
    AppFolders::refresh();
    m_db = std::make_unique<TestDatabase>();
    ExecSql(
        QStringLiteral("INSERT INTO csoport (csoport, csoport_nev, torolve) VALUES (3, 'Titkárság', 'N');"));
    ExecSql(QStringLiteral("INSERT INTO felhasznalo (felhkod, felhasznalo, felhasznalo_nev, torolve) VALUES "
                           "(2, 'kiss', 'Kiss Péter', 'N');"));
    ExecSql(QStringLiteral("INSERT INTO ugyfel (ugyfel, ugyfel_nev, kellsorvika) VALUES (1, 'Webes', 'I'), "
                           "(2, 'Papíros', 'N');"));
    ExecSql(QStringLiteral("INSERT INTO iktato (iktato, az1, az2, targy, dat_erk, csoport, filenev, "
                           "ugyf_intezkedesre, torolve) VALUES "
                           "(7, 1, 1, 'Levél', '2024-03-01', 3, 'C:\\\\Dok\\\\level.pdf', 1, 'N'), "
                           "(8, 1, 2, 'Nincs file', '2024-03-01', 3, '', 1, 'N'), "
                           "(9, 1, 3, 'Papíros ügyfél', '2024-03-01', 3, 'b.doc', 2, 'N');"));
}

void TestAttachmentScreens::cleanupTestCase()
{
    m_db.reset();
}

void TestAttachmentScreens::init()
{
    resetScreenState();
    session().user = SessionUser::builtInAdministrator();
    session().settings = ProgramSettings();
    ExecSql(QStringLiteral("DELETE FROM iktato_file;"));
    ExecSql(QStringLiteral("DELETE FROM iktnaplo;"));
    m_work = std::make_unique<QTemporaryDir>();
}

void TestAttachmentScreens::useStorage(bool groups, bool scramble)
{
    ProgramSettings &s = session().settings;
    s.mentesutvonal = m_work->filePath(QStringLiteral("tar"));
    s.megnyitasutvonal = m_work->filePath(QStringLiteral("nyit"));
    s.mentescsoport = groups;
    s.doksititkosit = scramble;
}

QString TestAttachmentScreens::chosen(const QString &name, const QByteArray &data)
{
    QDir().mkpath(m_work->filePath(QStringLiteral("be")));
    const QString path = m_work->filePath(QStringLiteral("be/") + name);
    writeFile(path, data);
    return path;
}

void TestAttachmentScreens::attachAndOpenThroughTheScreens_data()
{
    QTest::addColumn<bool>("scramble");
    QTest::newRow("plain") << false;
    QTest::newRow("scrambled") << true;
}

void TestAttachmentScreens::attachAndOpenThroughTheScreens()
{
    QFETCH(bool, scramble);
    useStorage(true, scramble);
    const QByteArray data = randomBytes(70000);
    FileDialog::setNextFileName(chosen(QStringLiteral("Level.pdf"), data));
    QString original;
    QVERIFY(AttachFile(nullptr, 7, 3, &original));
    QCOMPARE(original, QStringLiteral("Level.pdf"));
    const QString stored = m_work->filePath(QStringLiteral("tar/00003/0000007-1.pdf"));
    QVERIFY(QFile::exists(stored));
    QCOMPARE(readFile(stored) == data, !scramble);
    QVERIFY(errors().isEmpty());

    OpenAttachment(nullptr, QStringLiteral("0000007-1.pdf"), QStringLiteral("Level.pdf"), 3);
    const QString opened = m_work->filePath(QStringLiteral("nyit/Level.pdf"));
    QCOMPARE(DesktopServices::opened(), QList<QUrl>{QUrl::fromLocalFile(opened)});
    QVERIFY(readFile(opened) == data);
}

void TestAttachmentScreens::cancelledFileDialogStoresNothing()
{
    useStorage(false, false);
    FileDialog::setNextFileName(QString());
    QVERIFY(!AttachFile(nullptr, 7, 3));
    QCOMPARE(fileRows(), 0);
    QVERIFY(MessageBox::shown().isEmpty());

    OpenAttachment(nullptr, QString(), QString(), 3);
    QCOMPARE(errors(), QStringList{QStringLiteral("Nincs melléklet létrehozva")});
    QVERIFY(DesktopServices::opened().isEmpty());
}

void TestAttachmentScreens::folderErrorComesBeforeTheFileDialog()
{
    useStorage(true, false);
    writeFile(m_work->filePath(QStringLiteral("tar")), "nem mappa");
    FileDialog::setNextFileName(chosen(QStringLiteral("a.pdf"), "a"));
    QVERIFY(!AttachFile(nullptr, 7, 3));
    QCOMPARE(errors(), QStringList{QStringLiteral("Nem létező mentés útvonal: \"") +
                                   QDir::toNativeSeparators(m_work->filePath(QStringLiteral("tar/00003/"))) +
                                   QLatin1Char('"')});
    // The file was never asked for.
    QVERIFY(FileDialog::hasQueuedAnswers());
    FileDialog::getOpenFileName(nullptr, {}, {});
    QCOMPARE(fileRows(), 0);
}

void TestAttachmentScreens::ftpUploadRefusedThenAccepted()
{
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("iratok")));
    LocalServer server("ftp_server.py", {root.path()});
    QVERIFY2(server.port() > 0, "the local FTP server did not start");
    useStorage(true, true);
    ProgramSettings &s = session().settings;
    s.isftp = true;
    s.ftpHost = server.host();
    s.ftpUser = QStringLiteral("olvaso");
    s.ftpPwd = QStringLiteral("jelszo");
    s.ftpMappa = QStringLiteral("iratok");
    const QByteArray data = randomBytes(200000);
    const QString file = chosen(QStringLiteral("Level.pdf"), data);

    FileDialog::setNextFileName(file);
    QVERIFY(!AttachFile(nullptr, 7, 3));
    QCOMPARE(fileRows(), 0);
    QCOMPARE(errors().size(), 1);
    QVERIFY(errors().first().startsWith(QStringLiteral("Hiba a feltöltés közben.\r\n")));
    QVERIFY2(errors().first().contains(QLatin1String("550")), qPrintable(errors().first()));

    MessageBox::clearShown();
    s.ftpUser = QStringLiteral("iro");
    FileDialog::setNextFileName(file);
    QVERIFY(AttachFile(nullptr, 7, 3));
    QVERIFY(errors().isEmpty());
    // The number is the row's own key.
    const Dataset row =
        db().query(QStringLiteral("SELECT iktato_file, filenev FROM iktato_file WHERE iktato=7;"));
    QCOMPARE(row.rowCount(), 1);
    const QString name = row.text(0, 1);
    QCOMPARE(name, QStringLiteral("0000007-%1.pdf").arg(row.text(0, 0)));
    // Sent as it is: FTP storage is never scrambled.
    QVERIFY(readFile(root.filePath(QStringLiteral("iratok/") + name)) == data);

    OpenAttachment(nullptr, name, QStringLiteral("Level.pdf"), 3);
    const QString opened = m_work->filePath(QStringLiteral("nyit/Level.pdf"));
    QVERIFY(readFile(opened) == data);
    QCOMPARE(DesktopServices::opened(), QList<QUrl>{QUrl::fromLocalFile(opened)});
}

void TestAttachmentScreens::editorPageJournalsItsActions()
{
    useStorage(true, false);
    AttachmentsPage page(
        nullptr, 7, [] { return 3; }, false);
    QCOMPARE(page.model()->rowCount(), 0);
    FileDialog::setNextFileName(chosen(QStringLiteral("elso.txt"), "1"));
    trigger(&page, "aFileUj");
    FileDialog::setNextFileName(chosen(QStringLiteral("Level.pdf"), "2"));
    trigger(&page, "aFileUj");
    QCOMPARE(page.model()->rowCount(), 2);
    // On the new file, the last row.
    QCOMPARE(page.grid()->currentIndex().row(), 1);
    QStringList shown;
    for (int c = 0; c < page.model()->columnCount(); ++c)
        if (!page.grid()->isColumnHidden(c))
            shown << page.model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(shown.size(), 3);
    QVERIFY(shown.contains(QStringLiteral("File neve")) && shown.contains(QStringLiteral("Rögzítve")) &&
            shown.contains(QStringLiteral("Felhasználó")));

    trigger(&page, "aFileMegnez");
    QCOMPARE(DesktopServices::opened().size(), 1);

    MessageBox::setNextAnswer(false);
    trigger(&page, "aFileTorol");
    QCOMPARE(page.model()->rowCount(), 2);
    MessageBox::setNextAnswer(true);
    trigger(&page, "aFileTorol");
    QCOMPARE(page.model()->rowCount(), 1);
    QCOMPARE(MessageBox::shown().last().text, QStringLiteral("Valóban töröljem a sort?"));
    QCOMPARE(MessageBox::shown().last().title, QStringLiteral("Megerősítés"));
    // The stored copy stays where it was.
    QCOMPARE(QDir(m_work->filePath(QStringLiteral("tar/00003"))).entryList(QDir::Files).size(), 2);

    QCOMPARE(
        journal(7),
        (QStringList{QStringLiteral("Hiba: Nem létező mentés útvonal, létrehozás próba: ") +
                         QDir::toNativeSeparators(m_work->filePath(QStringLiteral("tar/00003/"))),
                     QStringLiteral("File csatolás = elso.txt"), QStringLiteral("File csatolás = Level.pdf"),
                     QStringLiteral("Csatolt file megnyitás = Level.pdf"),
                     QStringLiteral("Csatolás törlés = Level.pdf")}));

    // A cancelled file dialog journals nothing.
    FileDialog::setNextFileName(QString());
    trigger(&page, "aFileUj");
    QCOMPARE(journal(7).size(), 5);
}

void TestAttachmentScreens::attachedFilesTextIsReadBehindTheAttach_data()
{
    QTest::addColumn<bool>("scramble");
    QTest::addColumn<bool>("readerFails");
    QTest::newRow("plain") << false << false;
    QTest::newRow("scrambled: read from the chosen file") << true << false;
    QTest::newRow("reader fails: the attach stands") << false << true;
}

void TestAttachmentScreens::attachedFilesTextIsReadBehindTheAttach()
{
    QFETCH(bool, scramble);
    QFETCH(bool, readerFails);
    useStorage(false, scramble);
    if (readerFails)
        AttachmentTextQueue::setExtractorForTests([](const QByteArray &, const QString &, const std::atomic_bool *)
                                                      -> korvena::content::ExtractedText {
            throw KorvenaError(QStringLiteral("sérült állomány"));
        });
    AttachmentsPage page(
        nullptr, 7, [] { return 3; }, false);
    page.show();
    QVERIFY(QTest::qWaitForWindowActive(&page));
    page.grid()->setFocus();
    QTRY_VERIFY(QApplication::focusWidget());
    int stored = 0;
    QObject::connect(&AttachmentTextQueue::instance(), &AttachmentTextQueue::stored, &page, [&] { ++stored; });
    FileDialog::setNextFileName(chosen(QStringLiteral("kerelem.txt"), "Kérelem a szélmalom ügyében"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Insert);
    QCOMPARE(page.model()->rowCount(), 1);
    const qint64 key = SelectInt(QStringLiteral("SELECT MAX(iktato_file) FROM iktato_file;"), 0);
    QTRY_COMPARE(AttachmentTextQueue::instance().outstanding(), 0);
    AttachmentTextQueue::setExtractorForTests({});
    QVERIFY(errors().isEmpty());
    QCOMPARE(journal(7).last(), QStringLiteral("File csatolás = kerelem.txt"));
    const QString text = SelectText(
        QStringLiteral("SELECT CONCAT(modszer, ':', szoveg) FROM iktato_szoveg WHERE iktato_file=%1;").arg(key),
        QStringLiteral("<nincs sor>"));
    if (readerFails) {
        QCOMPARE(text, QStringLiteral("<nincs sor>"));
        QFile log(errorLogPath());
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(log.readAll()).contains(QStringLiteral("sérült állomány")));
    } else {
        QCOMPARE(stored, 1);
        QCOMPARE(text, QStringLiteral("szoveg:Kérelem a szélmalom ügyében"));
    }
}

void TestAttachmentScreens::editorPageReadOnly()
{
    AttachmentsPage page(
        nullptr, 7, [] { return 3; }, true);
    QVERIFY(!action(&page, "aFileUj")->isEnabled());
    QVERIFY(!action(&page, "aFileTorol")->isEnabled());
    QVERIFY(action(&page, "aFileMegnez")->isEnabled());
}

void TestAttachmentScreens::journalShowsTheDocumentsRows()
{
    ExecSql(
        QStringLiteral("INSERT INTO iktnaplo (iktato, felhkod, szoveg) VALUES (7, 1, 'targy = Levél\r\n'), "
                       "(8, 1, 'másik'), (7, 2, NULL);"));
    JournalViewer viewer(nullptr);
    viewer.showDocument(7);
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Iktatás napló"));
    QCOMPARE(column(viewer, u"iktato"), (QStringList{QStringLiteral("7"), QStringLiteral("7")}));
    QCOMPARE(column(viewer, u"felhasznalo_nev"),
             (QStringList{QStringLiteral("rendszergazda"), QStringLiteral("Kiss Péter")}));
    QVERIFY(!column(viewer, u"iktatoaz").first().isEmpty());
    QCOMPARE(viewer.textBox()->toPlainText(), QStringLiteral("targy = Levél\n"));
    QCOMPARE(viewer.rowCountText(), QStringLiteral("2: 1"));
    QCOMPARE(viewer.splitter()->widget(1), viewer.textBox());

    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QTest::keyClick(viewer.grid(), Qt::Key_Down);
    QCOMPARE(viewer.rowCountText(), QStringLiteral("2: 2"));
    // A deletion's row has no text: the box is empty.
    QCOMPARE(viewer.textBox()->toPlainText(), QString());
    QVERIFY(viewer.textBox()->isReadOnly());

    // A row whose document is gone still lists, with no identifier.
    ExecSql(QStringLiteral("INSERT INTO iktnaplo (iktato, felhkod, szoveg) VALUES (987654, 1, 'x');"));
    viewer.showDocument(987654);
    QCOMPARE(column(viewer, u"iktatoaz"), QStringList{QString()});
}

void TestAttachmentScreens::journalFilters()
{
    ExecSql(
        QStringLiteral("INSERT INTO iktnaplo (iktato, felhkod, datum, szoveg) VALUES "
                       "(7, 1, '2024-02-29 23:59:59', 'elotte'), (7, 2, '2024-03-01 00:00:00', 'reggel'), "
                       "(8, 2, '2024-03-01 23:59:59', 'este'), (8, 1, '2024-03-02 10:00:00', 'masnap'), "
                       "(999, 1, '2024-03-05 10:00:00', 'torolt irat');"));
    JournalViewer viewer(nullptr);
    viewer.showDocument(7);
    viewer.show();

    onModal(UserList::ObjectName, [](QDialog *d) {
        qobject_cast<UserList *>(d)->openAt(2);
        trigger(d, "aElfogad");
    });
    trigger(&viewer, "aSzur2");
    QCOMPARE(column(viewer, u"szoveg"), (QStringList{QStringLiteral("reggel"), QStringLiteral("este")}));
    QVERIFY(action(&viewer, "aSzur2")->isChecked());

    onModal(PeriodDialog::ObjectName, [](QDialog *d) {
        auto *period = qobject_cast<PeriodDialog *>(d);
        period->firstEdit()->setDate(QDate(2024, 3, 1));
        period->lastEdit()->setDate(QDate(2024, 3, 1));
        d->accept();
    });
    trigger(&viewer, "aSzur3");
    QCOMPARE(column(viewer, u"szoveg"), (QStringList{QStringLiteral("reggel"), QStringLiteral("este")}));
    QVERIFY(viewer.queryLines().contains(
        QStringLiteral("WHERE iktnaplo.datum BETWEEN '2024-03-01' AND '2024-03-02'")));

    // The row of a document that no longer exists still lists.
    onModal(NumberInputDialog::ObjectName, [](QDialog *d) {
        auto *number = qobject_cast<NumberInputDialog *>(d);
        QCOMPARE(d->windowTitle(), QStringLiteral("Dokumentum azonosító"));
        number->edit()->setText(QStringLiteral("999"));
        d->accept();
    });
    trigger(&viewer, "aSzur1");
    QCOMPARE(column(viewer, u"szoveg"), QStringList{QStringLiteral("torolt irat")});
    QVERIFY(action(&viewer, "aSzur1")->isChecked());
}

void TestAttachmentScreens::journalCancelKeepsTheFilter()
{
    ExecSql(
        QStringLiteral("INSERT INTO iktnaplo (iktato, felhkod, szoveg) VALUES (7, 1, 'a'), (8, 2, 'b');"));
    JournalViewer viewer(nullptr);
    viewer.showDocument(8);
    viewer.show();
    const QStringList before = viewer.queryLines();
    onModal(UserList::ObjectName, [](QDialog *d) { trigger(d, "aBezar"); });
    trigger(&viewer, "aSzur2");
    onModal(PeriodDialog::ObjectName, [](QDialog *d) { d->reject(); });
    trigger(&viewer, "aSzur3");
    QCOMPARE(viewer.queryLines(), before);
    QCOMPARE(column(viewer, u"szoveg"), QStringList{QStringLiteral("b")});
    QVERIFY(action(&viewer, "aSzur1")->isChecked());
}

void TestAttachmentScreens::journalSortsByColumnTitle()
{
    ExecSql(
        QStringLiteral("INSERT INTO iktnaplo (iktato, felhkod, szoveg) VALUES (7, 1, 'a'), (7, 2, 'b');"));
    JournalViewer viewer(nullptr);
    viewer.showDocument(7);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    const int userColumn = viewer.data().fieldIndex(u"felhasznalo_nev");
    QHeaderView *header = viewer.grid()->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(userColumn) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(viewer.queryLines().contains(QStringLiteral("ORDER BY felhasznalo_nev;")));
    QCOMPARE(column(viewer, u"felhasznalo_nev"),
             (QStringList{QStringLiteral("Kiss Péter"), QStringLiteral("rendszergazda")}));
    QCOMPARE(highlightedColumn(viewer.grid()), userColumn);
}

void TestAttachmentScreens::onlineStoreRefusals()
{
    SendToOnlineStore(nullptr, 8);
    SendToOnlineStore(nullptr, 9);
    QCOMPARE(errors(),
             (QStringList{QStringLiteral("Nincs file feltöltve."),
                          QStringLiteral("Ehhez az ügyintézőhöz nincs beállítva Sorvika kapcsolat.")}));
    // A write-protected register hands nothing over: it would save the document.
    MessageBox::clearShown();
    session().settings.irasvedett = true;
    SendToOnlineStore(nullptr, 8);
    QVERIFY(MessageBox::shown().isEmpty());
    QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM sv_file;"), -1), 0);
}

void TestAttachmentScreens::onlineStoreHandOver()
{
    const QString log = m_work->filePath(QStringLiteral("http.log"));
    LocalServer server("http_server.py", {log});
    QVERIFY2(server.port() > 0, "the local HTTP server did not start");
    ExecSql(QStringLiteral("UPDATE sv_beallit SET betoltphp=") +
            SqlLiteral(QStringLiteral("http://127.0.0.1:%1/betolt.php").arg(server.port())) +
            QLatin1Char(';'));
    SendToOnlineStore(nullptr, 7);
    QVERIFY(errors().isEmpty());
    const Dataset row = db().query(QStringLiteral("SELECT iktato, ugyfel, filenev, mime FROM sv_file;"));
    QCOMPARE(row.rowCount(), 1);
    QCOMPARE(row.text(0, 0), QStringLiteral("7"));
    QCOMPARE(row.text(0, 1), QStringLiteral("1"));
    QCOMPARE(row.text(0, 2), QStringLiteral("C:\\Dok\\level.pdf"));
    QCOMPARE(row.text(0, 3), QStringLiteral("application/pdf"));
    const QString request = QString::fromUtf8(readFile(log)).trimmed();
    QVERIFY2(
        QRegularExpression(QStringLiteral("^/betolt\\.php\\?iktato=7&ids=\\d+$")).match(request).hasMatch(),
        qPrintable(request));
    QCOMPARE(readFile(AppFolders::current().dataFolder + QStringLiteral("/kesz.txt")), QByteArray("kesz"));
    ExecSql(QStringLiteral("DELETE FROM sv_file;"));
}

void TestAttachmentScreens::onlineStoreSettingsAreSaved()
{
    onModal(OnlineStoreSettingsDialog::ObjectName, [](QDialog *d) {
        auto *dialog = qobject_cast<OnlineStoreSettingsDialog *>(d);
        dialog->subjectEdit()->setText(QStringLiteral("Új irat érkezett"));
        dialog->senderEdit()->setText(QStringLiteral("iroda@pelda.hu"));
        dialog->textEdit()->setPlainText(QStringLiteral("Tisztelt Ügyfelünk!\nÚj irata érkezett."));
        dialog->loadPageEdit()->setText(QStringLiteral("https://pelda.hu/betolt.php"));
        dialog->deletePageEdit()->setText(QStringLiteral("https://pelda.hu/torol.php"));
        dialog->okButton()->click();
    });
    QVERIFY(OnlineStoreSettingsDialog::run(nullptr));
    const Dataset row =
        db().query(QStringLiteral("SELECT targy, felado, szoveg, betoltphp, torolphp FROM sv_beallit;"));
    QCOMPARE(row.rowCount(), 1);
    QCOMPARE(row.text(0, 0), QStringLiteral("Új irat érkezett"));
    QCOMPARE(row.text(0, 1), QStringLiteral("iroda@pelda.hu"));
    QCOMPARE(row.text(0, 2), QStringLiteral("Tisztelt Ügyfelünk!\nÚj irata érkezett."));
    QCOMPARE(row.text(0, 3), QStringLiteral("https://pelda.hu/betolt.php"));
    QCOMPARE(row.text(0, 4), QStringLiteral("https://pelda.hu/torol.php"));

    onModal(OnlineStoreSettingsDialog::ObjectName, [](QDialog *d) {
        qobject_cast<OnlineStoreSettingsDialog *>(d)->subjectEdit()->setText(QStringLiteral("eldobva"));
        d->reject();
    });
    QVERIFY(!OnlineStoreSettingsDialog::run(nullptr));
    QCOMPARE(SelectText(QStringLiteral("SELECT targy FROM sv_beallit;"), {}),
             QStringLiteral("Új irat érkezett"));
}

QTEST_MAIN(TestAttachmentScreens)
#include "tst_attachmentscreens.moc"
