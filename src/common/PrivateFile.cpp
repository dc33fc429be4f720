#include "common/PrivateFile.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace PrivateFile {

bool restrict(QFileDevice &file)
{
    return file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool restrict(const QString &path)
{
    return QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool open(QSaveFile &file)
{
    return file.open(QIODevice::WriteOnly) && restrict(file);
}

QString replace(const QString &from, const QString &to)
{
    // rename(2) replaces an existing target atomically; QFile::rename would refuse it.
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    return {};
}

QString writeAll(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!open(file))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return why;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace PrivateFile
