#include "ModalDialogs.h"
#include "db/DbHelpers.h"
#include "core/ui/ListScreen.h"
#include "core/Session.h"
#include "common/ui/MessageBox.h"
#include "db/ui/DatasetModel.h"

#include "TestDatabase.h"
#include "TestSupport.h"

#include <QAction>
#include <QHeaderView>
#include <QItemDelegate>
#include <QLabel>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

namespace {

// A list screen over a fixture table, set up the way the master-data lists set themselves up.
class FruitList : public ListScreen
{
public:
    explicit FruitList(QWidget *parent = nullptr) : ListScreen(parent, QStringLiteral("frm_Gyumolcs"))
    {
        setCaption(QStringLiteral("Gyümölcs"));
        setQuery({QStringLiteral("SELECT * FROM gyumolcs"), QStringLiteral("WHERE (1=1)"),
                  QStringLiteral("ORDER BY nev;")});
        setKeyField(QStringLiteral("kod"));
        setBaseCondition(QStringLiteral("(1=1)"));
        setSearchFields(QStringLiteral("nev;szin"));
        setSortField(QStringLiteral("nev"));
        setSortsByColumnTitle(true);
        setColumns({{QStringLiteral("nev"), QStringLiteral("Név"), 0.75},
                    {QStringLiteral("szin"), QStringLiteral("Szín"), 0, 60}},
                   40);
        QAction *aUj = makeAction(QStringLiteral("aUj"), QStringLiteral("Új sor"),
                                  QKeySequence(Qt::Key_Insert), {}, [this] { ++newCount; });
        QAction *aSzerkeszt = makeAction(QStringLiteral("aSzerkeszt"), QStringLiteral("Szerkeszt"),
                                         QKeySequence(Qt::Key_F2), {}, [this] { ++editCount; });
        QAction *aTorol = makeAction(QStringLiteral("aTorol"), QStringLiteral("Töröl"),
                                     QKeySequence(Qt::CTRL | Qt::Key_Delete), {}, [] {});
        makeAction(QStringLiteral("aElfogad"), QStringLiteral("Elfogad"), QKeySequence(Qt::Key_Return), {},
                   [this] { accept(); });
        setToolBarActions({aUj, aSzerkeszt, aTorol});
        setWriteActions({aUj, aTorol});
    }
    using ListScreen::setPickMode;
    int newCount = 0;
    int editCount = 0;
};

using ModalDriver::typeText;

int datasetColumn(const ListScreen &list, const QString &field)
{
    return list.data().fieldIndex(field);
}

} // namespace

class TestListScreen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void columnsAndRowCount();
    void typingInTheGridStartsASearch_data();
    void typingInTheGridStartsASearch();
    void otherKeysStayInTheGrid_data();
    void otherKeysStayInTheGrid();
    void searchBoxKeysMoveToTheGrid_data();
    void searchBoxKeysMoveToTheGrid();
    void enteringTheSearchBoxSelectsItsText();
    void searchNarrowsAndPositions();
    void unstorableSearchTextShowsNoRowsAndSaysWhy();
    void columnTitleSortsAndHighlights();
    void columnSharesFollowTheWidth();
    void doubleClickAcceptsOrEdits();
    void writeProtectionDisablesWriteActions();
    void highlightOnAnyTableView();
    void searchKeysInAPlainWindow();

private:
    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<FruitList> m_list;
};

void TestListScreen::initTestCase()
{
    m_folder = std::make_unique<TempDataFolder>();
    m_db = std::make_unique<TestDatabase>(TestDatabase::Empty);
    ExecSql(
        QStringLiteral("CREATE TABLE gyumolcs (kod INT NOT NULL AUTO_INCREMENT PRIMARY KEY, nev VARCHAR(30), "
                       "szin VARCHAR(20)) DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;"));
    ExecSql(QStringLiteral("INSERT INTO gyumolcs (nev, szin) VALUES ('alma', 'piros'), ('körte', 'sárga'), "
                           "('őszibarack', 'narancs'), ('5 szilva', 'kék');"));
}

void TestListScreen::cleanupTestCase()
{
    m_db.reset();
    m_folder.reset();
}

void TestListScreen::init()
{
    session().settings.irasvedett = false;
    m_list = std::make_unique<FruitList>();
    m_list->requery();
    m_list->show();
    QVERIFY(QTest::qWaitForWindowActive(m_list.get()));
    m_list->grid()->setFocus();
    QTRY_VERIFY(m_list->grid()->hasFocus());
}

void TestListScreen::cleanup()
{
    m_list.reset();
}

