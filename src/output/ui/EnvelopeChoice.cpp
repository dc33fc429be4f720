#include "output/ui/EnvelopeChoice.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

EnvelopeChoice::EnvelopeChoice(QWidget *parent) : Dialog(parent, ObjectName)
{
    setWindowTitle(QStringLiteral("Boríték méret választás"));
    auto *box = new QGroupBox(QStringLiteral("Boríték méret"));
    auto *boxLayout = new QVBoxLayout(box);
    m_group = new QButtonGroup(this);
    const QStringList captions = {QStringLiteral("C6 (114*162mm)"), QStringLiteral("LA/4 (DL) (110*220 mm)"),
                                  QStringLiteral("LC5 (162*229 mm)")};
    for (int i = 0; i < captions.size(); ++i) {
        auto *radio = new QRadioButton(captions[i]);
        m_group->addButton(radio, i);
        boxLayout->addWidget(radio);
    }
    option(0)->setChecked(true);

    m_ok = new QPushButton(QStringLiteral("OK"));
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Mégsem"));
    m_cancel->setObjectName(QStringLiteral("btnMegsem"));
    connect(m_ok, &QPushButton::clicked, this, &EnvelopeChoice::accept);
    connect(m_cancel, &QPushButton::clicked, this, &EnvelopeChoice::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(buttons);
}

int EnvelopeChoice::size() const
{
    return m_group->checkedId();
}

QRadioButton *EnvelopeChoice::option(int size) const
{
    return qobject_cast<QRadioButton *>(m_group->button(size));
}

int EnvelopeChoice::ask(QWidget *parent)
{
    EnvelopeChoice dialog(parent);
    return dialog.exec() == QDialog::Accepted ? dialog.size() : -1;
}
