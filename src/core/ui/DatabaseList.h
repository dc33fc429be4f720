#pragma once

#include "common/ui/Dialog.h"
#include "core/DatabaseBackup.h"
#include "core/ProfileList.h"

#include <QLatin1StringView>
#include <atomic>
#include <exception>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QThread;
class QTimer;
class QToolBar;
class QToolButton;

// While the full backup runs, closing the program's main window (any QMainWindow)
// asks first: quitting stops the dump tool, and the backup is then not made (the
// chosen file stays as it was). The guard lives as long as the backup.
void guardQuitWhileRunning(DatabaseBackup::FullBackup *backup);

// The profile editor of the database list.
class ProfileEditDialog : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Adatbazis_Szerkeszt"};

    ProfileEditDialog(QWidget *parent, const ProfileRow &row);
    // The row as edited (the version is kept as it came).
    ProfileRow row() const;

    QLineEdit *passwordBox() const { return m_password; }
    QToolButton *showPasswordButton() const { return m_showPassword; }

private:
    ProfileRow m_row;
    QLineEdit *m_displayName;
    QLineEdit *m_server;
    QLineEdit *m_user;
    QLineEdit *m_password;
    QToolButton *m_showPassword;
    QLineEdit *m_database;
    QLineEdit *m_port;
};

// "Tárhelyek": the workstation's database profiles, their test, and backups of the
// database a profile points to. It never touches the program's own connection;
// the profiles are written back when it closes and count from the next start.
class DatabaseListDialog : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Adatbazis"};

    explicit DatabaseListDialog(QWidget *parent = nullptr);
    ~DatabaseListDialog() override;

    // Opens the screen modally on the process's local configuration.
    static void run(QWidget *parent);

    QTableWidget *grid() const { return m_grid; }
    QAction *action(const QString &name) const;
    const QList<ProfileRow> &rows() const { return m_rows; }
    int currentRow() const;
    void setCurrentRow(int row);
    int sortColumn() const { return m_sortColumn; }
    QLineEdit *toolPathBox() const { return m_toolPath; }
    QGroupBox *fullBackupPanel() const { return m_fullPanel; }
    bool isBackupRunning() const { return m_worker != nullptr; }
    QPushButton *stopButton() const { return m_stop; }
    QLabel *backupStatus() const { return m_status; }

    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void newRow();
    void editRow();
    void deleteRow();
    void testRow();
    void scriptBackup();
    void fullBackup();
    void browseTool();
    void sortBy(int column);
    void sortRows(int keepRow);
    void fillGrid(int current);
    void fitColumns();
    void updateActions();
    void backupFinished();
    void showBackupProgress();
    bool editAt(int row);
    QAction *makeAction(const QString &name, const QString &caption, const QKeySequence &key,
                        std::function<void()> handler);

    QList<ProfileRow> m_rows;
    int m_sortColumn = 0;
    QTableWidget *m_grid;
    QToolBar *m_toolBar;
    QMenu *m_popup;
    QToolButton *m_saveButton;
    QGroupBox *m_fullPanel;
    QLineEdit *m_toolPath;
    QWidget *m_progressPanel;
    QProgressBar *m_progress;
    QLabel *m_status;
    QPushButton *m_stop;
    QTimer *m_progressTimer;

    // The running script backup: a thread and a connection of its own, so the
    // window stays responsive and "Leállítás" works.
    QThread *m_worker = nullptr;
    QString m_backupFile;
    std::atomic<bool> m_stopRequested{false};
    std::atomic<qint64> m_rowsDone{0};
    std::atomic<qint64> m_rowsEstimate{0};
    std::atomic<int> m_tablesDone{0};
    std::atomic<int> m_tableCount{0};
    DatabaseBackup::Outcome m_outcome = DatabaseBackup::Outcome::Stopped;
    std::exception_ptr m_failure;
};