void TestListScreen::columnsAndRowCount()
{
    QTableView *grid = m_list->grid();
    const int nev = datasetColumn(*m_list, QStringLiteral("nev"));
    const int szin = datasetColumn(*m_list, QStringLiteral("szin"));
    const int kod = datasetColumn(*m_list, QStringLiteral("kod"));
    QVERIFY(grid->isColumnHidden(kod));
    QCOMPARE(grid->horizontalHeader()->visualIndex(nev), 0);
    QCOMPARE(grid->horizontalHeader()->visualIndex(szin), 1);
    QCOMPARE(grid->model()->headerData(nev, Qt::Horizontal).toString(), QStringLiteral("Név"));
    QCOMPARE(m_list->windowTitle(), QStringLiteral("Gyümölcs"));
    QCOMPARE(m_list->captionPanel()->text(), QStringLiteral("Gyümölcs  "));
    QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);

    QCOMPARE(m_list->rowCountText(), QStringLiteral("4: 1"));
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(m_list->rowCountText(), QStringLiteral("4: 2"));
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(m_list->rowCountText(), QStringLiteral("4: 4"));
    m_list->searchBox()->setText(QStringLiteral("nincs ilyen"));
    QCOMPARE(m_list->rowCountText(), QStringLiteral("0: 0"));
}

void TestListScreen::typingInTheGridStartsASearch_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("inBox");
    QTest::addColumn<int>("rows");
    QTest::newRow("lower letter") << "k"
                                  << "k" << 3; // körte, őszibarack (narancs), 5 szilva (kék)
    QTest::newRow("upper letter") << "A"
                                  << "a" << 4;
    QTest::newRow("digit") << "5"
                           << "5" << 1;
    // The Hungarian collation takes ö and ő for one letter: körte and őszibarack.
    QTest::newRow("accented") << "ő"
                              << "ő" << 2;
    QTest::newRow("accented capital") << "Ő"
                                      << "ő" << 2;
    QTest::newRow("double acute u") << "Ű"
                                    << "ű" << 0;
}

void TestListScreen::typingInTheGridStartsASearch()
{
    QFETCH(QString, typed);
    QFETCH(QString, inBox);
    QFETCH(int, rows);
    m_list->searchBox()->setText(QStringLiteral("régi"));
    m_list->grid()->setFocus();
    QTRY_VERIFY(m_list->grid()->hasFocus());

    typeText(m_list->grid(), typed);
    QLineEdit *box = m_list->searchBox();
    QVERIFY(box->hasFocus());
    QCOMPARE(box->text(), inBox);
    QCOMPARE(box->cursorPosition(), int(inBox.size()));
    QVERIFY(!box->hasSelectedText());
    QCOMPARE(m_list->model()->rowCount(), rows);

    // The next character goes after the first, not over it.
    QTest::keyClick(box, Qt::Key_L);
    QCOMPARE(box->text(), inBox + QLatin1Char('l'));
}

void TestListScreen::otherKeysStayInTheGrid_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("percent") << "%";
    QTest::newRow("space") << " ";
    QTest::newRow("comma") << ",";
    QTest::newRow("German sharp s") << "ß";
}

void TestListScreen::otherKeysStayInTheGrid()
{
    QFETCH(QString, typed);
    typeText(m_list->grid(), typed);
    QVERIFY(m_list->grid()->hasFocus());
    QVERIFY(m_list->searchBox()->text().isEmpty());
    // Ctrl with a letter is a shortcut, not a search.
    QTest::keyClick(m_list->grid(), Qt::Key_K, Qt::ControlModifier);
    QVERIFY(m_list->grid()->hasFocus());
}

void TestListScreen::searchBoxKeysMoveToTheGrid_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("movesToGrid");
    QTest::newRow("Up") << int(Qt::Key_Up) << true;
    QTest::newRow("Down") << int(Qt::Key_Down) << true;
    QTest::newRow("PageUp") << int(Qt::Key_PageUp) << true;
    QTest::newRow("PageDown") << int(Qt::Key_PageDown) << true;
    QTest::newRow("Left") << int(Qt::Key_Left) << false;
    QTest::newRow("Home") << int(Qt::Key_Home) << false;
}

void TestListScreen::searchBoxKeysMoveToTheGrid()
{
    QFETCH(int, key);
    QFETCH(bool, movesToGrid);
    m_list->searchBox()->setFocus();
    QTRY_VERIFY(m_list->searchBox()->hasFocus());
    QTest::keyClick(m_list->searchBox(), Qt::Key(key));
    QCOMPARE(m_list->grid()->hasFocus(), movesToGrid);
    QCOMPARE(m_list->searchBox()->hasFocus(), !movesToGrid);
}

