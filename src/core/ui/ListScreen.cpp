#include "core/ui/ListScreen.h"

#include "db/DbHelpers.h"
#include "common/LastAction.h"
#include "common/SqlText.h"
#include "common/ui/MessageBox.h"
#include "core/Rights.h"
#include "core/ui/ErrorHandler.h"
#include "db/Latin2.h"
#include "db/ui/DatasetModel.h"

#include <QAction>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const char *const kHighlightColumn = "korvenaHighlightColumn";

const QString kAccentedLetters = QStringLiteral("áéíóöőúüűÁÉÍÓÖŐÚÜŰ");

} // namespace

// ---- highlight

QColor sortColumnColor()
{
    return QColor(255, 255, 185);
}

void HighlightColumn(QTableView *grid, int column)
{
    if (!grid)
        return;
    grid->setProperty(kHighlightColumn, column);
    // Only Qt's own delegate is replaced: a view's own delegate derives from ours.
    QAbstractItemDelegate *delegate = grid->itemDelegate();
    if (!qobject_cast<HighlightDelegate *>(delegate) &&
        (!delegate || delegate->metaObject() == &QStyledItemDelegate::staticMetaObject))
        grid->setItemDelegate(new HighlightDelegate(grid));
    grid->viewport()->update();
}

int highlightedColumn(const QAbstractItemView *grid)
{
    if (!grid)
        return -1;
    const QVariant v = grid->property(kHighlightColumn);
    return v.isValid() ? v.toInt() : -1;
}

QVariant highlightBackground(const QAbstractItemView *grid, int column)
{
    if (column >= 0 && column == highlightedColumn(grid))
        return QBrush(sortColumnColor());
    return {};
}

HighlightDelegate::HighlightDelegate(QAbstractItemView *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

void HighlightDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.data(Qt::BackgroundRole).isValid())
        return;
    const QVariant brush = highlightBackground(m_grid, index.column());
    if (brush.isValid())
        option->backgroundBrush = brush.value<QBrush>();
}

// ---- type-to-search

QString searchRefusalNote(const QString &text)
{
    const QString refused = Latin2::firstUnencodable(text);
    if (refused.isEmpty())
        return {};
    return QStringLiteral("Nem kereshető karakter: „%1”").arg(refused);
}

SearchKeys::SearchKeys(QAbstractItemView *grid, QLineEdit *searchBox)
    : QObject(grid), m_grid(grid), m_searchBox(searchBox)
{
    grid->installEventFilter(this);
    searchBox->installEventFilter(this);
}

bool SearchKeys::startsSearch(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
           kAccentedLetters.contains(c);
}

bool SearchKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
        const QString text = key->text();
        if (mods == Qt::NoModifier && text.size() == 1 && startsSearch(text.at(0))) {
            m_searchBox->setFocus(Qt::OtherFocusReason);
            m_searchBox->setText(text.toLower());
            m_searchBox->deselect();
            m_searchBox->setCursorPosition(int(m_searchBox->text().size()));
            return true;
        }
        return false;
    }
    if (watched != m_searchBox)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int k = static_cast<QKeyEvent *>(event)->key();
        if (k == Qt::Key_Up || k == Qt::Key_Down || k == Qt::Key_PageUp || k == Qt::Key_PageDown) {
            m_grid->setFocus(Qt::OtherFocusReason);
            return true;
        }
        break;
    }
    case QEvent::FocusIn:
        // A click places the caret after focusing; the selection must come after it.
        if (static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason)
            m_selectOnRelease = true;
        else
            m_searchBox->selectAll();
        break;
    case QEvent::MouseButtonRelease:
        if (m_selectOnRelease) {
            m_selectOnRelease = false;
            m_searchBox->selectAll();
        }
        break;
    default:
        break;
    }
    return false;
}

// ---- the list screen

