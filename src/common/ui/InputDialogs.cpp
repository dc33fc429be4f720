#include "common/ui/InputDialogs.h"

#include "common/ui/NumberInputDialog.h"
#include "common/ui/PeriodDialog.h"
#include "common/ui/TextInputDialog.h"

#include <QApplication>

namespace {

QWidget *ownerWindow(QWidget *parent)
{
    if (parent)
        return parent;
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

} // namespace

bool AskNumber(const QString &title, const QString &prompt, int &value, QWidget *parent)
{
    NumberInputDialog dialog(ownerWindow(parent), title, prompt, value);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.value();
    return true;
}

bool AskText(const QString &title, const QString &prompt, bool password, int minLength, int maxLength,
             QString &text, QWidget *parent)
{
    TextInputDialog dialog(ownerWindow(parent), title, prompt, password, minLength, maxLength, text);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    text = dialog.text();
    return true;
}

bool AskPeriod(QDate &first, QDate &last, const QString &title, QWidget *parent)
{
    PeriodDialog dialog(ownerWindow(parent), first, last, title);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    first = dialog.first();
    last = dialog.last();
    return true;
}
