#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

// The panel across the bottom of the main window that shows the oldest unread
// server notice (table uzenet). "Rendben" acknowledges it for this start;
// the second button, offered for notices that may come back, stops it for good.
class MessagePanel : public QFrame
{
    Q_OBJECT
public:
    static constexpr int PanelHeight = 205;

    explicit MessagePanel(QWidget *parent);

    // Reads the first unread notice and shows it; false (and nothing shown)
    // when there is none.
    bool showFirstUnread();
    int messageKey() const { return m_key; }

    // Lays the panel over the bottom of the given area of its parent.
    void placeAtBottomOf(const QRect &area);

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void acknowledge(bool forGood);

    QLabel *m_text;
    QLabel *m_link;
    QPushButton *m_ok;
    QPushButton *m_okForGood;
    int m_key = 0;
};
