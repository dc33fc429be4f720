#pragma once

#include "common/ui/Dialog.h"
#include "core/ui/ListScreen.h"
#include "db/EditRecord.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTabWidget;
struct StoredExportDefinition;

// frm_TorzsCsvExp: the stored exports; runs the current one to its file, to the
// FTP server or to the clipboard. Administrators create, edit and delete them.
class StoredExportList : public ListScreen
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_TorzsCsvExp"};
    explicit StoredExportList(QWidget *parent);

    static void run(QWidget *parent);

protected:
    void currentRowChanged() override;

private:
    void newDefinition();
    void editDefinition();
    void deleteDefinition();
    void exportToFile();
    void exportToFtp();
    void exportToClipboard();
    StoredExportDefinition currentDefinition() const;
    // The query and the file; a failure of the file is shown, the caller's message follows.
    bool mayRun(const StoredExportDefinition &definition);
    // False when nothing was written (refused, not confirmed, or failed; the reason shown).
    bool writeCurrentFile(const StoredExportDefinition &definition);
    void updateFtpAction();

    QAction *m_ftp = nullptr;
};

// frm_TorzsCsvExp_Szerkeszt: one stored export definition on three pages.
class StoredExportEditor : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_TorzsCsvExp_Szerkeszt"};
    enum Page
    {
        SettingsPage,
        SimpleExportPage,
        SqlPage
    };

    explicit StoredExportEditor(QWidget *parent);

    // Shows the definition (key -1: a new one) and saves it when accepted; its key, or -1.
    static int edit(QWidget *parent, int key);

    void load(const EditRecord &record);
    // The record with the screen's values.
    EditRecord record() const;

    // Appends a dropped column name: the name alone into an empty box, else "," and the name.
    static void appendColumnName(QLineEdit *box, const QString &name);
    // Asks the server for the SQL text's result columns; "Hibás SQL: " when it refuses.
    void refreshColumns();

    QTabWidget *pages() const { return m_pages; }
    QListWidget *columnList() const { return m_columns; }
    QPlainTextEdit *sqlEditor() const { return m_sql; }
    QLineEdit *nameEdit() const { return m_name; }
    // The seven boxes a column name may be dropped on.
    const QList<QLineEdit *> &dropBoxes() const { return m_dropBoxes; }

public Q_SLOTS:
    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *lineEdit(const char *objectName, int maxLength);
    void loadSql();
    void saveSql();
    void browseLocalFile();
    void pageChanged();

    EditRecord m_record;
    QTabWidget *m_pages = nullptr;
    QLineEdit *m_name = nullptr;
    QComboBox *m_category = nullptr;
    QLineEdit *m_fieldNames = nullptr;
    QLineEdit *m_fieldLabels = nullptr;
    QLineEdit *m_grouping = nullptr;
    QLineEdit *m_sums = nullptr;
    QLineEdit *m_parameters = nullptr;
    QLineEdit *m_searchFields = nullptr;
    QCheckBox *m_dataCentre = nullptr;
    QCheckBox *m_chart = nullptr;
    QLineEdit *m_chartParameters = nullptr;
    QListWidget *m_columns = nullptr;
    QLineEdit *m_localFile = nullptr;
    QButtonGroup *m_separators = nullptr;
    QButtonGroup *m_quotes = nullptr;
    QCheckBox *m_ftp = nullptr;
    QLineEdit *m_ftpHost = nullptr;
    QLineEdit *m_ftpFolder = nullptr;
    QLineEdit *m_ftpUser = nullptr;
    QLineEdit *m_ftpPassword = nullptr;
    QPlainTextEdit *m_sql = nullptr;
    QAction *m_openSql = nullptr;
    QAction *m_saveSql = nullptr;
    QAction *m_accept = nullptr;
    QList<QLineEdit *> m_dropBoxes;
};
