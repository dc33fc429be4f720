#pragma once

#include "common/ui/Dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// frm_InpStr: a text or a password. Resizable in width only; the box follows
// the width, the buttons keep their distance from the right edge.
class TextInputDialog : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_InpStr"};
    static constexpr int FixedHeight = 297;
    static constexpr int BoxMargin = 73;     // client width less the box width
    static constexpr int ButtonOffset = 110; // buttons' left edge from the right edge

    TextInputDialog(QWidget *parent, const QString &title, const QString &prompt, bool password,
                    int minLength, int maxLength, const QString &text);

    QString text() const;
    QLineEdit *edit() const { return m_edit; }
    QCheckBox *revealBox() const { return m_reveal; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

public Q_SLOTS:
    void accept() override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeControls();

    QLabel *m_prompt;
    QLineEdit *m_edit;
    QCheckBox *m_reveal;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    int m_minLength;
};
