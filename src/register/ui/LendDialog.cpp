#include "register/ui/LendDialog.h"

#include "register/Lending.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

LendDialog::LendDialog(QWidget *parent, const QDate &date) : Dialog(parent, ObjectName)
{
    setWindowTitle(QStringLiteral("Dokumentum kiadás"));

    m_date = new QDateEdit(this);
    m_date->setObjectName(QStringLiteral("deDatum"));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
    m_date->setMinimumDate(QDate(1900, 1, 1));
    m_date->setDate(date);

    m_name = new QComboBox(this);
    m_name->setObjectName(QStringLiteral("cbKinek"));
    m_name->setEditable(true);
    m_name->setInsertPolicy(QComboBox::NoInsert);
    m_name->lineEdit()->setMaxLength(50);
    m_name->addItems(Lending::names());
    m_name->setCurrentIndex(-1);
    m_name->setEditText(QString());
    m_name->setMinimumWidth(260);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    m_cancel->setObjectName(QStringLiteral("btnMegsem"));
    connect(m_ok, &QPushButton::clicked, this, &LendDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &LendDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Dátum"), m_date);
    form->addRow(QStringLiteral("Kinek"), m_name);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    m_date->setFocus();
}

LendDialog::Answer LendDialog::answer() const
{
    return {m_date->date(), m_name->currentText()};
}

std::optional<LendDialog::Answer> LendDialog::ask(QWidget *parent, const QDate &date)
{
    LendDialog dialog(parent, date);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.answer();
}
