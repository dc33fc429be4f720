#pragma once

#include <QDialog>

// The conventions every dialog of the program follows, written once:
// - font size from the local configuration (Font/Size; 9 when 0);
// - its place (and, when resizable, its size) remembered in the local
//   configuration under its object name, fitted into the screen's work area;
//   the place is that of the outer frame, title bar and borders included;
// - the focused input box painted sky blue (166, 202, 240), the window colour again when left;
// - Enter moves to the next control, Ctrl+Enter confirms (accept()), Esc cancels.
// Ctrl+Enter calls accept() from any control, so a dialog that checks its input
// does so in an accept() override, which its OK button calls too. A dialog that
// is not resizable keeps the size it has when first shown.
class Dialog : public QDialog
{
    Q_OBJECT
public:
    Dialog(QWidget *parent, const QString &objectName, bool resizable = false);

    bool isResizable() const { return m_resizable; }
    // Enter on these widgets keeps its own meaning (multi-line boxes, lists that confirm on Enter);
    // on a line edit it reaches the default button.
    void keepEnterKey(QWidget *widget);

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void installFilters();
    bool m_resizable;
    bool m_placed = false;
};

// The sky blue of a focused input box.
QColor focusColor();

class QLineEdit;
// A password box: every character shows as '*', whatever the style's own mask is.
// Switching the echo mode back and forth keeps the '*'.
void maskPasswordBox(QLineEdit *edit);

// Puts a top-level window's outer frame (title bar and borders included) on the
// rectangle; with resize false the window keeps its size and only moves. The
// window manager frames a window only when it first appears, so until then the
// frame of an earlier window stands in, and the place is made good once more as
// soon as the real frame turns out different.
void placeWindowFrame(QWidget *window, const QRect &frame, bool resize = true);
// The outer frame of a shown window, title bar and borders included (the widget's
// frameGeometry() can lag behind the window manager's frame).
QRect windowFrameGeometry(const QWidget *window);
// The width of the window's frame on each side: its own once the window manager
// has framed it, until then that of the last framed window (none at first).
QMargins windowFrameMargins(const QWidget *window);
