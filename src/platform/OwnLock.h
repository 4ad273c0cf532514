#pragma once

#include "platform/OpenFolder.h"

#include <QString>

#include <functional>
#include <optional>

#include <sys/types.h>

namespace platform {

// A lock the program holds on a file of its own for as long as it uses what the file stands for: a file
// it is writing, a scratch folder it works in, a design it has open. The lock belongs to the open file
// (flock), so the system drops it the moment the holder ends, however it ends: a lock that can be taken
// at once proves that nobody is using the file any more. No clock and no process number is consulted.
class OwnLock {
public:
    OwnLock() = default;
    ~OwnLock(); // releases the lock; the file stays
    OwnLock(OwnLock&& other) noexcept;
    OwnLock& operator=(OwnLock&& other) noexcept;
    OwnLock(const OwnLock&) = delete;
    OwnLock& operator=(const OwnLock&) = delete;

    // Makes a new file at path (nothing may be there, not even a link) with the permissions of mode, less
    // what the umask takes away, from its first byte, and locks it; the system's error code in errno when it
    // cannot.
    static std::optional<OwnLock> create(const FilePlace& path, mode_t mode = 0666);
    // Locks an unnamed file of ours (its open handle) and links it in at path (nothing may be there, not
    // even a link): locked before it has a name, it is never seen unlocked. The lock then owns the handle;
    // nothing, with errno, when it cannot, and the handle stays the caller's.
    static std::optional<OwnLock> linkIn(int unnamed, const FilePlace& path);
    // Told of each file create() has made, before it is locked; for tests, none by default. Set it only while
    // no lock is being made.
    static void setCreatedUnlockedObserver(std::function<void(const QString& path)> observer);
    // Locks a file of ours that nobody holds: a regular file (never a link) of this user at path, whose
    // lock can be taken at once. Nothing otherwise.
    static std::optional<OwnLock> take(const FilePlace& path);
    // As take(), for a lock file that holds the program's mark: a file of a person's own that has a lock's
    // name is never taken. The mark is looked for before the lock is taken, so that a lock file its maker
    // has not yet locked (and so not yet marked) is never held, not even for a moment.
    static std::optional<OwnLock> takeMarked(const FilePlace& path);
    // What opening a lock file beside something in use finds; NotOurs also when none can be made there.
    enum class Outcome { Taken, HeldElsewhere, NotOurs };
    // Takes the lock file at path, making it when missing; a stale one (its holder gone) is taken over. Such
    // a lock lives beside a person's files under a name a person may use too, so it holds the program's mark
    // from the moment it appears, and a file there without the mark is never taken (nor removed).
    static Outcome createOrTake(const QString& path, OwnLock* lock);
    static const QByteArray& lockMark();

    bool isHeld() const { return fd_ >= 0; }
    int handle() const { return fd_; }
    QString path() const { return place_.name; } // within its open folder, when it was made in one
    const FilePlace& place() const { return place_; }
    // The file now lives at another name in the same folder (renamed by its holder): the lock goes on with it.
    void moved(const QString& path) { place_.name = path; }
    // Writes the program's mark into the held file; false with errno when it cannot.
    bool mark();
    // Removes the file while still holding the lock, then releases it; false when it could not be removed.
    bool removeAndRelease();
    void release();

private:
    OwnLock(int fd, const FilePlace& place);
    static std::optional<OwnLock> takeChecked(const FilePlace& path, bool marked);
    int fd_ = -1;
    FilePlace place_ { QString() };
};

} // namespace platform
