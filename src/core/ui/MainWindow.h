#pragma once

#include "db/Connection.h"

#include <QMainWindow>
#include <memory>

class QLabel;
class QTimer;

// frm_Main: runs the start-up sequence while it is created and owns the
// connection for the whole process.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    bool startupAborted() const { return m_aborted; }
    Connection &connection() { return *m_connection; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void abortStartup();
    void placeWindow();
    void startTimers();
    void refreshSummary();

    std::unique_ptr<Connection> m_connection;
    bool m_aborted = false;
    bool m_shownOnce = false;
    QLabel *m_summary = nullptr;
    QLabel *m_leftPanel = nullptr;
    QLabel *m_hintPanel = nullptr;
    QLabel *m_rightPanel = nullptr;
    QTimer *m_keepAlive = nullptr;
};
