#include "platform/FolderWatch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

namespace platform {

namespace {

void watchExisting(QFileSystemWatcher& watcher, const QStringList& folders)
{
    const QStringList watched = watcher.directories();
    for (const QString& folder : folders) {
        if (!folder.isEmpty() && !watched.contains(folder) && QFileInfo(folder).isDir())
            watcher.addPath(folder);
    }
}

} // namespace

QFileSystemWatcher* followFolders(
    QObject* owner, const std::function<QStringList()>& folders, const std::function<void()>& changed)
{
    auto* watcher = new QFileSystemWatcher(owner);
    QObject::connect(watcher, &QFileSystemWatcher::directoryChanged, watcher, [watcher, folders, changed] {
        watchExisting(*watcher, folders());
        changed();
    });
    watchExisting(*watcher, folders());
    return watcher;
}

} // namespace platform
