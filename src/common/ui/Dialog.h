#pragma once

#include <QDialog>

// The conventions every dialog of the program follows, written once:
// - font size from the local configuration (Font/Size; 9 when 0);
// - its place (and, when resizable, its size) remembered in the local
//   configuration under its object name, fitted into the screen's work area;
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
