#pragma once

#include "common/ui/Dialog.h"
#include "db/Dataset.h"

#include <QKeySequence>
#include <QList>
#include <QStringList>
#include <QStyledItemDelegate>
#include <QVariant>
#include <functional>

class DatasetModel;
class QAbstractItemView;
class QTableView;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QStatusBar;
class QTableView;
class QToolBar;

// ---- Sort-column highlight, usable on any QTableView

// Light yellow (255, 255, 185): the background of the column that orders a list.
QColor sortColumnColor();

// Every column of the grid gets the window colour, then the given column the sort
// colour. The grid's item delegate paints it: a view still on Qt's default delegate
// gets a HighlightDelegate; a view with a delegate of its own must derive it from
// HighlightDelegate (or ask highlightBackground() in its role hook).
void HighlightColumn(QTableView *grid, int column);
// The highlighted (logical) column of the grid, -1 when none.
int highlightedColumn(const QAbstractItemView *grid);
// The sort colour for the highlighted column, an invalid QVariant for the others:
// made to be returned for Qt::BackgroundRole.
QVariant highlightBackground(const QAbstractItemView *grid, int column);

// Paints the highlighted column's cells in the sort colour unless the model gives
// the cell a background of its own.
class HighlightDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit HighlightDelegate(QAbstractItemView *grid);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    QAbstractItemView *m_grid;
};

// ---- Type-to-search and search-box keys, usable from any window

// Watches a grid and its search box (both must live as long as this; it is a child of the grid):
// - a digit, a letter a–z or one of á é í ó ö ő ú ü ű (either case) typed while the grid has the
//   focus moves the focus to the search box, replaces its text by that character in lower case
//   (its textChanged runs the search) and puts the caret after it;
// - Up, Down, Page Up and Page Down in the search box move the focus to the grid;
// - entering the search box (by key or mouse) selects its whole text.
class SearchKeys : public QObject
{
    Q_OBJECT
public:
    SearchKeys(QAbstractItemView *grid, QLineEdit *searchBox);

    // True for the characters that start a search from the grid.
    static bool startsSearch(QChar c);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractItemView *m_grid;
    QLineEdit *m_searchBox;
    bool m_selectOnRelease = false;
};

// The status-bar note for a search text holding a character the register cannot store,
// "Nem kereshető karakter: „…”"; empty when the text can be searched. Such a search
// shows no rows and this note, never the refusal box: it would open at every keystroke.
QString searchRefusalNote(const QString &text);

// ---- The common list screen

// One grid column of a list screen: the field it shows, its title, and its width on
// resize: fixedWidth pixels when > 0, otherwise share (0..1) of the grid width less the
// screen's reserved width, truncated; displayFormat, when given, replaces the field's own.
struct ListColumn
{
    QString field;
    QString title;
    double share = 0;
    int fixedWidth = 0;
    QString displayFormat;
};

// The behaviour every master-data list shares: a caption panel with the search box, a
// read-only grid with whole-row selection, a status bar whose first panel shows
// RowCountText after every move, actions in a toolbar and the grid's pop-up menu,
// type-to-search (SearchKeys), the sort-column highlight, remembered place and size
// (Dialog), column widths as shares of the grid width, write protection disabling the
// write actions on showing, and double-click accepting in pick mode or editing otherwise.
//
// The query is kept as lines; a search rebuilds the WHERE line as "WHERE " + base condition
// + SearchCondition(search fields, text, as-AND), re-opens the query, and moves to the first
// row whose sort field begins with the typed text, ignoring case.
class ListScreen : public Dialog
{
    Q_OBJECT
public:
    ListScreen(QWidget *parent, const QString &objectName);

    QTableView *grid() const { return m_grid; }
    QLineEdit *searchBox() const { return m_searchBox; }
    QLabel *captionPanel() const { return m_caption; }
    QToolBar *toolBar() const { return m_toolBar; }
    QMenu *popupMenu() const { return m_popup; }
    QStatusBar *statusBar() const { return m_statusBar; }
    DatasetModel *model() const { return m_model; }
    const Dataset &data() const;
    // The text of the row-count panel.
    QString rowCountText() const;
    const QStringList &queryLines() const { return m_lines; }
    QString sortField() const { return m_sortField; }
    bool isPickMode() const { return m_pickMode; }

