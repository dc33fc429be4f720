#include "common/Encoding.h"
#include "common/ui/FileDialog.h"
#include "common/ui/MessageBox.h"
#include "core/AppFolders.h"
#include "core/Login.h"
#include "db/DbHelpers.h"
#include "output/ui/ExportDialog.h"
#include "output/ui/SqlConsole.h"
#include "output/ui/SqlHighlighter.h"

#include "ModalDialogs.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTextBlock>
#include <QtTest>
#include <memory>

namespace {

QStringList shown(const QString &kind)
{
    QStringList texts;
    for (const MessageBox::ShownMessage &m : MessageBox::shown())
        if (m.kind == kind)
            texts << m.text;
    return texts;
}

QStringList names()
{
    QStringList list;
    FillList(list, QStringLiteral("SELECT nev FROM proba ORDER BY id"));
    return list;
}

} // namespace

class TestSqlConsole : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TempDataFolder> m_data;
    std::unique_ptr<SqlConsole> m_console;

    SqlConsole &console(const QString &text = QString())
    {
        m_console = std::make_unique<SqlConsole>(nullptr);
        m_console->show();
        m_console->editor()->setPlainText(text);
        return *m_console;
    }
    void trigger(const char *action) { ModalDriver::trigger(m_console.get(), action); }
    QAction *action(const char *name) { return ModalDriver::action(m_console.get(), name); }
    void select(const QString &part)
    {
        QPlainTextEdit *editor = m_console->editor();
        const int start = int(editor->toPlainText().indexOf(part));
        QVERIFY(start >= 0);
        QTextCursor cursor(editor->document());
        cursor.setPosition(start);
        cursor.setPosition(start + int(part.size()), QTextCursor::KeepAnchor);
        editor->setTextCursor(cursor);
    }
    int currentRow() const { return m_console->resultView()->currentIndex().row(); }

