#include "platform/DataFolder.h"

#include "platform/CheckedSave.h"
#include "platform/PrivateFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

QString installedResourceDir()
{
    const QString fromEnvironment = qEnvironmentVariable("TESSALINE_RESOURCE_DIR");
    if (!fromEnvironment.isEmpty())
        return QDir::cleanPath(fromEnvironment);
    const QString appDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    if (!appDir.isEmpty()) {
        for (const QString& candidate : { appDir + QStringLiteral("/share/tessaline"),
                 appDir + QStringLiteral("/../share/tessaline") }) {
            if (QFileInfo(candidate).isDir())
                return QDir::cleanPath(candidate);
        }
    }
    return QDir::cleanPath(QStringLiteral(TESSALINE_SOURCE_RESOURCE_DIR "/data"));
}

QString userDataDir()
{
    const QString fromEnvironment = qEnvironmentVariable("TESSALINE_DATA_DIR");
    if (!fromEnvironment.isEmpty())
        return QDir::cleanPath(fromEnvironment);
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

bool seedMissingFiles(const QString& from, const QString& to, QString* error)
{
    const QDir source(from);
    if (!makePrivateFolder(to, error))
        return false;
    if (!source.exists())
        return true;
    bool ok = true;
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isSymLink())
            continue;
        const QString target = to + QLatin1Char('/') + source.relativeFilePath(path);
        if (info.isDir()) {
            ok = makePrivateFolder(target, error) && ok;
        } else if (!QFileInfo::exists(target)) {
            makePrivateFolder(QFileInfo(target).absolutePath());
            QString reason;
            if (!copyFileChecked(path, target, info.size(), &reason)) {
                ok = false;
                if (error)
                    *error = QStringLiteral("cannot copy %1 to %2: %3").arg(path, target, reason);
            } else {
                // Installed files may be read-only; the user's copy must be writable.
                QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
            }
        }
    }
    return ok;
}

} // namespace platform
