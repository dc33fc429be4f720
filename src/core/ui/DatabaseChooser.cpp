#include "core/ui/DatabaseChooser.h"

#include "common/ui/MessageBox.h"
#include "core/ui/ConnectionSetupDialog.h"
#include "core/ui/ErrorHandler.h"
#include "core/ui/Pictures.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

DatabaseChooser::DatabaseChooser(const QList<ProfileChoice> &choices, QWidget *parent)
    : Dialog(parent, ObjectName, true), m_choices(choices)
{
    setWindowTitle(QStringLiteral("Korvena Iktatás adatbázis választás"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lbAdatbazisok"));
    m_list->setAccessibleName(QStringLiteral("Adatbázisok"));
    for (const ProfileChoice &c : choices)
        m_list->addItem(c.caption());
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    m_list->installEventFilter(this);
    keepEnterKey(m_list);

    auto *picture = new QLabel(this);
    picture->setPixmap(Pictures::databaseIcon(48));
    auto *newButton = new QPushButton(QStringLiteral("Új"), this);
    newButton->setObjectName(QStringLiteral("btnUj"));
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    auto *cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    cancel->setObjectName(QStringLiteral("btnMegsem"));
    for (QPushButton *b : {newButton, ok, cancel})
        b->setAutoDefault(false);

    auto *row = new QHBoxLayout;
    row->addWidget(picture);
    row->addWidget(newButton);
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(row);
    resize(420, 300);

    connect(ok, &QPushButton::clicked, this, &DatabaseChooser::accept);
    connect(cancel, &QPushButton::clicked, this, &DatabaseChooser::reject);
    connect(newButton, &QPushButton::clicked, this, &DatabaseChooser::newConnection);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &DatabaseChooser::accept);
    m_list->setFocus();
}

bool DatabaseChooser::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const int n = m_list->count();
        if (n > 0 && key->modifiers() == Qt::NoModifier) {
            if (key->key() == Qt::Key_Up && m_list->currentRow() == 0) {
                m_list->setCurrentRow(n - 1);
                return true;
            }
            if (key->key() == Qt::Key_Down && m_list->currentRow() == n - 1) {
                m_list->setCurrentRow(0);
                return true;
            }
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            accept();
            return true;
        }
    }
    return Dialog::eventFilter(watched, event);
}

void DatabaseChooser::accept()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_choices.size())
        return;
    // A port that is not a number goes to the error handler; the chooser stays open.
    runGuarded(QStringLiteral("frm_AdatbazisNyit.btnOK"), [this, row] {
        const QString error = testProfile(ConnectionProfile::fromLine(m_choices[row].line));
        if (!error.isEmpty()) {
            ShowError(QStringLiteral("Hiba: ") + error);
            return;
        }
        m_chosen = m_choices[row].line;
        Dialog::accept();
    });
}

void DatabaseChooser::newConnection()
{
    const QString line = ConnectionSetupDialog::run(this);
    if (line.isEmpty()) {
        reject();
        return;
    }
    m_chosen = line;
    Dialog::accept();
}

QString DatabaseChooser::run(const QList<ProfileChoice> &choices, QWidget *parent)
{
    DatabaseChooser d(choices, parent);
    return d.exec() == QDialog::Accepted ? d.m_chosen : QString();
}
