#pragma once

#include "common/ui/Dialog.h"

class QHBoxLayout;
class QLineEdit;
class QPushButton;

// What the master-data editors share: "OK" and "Mégsem" at the bottom, "OK" disabled (or
// hidden) on a write-protected register, Ctrl+Enter acting as "OK" only while it is available,
// and a check before closing that may keep the editor open.
class EditorBase : public Dialog
{
    Q_OBJECT
public:
    EditorBase(QWidget *parent, const QString &objectName);

    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    void accept() override;

protected:
    // The row of the two buttons, for the screen's layout.
    QHBoxLayout *buttonRow();
    // Hidden rather than disabled on a write-protected register.
    void setHideOkWhenProtected(bool on) { m_hideOk = on; }
    // Called by "OK": false keeps the editor open (the screen showed why).
    virtual bool mayClose() { return true; }

    void showEvent(QShowEvent *event) override;

private:
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QHBoxLayout *m_buttons = nullptr;
    bool m_hideOk = false;
};

// Typing rules of name fields.
// The first character typed into the empty box is upper-cased (only a–z when asciiOnly).
void upperFirstLetter(QLineEdit *edit, bool asciiOnly);
// Also every character typed right after a space.
void upperNameLetters(QLineEdit *edit);
