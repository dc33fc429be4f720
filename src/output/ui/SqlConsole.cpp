#include "output/ui/SqlConsole.h"

#include "common/Encoding.h"
#include "common/PrivateFile.h"
#include "common/ui/FileDialog.h"
#include "common/ui/MessageBox.h"
#include "core/AppFolders.h"
#include "core/ui/ErrorHandler.h"
#include "db/DbHelpers.h"
#include "db/ui/DatasetModel.h"
#include "output/FreeSqlScript.h"
#include "output/ui/ExportDialog.h"
#include "output/ui/SqlHighlighter.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QTextCursor>
#include <QToolBar>
#include <QVBoxLayout>
#include <functional>

// The grid model of an opened table: every accepted edit is already on the server.
class FreeSqlTableModel : public QAbstractTableModel
{
public:
    FreeSqlTableModel(FreeSqlTable &table, QObject *parent) : QAbstractTableModel(parent), m_table(table) {}

    void reset(const std::function<void()> &change)
    {
        beginResetModel();
        change();
        endResetModel();
    }

    // The table's new row, added once (a second Ins goes back to it).
    int appendRow()
    {
        const int n = m_table.data().rowCount();
        if (n > 0 && m_table.isPending(n - 1))
            return n - 1;
        beginInsertRows(QModelIndex(), n, n);
        m_table.appendRow();
        endInsertRows();
        return n;
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_table.data().rowCount();
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_table.data().fieldCount();
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return {};
        const Dataset &d = m_table.data();
        switch (role) {
        case Qt::DisplayRole:
            return d.displayText(index.row(), index.column());
        case Qt::EditRole:
            return d.text(index.row(), index.column());
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(d.field(index.column()).alignment);
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_table.data().fieldCount())
            return m_table.data().field(section).displayLabel();
        if (orientation == Qt::Vertical && role == Qt::DisplayRole && m_table.isPending(section))
            return QStringLiteral("*");
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        Qt::ItemFlags f = QAbstractTableModel::flags(index);
        if (m_table.isEditable(index.column()))
            f |= Qt::ItemIsEditable;
        return f;
    }

    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (!index.isValid() || role != Qt::EditRole)
            return false;
        const QString text = value.toString();
        const Dataset &d = m_table.data();
        // An editor closed on the new row without typing adds no row.
        if (m_table.isPending(index.row()) ? text.isEmpty() : text == d.text(index.row(), index.column()))
            return false;
        // The server may refuse the value (a type, a key, a right): the grid keeps what the table holds.
        try {
            m_table.setCell(index.row(), index.column(), text);
        } catch (const KorvenaError &e) {
            ShowError(e.text());
            return false;
        }
        Q_EMIT dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
        Q_EMIT headerDataChanged(Qt::Vertical, index.row(), index.row());
        return true;
    }

private:
    FreeSqlTable &m_table;
};

namespace {

constexpr int ColumnWidth = 100;

// Tabs two blanks wide, whatever font size the dialog gives the editor.
class SqlEditor : public QPlainTextEdit
{
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void changeEvent(QEvent *event) override
    {
        QPlainTextEdit::changeEvent(event);
        if (event->type() == QEvent::FontChange)
            setTabStopDistance(2 * QFontMetricsF(font()).horizontalAdvance(QLatin1Char(' ')));
    }
};

// Enter in a cell's editor writes the cell rather than moving to the next control.
class CellDelegate : public QStyledItemDelegate
{
public:
    CellDelegate(Dialog *dialog, QObject *parent) : QStyledItemDelegate(parent), m_dialog(dialog) {}
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (editor)
            m_dialog->keepEnterKey(editor);
        return editor;
    }

private:
    Dialog *m_dialog;
};

QString paragraphsToLines(QString text)
{
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

} // namespace

SqlConsole::SqlConsole(QWidget *parent) : Dialog(parent, ObjectName, true)
{
    setWindowTitle(QStringLiteral("SQL lekérdezés"));
    m_queryModel = new DatasetModel(this);
    m_tableModel = new FreeSqlTableModel(m_table, this);
    buildWindow();
    updateActions();
}

SqlConsole::~SqlConsole()
{
    // The table model reads m_table, which goes before the widgets that still ask it while they hide.
    delete m_tableModel;
}

Connection &SqlConsole::connection()
{
    // Opened once: an open table writes through it (the connection itself reconnects).
    if (!m_connection) {
        auto opened = std::make_unique<Connection>();
        opened->open(db().params());
        m_connection = std::move(opened);
    }
    return *m_connection;
}

