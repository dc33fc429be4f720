#pragma once

#include <QList>
#include <QString>

class QCoreApplication;

// Modal message boxes over the active window; the focus goes back to where it was.
// Title "Hiba", "Figyelmeztetés" and "Üzenet"; AskYesNo takes the caller's title.
bool AskYesNo(const QString &text, const QString &title);
// The same question with a stop icon, for questions that follow a failure.
bool AskYesNoError(const QString &text, const QString &title);
void ShowError(const QString &text);
void ShowWarning(const QString &text);
void ShowInfo(const QString &text);

// Loads Qt's own Hungarian translation so that standard buttons read "Igen",
// "Nem", "Mégse". Returns false when the translation file is not installed.
bool installHungarianTranslation(QCoreApplication &app);

// Seam for tests. While recording, no box appears: each one is recorded, and
// AskYesNo returns the next queued answer (No when none is queued).
class MessageBox
{
public:
    struct ShownMessage
    {
        QString kind; // "error", "warning", "info", "question", "question-error"
        QString title;
        QString text;
    };

    static void setRecording(bool on);
    static bool isRecording();
    static void setNextAnswer(bool yes);
    static QList<ShownMessage> shown();
    // Forgets the record and any answers still queued.
    static void clearShown();
};
