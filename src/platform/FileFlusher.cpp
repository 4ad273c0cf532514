#include "platform/FileFlusher.h"

#include "platform/CheckedSave.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

std::function<void(const QString&)>& syncObserver()
{
    static std::function<void(const QString&)> observer;
    return observer;
}

std::mutex& observerLock()
{
    static std::mutex lock;
    return lock;
}

void tellObserver(const QString& path)
{
    const std::lock_guard<std::mutex> guard(observerLock());
    if (syncObserver())
        syncObserver()(path);
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

bool fail(QString* error, int code, const QString& path)
{
    if (error)
        *error = QStringLiteral("cannot flush %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(code)));
    return false;
}

} // namespace

FileFlusher::FileFlusher(int threads)
    : maxThreads_(std::max(1, threads))
{
}

FileFlusher::~FileFlusher()
{
    stopWorkers();
}

void FileFlusher::add(const QString& path)
{
    const std::lock_guard<std::mutex> guard(lock_);
    anyAdded_ = true;
    waiting_.push_back(path);
    // A thread more only while every thread is busy: a few files need no crowd.
    if (idle_ == 0 && int(threads_.size()) < maxThreads_)
        threads_.emplace_back([this] { work(); });
    else
        wake_.notify_one();
}

void FileFlusher::work()
{
    std::unique_lock<std::mutex> guard(lock_);
    for (;;) {
        if (waiting_.empty()) {
            if (closed_)
                return;
            ++idle_;
            wake_.wait(guard, [this] { return closed_ || !waiting_.empty(); });
            --idle_;
            continue;
        }
        const QString path = waiting_.front();
        waiting_.pop_front();
        guard.unlock();
        const int code = syncFile(path);
        tellObserver(path);
        guard.lock();
        if (code != 0 && failure_ == 0) {
            failure_ = code;
            failed_ = path;
        }
    }
}

void FileFlusher::stopWorkers()
{
    {
        const std::lock_guard<std::mutex> guard(lock_);
        closed_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
    threads_.clear();
}

bool FileFlusher::finish(const QString& folder, QString* error)
{
    stopWorkers();
    if (failure_ != 0)
        return fail(error, failure_, failed_);
    if (!anyAdded_)
        return true;
    tellObserver(folder);
    return syncFolder(folder) || fail(error, errno, folder);
}

void setSyncObserver(std::function<void(const QString& path)> observer)
{
    const std::lock_guard<std::mutex> guard(observerLock());
    syncObserver() = std::move(observer);
}

bool syncFilesToDisk(const QStringList& files, const QString& folder, QString* error)
{
    FileFlusher flusher;
    for (const QString& file : files)
        flusher.add(file);
    return flusher.finish(folder, error);
}

} // namespace platform