void SqlConsole::run(QWidget *parent)
{
    SqlConsole console(parent);
    console.exec();
}

QAction *SqlConsole::makeAction(const char *name, const QString &caption, const QKeySequence &shortcut,
                                std::function<void()> work)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this,
            guarded(QString(ObjectName) + QLatin1Char('.') + QLatin1String(name), std::move(work)));
    QWidget::addAction(action);
    return action;
}

void SqlConsole::buildWindow()
{
    QAction *aUj =
        makeAction("aUj", QStringLiteral("Új SQL file"), QKeySequence(Qt::CTRL | Qt::Key_N), [this] {
            m_editor->clear();
            m_fileName.clear();
        });
    QAction *aTablak =
        makeAction("aTablak", QStringLiteral("Táblák"), QKeySequence(Qt::Key_F4), [this] { toggleTables(); });
    QAction *aMegnyit = makeAction("aMegnyit", QStringLiteral("Megnyit"), QKeySequence(Qt::CTRL | Qt::Key_O),
                                   [this] { openFile(); });
    QAction *aMent = makeAction("aMent", QStringLiteral("Mentés"), QKeySequence(Qt::CTRL | Qt::Key_S),
                                [this] { saveFile(); });
    QAction *aExport = makeAction("aExport", QStringLiteral("Export"), QKeySequence(Qt::CTRL | Qt::Key_E),
                                  [this] { exportResult(); });
    QAction *aMasol =
        makeAction("aMasol", QStringLiteral("Másol"), QKeySequence(Qt::Key_F3), [this] { copyResult(); });
    aMasol->setToolTip(QStringLiteral("Eredmény másolása vágólapra"));
    aMasol->setStatusTip(aMasol->toolTip());
    QAction *aFuttat =
        makeAction("aFuttat", QStringLiteral("Futtat"), QKeySequence(Qt::Key_F5), [this] { runEditor(); });
    QAction *aBezar = makeAction("aBezar", QStringLiteral("Bezár"), QKeySequence(), [this] { reject(); });
    QAction *aEredmeny = makeAction("aEredmeny", QStringLiteral("Eredmény"), QKeySequence(Qt::Key_F9),
                                    [this] { runFirstQuery(); });
    QAction *aTab = makeAction("aTab", QStringLiteral("Tab"), QKeySequence(Qt::CTRL | Qt::Key_Tab),
                               [this] { m_pages->setCurrentIndex(1 - m_pages->currentIndex()); });

    auto *menu = new QMenuBar(this);
    QMenu *file = menu->addMenu(QStringLiteral("&Fájl"));
    file->addActions({aUj, aMegnyit, aMent});
    file->addSeparator();
    file->addActions({aExport, aMasol});
    file->addSeparator();
    file->addAction(aBezar);
    QMenu *sql = menu->addMenu(QStringLiteral("&SQL"));
    sql->addActions({aFuttat, aEredmeny});
    sql->addSeparator();
    sql->addActions({aTablak, aTab});

    auto *tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("tbEszkozok"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->addActions({aUj, aTablak, aMegnyit, aMent});
    tools->addSeparator();
    tools->addActions({aExport, aMasol});
    tools->addSeparator();
    tools->addAction(aFuttat);
    tools->addSeparator();
    tools->addAction(aBezar);

    m_editor = new SqlEditor(this);
    m_editor->setObjectName(QStringLiteral("memSQL"));
    m_editor->setAccessibleName(QStringLiteral("SQL"));
    m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_editor->setFont(font);
    m_highlighter = new SqlHighlighter(m_editor->document());
    keepEnterKey(m_editor);

    auto *resultPage = new QWidget(this);
    auto *searchLabel = new QLabel(QStringLiteral("&Keresés:"), resultPage);
    m_search = new QLineEdit(resultPage);
    m_search->setObjectName(QStringLiteral("edKeres"));
    searchLabel->setBuddy(m_search);
    keepEnterKey(m_search);
    m_next = new QPushButton(QStringLiteral("Következő"), resultPage);
    m_next->setObjectName(QStringLiteral("btnKovetkezo"));
    m_next->setAutoDefault(false);
    connect(m_next, &QPushButton::clicked, this,
            guarded(QStringLiteral("frm_SQL.btnKovetkezo"), [this] { findNext(); }));
    connect(m_search, &QLineEdit::returnPressed, m_next, &QPushButton::click);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(m_next);
    m_grid = new QTableView(resultPage);
    m_grid->setObjectName(QStringLiteral("grdEredmeny"));
    m_grid->setAccessibleName(QStringLiteral("Eredmény"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->setItemDelegate(new CellDelegate(this, m_grid));
    useModel(m_queryModel);
    auto *resultLayout = new QVBoxLayout(resultPage);
    resultLayout->setContentsMargins(0, 0, 0, 0);
    resultLayout->addLayout(searchRow);
    resultLayout->addWidget(m_grid, 1);

    auto *gridInsert = new QAction(QStringLiteral("Új sor"), m_grid);
    gridInsert->setObjectName(QStringLiteral("aUjSor"));
    gridInsert->setShortcut(QKeySequence(Qt::Key_Insert));
    gridInsert->setShortcutContext(Qt::WidgetShortcut);
    connect(gridInsert, &QAction::triggered, this,
            guarded(QStringLiteral("frm_SQL.aUjSor"), [this] { addTableRow(); }));
    auto *gridDelete = new QAction(QStringLiteral("Sor törlése"), m_grid);
    gridDelete->setObjectName(QStringLiteral("aTorolSor"));
    gridDelete->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
    gridDelete->setShortcutContext(Qt::WidgetShortcut);
    connect(gridDelete, &QAction::triggered, this,
            guarded(QStringLiteral("frm_SQL.aTorolSor"), [this] { deleteTableRow(); }));
    m_grid->addActions({gridInsert, gridDelete});
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pcLapok"));
    m_pages->addTab(m_editor, QStringLiteral("SQL"));
    m_pages->addTab(resultPage, QStringLiteral("Eredmény"));

    m_tables = new QListWidget(this);
    m_tables->setObjectName(QStringLiteral("lbTablak"));
    m_tables->setAccessibleName(QStringLiteral("Táblák"));
    m_tables->hide();
    connect(m_tables, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        runGuarded(QStringLiteral("frm_SQL.lbTablak"), [this, item] {
            // Through the cursor, so that Ctrl+Z brings the earlier text back.
            QTextCursor cursor(m_editor->document());
            cursor.select(QTextCursor::Document);
            cursor.insertText(QStringLiteral("table:") + item->text());
            runEditor();
        });
    });

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(m_tables);
    splitter->addWidget(m_pages);
    splitter->setStretchFactor(1, 1);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("pbFuttatas"));
    m_progress->hide();
    m_stop = new QPushButton(QStringLiteral("Megállít"), this);
    m_stop->setObjectName(QStringLiteral("btnMegallit"));
    m_stop->setAutoDefault(false);
    m_stop->hide();
    connect(m_stop, &QPushButton::clicked, this, [this] { stopScript(); });
    auto *progressRow = new QHBoxLayout;
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_stop);

    auto *status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    m_rowPanel = new QLabel(status);
    m_rowPanel->setObjectName(QStringLiteral("lblSorok"));
    m_rowPanel->setMinimumWidth(90);
    status->addWidget(m_rowPanel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setMenuBar(menu);
    layout->addWidget(tools);
    layout->addWidget(splitter, 1);
    layout->addLayout(progressRow);
    layout->addWidget(status);
    resize(760, 520);
}

Dataset *SqlConsole::shownResult()
{
    if (m_queryOpen)
        return &m_queryModel->dataset();
    if (m_table.isOpen())
        return &m_table.data();
    return nullptr;
}

void SqlConsole::accept() {}

void SqlConsole::reject()
{
    if (m_running) {
        stopScript();
        return;
    }
    Dialog::reject();
}

void SqlConsole::stopScript()
{
    m_stopRequested = true;
}

QString SqlConsole::statementText() const
{
    const QTextCursor cursor = m_editor->textCursor();
    return cursor.hasSelection() ? paragraphsToLines(cursor.selectedText()) : m_editor->toPlainText();
}

bool SqlConsole::openRequestedTable()
{
    const std::optional<QString> table = FreeSql::requestedTable(m_editor->toPlainText());
    if (!table)
        return false;
    openTable(*table);
    return true;
}

void SqlConsole::runEditor()
{
    if (m_running || openRequestedTable())
        return;
    const QString text = statementText();
    if (FreeSql::isQuery(text)) {
        if (openQuery(text))
            narrowColumns(true);
        return;
    }
    runScript(text);
}

void SqlConsole::runFirstQuery()
{
    if (m_running || openRequestedTable())
        return;
    const QTextCursor cursor = m_editor->textCursor();
    const QString text = cursor.hasSelection() ? paragraphsToLines(cursor.selectedText())
                                               : FreeSql::firstStatement(m_editor->toPlainText());
    if (openQuery(text))
        narrowColumns(false);
}

bool SqlConsole::openTable(const QString &name)
{
    FreeSqlTable opened;
    try {
        opened.open(connection(), name);
    } catch (const KorvenaError &e) {
        ShowError(e.text());
        return false;
    }
    m_queryModel->setDataset(Dataset());
    m_queryOpen = false;
    m_tableModel->reset([&] { m_table = std::move(opened); });
    showTable();
    return true;
}

bool SqlConsole::openQuery(const QString &sql)
{
    Dataset result;
    try {
        connection().query(sql, result);
    } catch (const KorvenaError &e) {
        ShowError(QStringLiteral("SQL hiba:\n") + e.text());
        return false;
    }
    result.setCurrent(result.isEmpty() ? -1 : 0);
    m_tableModel->reset([this] { m_table.close(); });
    m_queryModel->setDataset(std::move(result));
    m_queryOpen = true;
    showQuery();
    return true;
}

void SqlConsole::useModel(QAbstractItemModel *model)
{
    if (m_grid->model() == model)
        return;
    QItemSelectionModel *previous = m_grid->selectionModel();
    m_grid->setModel(model);
    delete previous;
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { currentRowChanged(); });
}

