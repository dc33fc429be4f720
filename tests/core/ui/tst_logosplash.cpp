#include "core/ui/LogoSplash.h"
#include "core/ui/Pictures.h"

#include <QPointer>
#include <QTimer>
#include <QtTest>

class TestLogoSplash : public QObject
{
    Q_OBJECT

    // A point where the picture itself is fully opaque.
    static QPoint opaquePoint(const QImage &picture)
    {
        for (int y = picture.height() / 2; y < picture.height(); ++y)
            for (int x = picture.width() / 2; x < picture.width(); ++x)
                if (picture.pixelColor(x, y).alpha() == 255)
                    return QPoint(x, y);
        return QPoint(-1, -1);
    }

private Q_SLOTS:
    void fadesOnceAndClosesItself()
    {
        QPointer<LogoSplash> splash = LogoSplash::showSplash(QDate(2024, 5, 6));
        QVERIFY(QTest::qWaitForWindowExposed(splash.data()));
        QVERIFY(!splash->isSeasonal());
        const QImage picture = Pictures::logo(512).toImage();
        const QPoint at = opaquePoint(picture);
        QVERIFY(at.x() >= 0);

        auto *fade = splash->findChild<QTimer *>();
        QVERIFY(fade);
        QCOMPARE(fade->interval(), 21);
        for (int i = 0; i < 10; ++i)
            QMetaObject::invokeMethod(fade, "timeout");
        const int step = splash->opacityStep();
        QVERIFY(step <= 155);
        // The window fades; the picture inside it is drawn whole, not faded a second time.
        QVERIFY(qAbs(splash->windowOpacity() - step / 255.0) <= 1.0 / 255);
        QCOMPARE(splash->grab().toImage().pixelColor(at).alpha(), 255);

        for (int i = 0; i < 20 && splash->isVisible(); ++i)
            QMetaObject::invokeMethod(fade, "timeout");
        QTRY_VERIFY(!splash);
    }
};

QTEST_MAIN(TestLogoSplash)
#include "tst_logosplash.moc"
