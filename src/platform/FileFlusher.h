#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <fcntl.h>

namespace platform {

// Waits for files to reach the disk on threads of its own while the caller goes on making others: the
// wait for the disk overlaps the work, and flushes of many files at once share the file system's journal
// commits. Only the files added are waited for, never the other writes of the file system; a file that is
// no longer there is passed over.
//
// The files go into lanes, each a queue with flushing threads of its own, so that threads adding files at
// once (one lane each) never wait on one lock together, nor on the threads flushing the others' files.
class FileFlusher {
public:
    // With an open folder (its handle), the files added are names in it, and it is the folder finish flushes.
    explicit FileFlusher(int threads = 16, int openFolder = AT_FDCWD);
    ~FileFlusher(); // waits for the files added, as finish does, but flushes no folder
    FileFlusher(const FileFlusher&) = delete;
    FileFlusher& operator=(const FileFlusher&) = delete;

    // Any thread may add; the flush starts at once. A thread that adds many files names a lane of its own
    // (any number: it is taken modulo the lanes); without one, files are spread over the lanes in turn.
    void add(const QString& path, int lane = -1);
    // Waits until every file added is on the disk, then, when any was added, the folder's entries. False
    // with the first failed file's reason.
    bool finish(const QString& folder, QString* error = nullptr);

private:
    struct Lane {
        std::mutex lock;
        std::condition_variable wake;
        std::deque<QString> waiting;
        std::vector<std::thread> threads;
        int idle = 0;
        bool closed = false;
        // The lane's first failure and when it happened among all the lanes' flushes.
        int failure = 0;
        long long failedAt = 0;
        QString failed;
    };

    void work(Lane& lane);
    void stopWorkers();

    const int threadsPerLane_;
    const int folder_;
    std::vector<std::unique_ptr<Lane>> lanes_;
    std::atomic<unsigned> nextLane_ { 0 };
    std::atomic<long long> flushes_ { 0 };
    std::atomic<bool> anyAdded_ { false };
};

// Waits until the files and the folder's entries are on the disk: the one wait at the end of a run of
// unsynced writes. False with the first file's reason when a flush fails.
bool syncFilesToDisk(const QStringList& files, const QString& folder, QString* error = nullptr);

// Told of each file and folder that is flushed; for tests, none by default.
void setSyncObserver(std::function<void(const QString& path)> observer);

} // namespace platform
