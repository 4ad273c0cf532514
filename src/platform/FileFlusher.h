#pragma once

#include <QString>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {

// Waits for files to reach the disk on threads of its own while the caller goes on making others: the
// wait for the disk overlaps the work, and flushes of many files at once share the file system's journal
// commits. Only the files added are waited for, never the other writes of the file system; a file that is
// no longer there is passed over.
class FileFlusher {
public:
    explicit FileFlusher(int threads = 16);
    ~FileFlusher(); // waits for the files added, as finish does, but flushes no folder
    FileFlusher(const FileFlusher&) = delete;
    FileFlusher& operator=(const FileFlusher&) = delete;

    // Any thread may add; the flush starts at once.
    void add(const QString& path);
    // Waits until every file added is on the disk, then, when any was added, the folder's entries. False
    // with the first failed file's reason.
    bool finish(const QString& folder, QString* error = nullptr);

private:
    void work();
    void stopWorkers();

    const int maxThreads_;
    std::mutex lock_;
    std::condition_variable wake_;
    std::deque<QString> waiting_;
    std::vector<std::thread> threads_;
    int idle_ = 0;
    bool closed_ = false;
    bool anyAdded_ = false;
    int failure_ = 0;
    QString failed_;
};

// Waits until the files and the folder's entries are on the disk: the one wait at the end of a run of
// unsynced writes. False with the first file's reason when a flush fails.
bool syncFilesToDisk(const QStringList& files, const QString& folder, QString* error = nullptr);

// Told of each file and folder that is flushed; for tests, none by default.
void setSyncObserver(std::function<void(const QString& path)> observer);

} // namespace platform
