#pragma once

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

// Drives the modal dialogs that the screens open from inside their actions.
namespace ModalDriver {

// Runs the step on the next modal dialog with that object name as soon as it shows. A
// dialog that never comes is reported and whatever modal window stands is closed, so the
// test fails instead of hanging.
inline void onModal(const QString &objectName, std::function<void(QDialog *)> step, int timeoutMs = 10000)
{
    auto *timer = new QTimer(qApp);
    timer->setInterval(5);
    const QDeadlineTimer deadline(timeoutMs);
    QObject::connect(timer, &QTimer::timeout, [timer, objectName, step, deadline] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (dialog && dialog->objectName() == objectName && dialog->isVisible() && dialog->isActiveWindow()) {
            timer->stop();
            timer->deleteLater();
            step(dialog);
            return;
        }
        if (deadline.hasExpired()) {
            timer->stop();
            timer->deleteLater();
            qWarning("no modal dialog %s appeared", qPrintable(objectName));
            if (dialog)
                dialog->reject();
        }
    });
    timer->start();
}

// QTest::keyClicks takes Latin-1 only; this types any character with its text.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
}

inline QAction *action(QWidget *window, const char *name)
{
    return window->findChild<QAction *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

inline void trigger(QWidget *window, const char *name)
{
    QAction *a = action(window, name);
    if (a)
        a->trigger();
    else
        qWarning("no action %s", name);
}

// Counts (and closes) the modal dialogs other than the one already open that show while it lives.
class ModalWatch
{
public:
    explicit ModalWatch(QWidget *alreadyOpen = nullptr)
    {
        m_timer.setInterval(2);
        QObject::connect(&m_timer, &QTimer::timeout, [this, alreadyOpen] {
            QWidget *w = QApplication::activeModalWidget();
            if (w && w != alreadyOpen) {
                ++m_seen;
                if (auto *d = qobject_cast<QDialog *>(w))
                    d->reject();
            }
        });
        m_timer.start();
    }
    int seen() const { return m_seen; }

private:
    QTimer m_timer;
    int m_seen = 0;
};

} // namespace ModalDriver

// Acts on the modal dialogs a call opens, in the order they appear: each step waits
// (polling the event loop's timers) until a new modal widget is active and runs on it.
// What appeared is kept, so a test can tell that a dialog did not show at all.
class ModalSequence : public QObject
{
public:
    using Step = std::function<void(QWidget *)>;

    explicit ModalSequence(QObject *parent = nullptr) : QObject(parent)
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, &ModalSequence::poll);
        m_timer.start();
    }

    void then(Step step) { m_steps.append(std::move(step)); }
    const QStringList &seen() const { return m_seen; }
    bool done() const { return m_steps.isEmpty(); }

private:
    void poll()
    {
        QWidget *w = QApplication::activeModalWidget();
        if (!w || w == m_last || m_steps.isEmpty())
            return;
        m_last = w;
        m_seen << w->objectName();
        Step step = m_steps.takeFirst();
        step(w);
    }

    QTimer m_timer;
    QList<Step> m_steps;
    QStringList m_seen;
    QWidget *m_last = nullptr;
};