void SqlConsole::showQuery()
{
    useModel(m_queryModel);
    m_pages->setCurrentIndex(1);
    moveTo(0);
    updateActions();
}

void SqlConsole::showTable()
{
    useModel(m_tableModel);
    narrowColumns(false);
    m_pages->setCurrentIndex(1);
    moveTo(0);
    updateActions();
}

void SqlConsole::narrowColumns(bool fixedWidth)
{
    QHeaderView *header = m_grid->horizontalHeader();
    if (!fixedWidth)
        m_grid->resizeColumnsToContents();
    for (int c = 0; c < header->count(); ++c)
        if (fixedWidth || header->sectionSize(c) > ColumnWidth)
            header->resizeSection(c, ColumnWidth);
}

void SqlConsole::moveTo(int modelRow)
{
    QAbstractItemModel *model = m_grid->model();
    if (modelRow < 0 || modelRow >= model->rowCount()) {
        currentRowChanged();
        return;
    }
    const int column = qMax(m_grid->currentIndex().column(), 0);
    m_grid->setCurrentIndex(model->index(modelRow, column));
    m_grid->scrollTo(m_grid->currentIndex());
    currentRowChanged();
}

void SqlConsole::currentRowChanged()
{
    Dataset *data = shownResult();
    if (!data) {
        m_rowPanel->clear();
        return;
    }
    const int row = m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : -1;
    data->setCurrent(row >= 0 ? data->visibleRow(row) : -1);
    m_rowPanel->setText(RowCountText(*data));
}