void TestListScreen::enteringTheSearchBoxSelectsItsText()
{
    QLineEdit *box = m_list->searchBox();
    box->setText(QStringLiteral("alma"));
    m_list->grid()->setFocus();
    QTRY_VERIFY(m_list->grid()->hasFocus());

    box->setFocus(Qt::OtherFocusReason);
    QCOMPARE(box->selectedText(), QStringLiteral("alma"));

    m_list->grid()->setFocus();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    QVERIFY(box->hasFocus());
    QCOMPARE(box->selectedText(), QStringLiteral("alma"));

    // Ctrl+F-like focusing by a shortcut selects too.
    m_list->grid()->setFocus();
    box->setFocus(Qt::ShortcutFocusReason);
    QCOMPARE(box->selectedText(), QStringLiteral("alma"));
}

void TestListScreen::searchNarrowsAndPositions()
{
    QLineEdit *box = m_list->searchBox();
    box->setText(QStringLiteral("sárga"));
    QCOMPARE(m_list->model()->rowCount(), 1);
    QVERIFY(m_list->queryLines().at(1).startsWith(QStringLiteral("WHERE (1=1) AND (")));

    // Both words must match, each in any searched column.
    box->setText(QStringLiteral("körte, sárga"));
    QCOMPARE(m_list->model()->rowCount(), 1);
    box->setText(QStringLiteral("körte piros"));
    QCOMPARE(m_list->model()->rowCount(), 0);

    // Positioned on the first row whose sort column begins with the text, case ignored.
    box->setText(QStringLiteral("a"));
    QCOMPARE(m_list->model()->rowCount(), 4);
    QCOMPARE(m_list->currentText(QStringLiteral("nev")), QStringLiteral("alma"));
    box->setText(QStringLiteral("KÖR"));
    QCOMPARE(m_list->currentText(QStringLiteral("nev")), QStringLiteral("körte"));

    // Punctuation only is no condition.
    box->setText(QStringLiteral(" , ;"));
    QCOMPARE(m_list->queryLines().at(1), QStringLiteral("WHERE (1=1)"));
    QCOMPARE(m_list->model()->rowCount(), 4);
}

void TestListScreen::unstorableSearchTextShowsNoRowsAndSaysWhy()
{
    MessageBox::setRecording(true);
    MessageBox::clearShown();
    QLineEdit *box = m_list->searchBox();
    box->setFocus();
    typeText(box, QStringLiteral("alma "));
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QStringLiteral("😀"), Qt::NoModifier);
    QCOMPARE(box->text(), QStringLiteral("alma 😀"));
    QCOMPARE(m_list->model()->rowCount(), 0);
    QCOMPARE(m_list->statusBar()->currentMessage(), QStringLiteral("Nem kereshető karakter: „😀”"));
    // Re-reading the list keeps it empty while the text stands.
    m_list->requery();
    QCOMPARE(m_list->model()->rowCount(), 0);

    // Word-processor punctuation is searched like any text.
    box->setText(QStringLiteral("„alma” – €"));
    QCOMPARE(m_list->statusBar()->currentMessage(), QString());
    QCOMPARE(m_list->model()->rowCount(), 0);
    box->setText(QStringLiteral("alma"));
    QCOMPARE(m_list->model()->rowCount(), 1);

    const QList<MessageBox::ShownMessage> shown = MessageBox::shown();
    MessageBox::setRecording(false);
    QVERIFY2(shown.isEmpty(), qPrintable(shown.value(0).text));
}

void TestListScreen::columnTitleSortsAndHighlights()
{
    QTableView *grid = m_list->grid();
    const int nev = datasetColumn(*m_list, QStringLiteral("nev"));
    const int szin = datasetColumn(*m_list, QStringLiteral("szin"));
    QCOMPARE(highlightedColumn(grid), nev);

    m_list->locateKey(2); // körte stays current through the re-sort
    QHeaderView *header = grid->horizontalHeader();
    const QPoint title(header->sectionViewportPosition(szin) + header->sectionSize(szin) / 2, 5);
    QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, title);
    QCOMPARE(m_list->queryLines().at(2), QStringLiteral("ORDER BY szin;"));
    QCOMPARE(m_list->sortField(), QStringLiteral("szin"));
    QCOMPARE(highlightedColumn(grid), szin);
    QVERIFY(m_list->searchBox()->hasFocus());
    QCOMPARE(m_list->currentText(QStringLiteral("nev")), QStringLiteral("körte"));
    QCOMPARE(m_list->data().text(m_list->data().visibleRow(0), szin), QStringLiteral("kék"));

    // The search now positions by the new sort column.
    m_list->searchBox()->setText(QStringLiteral("p"));
    QCOMPARE(m_list->currentText(QStringLiteral("szin")), QStringLiteral("piros"));

    QVERIFY(qobject_cast<HighlightDelegate *>(grid->itemDelegate()));
}

