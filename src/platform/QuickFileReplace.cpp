#include "platform/QuickFileReplace.h"

#include "platform/CheckedSave.h"
#include "platform/RunLeftovers.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The system's reason alone: the caller's message names the file.
bool fail(QString* error, int code)
{
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(code));
    return false;
}

bool writeAll(int fd, const QByteArray& data)
{
    const char* next = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, static_cast<std::size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

// The permissions of the regular file the name leads to, which its replacement keeps; none when there is none.
std::optional<mode_t> oldFileMode(const FilePlace& target)
{
    // Within an open folder a link is replaced, never followed, as nothing outside it is reached.
    struct stat existing { };
    if (::fstatat(
            target.folder, target.encodedName().constData(), &existing, target.inOpenFolder() ? AT_SYMLINK_NOFOLLOW : 0)
            != 0
        || !S_ISREG(existing.st_mode))
        return std::nullopt;
    return existing.st_mode & 07777;
}

// What the finished file shows, taken from its handle once its last byte is in.
bool identify(int handle, FileIdentity* written)
{
    if (!written)
        return true;
    const std::optional<FileIdentity> identity = FileIdentity::ofHandle(handle);
    if (identity)
        *written = *identity;
    return identity.has_value();
}

// Replaces the file at target by a temporary one of the write's own, locked until it has its name (a clean-up
// never takes a file still being written) and renamed over it; the temporary's handle is closed and, when the
// rename failed, it is removed and the old file stays. True when target holds the new file.
bool renameOver(std::optional<OwnLock> temporary, const FilePlace& target, QString* error, FileIdentity* written)
{
    if (!identify(temporary->handle(), written)) {
        const int code = errno;
        temporary->removeAndRelease();
        return fail(error, code);
    }
    const FilePlace& from = temporary->place();
    if (::renameat(from.folder, from.encodedName().constData(), target.folder, target.encodedName().constData()) == 0)
        return true;
    const int code = errno;
    temporary->removeAndRelease();
    return fail(error, code);
}

// A name found taken only by the link (the first file of an export made again where the last name was free):
// the file already written unnamed is given the old file's permissions before anybody can open it, then a
// temporary name, and is renamed over the old one, so that it is still written once. Takes the handle.
bool replaceTakenName(const FilePlace& target, int unnamed, QString* error, FileIdentity* written)
{
    const std::optional<mode_t> mode = oldFileMode(target);
    std::optional<OwnLock> temporary;
    if (!mode || keepMode(unnamed, *mode))
        temporary = nameTemporaryBeside(target, unnamed);
    if (!temporary) {
        const int code = errno;
        ::close(unnamed);
        return fail(error, code);
    }
    return renameOver(std::move(temporary), target, error, written);
}

// The file written under a temporary name, born with the old file's permissions (less the umask), so that
// nobody the old file kept out can read the new one while it is written; what the umask took away comes
// back before the rename.
bool replaceThroughTemporary(const FilePlace& target, const QByteArray& data, QString* error, FileIdentity* written)
{
    const std::optional<mode_t> mode = oldFileMode(target);
    std::optional<OwnLock> temporary = createTemporaryBeside(target, mode.value_or(0666));
    if (!temporary)
        return fail(error, errno);
    if (writeAll(temporary->handle(), data) && (!mode || keepMode(temporary->handle(), *mode)))
        return renameOver(std::move(temporary), target, error, written);
    const int code = errno;
    temporary->removeAndRelease();
    return fail(error, code);
}

// Whether the last write into a folder found its name free. The files of an export go into one folder and
// their names are either all new (a first export) or mostly taken (the same export made again), so the last
// one tells of the next.
class NameOutlook {
public:
    bool expectsFree(const QString& folder)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return free_ && folder == folder_;
    }
    void found(const QString& folder, bool free)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        folder_ = folder;
        free_ = free;
    }

private:
    std::mutex mutex_;
    QString folder_;
    bool free_ = false;
};

NameOutlook& outlook()
{
    static NameOutlook shared;
    return shared;
}

} // namespace

// A new file is written unnamed and linked in under its name once whole: the folder changes once (its new
// entry) instead of three times (the temporary's name made, taken away and the target's made), and the file
// is made outside the folder's lock, so many writers filling one folder at once queue far less on it. A name
// is looked up first only where the last name was taken (or in a folder not written before): looking up a
// name not there waits on the writers linking in beside it, and after a free name the link itself says
// whether the next one is taken.
bool replaceFileUnsynced(const FilePlace& path, const QByteArray& data, QString* error, FileIdentity* written)
{
    const QByteArray target = path.encodedName();
    if (target.isEmpty())
        return fail(error, ENOENT);
    // An open folder is told by its handle: its path may be another folder's by now.
    const QString folder
        = path.inOpenFolder() ? QStringLiteral("#%1").arg(path.folder) : QFile::decodeName(path.encodedFolder());
    if (!outlook().expectsFree(folder)) {
        struct stat entry { };
        if (path.look(entry) || errno != ENOENT) {
            outlook().found(folder, false);
            return replaceThroughTemporary(path, data, error, written);
        }
    }
    if (const int unnamed = createUnnamedBeside(path); unnamed >= 0) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(unnamed);
        if (writeAll(unnamed, data) && identify(unnamed, written)) {
            const bool linked
                = ::linkat(AT_FDCWD, self.constData(), path.folder, target.constData(), AT_SYMLINK_FOLLOW) == 0;
            const bool taken = !linked && errno == EEXIST;
            if (linked || taken)
                outlook().found(folder, linked);
            if (taken)
                return replaceTakenName(path, unnamed, error, written);
            if (linked) {
                ::close(unnamed);
                return true;
            }
        }
        ::close(unnamed);
    }
    // No unnamed files or no /proc here, or the unnamed file could not be written (and this write says why).
    return replaceThroughTemporary(path, data, error, written);
}

} // namespace platform
