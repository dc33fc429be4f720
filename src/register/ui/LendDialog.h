#pragma once

#include "common/ui/Dialog.h"

#include <QDate>
#include <QString>
#include <optional>

class QComboBox;
class QDateEdit;
class QPushButton;

// frm_Kiad: the day a paper original is handed out and to whom. The name box
// offers every name used before; any text (also an empty one) is accepted.
class LendDialog : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Kiad"};

    struct Answer
    {
        QDate date;
        QString name;
    };

    LendDialog(QWidget *parent, const QDate &date);

    // The answer when confirmed, nothing when cancelled.
    static std::optional<Answer> ask(QWidget *parent, const QDate &date);

    Answer answer() const;
    QDateEdit *dateEdit() const { return m_date; }
    QComboBox *nameBox() const { return m_name; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

private:
    QDateEdit *m_date;
    QComboBox *m_name;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
