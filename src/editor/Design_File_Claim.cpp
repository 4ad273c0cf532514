#include "editor/Design_File_Claim.h"

#include "platform/RegularFile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

struct FileState {
    qint64 size = -1;
    qint64 modified = 0;
};

std::optional<FileState> stateOf(const QString& path)
{
    struct stat info { };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileState { qint64(info.st_size), qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec };
}

QByteArray hashOf(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

} // namespace

QString Design_File_Claim::lockPathOf(const QString& path)
{
    const QFileInfo info(path);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".tessaline.lock");
}

bool Design_File_Claim::claim(const QString& path)
{
    const QString lockPath = lockPathOf(path);
    if (lock_.isHeld() && lock_.path() == lockPath)
        return true;
    if (lock_.isHeld())
        lock_.removeAndRelease();
    return platform::OwnLock::createOrTake(lockPath, &lock_) != platform::OwnLock::Outcome::HeldElsewhere;
}

void Design_File_Claim::remember(const QString& path, const QByteArray& bytes)
{
    const std::optional<FileState> state = stateOf(path);
    path_ = path;
    size_ = state ? state->size : -1;
    modified_ = state ? state->modified : 0;
    hash_ = hashOf(bytes);
}

bool Design_File_Claim::changedOnDisk(const QString& path) const
{
    if (!isOf(path))
        return false;
    const std::optional<FileState> state = stateOf(path);
    if (!state)
        return false;
    if (state->size == size_ && state->modified == modified_)
        return false;
    // Only touched, or written again with the same bytes: nothing would be lost.
    const std::optional<QByteArray> bytes = platform::readRegularFile(path, state->size);
    return !bytes || hashOf(*bytes) != hash_;
}

std::optional<Design_File_Claim::Seen> Design_File_Claim::seenOnDisk(const QString& path) const
{
    // The state first: a change while the bytes are read shows as one at the next check.
    const std::optional<FileState> state = stateOf(path);
    const std::optional<QByteArray> bytes = state ? platform::readRegularFile(path, state->size) : std::nullopt;
    if (!bytes)
        return std::nullopt;
    return Seen { state->size, state->modified, hashOf(*bytes) };
}

void Design_File_Claim::acceptOnDisk(const QString& path, const Seen& seen)
{
    path_ = path;
    size_ = seen.size;
    modified_ = seen.modified;
    hash_ = seen.hash;
}

void Design_File_Claim::release()
{
    if (lock_.isHeld())
        lock_.removeAndRelease();
    path_.clear();
    hash_.clear();
}
