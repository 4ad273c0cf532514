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

// Set while an observer is told: without one, the flushing threads take no lock they all share.
std::atomic<bool>& observed()
{
    static std::atomic<bool> set { false };
    return set;
}

void tellObserver(const QString& path)
{
    if (!observed().load(std::memory_order_acquire))
        return;
    const std::lock_guard<std::mutex> guard(observerLock());
    if (syncObserver())
        syncObserver()(path);
}

// 0 when the file is on the disk or is not there; otherwise the reason's code.
int syncFile(int folder, const QString& path)
{
    const int fd = ::openat(folder, QFile::encodeName(path).constData(),
        O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (folder == AT_FDCWD ? 0 : O_NOFOLLOW));
    if (fd < 0)
        return errno == ENOENT || errno == ELOOP ? 0 : errno; // gone, or a link put in its place meanwhile
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

namespace {

int laneCount()
{
    return int(std::clamp(std::thread::hardware_concurrency(), 1u, 16u));
}

} // namespace

FileFlusher::FileFlusher(int threads, int openFolder)
    : threadsPerLane_(std::max(1, (std::max(1, threads) + laneCount() - 1) / laneCount()))
    , folder_(openFolder)
{
    const int lanes = std::min(laneCount(), std::max(1, threads));
    for (int i = 0; i < lanes; ++i)
        lanes_.push_back(std::make_unique<Lane>());
}

FileFlusher::~FileFlusher()
{
    stopWorkers();
}

void FileFlusher::add(const QString& path, int lane)
{
    const unsigned chosen = lane >= 0 ? unsigned(lane) : nextLane_.fetch_add(1, std::memory_order_relaxed);
    Lane& target = *lanes_[chosen % lanes_.size()];
    anyAdded_.store(true, std::memory_order_relaxed);
    const std::lock_guard<std::mutex> guard(target.lock);
    target.waiting.push_back(path);
    // A thread more only while every thread of the lane is busy: a few files need no crowd.
    if (target.idle == 0 && int(target.threads.size()) < threadsPerLane_)
        target.threads.emplace_back([this, &target] { work(target); });
    else
        target.wake.notify_one();
}

void FileFlusher::work(Lane& lane)
{
    std::unique_lock<std::mutex> guard(lane.lock);
    for (;;) {
        if (lane.waiting.empty()) {
            if (lane.closed)
                return;
            ++lane.idle;
            lane.wake.wait(guard, [&lane] { return lane.closed || !lane.waiting.empty(); });
            --lane.idle;
            continue;
        }
        const QString path = std::move(lane.waiting.front());
        lane.waiting.pop_front();
        guard.unlock();
        const int code = syncFile(folder_, path);
        const long long at = flushes_.fetch_add(1, std::memory_order_relaxed);
        tellObserver(path);
        guard.lock();
        if (code != 0 && lane.failure == 0) {
            lane.failure = code;
            lane.failedAt = at;
            lane.failed = path;
        }
    }
}

void FileFlusher::stopWorkers()
{
    for (const std::unique_ptr<Lane>& lane : lanes_) {
        {
            const std::lock_guard<std::mutex> guard(lane->lock);
            lane->closed = true;
        }
        lane->wake.notify_all();
    }
    for (const std::unique_ptr<Lane>& lane : lanes_) {
        for (std::thread& thread : lane->threads)
            thread.join();
        lane->threads.clear();
    }
}

bool FileFlusher::finish(const QString& folder, QString* error)
{
    stopWorkers();
    const Lane* first = nullptr;
    for (const std::unique_ptr<Lane>& lane : lanes_)
        if (lane->failure != 0 && (!first || lane->failedAt < first->failedAt))
            first = lane.get();
    if (first)
        return fail(error, first->failure, first->failed);
    if (!anyAdded_.load())
        return true;
    tellObserver(folder);
    return (folder_ == AT_FDCWD ? syncFolder(folder) : ::fsync(folder_) == 0) || fail(error, errno, folder);
}

void setSyncObserver(std::function<void(const QString& path)> observer)
{
    const std::lock_guard<std::mutex> guard(observerLock());
    observed().store(bool(observer), std::memory_order_release);
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
