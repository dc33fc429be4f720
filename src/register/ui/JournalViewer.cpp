#include "register/ui/JournalViewer.h"

#include "common/Clock.h"
#include "common/SqlText.h"
#include "common/ui/InputDialogs.h"
#include "masterdata/ui/Pickers.h"
#include "register/JournalQuery.h"
#include "register/Trail.h"
#include "db/DbError.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QHeaderView>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

JournalViewer::JournalViewer(QWidget *parent) : ListScreen(parent, ObjectName)
{
    setCaption(QStringLiteral("Iktatás napló"));
    captionPanel()->setText(QStringLiteral("Napló  "));
    searchBox()->hide();
    setQuery(JournalQuery::lines());
    setKeyField(QStringLiteral("iktnaplo"));
    setSortField(QStringLiteral("iktnaplo"));
    setSortsByColumnTitle(true);
    setColumns({{QStringLiteral("iktnaplo"), QStringLiteral("Napló"), 0.15},
                {QStringLiteral("iktatoaz"), QStringLiteral("Dokumentum"), 0.30},
                {QStringLiteral("felhasznalo_nev"), QStringLiteral("Felhasználó"), 0.25},
                {QStringLiteral("datum"), QStringLiteral("Dátum"), 0.30}},
               44);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("mmSzoveg"));
    m_text->setAccessibleName(QStringLiteral("Szöveg"));
    m_text->setReadOnly(true);
    keepEnterKey(m_text);
    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setObjectName(QStringLiteral("Splitter1"));
    delete layout()->replaceWidget(grid(), m_splitter);
    m_splitter->addWidget(grid());
    m_splitter->addWidget(m_text);
    m_splitter->setStretchFactor(0, 3);
    m_splitter->setStretchFactor(1, 1);

    m_trail = new QTableWidget(0, 7, this);
    m_trail->setObjectName(QStringLiteral("grdNyom"));
    m_trail->setAccessibleName(QStringLiteral("Változásnyom"));
    m_trail->setHorizontalHeaderLabels({QStringLiteral("Sorszám"), QStringLiteral("Időpont"), QStringLiteral("Ki"),
                                        QStringLiteral("Művelet"), QStringLiteral("Tábla"),
                                        QStringLiteral("Programon kívül"), QStringLiteral("Változások")});
    m_trail->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_trail->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_trail->setSelectionMode(QAbstractItemView::SingleSelection);
    m_trail->setWordWrap(true);
    m_trail->setTabKeyNavigation(false);
    m_trail->verticalHeader()->hide();
    m_trail->horizontalHeader()->setStretchLastSection(true);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pcLapok"));
    m_pages->setAccessibleName(QStringLiteral("Lapok"));
    delete layout()->replaceWidget(m_splitter, m_pages);
    m_pages->addTab(m_splitter, QStringLiteral("Napló"));
    m_pages->addTab(m_trail, QStringLiteral("Változásnyom"));
    connect(m_pages, &QTabWidget::currentChanged, this, [this] { showTrail(); });

    QAction *one = makeAction(QStringLiteral("aSzur1"), QStringLiteral("Egy dokumentum"), {}, {},
                              [this] { askDocument(); });
    QAction *user = makeAction(QStringLiteral("aSzur2"), QStringLiteral("Egy felhasználó"), {}, {},
                               [this] { askUser(); });
    QAction *period =
        makeAction(QStringLiteral("aSzur3"), QStringLiteral("Időszak"), {}, {}, [this] { askPeriod(); });
    m_filters = new QActionGroup(this);
    m_filters->setExclusive(true);
    for (QAction *a : {one, user, period}) {
        a->setCheckable(true);
        m_filters->addAction(a);
    }
    one->setChecked(true);
    m_marked = one;
    QAction *close = makeCloseAction();

    auto *filterMenu = new QMenu(this);
    filterMenu->addActions({one, user, period});
    auto *filterButton = new QToolButton(this);
    filterButton->setObjectName(QStringLiteral("tbSzures"));
    filterButton->setText(QStringLiteral("Adatok szűrése"));
    filterButton->setToolTip(QStringLiteral("Adatok szűrése"));
    filterButton->setPopupMode(QToolButton::InstantPopup);
    filterButton->setMenu(filterMenu);
    setToolBarActions({close});
    toolBar()->insertWidget(close, filterButton);
    toolBar()->insertSeparator(close);
    setPopupActions({one, user, period, nullptr, close});
    resize(640, 460);
}

void JournalViewer::run(QWidget *parent, qint64 document)
{
    JournalViewer viewer(parent);
    viewer.showDocument(document);
    viewer.exec();
}

void JournalViewer::showDocument(qint64 document)
{
    m_document = document;
    filter(JournalQuery::documentCondition(document));
    showTrail();
}

void JournalViewer::showTrail()
{
    // Read when the page is seen: the journal alone stays as quick as it was.
    if (m_pages->currentWidget() != m_trail || m_trailShown == m_document)
        return;
    QList<Trail::Entry> entries;
    try {
        entries = Trail::load(m_document);
    } catch (const DbError &e) {
        // A register that was never given the trail has none to show.
        if (e.code() != 1146)
            throw;
    }
    m_trailShown = m_document;
    m_trail->setRowCount(0);
    m_trail->setRowCount(int(entries.size()));
    QFont marked = m_trail->font();
    marked.setBold(true);
    for (int r = 0; r < entries.size(); ++r) {
        const Trail::Entry &e = entries[r];
        const QStringList cells = {QString::number(e.number), e.when, e.who, e.action, e.table,
                                   e.outsideProgram ? QStringLiteral("Igen") : QString(), e.changes};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (e.outsideProgram) {
                item->setFont(marked);
                item->setForeground(QColor(160, 0, 0));
            }
            m_trail->setItem(r, c, item);
        }
    }
    m_trail->resizeColumnsToContents();
    m_trail->resizeRowsToContents();
    if (!entries.isEmpty())
        m_trail->setCurrentCell(0, 0);
}

void JournalViewer::filter(const QString &condition)
{
    QStringList lines = queryLines();
    SetWhere(lines, condition);
    setQuery(lines);
    requeryAt(QVariant());
    showText();
}

void JournalViewer::currentRowChanged()
{
    ListScreen::currentRowChanged();
    showText();
}

void JournalViewer::showText()
{
    m_text->setPlainText(hasRows() ? currentValue(QStringLiteral("szoveg")).toString() : QString());
}

void JournalViewer::askDocument()
{
    int key = 0;
    if (!AskNumber(QStringLiteral("Dokumentum azonosító"),
                   QStringLiteral("Add meg a dokumentum azonosítóját!"), key, this)) {
        m_marked->setChecked(true);
        return;
    }
    m_marked = m_filters->actions().at(0);
    m_marked->setChecked(true);
    showDocument(key);
}

void JournalViewer::askUser()
{
    const int key = UserPicker(this);
    if (key == -1) {
        m_marked->setChecked(true);
        return;
    }
    m_marked = m_filters->actions().at(1);
    m_marked->setChecked(true);
    filter(JournalQuery::userCondition(key));
}

void JournalViewer::askPeriod()
{
    QDate first = Today();
    QDate last = Today();
    if (!AskPeriod(first, last, QString(), this)) {
        m_marked->setChecked(true);
        return;
    }
    m_marked = m_filters->actions().at(2);
    m_marked->setChecked(true);
    filter(JournalQuery::periodCondition(first, last));
}
