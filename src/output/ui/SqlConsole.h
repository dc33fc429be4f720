#pragma once

#include "common/ui/Dialog.h"
#include "output/FreeSqlTable.h"

#include <functional>
#include <memory>

class Connection;

class DatasetModel;
class FreeSqlTableModel;
class QAbstractItemModel;
class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableView;
class SqlHighlighter;

// frm_SQL: the administrator's console on the open register. Runs what the editor
// holds (a table to edit, one query, or a script), keeps statements in .sql files
// and hands results to the export screen or the clipboard. Whatever the server lets
// the account do, this screen does: nothing here is limited to reading.
class SqlConsole : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_SQL"};

    explicit SqlConsole(QWidget *parent);
    ~SqlConsole() override;

    // Opens the screen modally (the caller has checked the right).
    static void run(QWidget *parent);

    QPlainTextEdit *editor() const { return m_editor; }
    QTabWidget *pages() const { return m_pages; }
    QTableView *resultView() const { return m_grid; }
    QLineEdit *searchBox() const { return m_search; }
    QListWidget *tableList() const { return m_tables; }
    QProgressBar *progressBar() const { return m_progress; }
    QLabel *rowPanel() const { return m_rowPanel; }
    SqlHighlighter *highlighter() const { return m_highlighter; }
    const QString &fileName() const { return m_fileName; }
    bool isRunning() const { return m_running; }
    // The console's own session on the register, opened with the program's connection
    // parameters at first use: what is run here (USE, SET, an open transaction) ends
    // with the screen and never changes the program's connection.
    Connection &connection();
    // What the result page shows: the query result or the opened table (nullptr when neither).
    Dataset *shownResult();

    // The actions' work, as the actions run it.
    void runEditor();     // aFuttat
    void runFirstQuery(); // aEredmeny
    void findNext();      // Következő
    void copyResult();    // aMasol
    void exportResult();  // aExport
    void openFile();      // aMegnyit
    void saveFile();      // aMent
    void toggleTables();  // aTablak
    void stopScript();

public Q_SLOTS:
    // No OK here: Ctrl+Enter does not close the console.
    void accept() override;
    // Esc while a script runs stops it instead of closing under it.
    void reject() override;

private:
    QAction *makeAction(const char *name, const QString &caption, const QKeySequence &shortcut,
                        std::function<void()> work);
    void buildWindow();
    QString statementText() const;
    bool openRequestedTable();
    bool openTable(const QString &name);
    bool openQuery(const QString &sql);
    void runScript(const QString &script);
    void useModel(QAbstractItemModel *model);
    void showQuery();
    void showTable();
    void narrowColumns(bool fixedWidth);
    void currentRowChanged();
    void moveTo(int modelRow);
    void updateActions();
    void fillTables();
    void addTableRow();
    void deleteTableRow();
    QString sqlFolder() const;

    QPlainTextEdit *m_editor = nullptr;
    SqlHighlighter *m_highlighter = nullptr;
    QTabWidget *m_pages = nullptr;
    QTableView *m_grid = nullptr;
    QLineEdit *m_search = nullptr;
    QPushButton *m_next = nullptr;
    QListWidget *m_tables = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_stop = nullptr;
    QLabel *m_rowPanel = nullptr;

    DatasetModel *m_queryModel = nullptr;
    FreeSqlTableModel *m_tableModel = nullptr;
    std::unique_ptr<Connection> m_connection; // outlives m_table, which writes through it
    FreeSqlTable m_table;
    bool m_queryOpen = false;
    bool m_tablesFilled = false;
    bool m_running = false;
    bool m_stopRequested = false;
    QString m_fileName;
};
