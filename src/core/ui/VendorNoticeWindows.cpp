#include "core/ui/VendorNoticeWindows.h"

#include "common/ui/DesktopServices.h"
#include "core/ui/ErrorHandler.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

void paintBackground(QWidget *window, const QColor &colour)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, colour);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

QLabel *wrappedText(QWidget *parent, const char *name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLabel *heading(QWidget *parent, const char *name, const QString &text)
{
    QLabel *label = wrappedText(parent, name, text);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    label->setFont(font);
    return label;
}

// The check box on the left, OK on the right, below the text.
QPushButton *addButtonRow(QVBoxLayout *layout, QWidget *parent, QCheckBox *box)
{
    auto *ok = new QPushButton(QStringLiteral("OK"), parent);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto *row = new QHBoxLayout;
    row->addWidget(box);
    row->addStretch();
    row->addWidget(ok);
    layout->addLayout(row);
    return ok;
}

} // namespace

VersionNoticeWindow::VersionNoticeWindow(QWidget *parent, const VendorNotices::VersionNotice &notice)
    : Dialog(parent, ObjectName), m_notice(notice)
{
    setWindowTitle(QStringLiteral("Verziókövetés: ") + notice.version);
    paintBackground(this, QColor(248, 192, 184));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading(this, "lblCim", QStringLiteral("Új verzió megjelenés")));
    QLabel *text = wrappedText(this, "lblSzoveg", notice.text);
    text->setMinimumWidth(360);
    layout->addWidget(text, 1);
    m_dismiss = new QCheckBox(QStringLiteral("Többet ne figyelmeztessen"), this);
    m_dismiss->setObjectName(QStringLiteral("cbNeFigyelmeztessen"));
    QPushButton *ok = addButtonRow(layout, this, m_dismiss);
    connect(ok, &QPushButton::clicked, this, &VersionNoticeWindow::accept);
}

void VersionNoticeWindow::accept()
{
    runGuarded(QStringLiteral("frm_Verziokovetes.btnOK"), [this] {
        if (m_dismiss->isChecked())
            VendorNotices::acceptVersion(m_notice.version);
    });
    Dialog::accept();
}

NewsWindow::NewsWindow(QWidget *parent, const VendorNotices::NewsItem &item)
    : Dialog(parent, ObjectName, true), m_item(item)
{
    setWindowTitle(QStringLiteral("Hírek"));
    setAttribute(Qt::WA_DeleteOnClose);
    paintBackground(this, QColor(181, 210, 240));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading(this, "lblCim", item.title));
    QLabel *text = wrappedText(this, "lblSzoveg", item.text);
    text->setMinimumWidth(360);
    layout->addWidget(text, 1);

    auto *details = new QHBoxLayout;
    details->addWidget(new QLabel(QStringLiteral("Részletek:"), this));
    m_link = new QLabel(this);
    m_link->setObjectName(QStringLiteral("lblLink"));
    m_link->setTextFormat(Qt::RichText);
    m_link->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                        .arg(item.detailsAddress.toHtmlEscaped(), item.detailsAddress.toHtmlEscaped()));
    m_link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    m_link->setCursor(Qt::PointingHandCursor);
    connect(m_link, &QLabel::linkActivated, this, [](const QString &address) {
        runGuarded(QStringLiteral("frm_Hirfolyam.lblLink"),
                   [&address] { DesktopServices::openUrl(QUrl(address)); });
    });
    details->addWidget(m_link, 1);
    layout->addLayout(details);

    m_dismiss = new QCheckBox(QStringLiteral("Többet ne mutassa"), this);
    m_dismiss->setObjectName(QStringLiteral("cbNeMutassa"));
    QPushButton *ok = addButtonRow(layout, this, m_dismiss);
    connect(ok, &QPushButton::clicked, this, &NewsWindow::accept);
}

void NewsWindow::accept()
{
    runGuarded(QStringLiteral("frm_Hirfolyam.btnOK"), [this] {
        if (m_dismiss->isChecked())
            VendorNotices::acceptNews(m_item.id);
    });
    Dialog::accept();
}

void checkVersionNotice(QWidget *parent)
{
    // Events go on during the download: the window may be closing by the time the answer is in.
    const QPointer<QWidget> owner(parent);
    const std::optional<VendorNotices::VersionNotice> notice = VendorNotices::checkVersion();
    if (!notice || (parent && !owner))
        return;
    VersionNoticeWindow window(parent, *notice);
    window.exec();
}

NewsWindow *checkNews(QWidget *parent)
{
    const QPointer<QWidget> owner(parent);
    const std::optional<VendorNotices::NewsItem> item = VendorNotices::checkNews();
    if (!item || (parent && !owner))
        return nullptr;
    auto *window = new NewsWindow(parent, *item);
    window->setModal(false);
    window->show();
    return window;
}