    // Re-opens the query and positions on the key (the first row when it is not found).
    void requery();
    void requeryAt(const QVariant &key);
    // Positions on the row whose key field holds the value; false (and no move) when none.
    bool locateKey(const QVariant &key);
    bool hasRows() const;
    // Deleting a row: "Nincs sor kiválasztva." on an empty list, otherwise the question
    // "Valóban töröljem a sort?"; on Yes runs the statement made for the current row and
    // re-reads the list.
    void deleteCurrentRow(const std::function<QString()> &statement);
    // The current row's value of the field; an invalid QVariant on an empty list.
    QVariant currentValue(const QString &field) const;
    QString currentText(const QString &field) const;
    // Dataset row of the grid's current row, -1 when none.
    int currentRow() const;

protected:
    // ---- set-up, called by the screen's constructor
    void setCaption(const QString &caption); // window title and the panel's text + two spaces
    void setQuery(const QStringList &lines); // the query as lines
    void setKeyField(const QString &field);
    void setBaseCondition(const QString &condition);
    QString baseCondition() const { return m_baseCondition; }
    void setSearchFields(const QString &fields); // ";"-separated, for SearchCondition
    void setSortField(const QString &field);     // the field the search positions by
    // On: a click on a column title orders the list by that column ("ORDER BY" line),
    // re-opens it, highlights the column and focuses the search box. Off: the click
    // only focuses the search box.
    void setSortsByColumnTitle(bool on) { m_sortsByTitle = on; }
    // The grid shows these columns in this order; the other fields are hidden.
    void setColumns(const QList<ListColumn> &columns, int reservedWidth);
    // A QAction of this window with object name, caption, shortcut (window-wide) and hint. Running
    // it records LastAction (screen "." action); a failure escaping the handler goes to the
    // unhandled-error handler and the screen stays open.
    QAction *makeAction(const QString &name, const QString &caption, const QKeySequence &shortcut,
                        const QString &hint, std::function<void()> handler);
    // The actions every list names alike: "Kereső" (Ctrl+F, to the search box), "Elfogad"
    // (Enter, accepts) and "Bezár" (Esc, closes).
    QAction *makeSearchAction();
    QAction *makeAcceptAction();
    QAction *makeCloseAction();
    // nullptr stands for a separator.
    void setToolBarActions(const QList<QAction *> &actions);
    void setPopupActions(const QList<QAction *> &actions);
    // Disabled on showing when the register is write-protected.
    void setWriteActions(const QList<QAction *> &actions) { m_writeActions = actions; }
    // "aElfogad" is enabled and shown only in pick mode.
    void setPickMode(bool on);
    // Hides the actions and disables them (so their shortcuts do nothing).
    static void makeUnavailable(QAction *action);

    // Runs the search for the text (the search box's textChanged calls it).
    virtual void search(const QString &text);
    // The condition after "WHERE " for the text: base condition + SearchCondition(as-AND).
    virtual QString whereCondition(const QString &text) const;
    // Double-click: "aElfogad" when it is available, otherwise "aSzerkeszt".
    virtual void rowActivated();
    // "aElfogad" and Ctrl+Enter: closes with accept in pick mode; false keeps the list open.
    virtual bool mayAccept() { return true; }
    // After every move.
    virtual void currentRowChanged();

public:
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void open(const QVariant &key);
    void headerClicked(int logicalIndex);
    void applyColumns();
    void fitColumns();
    void updateRowCount();
    void moveToDatasetRow(int row);

    QTableView *m_grid = nullptr;
    QLineEdit *m_searchBox = nullptr;
    QLabel *m_caption = nullptr;
    QToolBar *m_toolBar = nullptr;
    QMenu *m_popup = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QLabel *m_rowCount = nullptr;
    DatasetModel *m_model = nullptr;

    QStringList m_lines;
    QString m_keyField;
    QString m_baseCondition;
    QString m_searchFields;
    QString m_sortField;
    bool m_sortsByTitle = false;
    bool m_pickMode = false;
    QList<ListColumn> m_columns;
    int m_reservedWidth = 0;
    QList<QAction *> m_writeActions;
    bool m_shown = false;
};

// Keeps a grid's rows one line of its font high, also after its font changes
// (the main window's font-size actions).
void FitRowHeightToFont(QTableView *grid, int padding);