ListScreen::ListScreen(QWidget *parent, const QString &objectName) : Dialog(parent, objectName, true)
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);

    m_searchBox = new QLineEdit(this);
    m_searchBox->setObjectName(QStringLiteral("edKeres"));
    m_searchBox->setAccessibleName(QStringLiteral("Kereső"));
    m_searchBox->setClearButtonEnabled(false);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("pnCaption"));
    m_caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);
    m_caption->setBuddy(m_searchBox);

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setAccessibleName(QStringLiteral("Lista"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSortingEnabled(false);
    m_grid->setWordWrap(false);
    m_grid->setTabKeyNavigation(false);
    m_grid->verticalHeader()->hide();
    FitRowHeightToFont(m_grid, 6);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setSectionsClickable(true);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->installEventFilter(this);
    keepEnterKey(m_grid);

    m_model = new DatasetModel(this);
    m_grid->setModel(m_model);
    HighlightColumn(m_grid, -1);
    new SearchKeys(m_grid, m_searchBox);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setSizeGripEnabled(true);
    m_rowCount = new QLabel(m_statusBar);
    m_rowCount->setObjectName(QStringLiteral("lbRowCount"));
    m_rowCount->setMinimumWidth(100);
    m_statusBar->addWidget(m_rowCount);

    m_popup = new QMenu(this);

    auto *panel = new QHBoxLayout;
    panel->setContentsMargins(4, 2, 4, 2);
    panel->addWidget(m_searchBox, 1);
    panel->addWidget(m_caption, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addLayout(panel);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_statusBar);

    connect(m_searchBox, &QLineEdit::textChanged, this,
            [this](const QString &text) { runGuarded(QString(), [&] { search(text); }); });
    connect(m_grid, &QTableView::doubleClicked, this, [this] { rowActivated(); });
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_popup->exec(m_grid->viewport()->mapToGlobal(pos)); });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int logical) { runGuarded(QString(), [&] { headerClicked(logical); }); });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        m_model->dataset().setCurrent(currentRow());
        currentRowChanged();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyColumns();
        updateRowCount();
    });

    resize(560, 420);
}

const Dataset &ListScreen::data() const
{
    return m_model->dataset();
}

QString ListScreen::rowCountText() const
{
    return m_rowCount->text();
}

void ListScreen::setCaption(const QString &caption)
{
    setWindowTitle(caption);
    m_caption->setText(caption + QStringLiteral("  "));
}

void ListScreen::setQuery(const QStringList &lines)
{
    m_lines = lines;
}

void ListScreen::setKeyField(const QString &field)
{
    m_keyField = field;
}

void ListScreen::setBaseCondition(const QString &condition)
{
    m_baseCondition = condition;
}

void ListScreen::setSearchFields(const QString &fields)
{
    m_searchFields = fields;
}

void ListScreen::setSortField(const QString &field)
{
    m_sortField = field;
}

void ListScreen::setColumns(const QList<ListColumn> &columns, int reservedWidth)
{
    m_columns = columns;
    m_reservedWidth = reservedWidth;
    applyColumns();
}

QAction *ListScreen::makeAction(const QString &name, const QString &caption, const QKeySequence &shortcut,
                                const QString &hint, std::function<void()> handler)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    action->setToolTip(hint.isEmpty() ? caption : hint);
    action->setStatusTip(hint);
    addAction(action);
    connect(action, &QAction::triggered, this, [this, name, handler = std::move(handler)] {
        if (handler)
            runGuarded(objectName() + QLatin1Char('.') + name, handler);
        else
            setLastAction(objectName() + QLatin1Char('.') + name);
    });
    return action;
}

QAction *ListScreen::makeSearchAction()
{
    return makeAction(QStringLiteral("aKeres"), QStringLiteral("Kereső"), QKeySequence(Qt::CTRL | Qt::Key_F),
                      QStringLiteral("Ugrás a keresőbe"),
                      [this] { searchBox()->setFocus(Qt::ShortcutFocusReason); });
}

QAction *ListScreen::makeAcceptAction()
{
    QAction *a =
        makeAction(QStringLiteral("aElfogad"), QStringLiteral("Elfogad"), {}, {}, [this] { accept(); });
    a->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    return a;
}

QAction *ListScreen::makeCloseAction()
{
    return makeAction(QStringLiteral("aBezar"), QStringLiteral("Bezár"), QKeySequence(Qt::Key_Escape), {},
                      [this] { reject(); });
}

void ListScreen::setToolBarActions(const QList<QAction *> &actions)
{
    m_toolBar->clear();
    for (QAction *a : actions) {
        if (a)
            m_toolBar->addAction(a);
        else
            m_toolBar->addSeparator();
    }
}

