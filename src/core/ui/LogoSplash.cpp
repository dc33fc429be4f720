#include "core/ui/LogoSplash.h"

#include "core/ui/Pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

LogoSplash::LogoSplash(const QDate &today)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen),
      m_seasonal(today.month() == 12 && today.day() >= 15)
{
    setObjectName(ObjectName);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose);
    m_picture = m_seasonal ? Pictures::seasonalLogo(300) : Pictures::logo(512);
    setFixedSize(m_picture.size());
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    m_fade = new QTimer(this);
    m_fade->setInterval(21);
    connect(m_fade, &QTimer::timeout, this, &LogoSplash::fadeStep);
    QTimer::singleShot(1000, m_fade, qOverload<>(&QTimer::start));
}

void LogoSplash::fadeStep()
{
    m_alpha -= 10;
    if (m_alpha <= 33) {
        m_fade->stop();
        close();
        return;
    }
    setWindowOpacity(m_alpha / 255.0);
}

// The fade is the window's opacity; the picture itself is always drawn whole.
void LogoSplash::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(0, 0, m_picture);
}

LogoSplash *LogoSplash::showSplash(const QDate &today)
{
    auto *s = new LogoSplash(today);
    s->show();
    return s;
}