void SqlConsole::findNext()
{
    Dataset *data = shownResult();
    if (!data || data->visibleCount() == 0)
        return;
    const int from = qMax(m_grid->currentIndex().row(), 0);
    const int found = NextMatchingRow(*data, from, m_search->text());
    // Without a match the walk has gone past every row: it stops on the last.
    moveTo(found >= 0 ? found : data->visibleCount() - 1);
}

void SqlConsole::copyResult()
{
    if (const Dataset *data = shownResult())
        QGuiApplication::clipboard()->setText(ResultClipboardText(*data));
}

void SqlConsole::exportResult()
{
    Dataset *data = shownResult();
    if (!data)
        return;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    ExportDialog::run(this, *data, QDir(documents).filePath(QStringLiteral("File001.csv")));
    if (data->current() >= 0)
        moveTo(m_queryOpen ? m_queryModel->modelRow(data->current()) : data->current());
}

QString SqlConsole::sqlFolder() const
{
    const QString folder = QDir(AppFolders::current().dataFolder).filePath(QStringLiteral("SQL"));
    QDir().mkpath(folder);
    return folder;
}

void SqlConsole::openFile()
{
    const QString name = FileDialog::getOpenFileName(this, QStringLiteral("Megnyitás"), sqlFolder(),
                                                     QStringLiteral("SQL állományok (*.sql)"));
    if (name.isEmpty())
        return;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowError(QStringLiteral("A file nem nyitható meg: ") + name);
        return;
    }
    m_editor->setPlainText(FromCp1250(file.readAll()));
    m_fileName = name;
}

