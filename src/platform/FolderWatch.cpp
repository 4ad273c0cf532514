#include "platform/FolderWatch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace platform {

namespace {

constexpr int kSettleMs = 300;

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
    // A folder tells of a file as soon as it is made, before its writer has finished it: the folders are
    // read once the changes have paused for a moment, so that a picture or list being written is read whole,
    // and a burst of changes is read once.
    auto* settled = new QTimer(watcher);
    settled->setSingleShot(true);
    settled->setInterval(kSettleMs);
    QObject::connect(watcher, &QFileSystemWatcher::directoryChanged, settled, qOverload<>(&QTimer::start));
    QObject::connect(settled, &QTimer::timeout, watcher, [watcher, folders, changed] {
        watchExisting(*watcher, folders());
        changed();
    });
    watchExisting(*watcher, folders());
    return watcher;
}

} // namespace platform
