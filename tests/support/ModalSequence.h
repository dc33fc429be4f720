#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>

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