void SqlConsole::saveFile()
{
    const QString proposed =
        m_fileName.isEmpty() ? sqlFolder() : QDir(sqlFolder()).filePath(QFileInfo(m_fileName).fileName());
    QString name = FileDialog::getSaveFileName(this, QStringLiteral("Mentés"), proposed,
                                               QStringLiteral("SQL file-ok (*.sql)"));
    if (name.isEmpty())
        return;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".sql");
    if (!PrivateFile::writeAll(name, ToCp1250(m_editor->toPlainText())).isEmpty()) {
        ShowError(QStringLiteral("A file nem írható: ") + name);
        return;
    }
    m_fileName = name;
}

void SqlConsole::toggleTables()
{
    if (m_tables->isVisible()) {
        m_tables->hide();
        return;
    }
    fillTables();
    m_tables->show();
}

void SqlConsole::fillTables()
{
    if (m_tablesFilled)
        return;
    const Dataset list = connection().query(QStringLiteral("SHOW TABLES;"));
    QStringList names;
    for (int r = 0; r < list.rowCount(); ++r)
        names << list.text(r, 0);
    m_tables->addItems(names);
    m_tablesFilled = true;
}

void SqlConsole::addTableRow()
{
    if (!m_table.isOpen() || m_queryOpen)
        return;
    const int rows = m_tableModel->rowCount();
    moveTo(m_tableModel->appendRow());
    // A second Ins goes back to the new row, whose editor may still be open.
    if (m_tableModel->rowCount() > rows)
        m_grid->edit(m_grid->currentIndex());
}

void SqlConsole::deleteTableRow()
{
    if (!m_table.isOpen() || m_queryOpen || !m_grid->currentIndex().isValid())
        return;
    if (!AskYesNo(QStringLiteral("Valóban töröljem a sort?"), QStringLiteral("Megerősítés")))
        return;
    const QModelIndex current = m_grid->currentIndex();
    try {
        m_tableModel->reset([&] { m_table.removeRow(current.row()); });
    } catch (const KorvenaError &e) {
        ShowError(e.text());
        return;
    }
    const int row = qMin(current.row(), m_tableModel->rowCount() - 1);
    if (row >= 0)
        m_grid->setCurrentIndex(m_tableModel->index(row, current.column()));
    moveTo(row);
}

void SqlConsole::runScript(const QString &script)
{
    m_running = true;
    m_stopRequested = false;
    updateActions();
    m_progress->setValue(0);
    m_progress->show();
    m_stop->show();
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    const FreeSql::ScriptOutcome outcome =
        FreeSql::runScript(connection(), script, [this, &sinceRepaint](int done, int total) {
            m_progress->setMaximum(total);
            m_progress->setValue(done);
            // Keep the window alive (and the stop button reachable) without paying for it on every line.
            if (sinceRepaint.elapsed() >= 50) {
                QCoreApplication::processEvents();
                sinceRepaint.restart();
            }
            return !m_stopRequested;
        });
    m_running = false;
    m_progress->hide();
    m_stop->hide();
    updateActions();
    switch (outcome.status) {
    case FreeSql::ScriptOutcome::Failed:
        ShowError(QStringLiteral("Hiba: ") + outcome.error);
        break;
    case FreeSql::ScriptOutcome::Stopped:
        ShowWarning(QStringLiteral("Az SQL futtatás megszakítva, lefutott utasítások: ") +
                    QString::number(outcome.executed) + QLatin1Char('.'));
        break;
    case FreeSql::ScriptOutcome::Completed:
        ShowInfo(QStringLiteral("SQL futtatás kész."));
        break;
    }
}

void SqlConsole::updateActions()
{
    const bool hasResult = shownResult() != nullptr && !m_running;
    for (const char *name : {"aExport", "aMasol"})
        if (auto *a = findChild<QAction *>(QLatin1String(name), Qt::FindDirectChildrenOnly))
            a->setEnabled(hasResult);
    for (const char *name : {"aFuttat", "aEredmeny", "aUj", "aMegnyit"})
        if (auto *a = findChild<QAction *>(QLatin1String(name), Qt::FindDirectChildrenOnly))
            a->setEnabled(!m_running);
}
