#pragma once

#include "common/ui/Dialog.h"
#include "core/VendorNotices.h"

class QCheckBox;
class QLabel;

// The window of a newer program version; modal.
class VersionNoticeWindow : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Verziokovetes"};
    VersionNoticeWindow(QWidget *parent, const VendorNotices::VersionNotice &notice);

    QCheckBox *dismissBox() const { return m_dismiss; }

public Q_SLOTS:
    void accept() override;

private:
    VendorNotices::VersionNotice m_notice;
    QCheckBox *m_dismiss = nullptr;
};

// The window of a news item; shown beside the main window, gone once closed.
class NewsWindow : public Dialog
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_Hirfolyam"};
    NewsWindow(QWidget *parent, const VendorNotices::NewsItem &item);

    QCheckBox *dismissBox() const { return m_dismiss; }
    QLabel *detailsLink() const { return m_link; }

public Q_SLOTS:
    void accept() override;

private:
    VendorNotices::NewsItem m_item;
    QCheckBox *m_dismiss = nullptr;
    QLabel *m_link = nullptr;
};

// The routines of the main window's one-shot timers. Both stay silent when the
// check finds nothing or fails.
void checkVersionNotice(QWidget *parent);
// The window shown, or nullptr.
NewsWindow *checkNews(QWidget *parent);