void ListScreen::setPopupActions(const QList<QAction *> &actions)
{
    m_popup->clear();
    for (QAction *a : actions) {
        if (a)
            m_popup->addAction(a);
        else
            m_popup->addSeparator();
    }
}

void ListScreen::setPickMode(bool on)
{
    m_pickMode = on;
    if (auto *accept = findChild<QAction *>(QStringLiteral("aElfogad"), Qt::FindDirectChildrenOnly)) {
        accept->setEnabled(on);
        accept->setVisible(on);
    }
}

void ListScreen::makeUnavailable(QAction *action)
{
    if (!action)
        return;
    action->setVisible(false);
    action->setEnabled(false);
}

void ListScreen::requery()
{
    open(currentValue(m_keyField));
}

void ListScreen::requeryAt(const QVariant &key)
{
    open(key);
}

void ListScreen::open(const QVariant &key)
{
    Dataset result = db().query(m_lines.join(QLatin1Char('\n')));
    m_model->setDataset(std::move(result));
    if (!locateKey(key))
        moveToDatasetRow(m_model->rowCount() > 0 ? m_model->datasetRow(0) : -1);
}

bool ListScreen::locateKey(const QVariant &key)
{
    if (m_keyField.isEmpty() || !key.isValid() || key.isNull())
        return false;
    const int col = data().fieldIndex(m_keyField);
    if (col < 0)
        return false;
    const QString wanted = key.toString();
    const int n = m_model->rowCount();
    for (int i = 0; i < n; ++i) {
        const int row = m_model->datasetRow(i);
        if (data().text(row, col) == wanted) {
            moveToDatasetRow(row);
            return true;
        }
    }
    return false;
}

void ListScreen::moveToDatasetRow(int row)
{
    const int modelRow = row >= 0 ? m_model->modelRow(row) : -1;
    if (modelRow < 0) {
        m_grid->selectionModel()->clearCurrentIndex();
        m_model->dataset().setCurrent(-1);
        updateRowCount();
        return;
    }
    int column = m_grid->horizontalHeader()->logicalIndex(0);
    for (int v = 0; v < m_grid->horizontalHeader()->count(); ++v) {
        const int logical = m_grid->horizontalHeader()->logicalIndex(v);
        if (!m_grid->isColumnHidden(logical)) {
            column = logical;
            break;
        }
    }
    const QModelIndex index = m_model->index(modelRow, qMax(column, 0));
    m_grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
    m_grid->scrollTo(index);
    // The selection model does not signal when the current row stays the same.
    m_model->dataset().setCurrent(row);
    updateRowCount();
}

bool ListScreen::hasRows() const
{
    return m_model->rowCount() > 0;
}

void ListScreen::deleteCurrentRow(const std::function<QString()> &statement)
{
    if (!hasRows()) {
        ShowError(QStringLiteral("Nincs sor kiválasztva."));
        return;
    }
    if (!AskYesNo(QStringLiteral("Valóban töröljem a sort?"), QStringLiteral("Megerősítés")))
        return;
    ExecSql(statement());
    requery();
}

int ListScreen::currentRow() const
{
    const QModelIndex index = m_grid->currentIndex();
    if (!index.isValid())
        return -1;
    return m_model->datasetRow(index.row());
}

QVariant ListScreen::currentValue(const QString &field) const
{
    const int row = currentRow();
    const int col = data().fieldIndex(field);
    if (row < 0 || col < 0)
        return {};
    return data().value(row, col);
}

QString ListScreen::currentText(const QString &field) const
{
    const int row = currentRow();
    const int col = data().fieldIndex(field);
    if (row < 0 || col < 0)
        return {};
    return data().displayText(row, col);
}

QString ListScreen::whereCondition(const QString &text) const
{
    return m_baseCondition + SearchCondition(m_searchFields, text, true);
}

void ListScreen::search(const QString &text)
{
    const QString refused = searchRefusalNote(text);
    if (!refused.isEmpty()) {
        SetWhere(m_lines, whereCondition(QString()) + QStringLiteral(" AND FALSE"));
        open(QVariant());
        m_statusBar->showMessage(refused);
        return;
    }
    m_statusBar->clearMessage();
    SetWhere(m_lines, whereCondition(text));
    open(QVariant());
    // Positioning is a convenience: a failure of it leaves the list as the query gave it.
    if (!text.isEmpty() && !m_sortField.isEmpty()) {
        Dataset &d = m_model->dataset();
        const int before = d.current();
        if (d.fieldIndex(m_sortField) >= 0 && d.locate(m_sortField, text))
            moveToDatasetRow(d.current());
        else
            d.setCurrent(before);
    }
}