private Q_SLOTS:
    void initTestCase() { m_db = std::make_unique<TestDatabase>(); }
    void init()
    {
        ModalDriver::resetScreenState();
        while (FileDialog::hasQueuedAnswers())
            FileDialog::getSaveFileName(nullptr, {}, {});
        m_data = std::make_unique<TempDataFolder>();
        AppFolders::refresh();
        ExecSql(QStringLiteral("DROP TABLE IF EXISTS proba"));
        ExecSql(QStringLiteral("CREATE TABLE proba (id INT NOT NULL AUTO_INCREMENT PRIMARY KEY, "
                               "nev VARCHAR(50) NOT NULL DEFAULT '', megjegyzes VARCHAR(250) NULL) "
                               "DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci"));
        ExecSql(
            QStringLiteral("INSERT INTO proba (nev, megjegyzes) VALUES ('Első', 'hosszú megjegyzés, "
                           "amely jóval szélesebb száz képpontnál'), ('Második', NULL), ('Harmadik', NULL)"));
    }
    void cleanup()
    {
        m_console.reset();
        m_data.reset();
    }
    void cleanupTestCase() { m_db.reset(); }

    void tableEditWritesTheTypedTextAtOnce()
    {
        console(QStringLiteral("table: proba\nSELECT 1"));
        QVERIFY(!action("aExport")->isEnabled());
        trigger("aFuttat");
        QVERIFY(shown("error").isEmpty());
        QCOMPARE(m_console->pages()->currentIndex(), 1);
        QTableView *grid = m_console->resultView();
        QCOMPARE(grid->model()->rowCount(), 3);
        QVERIFY(action("aExport")->isEnabled());
        QVERIFY(action("aMasol")->isEnabled());
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            QVERIFY(grid->horizontalHeader()->sectionSize(c) <= 100);

        // Typed into the grid's own editor and confirmed with Enter.
        const QModelIndex cell = grid->model()->index(1, 1);
        grid->setCurrentIndex(cell);
        grid->edit(cell);
        auto *editor = grid->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("O'Hara \\ \"x\""));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(SelectText(QStringLiteral("SELECT nev FROM proba WHERE id = 2"), QString()),
                     QStringLiteral("O'Hara \\ \"x\""));
        QCOMPARE(names(), (QStringList{"Első", "O'Hara \\ \"x\"", "Harmadik"}));
        QCOMPARE(grid->model()->index(1, 1).data().toString(), QStringLiteral("O'Hara \\ \"x\""));
        QVERIFY(shown("error").isEmpty());
    }

    void tableRowsAreAddedAndDeletedInTheGrid()
    {
        console(QStringLiteral("table: proba"));
        trigger("aFuttat");
        QTableView *grid = m_console->resultView();
        auto *insert = grid->findChild<QAction *>(QStringLiteral("aUjSor"));
        auto *remove = grid->findChild<QAction *>(QStringLiteral("aTorolSor"));
        QCOMPARE(insert->shortcut(), QKeySequence(Qt::Key_Insert));
        QCOMPARE(remove->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));

        // The new row opens its editor on the current column; the first cell written inserts it.
        grid->setCurrentIndex(grid->model()->index(0, 1));
        insert->trigger();
        insert->trigger();
        QCOMPARE(grid->model()->rowCount(), 4);
        QCOMPARE(grid->currentIndex(), grid->model()->index(3, 1));
        QCOMPARE(SelectInt(QStringLiteral("SELECT COUNT(*) FROM proba"), 0), 3);
        auto *editor = grid->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("Negyedik"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(names().last(), QStringLiteral("Negyedik"));
        QCOMPARE(grid->model()->index(3, 0).data().toString(), QStringLiteral("4"));

        grid->setCurrentIndex(grid->model()->index(0, 1));
        MessageBox::setNextAnswer(true);
        remove->trigger();
        QCOMPARE(shown("question"), QStringList{"Valóban töröljem a sort?"});
        QCOMPARE(names(), (QStringList{"Második", "Harmadik", "Negyedik"}));
        QCOMPARE(grid->model()->rowCount(), 3);

        // Refused: the grid keeps what the table holds.
        QVERIFY(!grid->model()->setData(grid->model()->index(0, 0), QStringLiteral("3")));
        QCOMPARE(shown("error").size(), 1);
        QVERIFY(shown("error").first().endsWith(QLatin1String("(1062)")));
        QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("2"));
    }

    void unknownTableShowsTheServersMessage()
    {
        console(QStringLiteral("table: nincsilyen"));
        trigger("aFuttat");
        const QStringList errors = shown("error");
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().endsWith(QLatin1String("(1146)")));
        QVERIFY(!errors.first().startsWith(QLatin1String("SQL hiba")));
        QCOMPARE(m_console->pages()->currentIndex(), 0);
    }

    void queryOpensWithColumnsOfAHundredPixels()
    {
        console(QStringLiteral("select id, nev, megjegyzes from proba order by id; select 99"));
        trigger("aFuttat");
        QCOMPARE(m_console->pages()->currentIndex(), 1);
        QTableView *grid = m_console->resultView();
        QCOMPARE(grid->model()->rowCount(), 3);
        for (int c = 0; c < 3; ++c)
            QCOMPARE(grid->horizontalHeader()->sectionSize(c), 100);
        QCOMPARE(m_console->rowPanel()->text(), QStringLiteral("3: 1"));
        grid->setCurrentIndex(grid->model()->index(2, 0));
        QCOMPARE(m_console->rowPanel()->text(), QStringLiteral("3: 3"));
    }

    void queryErrorShowsSqlHiba()
    {
        console(QStringLiteral("SELECT * FROM nincsilyen"));
        trigger("aFuttat");
        const QStringList errors = shown("error");
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().startsWith(QLatin1String("SQL hiba:\n")));
        QVERIFY(errors.first().endsWith(QLatin1String("(1146)")));
    }

    void firstStatementRunsAsQuery()
    {
        console(QStringLiteral("SELECT nev FROM proba WHERE id = 2; DELETE FROM proba;"));
        trigger("aEredmeny");
        QCOMPARE(m_console->resultView()->model()->rowCount(), 1);
        QCOMPARE(m_console->resultView()->model()->index(0, 0).data().toString(), QStringLiteral("Második"));
        QCOMPARE(names().size(), 3);
    }

    void selectionRunsInsteadOfTheWholeText()
    {
        console(QStringLiteral("UPDATE proba SET nev = 'X';\nSELECT nev FROM proba ORDER BY id"));
        select(QStringLiteral("SELECT nev FROM proba ORDER BY id"));
        trigger("aFuttat");
        QCOMPARE(m_console->resultView()->model()->rowCount(), 3);
        QCOMPARE(names(), (QStringList{"Első", "Második", "Harmadik"}));

        // The table line is looked for in the whole editor, whatever is selected.
        console(QStringLiteral("table: proba\nSELECT 1"));
        select(QStringLiteral("SELECT 1"));
        trigger("aFuttat");
        QCOMPARE(m_console->resultView()->model()->columnCount(), 3);
    }

    void scriptRunsToItsLastDelimiter()
    {
        console(QStringLiteral("UPDATE proba SET nev = 'A' WHERE id = 1;\n"
                               "DELIMITER $$\n" // upper case: not a command, so this statement fails
                               "UPDATE proba SET nev = 'B' WHERE id = 2;"));
        trigger("aFuttat");
        QCOMPARE(names(), (QStringList{"A", "Második", "Harmadik"}));
        QCOMPARE(shown("error").size(), 1);
        QVERIFY(shown("error").first().startsWith(QLatin1String("Hiba: ")));
        QVERIFY(shown("info").isEmpty());
        QVERIFY(!m_console->progressBar()->isVisible());

        MessageBox::clearShown();
        m_console->editor()->setPlainText(QStringLiteral("UPDATE proba SET nev = 'C' WHERE id = 3;\n"
                                                         "UPDATE proba SET nev = 'D' WHERE id = 2"));
        trigger("aFuttat");
        QCOMPARE(names(), (QStringList{"A", "Második", "C"}));
        QCOMPARE(shown("info"), QStringList{"SQL futtatás kész."});
        QCOMPARE(m_console->pages()->currentIndex(), 0);
    }

    void longScriptKeepsTheWindowAliveAndStops()
    {
        QStringList lines;
        for (int i = 0; i < 400; ++i)
            lines << QStringLiteral("DO SLEEP(0.01);");
        console(lines.join(QLatin1Char('\n')));
        bool sawProgress = false;
        QTimer::singleShot(300, m_console.get(), [&] {
            sawProgress = m_console->isRunning() && m_console->progressBar()->isVisible() &&
                          m_console->progressBar()->value() > 0;
            QTest::keyClick(m_console.get(), Qt::Key_Escape);
        });
        trigger("aFuttat");
        QVERIFY(sawProgress);
        QVERIFY(!m_console->isRunning());
        QVERIFY(m_console->isVisible()); // Esc stopped the script, not the window
        QVERIFY(shown("info").isEmpty());
        QCOMPARE(shown("warning").size(), 1);
        QVERIFY(action("aFuttat")->isEnabled());
    }

    void nextStaysOnAMatchAndEndsOnTheLastRow()
    {
        console(QStringLiteral("SELECT nev FROM proba ORDER BY id"));
        trigger("aFuttat");
        m_console->searchBox()->setText(QStringLiteral("MÁSOD"));
        auto *next = m_console->findChild<QPushButton *>(QStringLiteral("btnKovetkezo"));
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(currentRow(), 1);
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(currentRow(), 1);
        QCOMPARE(m_console->rowPanel()->text(), QStringLiteral("3: 2"));
        m_console->searchBox()->setText(QStringLiteral("első"));
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(currentRow(), 2);
    }

    void copyPutsTheShownResultOnTheClipboard()
    {
        console(QStringLiteral("SELECT id, CONCAT(nev, ';') AS nev FROM proba WHERE id < 3 ORDER BY id"));
        QVERIFY(!action("aMasol")->isEnabled());
        trigger("aFuttat");
        trigger("aMasol");
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("id\tnev\t\r\n1\tElső,\t\r\n2\tMásodik,\t"));
    }

    void exportOffersFile001InTheDocumentsFolder()
    {
        console(QStringLiteral("SELECT nev FROM proba"));
        trigger("aFuttat");
        QString fileName;
        ModalDriver::onModal(QString(ExportDialog::ObjectName), [&](QDialog *d) {
            fileName = d->findChild<QLineEdit *>(QStringLiteral("edFilenev"))->text();
            d->reject();
        });
        trigger("aExport");
        QCOMPARE(QFileInfo(fileName).fileName(), QStringLiteral("File001.csv"));
        QCOMPARE(QFileInfo(fileName).absolutePath(),
                 QFileInfo(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                     .absoluteFilePath());
    }

    void sqlFilesAreSavedAndOpenedInTheProgramsCodePage()
    {
        console(QStringLiteral("SELECT 'Árvíztűrő tükörfúrógép';"));
        const QString name = QDir(m_data->path()).filePath(QStringLiteral("SQL/proba"));
        FileDialog::setNextFileName(name);
        trigger("aMent");
        QVERIFY(QDir(m_data->path()).exists(QStringLiteral("SQL")));
        QFile saved(name + QStringLiteral(".sql"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), ToCp1250(QStringLiteral("SELECT 'Árvíztűrő tükörfúrógép';")));
        QCOMPARE(m_console->fileName(), name + QStringLiteral(".sql"));
        QCOMPARE(saved.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), QFileDevice::Permissions());

        trigger("aUj");
        QVERIFY(m_console->editor()->toPlainText().isEmpty());
        FileDialog::setNextFileName(name + QStringLiteral(".sql"));
        trigger("aMegnyit");
        QCOMPARE(m_console->editor()->toPlainText(), QStringLiteral("SELECT 'Árvíztűrő tükörfúrógép';"));
    }

    // The console's session is its own: what a script sets there, and a transaction
    // left open, never reach the program's connection, before or after it closes.
    void consoleSessionNeverChangesTheProgramsConnection()
    {
        console(QStringLiteral("SET autocommit = 0;\n"
                               "SET NAMES utf8mb4;\n"
                               "SET @konzol = 1;\n"
                               "UPDATE proba SET nev = 'Nyitott' WHERE id = 1;\n"
                               "USE information_schema;\n"));
        trigger("aFuttat");
        QCOMPARE(shown("info"), QStringList{"SQL futtatás kész."});
        Connection &program = db();
        const auto check = [&] {
            QCOMPARE(program.selectValue(QStringLiteral("SELECT @@autocommit")).toInt(), 1);
            QCOMPARE(program.selectValue(QStringLiteral("SELECT @@character_set_client")).toString(),
                     QStringLiteral("latin2"));
            QVERIFY(!program.selectValue(QStringLiteral("SELECT @konzol")).isValid());
            QCOMPARE(program.selectValue(QStringLiteral("SELECT DATABASE()")).toString(), m_db->name());
        };
        check();
        m_console.reset();
        check();
        // The console's open transaction ended with it, uncommitted.
        QCOMPARE(names(), (QStringList{"Első", "Második", "Harmadik"}));
    }

    // What is changed here is past the program: the server's trail must say so.
    void consoleChangesCountAsMadeOutsideTheProgram()
    {
        SessionUser user;
        user.code = 1;
        announceUser(db(), user);
        console(QStringLiteral("UPDATE iktato SET targy = 'konzol' WHERE iktato = 0;\n"));
        trigger("aFuttat");
        QCOMPARE(db().selectValue(QStringLiteral("SELECT @korvena_felhkod")).toInt(), 1);
        QVERIFY(!m_console->connection().selectValue(QStringLiteral("SELECT @korvena_felhkod")).isValid());
    }

    void tableListOpensTheChosenTable()
    {
        console(QStringLiteral("SELECT 1"));
        QListWidget *tables = m_console->tableList();
        QVERIFY(!tables->isVisible());
        trigger("aTablak");
        QVERIFY(tables->isVisible());
        const QList<QListWidgetItem *> found = tables->findItems(QStringLiteral("ugyfel"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        QVERIFY(!tables->findItems(QStringLiteral("iktato"), Qt::MatchExactly).isEmpty());
        Q_EMIT tables->itemActivated(found.first());
        QCOMPARE(m_console->editor()->toPlainText(), QStringLiteral("table:ugyfel"));
        QCOMPARE(m_console->pages()->currentIndex(), 1);
        QVERIFY(shown("error").isEmpty());
        trigger("aTablak");
        QVERIFY(!tables->isVisible());
    }

    void editorColoursSqlAndSetsNarrowTabs()
    {
        console(QStringLiteral("select 'x' -- megjegyzés"));
        QPlainTextEdit *editor = m_console->editor();
        QCOMPARE(editor->tabStopDistance(), 2 * QFontMetricsF(editor->font()).horizontalAdvance(u' '));
        const QList<QTextLayout::FormatRange> formats = editor->document()->firstBlock().layout()->formats();
        auto formatAt = [&](int position) {
            for (const QTextLayout::FormatRange &r : formats)
                if (position >= r.start && position < r.start + r.length)
                    return r.format;
            return QTextCharFormat();
        };
        SqlHighlighter *h = m_console->highlighter();
        QCOMPARE(formatAt(0).foreground(), h->format(SqlHighlighter::Keyword).foreground());
        QCOMPARE(formatAt(8).foreground(), h->format(SqlHighlighter::String).foreground());
        QCOMPARE(formatAt(12).foreground(), h->format(SqlHighlighter::Comment).foreground());
    }
};

QTEST_MAIN(TestSqlConsole)
#include "tst_sqlconsole.moc"
