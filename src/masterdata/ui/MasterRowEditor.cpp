#include "masterdata/ui/MasterRowEditor.h"

#include "db/DbHelpers.h"
#include "common/SqlText.h"
#include "masterdata/MasterData.h"
#include "masterdata/MasterDataStore.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

MasterRowEditor::MasterRowEditor(QWidget *parent, const QString &table, const QString &caption)
    : EditorBase(parent, ObjectName), m_table(table)
{
    const QString title = caption.isEmpty() ? MasterTable::defaultCaption(table) : caption;
    setWindowTitle(title);

    auto *label = new QLabel(title, this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("edNev"));
    label->setBuddy(m_name);
    upperFirstLetter(m_name, true);
    m_key = new QLabel(this);
    m_key->setObjectName(QStringLiteral("lbKod"));
    m_key->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_name);
    layout->addWidget(m_key);
    layout->addStretch(1);
    layout->addLayout(buttonRow());
    resize(360, 150);
}

void MasterRowEditor::load(int key)
{
    const QString nameColumn = MasterTable::nameColumn(m_table);
    // The field size bounds the name the way the table does.
    const Dataset shape = db().query(QStringLiteral("SELECT ") + nameColumn + QStringLiteral(" FROM ") +
                                     m_table + QStringLiteral(" WHERE ") + m_table + QStringLiteral(" = ") +
                                     SqlInt(key) + QLatin1Char(';'));
    if (shape.fieldCount() > 0 && shape.field(0).size > 0)
        m_name->setMaxLength(shape.field(0).size);
    if (key != -1 && !shape.isEmpty()) {
        m_name->setText(shape.text(0, 0));
        m_key->setText(QString::number(key));
    } else {
        m_name->clear();
        m_key->clear();
    }
}

QString MasterRowEditor::name() const
{
    return m_name->text();
}

int MasterRowEditor::edit(QWidget *parent, int key, const QString &table, const QString &caption)
{
    MasterRowEditor editor(parent, table, caption);
    editor.load(key);
    if (editor.exec() != QDialog::Accepted)
        return -1;
    return MasterDataStore::saveMasterRow(table, key, editor.name());
}
