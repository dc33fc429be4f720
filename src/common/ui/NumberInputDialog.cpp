#include "common/ui/NumberInputDialog.h"

#include "common/Numbers.h"
#include "common/ui/MessageBox.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

namespace {

// Typed characters other than digits, "-" and "," are dropped; editing keys
// and shortcuts (which carry no printable text) work as usual.
class NumberEdit : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const QString text = event->text();
        if (!text.isEmpty() && text.at(0).isPrint()) {
            const QChar c = text.at(0);
            if (!c.isDigit() && c != QLatin1Char('-') && c != QLatin1Char(',')) {
                event->accept();
                return;
            }
        }
        QLineEdit::keyPressEvent(event);
    }
};

QString withoutBlanks(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!c.isSpace())
            out.append(c);
    }
    return out;
}

} // namespace

NumberInputDialog::NumberInputDialog(QWidget *parent, const QString &title, const QString &prompt, int value)
    : Dialog(parent, ObjectName), m_value(value)
{
    setWindowTitle(title);
    m_prompt = new QLabel(prompt);
    m_prompt->setWordWrap(true);
    m_edit = new NumberEdit(QString::number(value));
    m_edit->setObjectName(QStringLiteral("edErtek"));
    m_edit->setAlignment(Qt::AlignRight);
    m_prompt->setBuddy(m_edit);
    // Enter confirms here: there is no next field to move to.
    keepEnterKey(m_edit);

    m_ok = new QPushButton(QStringLiteral("OK"));
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Mégsem"));
    m_cancel->setObjectName(QStringLiteral("btnMegsem"));
    connect(m_ok, &QPushButton::clicked, this, &NumberInputDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &NumberInputDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_edit);
    layout->addLayout(buttons);
    setMinimumWidth(300);
    m_edit->selectAll();
    m_edit->setFocus();
}

void NumberInputDialog::accept()
{
    const QString text = withoutBlanks(m_edit->text());
    const double number = TextToNumber(text, 0);
    // A whole number too large for the value counts as not whole: it cannot be kept.
    if (number != std::floor(number) || number > std::numeric_limits<int>::max() ||
        number < std::numeric_limits<int>::min()) {
        ShowError(QStringLiteral("Ehhez a mértékegységhez csak egész szám adható."));
        m_edit->setFocus();
        return;
    }
    m_value = TextToInt(text);
    Dialog::accept();
}
