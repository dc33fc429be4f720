#pragma once

#include "db/Connection.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class ActionCatalogue;
class DetailPanel;
class QCheckBox;
class DocumentListModel;
class DocumentListView;
class FilterController;
class MessagePanel;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QTabBar;
class QTimer;
class QWheelEvent;

// The routines that the main window's one-shot timers run. Their screens come
// with the reminder, deadline and vendor-notice work; until a routine is set
// its timer fires and does nothing.
struct MainWindowRoutines
{
    std::function<void(QWidget *window, bool onlyIfAny)> showReminders;
    std::function<void(QWidget *window)> showExpiringDeadlines;
    std::function<void(QWidget *window)> checkVersionNotice;
    std::function<void(QWidget *window)> checkNews;
};
MainWindowRoutines &mainWindowRoutines();

// frm_Main: built once start-up has opened the connection, owns that
// connection and the document list for the whole process, and carries every
// action of the program. The list, its filter, the detail panel, the message
// panel and the action catalogue are collaborators of their own.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Main"};
    // Takes the connection that start-up opened (runStartup()).
    explicit MainWindow(std::unique_ptr<Connection> connection, QWidget *parent = nullptr);
    ~MainWindow() override;

    Connection &connection() { return *m_connection; }

    ActionCatalogue &actionCatalogue() { return *m_actions; }
    FilterController &documentList() { return *m_controller; }
    DocumentListModel *listModel() const { return m_model; }
    DocumentListView *listView() const { return m_list; }
    DetailPanel *detailPanel() const { return m_detail; }
    MessagePanel *messagePanel() const { return m_messages; }
    QLineEdit *searchBox() const { return m_searchBox; }
    QCheckBox *textSearchBox() const { return m_textSearch; }
    QTabBar *directionTabs() const { return m_directionTabs; }
    QTabBar *yearTabs() const { return m_yearTabs; }
    // The three status-bar panels: rows, hint, sort order.
    QLabel *rowPanel() const { return m_rowPanel; }
    QLabel *hintPanel() const { return m_hintPanel; }
    QLabel *sortPanel() const { return m_sortPanel; }
    QLabel *textReadingPanel() const { return m_textPanel; }

    // The current document's key (iktato), 0 on an empty list.
    qint64 currentDocument() const;
    // Re-queries the list and stays on the current document (aFrissit).
    void refreshList();
    void focusSearchBox();

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    void connectActions();
    void connectList();
    void applySettings();
    void openList();
    void loadYearTabs();
    void placeWindow();
    void applyFontSize();
    void changeFontSize(int step);
    void startTimers();
    QTimer *oneShot(const QString &name, int milliseconds, std::function<void()> routine);
    void currentDocumentChanged();
    void copyRegistrationId();
    void openWebPage(const QString &address);
    void showAbout();
    bool isActionShortcut(const QKeyEvent *key) const;
    void wheelToKey(QObject *receiver, const QWheelEvent *wheel);

    std::unique_ptr<Connection> m_connection;
    bool m_shownOnce = false;
    bool m_hintsOn = false;

    ActionCatalogue *m_actions = nullptr;
    QLineEdit *m_searchBox = nullptr;
    QCheckBox *m_textSearch = nullptr;
    QLabel *m_databaseName = nullptr;
    QTabBar *m_directionTabs = nullptr;
    DocumentListModel *m_model = nullptr;
    DocumentListView *m_list = nullptr;
    QTabBar *m_yearTabs = nullptr;
    DetailPanel *m_detail = nullptr;
    MessagePanel *m_messages = nullptr;
    FilterController *m_controller = nullptr;

    QLabel *m_rowPanel = nullptr;
    QLabel *m_hintPanel = nullptr;
    QLabel *m_sortPanel = nullptr;
    QLabel *m_textPanel = nullptr;

    QTimer *m_keepAlive = nullptr;
    QTimer *m_fileGridTimer = nullptr;
    qint64 m_shownFiles = -1;
};
