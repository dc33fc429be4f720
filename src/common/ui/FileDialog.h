#pragma once

#include <QString>

class QWidget;

// File and folder choosers. Tests queue the answers instead (setNextFileName);
// an empty queued name means the user cancelled.
class FileDialog
{
public:
    static QString getExistingDirectory(QWidget *parent, const QString &caption, const QString &dir);
    static QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                                   const QString &filter = QString());
    static QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                   const QString &filter = QString());

    static void setNextFileName(const QString &name);
    static bool hasQueuedAnswers();
};
