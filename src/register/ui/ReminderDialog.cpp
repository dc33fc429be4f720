#include "register/ui/ReminderDialog.h"

#include "common/Clock.h"
#include "core/ui/ErrorHandler.h"
#include "register/Reminders.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ReminderDialog::ReminderDialog(QWidget *parent, qint64 document, const QString &text, const QDate &date)
    : Dialog(parent, ObjectName), m_document(document)
{
    setWindowTitle(QStringLiteral("Figyelmeztetés"));

    m_date = new QDateEdit(this);
    m_date->setObjectName(QStringLiteral("deDatum"));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
    m_date->setMinimumDate(QDate(1900, 1, 1));
    m_date->setDate(date);

    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("edSzoveg"));
    m_text->setMaxLength(Reminders::MaxTextLength);
    m_text->setText(text);
    m_text->setMinimumWidth(360);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    m_cancel->setObjectName(QStringLiteral("btnMegsem"));
    m_clear = new QPushButton(QStringLiteral("Törlés"), this);
    m_clear->setObjectName(QStringLiteral("btnTorles"));
    connect(m_ok, &QPushButton::clicked, this, &ReminderDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &ReminderDialog::reject);
    connect(m_clear, &QPushButton::clicked, this,
            guarded(QStringLiteral("frm_Figyu.btnTorles"), [this] { clearReminder(); }));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Dátum"), m_date);
    form->addRow(QStringLiteral("Szöveg"), m_text);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_clear);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    m_date->setFocus();
}

void ReminderDialog::accept()
{
    runGuarded(QStringLiteral("frm_Figyu.btnOK"), [this] {
        Reminders::set(m_document, m_date->date(), m_text->text());
        Dialog::accept();
    });
}

void ReminderDialog::clearReminder()
{
    Reminders::clear(m_document);
    Dialog::accept();
}

bool SetReminder(QWidget *parent, qint64 document, const QString &text, const QDate &date)
{
    // The list's values may be old: another workstation may have set or cleared it since.
    QString shownText = text;
    QDate shownDate = date;
    if (const auto now = Reminders::stored(document)) {
        shownText = now->text;
        shownDate = now->date.isValid() ? now->date : Today();
    }
    ReminderDialog dialog(parent, document, shownText, shownDate);
    return dialog.exec() == QDialog::Accepted;
}
