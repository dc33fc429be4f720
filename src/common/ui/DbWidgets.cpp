#include "common/ui/DbWidgets.h"

#include "db/DbHelpers.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

void FillCombo(QComboBox *box, const QString &sql, const QString &firstItem)
{
    box->clear();
    if (!firstItem.isEmpty())
        box->addItem(firstItem);
    QStringList items;
    FillList(items, sql);
    box->addItems(items);
    if (!box->isEditable() && box->count() > 0)
        box->setCurrentIndex(0);
}

namespace {

class FirstKeyUppercaser : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *box = qobject_cast<QLineEdit *>(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString typed = key->text();
        if (!box || !box->text().isEmpty() || typed.size() != 1)
            return false;
        const QChar c = typed.at(0);
        if (c < QLatin1Char('a') || c > QLatin1Char('z'))
            return false;
        box->insert(QString(c.toUpper()));
        return true;
    }
};

} // namespace

void UppercaseFirstKey(QLineEdit *box)
{
    box->installEventFilter(new FirstKeyUppercaser(box));
}
