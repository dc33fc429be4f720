#pragma once

#include "TestSupport.h"
#include "common/ui/DesktopServices.h"
#include "common/ui/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

// The one driver of the modal dialogs that screens open from inside their actions:
// it polls the event loop's timers (which keep running inside exec()) and acts on
// each new modal widget in turn. A step may wait for a dialog of a given object name.
// What appeared is kept, so a test can tell that a dialog did not show at all; a
// dialog that never comes is reported and whatever modal window stands is closed,
// so the test fails instead of hanging.
class ModalSequence : public QObject
{
public:
    using Step = std::function<void(QWidget *)>;

    explicit ModalSequence(QObject *parent = nullptr, int timeoutMs = 10000)
        : QObject(parent), m_deadline(timeoutMs)
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, &ModalSequence::poll);
        m_timer.start();
    }

    // The next modal widget that shows, whatever it is.
    void then(Step step) { m_steps.append({QString(), std::move(step)}); }
    // The next shown and active modal dialog of that object name; others are passed by.
    void then(const QString &objectName, Step step) { m_steps.append({objectName, std::move(step)}); }

    const QStringList &seen() const { return m_seen; }
    bool done() const { return m_steps.isEmpty(); }

private:
    struct Pending
    {
        QString objectName;
        Step step;
    };

    void poll()
    {
        if (m_steps.isEmpty())
            return;
        QWidget *w = QApplication::activeModalWidget();
        const Pending &next = m_steps.first();
        const bool ready = w && w != m_last &&
                           (next.objectName.isEmpty() ||
                            (w->objectName() == next.objectName && w->isVisible() && w->isActiveWindow()));
        if (!ready) {
            if (m_deadline.hasExpired()) {
                qWarning("no modal dialog %s appeared", qPrintable(next.objectName));
                m_steps.clear();
                if (auto *d = qobject_cast<QDialog *>(w))
                    d->reject();
            }
            return;
        }
        m_last = w;
        m_seen << w->objectName();
        const Step step = m_steps.takeFirst().step;
        step(w);
    }

    QTimer m_timer;
    QDeadlineTimer m_deadline;
    QList<Pending> m_steps;
    QStringList m_seen;
    QWidget *m_last = nullptr;
};

namespace ModalDriver {

// resetProcessState() and the screens' seams: no message or opened address left
// from an earlier test, both recorded instead of shown.
inline void resetScreenState()
{
    resetProcessState();
    MessageBox::setRecording(true);
    MessageBox::clearShown();
    DesktopServices::setRecording(true);
    DesktopServices::clearOpened();
}

// Runs the step on the next modal dialog with that object name as soon as it shows.
inline void onModal(const QString &objectName, std::function<void(QDialog *)> step, int timeoutMs = 10000)
{
    auto *sequence = new ModalSequence(qApp, timeoutMs);
    sequence->then(objectName, [sequence, step = std::move(step)](QWidget *w) {
        sequence->deleteLater();
        step(qobject_cast<QDialog *>(w));
    });
}

// QTest::keyClicks takes Latin-1 only; this types any character with its text, key by key.
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
