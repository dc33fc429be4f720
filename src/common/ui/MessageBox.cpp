#include "common/ui/MessageBox.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPointer>
#include <QQueue>
#include <QTranslator>

namespace {

bool recording = false;
QQueue<bool> answers;
QList<MessageBox::ShownMessage> record;
QPointer<QWidget> lastWindow;

QMessageBox::StandardButton showBox(const QString &kind, QMessageBox::Icon icon, const QString &title,
                                    const QString &text, QMessageBox::StandardButtons buttons)
{
    if (recording) {
        record.append({kind, title, text});
        if (!kind.startsWith(QLatin1String("question")))
            return QMessageBox::Ok;
        const bool yes = !answers.isEmpty() && answers.dequeue();
        return yes ? QMessageBox::Yes : QMessageBox::No;
    }

    // Right after a box closes, the window manager may not have activated its
    // window again yet; the window the last box belonged to stands in for it.
    QWidget *parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    if (!parent && lastWindow && lastWindow->isVisible())
        parent = lastWindow;
    const QPointer<QWidget> window = parent;
    QPointer<QWidget> focus = QApplication::focusWidget();
    if (!focus && parent)
        focus = parent->focusWidget();

    QMessageBox box(icon, title, text, buttons, parent);
    const int result = box.exec();

    lastWindow = window;
    if (window) {
        window->activateWindow();
        if (focus)
            focus->setFocus(Qt::OtherFocusReason);
    }
    return QMessageBox::StandardButton(result);
}

} // namespace

bool AskYesNo(const QString &text, const QString &title)
{
    return showBox(QStringLiteral("question"), QMessageBox::Question, title, text,
                   QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool AskYesNoError(const QString &text, const QString &title)
{
    return showBox(QStringLiteral("question-error"), QMessageBox::Critical, title, text,
                   QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void ShowError(const QString &text)
{
    showBox(QStringLiteral("error"), QMessageBox::Critical, QStringLiteral("Hiba"), text, QMessageBox::Ok);
}

void ShowWarning(const QString &text)
{
    showBox(QStringLiteral("warning"), QMessageBox::Warning, QStringLiteral("Figyelmeztetés"), text,
            QMessageBox::Ok);
}

void ShowInfo(const QString &text)
{
    showBox(QStringLiteral("info"), QMessageBox::Information, QStringLiteral("Üzenet"), text,
            QMessageBox::Ok);
}

bool installHungarianTranslation(QCoreApplication &app)
{
    static const char *const name = "korvena_qtbase_hu";
    if (app.findChild<QTranslator *>(QLatin1String(name)))
        return true;
    auto *translator = new QTranslator(&app);
    translator->setObjectName(QLatin1String(name));
    if (!translator->load(QStringLiteral("qtbase_hu"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return app.installTranslator(translator);
}

void MessageBox::setRecording(bool on)
{
    recording = on;
}

bool MessageBox::isRecording()
{
    return recording;
}

void MessageBox::setNextAnswer(bool yes)
{
    answers.enqueue(yes);
}

QList<MessageBox::ShownMessage> MessageBox::shown()
{
    return record;
}

void MessageBox::clearShown()
{
    record.clear();
    answers.clear();
}
