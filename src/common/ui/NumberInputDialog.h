#pragma once

#include "common/ui/Dialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

// frm_Inp: one whole number. The box takes digits, "-" and "," only; OK
// (also Enter) checks that the text, blanks removed, is a whole number.
class NumberInputDialog : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Inp"};
    NumberInputDialog(QWidget *parent, const QString &title, const QString &prompt, int value);

    int value() const { return m_value; }
    QLineEdit *edit() const { return m_edit; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

public Q_SLOTS:
    void accept() override;

private:
    QLabel *m_prompt;
    QLineEdit *m_edit;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    int m_value;
};
