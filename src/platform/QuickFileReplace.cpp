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

} // namespace

bool replaceFileUnsynced(const QString& path, const QByteArray& data, QString* error)
{
    const QByteArray target = QFile::encodeName(path);
    if (target.isEmpty())
        return fail(error, ENOENT);
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
