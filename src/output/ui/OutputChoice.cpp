#include "output/ui/OutputChoice.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

QStringList installedPrinters()
{
    return QPrinterInfo::availablePrinterNames();
}

OutputChoice::OutputChoice(QWidget *parent, const QString &printerName) : Dialog(parent, ObjectName)
{
    setWindowTitle(QStringLiteral("Nyomtatás típusa"));

    auto *box = new QGroupBox(QStringLiteral("Nyomtatás típusa"));
    auto *boxLayout = new QVBoxLayout(box);
    m_group = new QButtonGroup(this);
    const QList<std::pair<Choice, QString>> items = {{Preview, QStringLiteral("Nyomtatási kép")},
                                                     {Print, QStringLiteral("Nyomtatás")},
                                                     {Export, QStringLiteral("Excelbe (CSV)")},
                                                     {Pdf, QStringLiteral("Mentés PDF-be")}};
    for (const auto &[id, caption] : items) {
        auto *radio = new QRadioButton(caption);
        m_group->addButton(radio, id);
        boxLayout->addWidget(radio);
    }
    option(Preview)->setChecked(true);

    m_picture = new QLabel;
    m_picture->setFixedSize(48, 48);
    m_picture->setAlignment(Qt::AlignCenter);

    m_printers = new QComboBox;
    m_printers->setObjectName(QStringLiteral("cbNyomtato"));
    m_printers->setEditable(true);
    const QStringList printers = installedPrinters();
    m_printers->addItems(printers);
    m_printers->setEditText(printerName.isEmpty() ? printers.value(0) : printerName);
    m_printerLabel = new QLabel(QStringLiteral("Nyomtató"));
    m_printerLabel->setBuddy(m_printers);

    m_ok = new QPushButton(QStringLiteral("OK"));
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Mégsem"));
    m_cancel->setObjectName(QStringLiteral("btnMegsem"));
    connect(m_ok, &QPushButton::clicked, this, &OutputChoice::accept);
    connect(m_cancel, &QPushButton::clicked, this, &OutputChoice::reject);

    auto *top = new QHBoxLayout;
    top->addWidget(box, 1);
    top->addWidget(m_picture, 0, Qt::AlignTop);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_printerLabel);
    layout->addWidget(m_printers);
    layout->addLayout(buttons);

    connect(m_group, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            choiceChanged();
    });
    choiceChanged();
}

QRadioButton *OutputChoice::option(Choice choice) const
{
    return qobject_cast<QRadioButton *>(m_group->button(choice));
}

OutputChoice::Choice OutputChoice::choice() const
{
    return Choice(m_group->checkedId());
}

QString OutputChoice::printerText() const
{
    return m_printers->currentText();
}

void OutputChoice::choiceChanged()
{
    const bool printing = choice() == Print;
    m_printers->setEnabled(printing);
    m_printerLabel->setEnabled(printing);
    QStyle::StandardPixmap picture = QStyle::SP_FileDialogContentsView;
    switch (choice()) {
    case Print:
        picture = QStyle::SP_ComputerIcon;
        break;
    case Export:
        picture = QStyle::SP_FileDialogDetailedView;
        break;
    case Pdf:
        picture = QStyle::SP_DialogSaveButton;
        break;
    default:
        break;
    }
    m_picture->setPixmap(style()->standardIcon(picture).pixmap(40, 40));
}

OutputChoice::Choice OutputChoice::ask(QWidget *parent, QString &printerName)
{
    OutputChoice dialog(parent, printerName);
    if (dialog.exec() != QDialog::Accepted)
        return Cancelled;
    printerName = dialog.printerText();
    return dialog.choice();
}
