#pragma once

#include <QList>
#include <QString>
#include <QUrl>

// Opening a file, web address or mail address with the desktop's default handler.
// While recording (tests) nothing is opened; the requests are kept instead.
class DesktopServices
{
public:
    static bool openUrl(const QUrl &url);
    static bool openFile(const QString &path);

    static void setRecording(bool on);
    static QList<QUrl> opened();
    static void clearOpened();
};
