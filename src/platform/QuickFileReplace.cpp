#include "platform/QuickFileReplace.h"

#include "platform/CheckedSave.h"

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

bool fail(QString* error, const QString& what, int code)
{
    if (error)
        *error = QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(code)));
    return false;
}

// A name beside the target that no other writer in this or another process picks at the same time.
QByteArray temporaryName(const QByteArray& target, unsigned attempt)
{
    static std::atomic<unsigned> counter { 0 };
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = target.left(slash + 1);
    const QByteArray name = target.mid(slash + 1);
    return folder + '.' + name + '.' + QByteArray::number(static_cast<qint64>(::getpid())) + '-'
        + QByteArray::number(counter.fetch_add(1) + attempt) + ".part";
}

int openTemporary(const QByteArray& target, QByteArray* temporary)
{
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        *temporary = temporaryName(target, attempt);
        const int fd = ::open(temporary->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
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
        return fail(error, QStringLiteral("no file name"), ENOENT);
    QByteArray temporary;
    const int fd = openTemporary(target, &temporary);
    if (fd < 0)
        return fail(error, QStringLiteral("cannot create a file beside %1").arg(path), errno);
    struct stat existing { };
    bool ok = writeAll(fd, data);
    if (ok && ::stat(target.constData(), &existing) == 0 && S_ISREG(existing.st_mode))
        ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
    int code = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    if (ok && ::rename(temporary.constData(), target.constData()) != 0) {
        ok = false;
        code = errno;
    }
    if (!ok) {
        ::unlink(temporary.constData());
        return fail(error, QStringLiteral("cannot write %1").arg(path), code);
    }
    return true;
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
        return fail(error, QStringLiteral("cannot flush %1").arg(failed), failure);
    if (syncObserver())
        syncObserver()(folder);
    return syncFolder(folder) || fail(error, QStringLiteral("cannot flush the folder %1").arg(folder), errno);
}

} // namespace platform
