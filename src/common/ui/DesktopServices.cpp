#include "common/ui/DesktopServices.h"

#include <QDesktopServices>

namespace {
bool recording = false;
QList<QUrl> requests;
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

void DesktopServices::setRecording(bool on)
{
    recording = on;
}

QList<QUrl> DesktopServices::opened()
{
    return requests;
}

void DesktopServices::clearOpened()
{
    requests.clear();
}
