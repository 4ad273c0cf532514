#include "platform/FolderWatch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace platform {

namespace {

constexpr int kSettleMs = 300;

void watchExisting(QFileSystemWatcher& watcher, const QStringList& folders, const QStringList& files)
{
    const QStringList watchedFolders = watcher.directories();
    for (const QString& folder : folders) {
        if (!folder.isEmpty() && !watchedFolders.contains(folder) && QFileInfo(folder).isDir())
            watcher.addPath(folder);
    }
    // A file replaced by another, or removed, is no longer followed under its name: it is taken up again.
    const QStringList watchedFiles = watcher.files();
    for (const QString& file : files) {
        if (!file.isEmpty() && !watchedFiles.contains(file) && QFileInfo(file).isFile())
            watcher.addPath(file);
    }
}

// `paths` gives the folders and files to follow, asked again on every change.
QFileSystemWatcher* follow(QObject* owner, const std::function<std::pair<QStringList, QStringList>()>& paths,
    const std::function<void()>& changed)
{
    auto* watcher = new QFileSystemWatcher(owner);
    // A folder tells of a file as soon as it is made, and a file of every piece written into it, before its
    // writer has finished: they are read once the changes have paused for a moment, so that a picture or
    // list being written is read whole, and a burst of changes is read once.
    auto* settled = new QTimer(watcher);
    settled->setSingleShot(true);
    settled->setInterval(kSettleMs);
    QObject::connect(watcher, &QFileSystemWatcher::directoryChanged, settled, qOverload<>(&QTimer::start));
    QObject::connect(watcher, &QFileSystemWatcher::fileChanged, settled, qOverload<>(&QTimer::start));
    QObject::connect(settled, &QTimer::timeout, watcher, [watcher, paths, changed] {
        const auto [folders, files] = paths();
        watchExisting(*watcher, folders, files);
        changed();
    });
    const auto [folders, files] = paths();
    watchExisting(*watcher, folders, files);
    return watcher;
}

} // namespace

QFileSystemWatcher* followFolders(
    QObject* owner, const std::function<QStringList()>& folders, const std::function<void()>& changed)
{
    return follow(
        owner,
        [folders] {
            return std::pair { folders(), QStringList() };
        },
        changed);
}

QFileSystemWatcher* followFiles(
    QObject* owner, const std::function<QStringList()>& files, const std::function<void()>& changed)
{
    return follow(
        owner,
        [files] {
            const QStringList named = files();
            QStringList folders;
            for (const QString& file : named)
                folders << QFileInfo(file).absolutePath();
            folders.removeDuplicates();
            return std::pair { folders, named };
        },
        changed);
}

} // namespace platform
