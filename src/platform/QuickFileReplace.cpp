#include "platform/QuickFileReplace.h"

#include "platform/CheckedSave.h"
#include "platform/RunLeftovers.h"

#include <QFile>

#include <cerrno>
#include <cstring>

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

// A file new in its folder, written unnamed and linked in under its name once whole. The folder changes
// once (its new entry) instead of three times (the temporary's name made, taken away and the target's
// made), and the file is made outside the folder's lock: many writers filling one folder at once queue far
// less on it. False, nothing changed, when the name was taken meanwhile or the way is not open (no unnamed
// files, no /proc): the caller then writes the file under a temporary name.
bool linkNewFile(const QString& path, const QByteArray& target, const QByteArray& data)
{
    const int fd = createUnnamedBeside(path);
    if (fd < 0)
        return false;
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    const bool linked = writeAll(fd, data)
        && ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, target.constData(), AT_SYMLINK_FOLLOW) == 0;
    ::close(fd);
    return linked;
}

} // namespace

bool replaceFileUnsynced(const QString& path, const QByteArray& data, QString* error)
{
    const QByteArray target = QFile::encodeName(path);
    if (target.isEmpty())
        return fail(error, ENOENT);
    // A name already taken (an export made again into the same folder) cannot be linked over: that file
    // goes the temporary road at once and is written once, not first unnamed and then again.
    struct stat entry { };
    const bool taken = ::lstat(target.constData(), &entry) == 0 || errno != ENOENT;
    if (!taken && linkNewFile(path, target, data))
        return true;
    // Born with the old file's permissions (less the umask), so that nobody the old file kept out can
    // read the new one while it is written; what the umask took away comes back before the rename.
    struct stat existing { };
    const bool exists = ::stat(target.constData(), &existing) == 0 && S_ISREG(existing.st_mode);
    std::optional<OwnLock> temporary = createTemporaryBeside(path, exists ? existing.st_mode & 07777 : 0666);
    if (!temporary)
        return fail(error, errno);
    const int fd = temporary->handle();
    bool ok = writeAll(fd, data);
    if (ok && exists)
        ok = keepMode(fd, existing.st_mode & 07777);
    // The lock holds until the file has its name: a clean-up never takes a file still being written.
    if (ok && ::rename(QFile::encodeName(temporary->path()).constData(), target.constData()) == 0)
        return true;
    const int code = errno;
    temporary->removeAndRelease();
    return fail(error, code);
}

} // namespace platform
