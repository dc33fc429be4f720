#pragma once

#include <QFrame>
#include <QUrl>

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

    // What a click on the notice's link opens: only a web page (http, https)
    // or a mail address; anything else (a program, a file, a share) is an
    // empty address and the link is shown as plain text.
    static QUrl linkTarget(const QString &link);

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void acknowledge(bool forGood);

    QLabel *m_text;
    QLabel *m_link;
    QPushButton *m_ok;
    QPushButton *m_okForGood;
    QUrl m_target;
    int m_key = 0;
};
