#include "common/ui/TextInputDialog.h"

#include "common/ui/MessageBox.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const int kLeft = 16;
} // namespace

TextInputDialog::TextInputDialog(QWidget *parent, const QString &title, const QString &prompt, bool password,
                                 int minLength, int maxLength, const QString &text)
    : Dialog(parent, ObjectName, true), m_minLength(minLength)
{
    setWindowTitle(title);
    m_prompt = new QLabel(prompt, this);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("edSzoveg"));
    if (maxLength >= 0)
        m_edit->setMaxLength(maxLength);
    m_edit->setText(text);
    if (password)
        maskPasswordBox(m_edit);
    m_prompt->setBuddy(m_edit);
    // Enter confirms through the default button.
    keepEnterKey(m_edit);

    m_reveal = new QCheckBox(QStringLiteral("Látszanak a karakterek"), this);
    m_reveal->setObjectName(QStringLiteral("cbLatszik"));
    m_reveal->setVisible(password);
    connect(m_reveal, &QCheckBox::toggled, this, [this](bool shown) {
        m_edit->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
        m_edit->setFocus();
    });

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    m_cancel->setObjectName(QStringLiteral("btnMegsem"));
    connect(m_ok, &QPushButton::clicked, this, &TextInputDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &TextInputDialog::reject);

    setFixedHeight(FixedHeight);
    setMinimumWidth(ButtonOffset + kLeft + 150);
    resize(420, FixedHeight);
    m_edit->selectAll();
    m_edit->setFocus();
}

QString TextInputDialog::text() const
{
    return m_edit->text();
}

void TextInputDialog::accept()
{
    if (m_edit->text().size() < m_minLength) {
        ShowError(QStringLiteral("Túl rövid. Legalább ") + QString::number(m_minLength) +
                  QStringLiteral(" karakter kell."));
        m_edit->setFocus();
        return;
    }
    Dialog::accept();
}

void TextInputDialog::resizeEvent(QResizeEvent *event)
{
    Dialog::resizeEvent(event);
    placeControls();
}

void TextInputDialog::placeControls()
{
    const int w = width();
    const int buttonWidth = ButtonOffset - 20;
    const int buttonHeight = m_ok->sizeHint().height();
    int y = kLeft;
    m_prompt->setGeometry(kLeft, y, w - 2 * kLeft, m_prompt->sizeHint().height());
    y += m_prompt->height() + 8;
    m_edit->setGeometry(kLeft, y, w - BoxMargin, m_edit->sizeHint().height());
    y += m_edit->height() + 12;
    m_reveal->setGeometry(QRect(QPoint(kLeft, y), m_reveal->sizeHint()));
    const int bottom = height() - kLeft;
    m_cancel->setGeometry(w - ButtonOffset, bottom - buttonHeight, buttonWidth, buttonHeight);
    m_ok->setGeometry(w - ButtonOffset, bottom - 2 * buttonHeight - 8, buttonWidth, buttonHeight);
}
