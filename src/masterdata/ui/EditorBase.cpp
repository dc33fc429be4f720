#include "masterdata/ui/EditorBase.h"

#include "core/Rights.h"
#include "masterdata/MasterData.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

class LetterCase : public QObject
{
public:
    enum Rule
    {
        FirstAscii,
        FirstAny,
        Name
    };
    LetterCase(QLineEdit *edit, Rule rule) : QObject(edit), m_edit(edit), m_rule(rule)
    {
        edit->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_edit || event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (text.size() != 1 || !text.at(0).isPrint() ||
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            return false;
        const QChar typed = text.at(0);
        const QString before = m_edit->text();
        const QChar put = m_rule == Name ? nameLetterCase(before, m_edit->cursorPosition(), typed)
                                         : firstLetterCase(before, typed, m_rule == FirstAscii);
        if (put == typed)
            return false;
        m_edit->insert(QString(put));
        return true;
    }

private:
    QLineEdit *m_edit;
    Rule m_rule;
};

} // namespace

void upperFirstLetter(QLineEdit *edit, bool asciiOnly)
{
    new LetterCase(edit, asciiOnly ? LetterCase::FirstAscii : LetterCase::FirstAny);
}

void upperNameLetters(QLineEdit *edit)
{
    new LetterCase(edit, LetterCase::Name);
}

EditorBase::EditorBase(QWidget *parent, const QString &objectName) : Dialog(parent, objectName, false)
{
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(false);
    m_ok->setAutoDefault(false);
    m_cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    m_cancel->setObjectName(QStringLiteral("btnMegsem"));
    m_cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &EditorBase::accept);
    connect(m_cancel, &QPushButton::clicked, this, &EditorBase::reject);
}

QHBoxLayout *EditorBase::buttonRow()
{
    if (!m_buttons) {
        m_buttons = new QHBoxLayout;
        m_buttons->addStretch(1);
        m_buttons->addWidget(m_ok);
        m_buttons->addWidget(m_cancel);
    }
    return m_buttons;
}

void EditorBase::accept()
{
    if (!m_ok->isEnabled() || m_ok->isHidden())
        return;
    if (!mayClose())
        return;
    Dialog::accept();
}

void EditorBase::showEvent(QShowEvent *event)
{
    if (isWriteProtected()) {
        if (m_hideOk)
            m_ok->hide();
        else
            m_ok->setEnabled(false);
    }
    Dialog::showEvent(event);
}
