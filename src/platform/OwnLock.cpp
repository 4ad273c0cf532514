#include "platform/OwnLock.h"

#include "platform/RunLeftovers.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The lock is ours only while the name still leads to the file locked: whoever held it before may have
// removed the file (and a new one of that name be another's) between our open and our lock.
bool stillAtPath(int fd, const FilePlace& path)
{
    struct stat opened { };
    struct stat named { };
    return ::fstat(fd, &opened) == 0 && path.look(named) && opened.st_dev == named.st_dev
        && opened.st_ino == named.st_ino;
}

bool ownRegularFile(int fd)
{
    struct stat info { };
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::getuid();
}

bool lockAtOnce(int fd)
{
    int result = 0;
    do
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    return result == 0;
}

std::function<void(const QString&)>& createdUnlocked()
{
    static std::function<void(const QString&)> observer;
    return observer;
}

bool holdsMark(int fd)
{
    const QByteArray& mark = OwnLock::lockMark();
    char read[64];
    const ssize_t got = ::pread(fd, read, sizeof read, 0);
    return got == mark.size() && std::memcmp(read, mark.constData(), std::size_t(got)) == 0;
}

bool writeMark(int fd)
{
    const QByteArray& mark = OwnLock::lockMark();
    return ::pwrite(fd, mark.constData(), std::size_t(mark.size()), 0) == mark.size();
}

// A marked lock file made whole under a temporary name of ours and linked in with its lock held, so that no
// other copy ever finds it unmarked. A file system without links gets the file made in place and marked.
std::optional<OwnLock> createMarked(const QString& path)
{
    std::optional<OwnLock> made = createTemporaryBeside(path);
    if (!made)
        return std::nullopt;
    if (!writeMark(made->handle())) {
        const int error = errno;
        made->removeAndRelease();
        errno = error;
        return std::nullopt;
    }
    const QByteArray temporary = QFile::encodeName(made->path());
    if (::link(temporary.constData(), QFile::encodeName(path).constData()) == 0) {
        ::unlink(temporary.constData());
        made->moved(path);
        return made;
    }
    const int error = errno;
    made->removeAndRelease();
    if (error != EPERM && error != EOPNOTSUPP && error != ENOSYS) {
        errno = error;
        return std::nullopt;
    }
    std::optional<OwnLock> inPlace = OwnLock::create(path);
    if (inPlace && !writeMark(inPlace->handle())) {
        const int failed = errno;
        inPlace->removeAndRelease();
        errno = failed;
        return std::nullopt;
    }
    return inPlace;
}

} // namespace

const QByteArray& OwnLock::lockMark()
{
    static const QByteArray mark = QByteArrayLiteral("Tessaline Card lock: held while a copy of the program uses it\n");
    return mark;
}

OwnLock::OwnLock(int fd, const FilePlace& place)
    : fd_(fd)
    , place_(place)
{
}

OwnLock::~OwnLock()
{
    release();
}

OwnLock::OwnLock(OwnLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1))
    , place_(std::move(other.place_))
{
}

OwnLock& OwnLock::operator=(OwnLock&& other) noexcept
{
    if (this != &other) {
        release();
        fd_ = std::exchange(other.fd_, -1);
        place_ = std::move(other.place_);
    }
    return *this;
}

std::optional<OwnLock> OwnLock::create(const FilePlace& path, mode_t mode)
{
    const int fd = ::openat(
        path.folder, path.encodedName().constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode & 0777);
    if (fd < 0)
        return std::nullopt;
    if (createdUnlocked())
        createdUnlocked()(path.name);
    // A clean-up may have taken the new, not yet locked file for a leftover and removed it.
    if (!lockAtOnce(fd) || !stillAtPath(fd, path)) {
        ::close(fd);
        errno = EEXIST;
        return std::nullopt;
    }
    return OwnLock(fd, path);
}

std::optional<OwnLock> OwnLock::linkIn(int unnamed, const FilePlace& path)
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(unnamed);
    if (!lockAtOnce(unnamed)
        || ::linkat(AT_FDCWD, self.constData(), path.folder, path.encodedName().constData(), AT_SYMLINK_FOLLOW) != 0)
        return std::nullopt;
    return OwnLock(unnamed, path);
}

void OwnLock::setCreatedUnlockedObserver(std::function<void(const QString& path)> observer)
{
    createdUnlocked() = std::move(observer);
}

std::optional<OwnLock> OwnLock::take(const FilePlace& path)
{
    return takeChecked(path, false);
}

std::optional<OwnLock> OwnLock::takeMarked(const FilePlace& path)
{
    return takeChecked(path, true);
}

std::optional<OwnLock> OwnLock::takeChecked(const FilePlace& path, bool marked)
{
    const int fd = ::openat(
        path.folder, path.encodedName().constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    if (!ownRegularFile(fd) || (marked && !holdsMark(fd)) || !lockAtOnce(fd) || !stillAtPath(fd, path)) {
        ::close(fd);
        return std::nullopt;
    }
    return OwnLock(fd, path);
}

OwnLock::Outcome OwnLock::createOrTake(const QString& path, OwnLock* lock)
{
    const QByteArray name = QFile::encodeName(path);
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::optional<OwnLock> made = createMarked(path);
        if (!made && errno != EEXIST)
            return Outcome::NotOurs; // no lock can be made there (a folder we may not write in)
        if (!made)
            made = take(path);
        if (made && !holdsMark(made->handle()))
            return Outcome::NotOurs; // a file of the person's own that has our lock's name
        if (made) {
            *lock = std::move(*made);
            return Outcome::Taken;
        }
        const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            if (errno == ENOENT)
                continue; // its holder removed it just now
            return Outcome::NotOurs;
        }
        const bool ours = ownRegularFile(fd) && holdsMark(fd);
        ::close(fd);
        return ours ? Outcome::HeldElsewhere : Outcome::NotOurs;
    }
    return Outcome::HeldElsewhere;
}

bool OwnLock::mark()
{
    return fd_ >= 0 && writeMark(fd_);
}

bool OwnLock::removeAndRelease()
{
    if (fd_ < 0)
        return false;
    const bool removed
        = stillAtPath(fd_, place_) && ::unlinkat(place_.folder, place_.encodedName().constData(), 0) == 0;
    release();
    return removed;
}

void OwnLock::release()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

} // namespace platform
