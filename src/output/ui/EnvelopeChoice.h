#pragma once

#include "common/ui/Dialog.h"

class QButtonGroup;
class QPushButton;
class QRadioButton;

// frm_BoritekValaszt: which envelope size to print.
class EnvelopeChoice : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_BoritekValaszt"};

    explicit EnvelopeChoice(QWidget *parent);

    // 0 C6, 1 DL, 2 C5; -1 when cancelled.
    static int ask(QWidget *parent);

    int size() const;
    QRadioButton *option(int size) const;
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

private:
    QButtonGroup *m_group;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
