#pragma once

#include "platform/OwnLock.h"

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <optional>

namespace platform {

// What a write or a run killed before its end (kill -9, a power cut) leaves behind: temporary files beside
// the files it replaces and scratch folders in the system's temporary folder. Each has a name of the
// program's own and, while in use, a lock its user holds; the program removes an entry only when it bears
// that name, is a regular file or folder of this user (never a link), and its lock can be taken at once,
// that is, its user is gone. A person's file never has all three, so it is never touched.

// The temporary file of a write that replaces target: ".<name>.tessaline-<pid>-<n>.part" beside it, made
// anew with the permissions of mode (less the umask) from its first byte, and locked until the write ends.
// Nothing, with the system's code in errno, when it cannot be made.
std::optional<OwnLock> createTemporaryBeside(const FilePlace& target, mode_t mode = 0666);

// Gives an unnamed file made by createUnnamedBeside (its open handle) the temporary name of a write that
// replaces target, locked, so that it can be renamed over target once whole. The lock then owns the handle;
// nothing, with the system's code in errno, when no name can be given, and the handle stays the caller's.
std::optional<OwnLock> nameTemporaryBeside(const FilePlace& target, int unnamed);

// An unnamed file in target's folder (where the file system makes them), to be linked in under the
// target's name once whole: nothing of it is left behind by a write killed before its end, and it is
// readable by nobody else meanwhile. Born with 0666 less the umask, as a new file is. Its open handle, or
// -1 with the system's code in errno.
int createUnnamedBeside(const FilePlace& target);

// Told of each such temporary file the moment it is made, before anything is written into it, with its
// open handle (an unnamed one by its folder's path); for tests, none by default. Set it only while no file
// is being written.
void setTemporaryFileObserver(std::function<void(const QString& path, int handle)> observer);

// Removes the abandoned temporary files of the program in the folder: of every target, or of the file
// named targetName only; the number removed. The folder by its path, or one held open (its handle).
int removeLeftoverPartFiles(const QString& folder, const QString& targetName = QString());
int removeLeftoverPartFiles(int openFolder, const QString& targetName = QString());

// A scratch folder of one run, "<temporary folder>/<kind>-<pid>-XXXXXX" ("tessaline-sheet",
// "tessaline-mail"), only its owner can enter; locked while this lives, removed with all in it after.
class RunFolder {
public:
    explicit RunFolder(const QString& kind);
    ~RunFolder();
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;
    bool isValid() const { return lock_.isHeld(); }
    QString path() const { return folder_.path(); }
    QString filePath(const QString& name) const { return folder_.filePath(name); }
    QString errorString() const;

private:
    QTemporaryDir folder_;
    OwnLock lock_;
};

// Told of each entry of a scratch folder the moment its end, or the clean-up of an abandoned one, has removed
// it, the lock last; for tests, none by default. Set it only while no scratch folder ends.
void setRunFolderRemovalObserver(std::function<void(const QString& path)> observer);

// Removes the abandoned scratch folders of `kind` in `base` (the system's temporary folder when empty);
// the number removed.
int removeLeftoverRunFolders(const QString& kind, const QString& base = QString());

} // namespace platform
