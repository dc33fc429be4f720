#pragma once

#include "common/ui/Dialog.h"

#include <QDate>
#include <QString>

class QDateEdit;
class QLineEdit;
class QPushButton;

// frm_Figyu: sets or clears the reminder of one document. "OK" stores the date
// and text, "Törlés" clears both; either reports a change. The statements run
// when the button is pressed.
class ReminderDialog : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Figyu"};

    ReminderDialog(QWidget *parent, qint64 document, const QString &text, const QDate &date);

    QDateEdit *dateEdit() const { return m_date; }
    QLineEdit *textEdit() const { return m_text; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *clearButton() const { return m_clear; }

public Q_SLOTS:
    void accept() override;

private:
    void clearReminder();

    qint64 m_document;
    QDateEdit *m_date;
    QLineEdit *m_text;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    QPushButton *m_clear;
};

// The reminder dialog over the document, showing the reminder the server holds now
// (text and date are what the list showed, used when the document is gone): true when the reminder was stored or
// cleared (the caller re-reads the list), false when cancelled.
bool SetReminder(QWidget *parent, qint64 document, const QString &text, const QDate &date);
