#include "core/ui/MainWindow.h"

#include "common/Clock.h"
#include "common/DbHelpers.h"
#include "core/Beall.h"
#include "core/ConnectionProfile.h"
#include "core/ui/LogoSplash.h"
#include "core/ui/Startup.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), m_connection(std::make_unique<Connection>())
{
    setObjectName(QStringLiteral("frm_Main"));
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    m_summary = new QLabel(central);
    m_summary->setObjectName(QStringLiteral("lblOsszesito"));
    m_summary->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_summary);
    setCentralWidget(central);

    m_leftPanel = new QLabel(this);
    m_hintPanel = new QLabel(this);
    m_rightPanel = new QLabel(this);
    statusBar()->addWidget(m_leftPanel);
    statusBar()->addWidget(m_hintPanel, 1);
    statusBar()->addPermanentWidget(m_rightPanel);

    if (!runStartup(this, *m_connection)) {
        abortStartup();
        return;
    }
    // From here on the middle panel shows the hint of the control under the mouse.
    qApp->installEventFilter(this);
    setWindowTitle(QStringLiteral("Korvena: [") + Beall().ownerName + QLatin1Char(']'));
    refreshSummary();
}

MainWindow::~MainWindow()
{
    if (Connection::current() == m_connection.get())
        Connection::setCurrent(nullptr);
}

void MainWindow::abortStartup()
{
    m_aborted = true;
    QTimer::singleShot(1000, this, [this] {
        close();
        QCoreApplication::quit();
    });
}

void MainWindow::refreshSummary()
{
    const int documents = SelectInt(
        QStringLiteral("SELECT COUNT(DISTINCT iktato) FROM vw_iktato WHERE torolve='N' AND fcs=") +
            QString::number(Beall().user.code) + QLatin1Char(';'),
        0);
    m_summary->setText(QStringLiteral("A nyilvántartásban %1 irat látható.").arg(documents));
    m_rightPanel->setText(ConnectionProfile::fromLine(Beall().profileLine).displayName + QStringLiteral("  "));
}

void MainWindow::placeWindow()
{
    const LocalConfig &local = Beall().local;
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (local.teljesKep && screen) {
        setGeometry(screen->availableGeometry());
    } else {
        move(local.bal, local.felul);
        resize(local.szeles, local.magas);
    }
    QFont f = font();
    f.setPointSize(local.fontSize > 0 ? local.fontSize : 9);
    setFont(f);
}

void MainWindow::startTimers()
{
    m_keepAlive = new QTimer(this);
    m_keepAlive->setObjectName(QStringLiteral("tmrKeepAlive"));
    m_keepAlive->setInterval(60 * 1000);
    connect(m_keepAlive, &QTimer::timeout, this, [] { db().query(QStringLiteral("SELECT CURDATE();")); });
    m_keepAlive->start();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_aborted || m_shownOnce)
        return;
    m_shownOnce = true;
    placeWindow();
    LogoSplash::showSplash(Today());
    startTimers();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && w->window() == this)
            m_hintPanel->setText(event->type() == QEvent::Enter ? w->statusTip() : QString());
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_aborted) {
        TBeall &beall = Beall();
        const QRect g = geometry();
        beall.local.bal = g.x();
        beall.local.felul = g.y();
        beall.local.magas = g.height();
        beall.local.szeles = g.width();
        beall.local.lastUser = beall.user.login;
        beall.local.mezok = beall.settings.megjelenoAdatok;
        beall.local.save();
        if (m_keepAlive)
            m_keepAlive->stop();
        m_connection->close();
    }
    event->accept();
}
