#include "platform/QuickFileReplace.h"

#include "platform/CheckedSave.h"
#include "platform/RunLeftovers.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The system's reason; alone when the caller's message names the file, after the path when another file
// failed.
bool fail(QString* error, int code, const QString& other = QString())
{
    const QString reason = QString::fromLocal8Bit(std::strerror(code));
    if (error)
        *error = other.isEmpty() ? reason : QStringLiteral("cannot flush %1: %2").arg(other, reason);
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

namespace {

std::function<void(const QString&)>& syncObserver()
{
    static std::function<void(const QString&)> observer;
    return observer;
}

// 0 when the file is on the disk or is not there; otherwise the reason's code.
int syncFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? 0 : errno;
    const int code = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return code;
}

} // namespace

void setSyncObserver(std::function<void(const QString& path)> observer)
{
    syncObserver() = std::move(observer);
}

bool syncFilesToDisk(const QStringList& files, const QString& folder, QString* error)
{
    // Flushes of different files overlap on the disk's queue: a few at a time end sooner than one by one.
    const int threads = int(std::clamp<qsizetype>(files.size() / 16, 1, 4));
    std::mutex lock;
    QString failed;
    int failure = 0;
    auto work = [&](int first) {
        for (qsizetype i = first; i < files.size(); i += threads) {
            const int code = syncFile(files[i]);
            const std::lock_guard<std::mutex> guard(lock);
            if (syncObserver())
                syncObserver()(files[i]);
            if (code != 0 && failure == 0) {
                failure = code;
                failed = files[i];
            }
        }
    };
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t)
        workers.emplace_back(work, t);
    work(0);
    for (std::thread& worker : workers)
        worker.join();
    if (failure != 0)
        return fail(error, failure, failed);
    if (syncObserver())
        syncObserver()(folder);
    return syncFolder(folder) || fail(error, errno, folder);
}

} // namespace platform
