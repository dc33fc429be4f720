#include "masterdata/ui/ClientEditor.h"

#include "common/ui/Dialog.h"
#include "core/ui/ErrorHandler.h"
#include "masterdata/MasterDataStore.h"
#include "masterdata/ui/MasterPictures.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QVBoxLayout>

namespace {

struct TextField
{
    const char *column;
    const char *caption;
    int length;
};

const TextField kTextFields[] = {
    {"ugyfel_nev", "Ügyfél", 50}, {"ui", "Ügyintéző", 50},         {"telefon", "Telefon", 50},
    {"irsz", "Irsz", 5},          {"varos", "Város", 25},          {"cim", "Cím", 50},
    {"emil", "E-mail", 100},      {"webuser", "Sorvika user", 20}, {"webpwd", "Sorvika jelszó", 20},
};

struct FlagField
{
    const char *column;
    const char *caption;
};

const FlagField kFlagFields[] = {
    {"belso", "Belső?"},
    {"kellsorvika", "Sorvika nyilvántartás?"},
    {"kellemil", "E-mail küldés?"},
    {"kellsms", "SMS küldés?"},
};

} // namespace

EditClientDialog::EditClientDialog(QWidget *parent) : EditorBase(parent, ObjectName)
{
    setWindowTitle(QStringLiteral("Ügyfél szerkesztés"));
    auto *form = new QFormLayout;
    QWidget *previous = nullptr;
    for (const TextField &f : kTextFields) {
        const QString column = QString::fromLatin1(f.column);
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("ed_") + column);
        edit->setMaxLength(f.length);
        form->addRow(QString::fromUtf8(f.caption), edit);
        m_edits.insert(column, edit);
        if (column == QLatin1String("webpwd"))
            maskPasswordBox(edit);
        if (previous)
            setTabOrder(previous, edit);
        previous = edit;
    }
    upperNameLetters(m_edits.value(QStringLiteral("ugyfel_nev")));
    upperNameLetters(m_edits.value(QStringLiteral("ui")));
    m_edits.value(QStringLiteral("irsz"))->installEventFilter(this);

    auto *flags = new QVBoxLayout;
    for (const FlagField &f : kFlagFields) {
        const QString column = QString::fromLatin1(f.column);
        auto *box = new QCheckBox(QString::fromUtf8(f.caption), this);
        box->setObjectName(QStringLiteral("cb_") + column);
        flags->addWidget(box);
        m_checks.insert(column, box);
        setTabOrder(previous, box);
        previous = box;
    }
    setTabOrder(previous, okButton());
    setTabOrder(okButton(), cancelButton());

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("imKep"));
    m_picture->setAlignment(Qt::AlignCenter);
    flags->addStretch(1);
    flags->addWidget(m_picture);

    auto *body = new QHBoxLayout;
    body->addLayout(form, 3);
    body->addLayout(flags, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(buttonRow());
    resize(560, 340);
}

void EditClientDialog::setRecord(const EditRecord &record)
{
    m_record = record;
    for (auto it = m_edits.cbegin(); it != m_edits.cend(); ++it)
        it.value()->setText(m_record.has(it.key()) ? m_record.value(it.key()).toString() : QString());
    for (auto it = m_checks.cbegin(); it != m_checks.cend(); ++it)
        it.value()->setChecked(m_record.has(it.key()) &&
                               m_record.value(it.key()).toString() == QLatin1String("I"));
}

EditRecord EditClientDialog::record() const
{
    EditRecord r = m_record;
    for (auto it = m_edits.cbegin(); it != m_edits.cend(); ++it)
        if (r.has(it.key()))
            r.setBoxText(it.key(), it.value()->text());
    for (auto it = m_checks.cbegin(); it != m_checks.cend(); ++it)
        if (r.has(it.key()))
            r.setValue(it.key(), it.value()->isChecked() ? QStringLiteral("I") : QStringLiteral("N"));
    return r;
}

void EditClientDialog::lookUpTown()
{
    QLineEdit *town = m_edits.value(QStringLiteral("varos"));
    if (!town->text().isEmpty())
        return;
    const QString found = MasterDataStore::townOfPostalCode(m_edits.value(QStringLiteral("irsz"))->text());
    if (!found.isEmpty())
        town->setText(found);
}

bool EditClientDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edits.value(QStringLiteral("irsz")) && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            runGuarded(QString(), [this] { lookUpTown(); });
        }
    }
    return EditorBase::eventFilter(watched, event);
}

void EditClientDialog::showEvent(QShowEvent *event)
{
    const int draw = int(QRandomGenerator::global()->bounded(5));
    m_pictureIndex = draw == 0 ? 1 : draw == 1 ? 2 : 0;
    m_picture->setPixmap(MasterPictures::clientPicture(m_pictureIndex));
    EditorBase::showEvent(event);
}

int EditClientDialog::edit(QWidget *parent, int key, ClientKind kind)
{
    EditClientDialog editor(parent);
    editor.setRecord(
        key == -1 ? MasterDataStore::newClient(kind)
                  : MasterDataStore::loadRecord(QStringLiteral("ugyfel"), QStringLiteral("ugyfel"), key));
    if (editor.exec() != QDialog::Accepted)
        return -1;
    const EditRecord edited = editor.record();
    return MasterDataStore::saveClient(key, edited, edited.changedFrom(editor.m_record));
}
