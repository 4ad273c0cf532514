#include "platform/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace platform {

bool makePrivateFolder(const QString& path, QString* error)
{
    const QString folder = QDir::cleanPath(QDir(path).absolutePath());
    // From the innermost folder that exists down to the one asked for, each made with mode 0700.
    QStringList missing;
    for (QString step = folder; !QFileInfo(step).isDir(); step = QFileInfo(step).absolutePath()) {
        if (QFileInfo(step).isRoot() || missing.contains(step))
            break;
        missing.prepend(step);
    }
    for (const QString& step : missing) {
        if (::mkdir(QFile::encodeName(step).constData(), 0700) == 0 || errno == EEXIST)
            continue;
        if (error)
            *error = QStringLiteral("cannot create %1: %2").arg(step, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    if (QFileInfo(folder).isDir())
        return true;
    if (error)
        *error = QStringLiteral("cannot create %1: %2").arg(folder, QString::fromLocal8Bit(std::strerror(ENOTDIR)));
    return false;
}

} // namespace platform