void ListScreen::rowActivated()
{
    auto *accept = findChild<QAction *>(QStringLiteral("aElfogad"), Qt::FindDirectChildrenOnly);
    if (m_pickMode && accept && accept->isEnabled()) {
        accept->trigger();
        return;
    }
    auto *edit = findChild<QAction *>(QStringLiteral("aSzerkeszt"), Qt::FindDirectChildrenOnly);
    if (edit && edit->isEnabled())
        edit->trigger();
}

void ListScreen::currentRowChanged()
{
    updateRowCount();
}

void ListScreen::accept()
{
    if (!m_pickMode)
        return;
    if (mayAccept())
        Dialog::accept();
}

void ListScreen::headerClicked(int logicalIndex)
{
    if (m_sortsByTitle && logicalIndex >= 0 && logicalIndex < data().fieldCount()) {
        const QVariant key = currentValue(m_keyField);
        m_sortField = data().field(logicalIndex).name;
        SetOrderBy(m_lines, m_sortField);
        open(key);
        HighlightColumn(m_grid, data().fieldIndex(m_sortField));
    }
    m_searchBox->setFocus(Qt::OtherFocusReason);
}

void ListScreen::applyColumns()
{
    if (m_columns.isEmpty())
        return;
    Dataset &d = m_model->dataset();
    QHeaderView *header = m_grid->horizontalHeader();
    for (int c = 0; c < d.fieldCount(); ++c)
        m_grid->setColumnHidden(c, true);
    int visual = 0;
    for (const ListColumn &column : std::as_const(m_columns)) {
        const int c = d.fieldIndex(column.field);
        if (c < 0)
            continue;
        // The header reads the title from the field (the model is not reset by this).
        d.field(c).label = column.title;
        if (!column.displayFormat.isEmpty())
            d.field(c).displayFormat = column.displayFormat;
        m_grid->setColumnHidden(c, false);
        header->moveSection(header->visualIndex(c), visual++);
    }
    fitColumns();
}

void ListScreen::fitColumns()
{
    const Dataset &d = data();
    const int available = m_grid->width() - m_reservedWidth;
    for (const ListColumn &column : std::as_const(m_columns)) {
        const int c = d.fieldIndex(column.field);
        if (c < 0)
            continue;
        const int width = column.fixedWidth > 0 ? column.fixedWidth : int(column.share * available);
        m_grid->setColumnWidth(c, qMax(width, 8));
    }
}

void ListScreen::updateRowCount()
{
    m_rowCount->setText(RowCountText(data()));
}

void ListScreen::showEvent(QShowEvent *event)
{
    if (!m_shown) {
        m_shown = true;
        if (isWriteProtected())
            for (QAction *a : std::as_const(m_writeActions))
                a->setEnabled(false);
        // The order column, or the first one shown, starts highlighted.
        int column = data().fieldIndex(m_sortField);
        if (column < 0 || m_grid->isColumnHidden(column))
            column = m_columns.isEmpty() ? 0 : data().fieldIndex(m_columns.first().field);
        HighlightColumn(m_grid, column);
        m_grid->setFocus(Qt::OtherFocusReason);
    }
    Dialog::showEvent(event);
    fitColumns();
}

void ListScreen::resizeEvent(QResizeEvent *event)
{
    Dialog::resizeEvent(event);
    fitColumns();
}

bool ListScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::Resize)
        fitColumns();
    return Dialog::eventFilter(watched, event);
}

namespace {

class RowHeightKeeper : public QObject
{
public:
    RowHeightKeeper(QTableView *grid, int padding) : QObject(grid), m_grid(grid), m_padding(padding) { apply(); }
    void apply() { m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + m_padding); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::FontChange)
            apply();
        return false;
    }

private:
    QTableView *m_grid;
    int m_padding;
};

} // namespace

void FitRowHeightToFont(QTableView *grid, int padding)
{
    grid->installEventFilter(new RowHeightKeeper(grid, padding));
}
