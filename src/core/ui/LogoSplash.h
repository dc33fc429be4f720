#pragma once

#include <QDate>
#include <QWidget>

class QTimer;

// frm_Logo: the picture shown while the main window comes up. It stays opaque
// for a second, then fades (every 21 ms by 10 of 255) and closes itself.
class LogoSplash : public QWidget
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Logo"};
    explicit LogoSplash(const QDate &today);

    bool isSeasonal() const { return m_seasonal; }
    int opacityStep() const { return m_alpha; }

    // Shows a splash without waiting; it frees itself.
    static LogoSplash *showSplash(const QDate &today);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void fadeStep();

    bool m_seasonal;
    QPixmap m_picture;
    int m_alpha = 255;
    QTimer *m_fade;
};
