#include "core/ui/MessagePanel.h"

#include "db/DbHelpers.h"
#include "common/LastAction.h"
#include "common/ui/DesktopServices.h"
#include "core/ui/ErrorHandler.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int BorderWidth = 3;
constexpr int TextMargin = 48;

} // namespace

MessagePanel::MessagePanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("pnlUzenet"));
    setAutoFillBackground(true);
    setFixedHeight(PanelHeight);

    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("lblUzenet"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont bold = m_text->font();
    bold.setBold(true);
    m_text->setFont(bold);

    m_link = new QLabel(this);
    m_link->setObjectName(QStringLiteral("lblLink"));
    m_link->setCursor(Qt::PointingHandCursor);
    m_link->setTextFormat(Qt::PlainText);
    QFont underlined = m_link->font();
    underlined.setUnderline(true);
    m_link->setFont(underlined);
    m_link->installEventFilter(this);

    m_ok = new QPushButton(QStringLiteral("Rendben"), this);
    m_ok->setObjectName(QStringLiteral("btnRendben"));
    // Two lines on the button; a push button draws no carriage return.
    m_okForGood = new QPushButton(QStringLiteral("Rendben\ntöbbet ne figyelmeztessen"), this);
    m_okForGood->setObjectName(QStringLiteral("btnNemKell"));
    m_okForGood->setAccessibleName(QStringLiteral("Rendben, többet ne figyelmeztessen"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_okForGood);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(BorderWidth + 8, BorderWidth + 4, BorderWidth + 8, BorderWidth + 4);
    layout->addStretch();
    layout->addWidget(m_text);
    layout->addWidget(m_link);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this,
            guarded(QStringLiteral("frm_Main.btnRendben"), [this] { acknowledge(false); }));
    connect(m_okForGood, &QPushButton::clicked, this,
            guarded(QStringLiteral("frm_Main.btnNemKell"), [this] { acknowledge(true); }));
    hide();
}

bool MessagePanel::showFirstUnread()
{
    const Dataset notices =
        db().query(QStringLiteral("SELECT * FROM uzenet WHERE olvasva = 'N' ORDER BY 1;"));
    if (notices.rowCount() == 0)
        return false;
    const int row = 0;
    m_key = int(notices.toInt(row, notices.requireField(u"uzenet")));
    const bool repeats = notices.text(row, notices.requireField(u"csakegyszer")) == QLatin1String("N");

    QPalette pal = palette();
    pal.setColor(QPalette::Window, repeats ? QColor(0, 128, 192) : QColor(255, 128, 128));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    setStyleSheet(QStringLiteral("#pnlUzenet { border: %1px solid white; background-color: %2; }"
                                 "#lblUzenet, #lblLink { color: white; }")
                      .arg(BorderWidth)
                      .arg(pal.color(QPalette::Window).name()));
    m_okForGood->setVisible(repeats);

    m_text->setText(notices.text(row, notices.requireField(u"szoveg")));
    const QString link = notices.text(row, notices.requireField(u"link"));
    m_link->setText(link);
    m_link->setVisible(!link.isEmpty());
    m_target = linkTarget(link);
    QFont font = m_link->font();
    font.setUnderline(m_target.isValid());
    m_link->setFont(font);
    m_link->setCursor(m_target.isValid() ? Qt::PointingHandCursor : Qt::ArrowCursor);

    show();
    raise();
    return true;
}

void MessagePanel::placeAtBottomOf(const QRect &area)
{
    setGeometry(area.left(), area.bottom() + 1 - PanelHeight, area.width(), PanelHeight);
    raise();
}

void MessagePanel::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    m_text->setFixedWidth(qMax(0, width() - TextMargin));
}

bool MessagePanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_link && event->type() == QEvent::MouseButtonRelease) {
        setLastAction(QStringLiteral("frm_Main.lblLink"));
        if (m_target.isValid())
            DesktopServices::openUrl(m_target);
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

QUrl MessagePanel::linkTarget(const QString &link)
{
    // The text comes from the register, which any of its users may write.
    const QUrl url = QUrl::fromUserInput(link.trimmed());
    const QString scheme = url.scheme();
    const bool web = (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty();
    const bool mail = scheme == QLatin1String("mailto") && !url.path().isEmpty();
    return url.isValid() && (web || mail) ? url : QUrl();
}

void MessagePanel::acknowledge(bool forGood)
{
    hide();
    const QString key = QString::number(m_key);
    if (forGood)
        ExecSql(QStringLiteral("UPDATE uzenet SET olvasva = 'I', dat_olvasva = NOW() WHERE uzenet = ") + key +
                QLatin1Char(';'));
    else
        ExecSql(QStringLiteral("UPDATE uzenet SET dat_olvasva = NOW() WHERE uzenet = ") + key +
                QLatin1Char(';'));
}
