#pragma once

#include <QStringList>

#include <functional>

class QFileSystemWatcher;
class QObject;

namespace platform {

// Follows folders another program (or a second copy of this one) may change: `changed` runs shortly after
// entries are added to, removed from or renamed in one of them. `folders` is asked again on every change, so a
// folder that is missing now is taken up once it exists, provided the folder above it is followed too.
// The watcher belongs to `owner`.
QFileSystemWatcher* followFolders(
    QObject* owner, const std::function<QStringList()>& folders, const std::function<void()>& changed);

// Follows files another program saves: `changed` runs shortly after one is written in place (its contents
// change, the file stays the same), or replaced, removed or made anew in its folder, which is followed too.
// A file made again after it went is taken up at the next change.
QFileSystemWatcher* followFiles(
    QObject* owner, const std::function<QStringList()>& files, const std::function<void()>& changed);

} // namespace platform
