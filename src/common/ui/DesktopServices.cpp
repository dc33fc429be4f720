#include "common/ui/DesktopServices.h"

#include <QDesktopServices>
#include <QProcess>

namespace {
bool recording = false;
QList<QUrl> requests;
QList<DesktopServices::Mail> mails;
} // namespace

bool DesktopServices::openUrl(const QUrl &url)
{
    if (recording) {
        requests.append(url);
        return true;
    }
    return QDesktopServices::openUrl(url);
}

bool DesktopServices::openFile(const QString &path)
{
    return openUrl(QUrl::fromLocalFile(path));
}

bool DesktopServices::sendMail(const QString &subject, const QString &body, const QString &attachment)
{
    if (recording) {
        mails.append({subject, body, attachment});
        return true;
    }
    return QProcess::startDetached(QStringLiteral("xdg-email"),
                                   {QStringLiteral("--subject"), subject, QStringLiteral("--body"), body,
                                    QStringLiteral("--attach"), attachment});
}

void DesktopServices::setRecording(bool on)
{
    recording = on;
}

QList<QUrl> DesktopServices::opened()
{
    return requests;
}

QList<DesktopServices::Mail> DesktopServices::mailed()
{
    return mails;
}

void DesktopServices::clearOpened()
{
    requests.clear();
    mails.clear();
}
