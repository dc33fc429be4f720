#include "register/ui/JournalViewer.h"

#include "common/Clock.h"
#include "common/SqlText.h"
#include "common/ui/InputDialogs.h"
#include "masterdata/ui/Pickers.h"
#include "register/JournalQuery.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
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
    filter(JournalQuery::documentCondition(document));
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
    filter(JournalQuery::documentCondition(key));
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
