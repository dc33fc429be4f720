#include "common/ui/FileDialog.h"

#include <QFileDialog>
#include <QQueue>

namespace {

QQueue<QString> answers;

} // namespace

QString FileDialog::getExistingDirectory(QWidget *parent, const QString &caption, const QString &dir)
{
    if (!answers.isEmpty())
        return answers.dequeue();
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}

QString FileDialog::getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter)
{
    if (!answers.isEmpty())
        return answers.dequeue();
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString FileDialog::getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter)
{
    if (!answers.isEmpty())
        return answers.dequeue();
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

void FileDialog::setNextFileName(const QString &name)
{
    answers.enqueue(name);
}

bool FileDialog::hasQueuedAnswers()
{
    return !answers.isEmpty();
}
