#pragma once

#include <QList>
#include <QString>
#include <QUrl>

// Opening a file, web address or mail address with the desktop's default handler,
// and handing a file to the desktop's mail composer.
// While recording (tests) nothing is opened; the requests are kept instead.
class DesktopServices
{
public:
    struct Mail
    {
        QString subject;
        QString body;
        QString attachment;
    };

    static bool openUrl(const QUrl &url);
    static bool openFile(const QString &path);
    // A compose window with no recipient and the file attached (xdg-email); false
    // when no composer could be started. Its own outcome is not followed.
    static bool sendMail(const QString &subject, const QString &body, const QString &attachment);

    static void setRecording(bool on);
    static QList<QUrl> opened();
    static QList<Mail> mailed();
    // Forgets the opened addresses and the mails.
    static void clearOpened();
};