void TestListScreen::columnSharesFollowTheWidth()
{
    QTableView *grid = m_list->grid();
    const int nev = datasetColumn(*m_list, QStringLiteral("nev"));
    const int szin = datasetColumn(*m_list, QStringLiteral("szin"));
    m_list->resize(640, 400);
    QTRY_COMPARE(grid->columnWidth(nev), int(0.75 * (grid->width() - 40)));
    QCOMPARE(grid->columnWidth(szin), 60);
    m_list->resize(500, 400);
    QTRY_COMPARE(grid->columnWidth(nev), int(0.75 * (grid->width() - 40)));
}

void TestListScreen::doubleClickAcceptsOrEdits()
{
    QTableView *grid = m_list->grid();
    const QModelIndex cell = grid->model()->index(1, datasetColumn(*m_list, QStringLiteral("nev")));
    const QPoint at = grid->visualRect(cell).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(m_list->editCount, 1);
    QVERIFY(m_list->isVisible());

    m_list->setPickMode(true);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(m_list->editCount, 1);
    QCOMPARE(m_list->result(), int(QDialog::Accepted));
}

void TestListScreen::writeProtectionDisablesWriteActions()
{
    session().settings.irasvedett = true;
    FruitList list;
    list.requery();
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    auto action = [&list](const char *name) { return list.findChild<QAction *>(QLatin1String(name)); };
    QVERIFY(!action("aUj")->isEnabled());
    QVERIFY(!action("aTorol")->isEnabled());
    QVERIFY(action("aSzerkeszt")->isEnabled());
    list.grid()->setFocus();
    QTest::keyClick(list.grid(), Qt::Key_Insert);
    QCOMPARE(list.newCount, 0);
    session().settings.irasvedett = false;
}

void TestListScreen::highlightOnAnyTableView()
{
    QStandardItemModel model(2, 3);
    model.setData(model.index(0, 1), QBrush(Qt::red), Qt::BackgroundRole);
    QTableView view;
    view.setModel(&model);

    QCOMPARE(highlightedColumn(&view), -1);
    HighlightColumn(&view, 1);
    QCOMPARE(highlightedColumn(&view), 1);
    auto *delegate = qobject_cast<HighlightDelegate *>(view.itemDelegate());
    QVERIFY(delegate);

    // What the delegate paints a cell with.
    struct Probe : HighlightDelegate
    {
        using HighlightDelegate::HighlightDelegate;
        QBrush background(const QModelIndex &index) const
        {
            QStyleOptionViewItem option;
            initStyleOption(&option, index);
            return option.backgroundBrush;
        }
    };
    Probe probe(&view);
    QCOMPARE(probe.background(model.index(1, 1)).color(), QColor(255, 255, 185));
    QCOMPARE(probe.background(model.index(1, 0)).style(), Qt::NoBrush);
    // A background the model gives wins.
    QCOMPARE(probe.background(model.index(0, 1)).color(), QColor(Qt::red));

    // Another column: the previous one goes back to the window colour.
    HighlightColumn(&view, 2);
    QCOMPARE(probe.background(model.index(1, 1)).style(), Qt::NoBrush);
    QCOMPARE(highlightBackground(&view, 2).value<QBrush>().color(), QColor(255, 255, 185));
    QVERIFY(!highlightBackground(&view, 1).isValid());
    // The same delegate stays.
    QCOMPARE(view.itemDelegate(), static_cast<QAbstractItemDelegate *>(delegate));

    // A view's own delegate is left alone.
    QTableView own;
    own.setModel(&model);
    auto *custom = new QItemDelegate(&own);
    own.setItemDelegate(custom);
    HighlightColumn(&own, 0);
    QCOMPARE(own.itemDelegate(), static_cast<QAbstractItemDelegate *>(custom));
    QCOMPARE(highlightedColumn(&own), 0);
}

void TestListScreen::searchKeysInAPlainWindow()
{
    QWidget window;
    auto *box = new QLineEdit(&window);
    auto *grid = new QTableView(&window);
    QStandardItemModel model(3, 1);
    grid->setModel(&model);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(box);
    layout->addWidget(grid);
    new SearchKeys(grid, box);
    QStringList searched;
    connect(box, &QLineEdit::textChanged, this, [&searched](const QString &t) { searched << t; });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    grid->setFocus();
    QTRY_VERIFY(grid->hasFocus());

    typeText(grid, QStringLiteral("É"));
    QVERIFY(box->hasFocus());
    QCOMPARE(box->text(), QStringLiteral("é"));
    QCOMPARE(searched.last(), QStringLiteral("é"));
    QTest::keyClick(box, Qt::Key_PageDown);
    QVERIFY(grid->hasFocus());
}

QTEST_MAIN(TestListScreen)
#include "tst_listscreen.moc"
