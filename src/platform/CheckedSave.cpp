#include "platform/CheckedSave.h"

#include "platform/PrivateFolder.h"
#include "platform/RegularFile.h"
#include "platform/RunLeftovers.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

const QString& noReason()
{
    static const QString reason = QStringLiteral("the data could not be written");
    return reason;
}

// The file a link leads to, even when it is not there yet; the path itself when it is no link.
QString linkTarget(const QString& path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.filePath();
}

// The mode bits of the permissions (owner, group, others).
mode_t modeOf(QFileDevice::Permissions permissions)
{
    const std::pair<QFileDevice::Permission, mode_t> bits[] = { { QFileDevice::ReadOwner, S_IRUSR },
        { QFileDevice::WriteOwner, S_IWUSR }, { QFileDevice::ExeOwner, S_IXUSR }, { QFileDevice::ReadGroup, S_IRGRP },
        { QFileDevice::WriteGroup, S_IWGRP }, { QFileDevice::ExeGroup, S_IXGRP }, { QFileDevice::ReadOther, S_IROTH },
        { QFileDevice::WriteOther, S_IWOTH }, { QFileDevice::ExeOther, S_IXOTH } };
    mode_t mode = 0;
    for (const auto& [permission, bit] : bits)
        mode |= permissions.testFlag(permission) ? bit : 0;
    return mode;
}

} // namespace

bool keepMode(int handle, mode_t mode)
{
    struct stat now { };
    return ::fstat(handle, &now) == 0 && ((now.st_mode & 07777) == mode || ::fchmod(handle, mode) == 0);
}

CheckedSave::CheckedSave(const FilePlace& path, BesideLeftovers leftovers)
    : place_(path)
    , target_(path)
    , leftovers_(leftovers)
{
}

CheckedSave::~CheckedSave()
{
    cancel();
}

bool CheckedSave::fail(const QString& reason)
{
    if (error_.isEmpty())
        error_ = reason.isEmpty() ? noReason() : reason;
    cancel();
    return false;
}

bool CheckedSave::failFromSystem(int code)
{
    return fail(QString::fromLocal8Bit(std::strerror(code)));
}

bool CheckedSave::open(std::optional<QFileDevice::Permissions> permissions)
{
    error_.clear();
    committed_ = false;
    cancel();
    target_ = place_.inOpenFolder() ? place_ : FilePlace(linkTarget(place_.name));
    const QByteArray target = target_.encodedName();
    struct stat existing { };
    const bool exists
        = ::fstatat(target_.folder, target.constData(), &existing, place_.inOpenFolder() ? AT_SYMLINK_NOFOLLOW : 0) == 0
        && !S_ISLNK(existing.st_mode);
    if (exists && S_ISDIR(existing.st_mode))
        return fail(QStringLiteral("Filename refers to a directory"));
    if (exists && ::faccessat(target_.folder, target.constData(), W_OK, 0) != 0)
        return failFromSystem(errno);
    // The temporary file is born with the permissions asked for, else the old file's, else a new file's;
    // the umask narrows them at once. Nobody who may not read the old file can open the new one in between.
    const mode_t mode = permissions ? modeOf(*permissions) : exists ? existing.st_mode & 07777 : mode_t(0666);
    std::optional<OwnLock> temporary = createTemporaryBeside(target_, mode);
    if (!temporary)
        return failFromSystem(errno);
    temporary_ = std::move(*temporary);
    // The old file's permissions the umask took away (a design shared with a group) come back: the new
    // file is then as open as the old one was, never more.
    keptMode_ = exists && !permissions ? existing.st_mode & 07777 : 0;
    // Unbuffered: a write the system cuts short fails at once with the system's reason, where a buffered
    // one would fail at the last flush with none.
    if (!file_.open(temporary_.handle(), QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
        return fail(file_.errorString());
    return true;
}

bool CheckedSave::write(const QByteArray& bytes)
{
    if (!file_.isOpen())
        return fail(error_);
    return writeAll(file_, bytes) || fail(file_.errorString());
}

bool CheckedSave::commit(int* handle)
{
    if (!file_.isOpen())
        return fail(error_);
    // Each step's failure is one commit() would pass over: the last buffered bytes, then the disk itself.
    if (!file_.flush() || file_.error() != QFileDevice::NoError)
        return fail(file_.errorString());
    if (keptMode_ != 0 && !keepMode(temporary_.handle(), keptMode_))
        return failFromSystem(errno);
    if (::fsync(temporary_.handle()) != 0)
        return failFromSystem(errno);
    const std::optional<FileIdentity> written = FileIdentity::ofHandle(temporary_.handle());
    if (!written)
        return failFromSystem(errno);
    const int kept = handle ? ::fcntl(temporary_.handle(), F_DUPFD_CLOEXEC, 0) : -1;
    if (handle && kept < 0)
        return failFromSystem(errno);
    const FilePlace& from = temporary_.place();
    if (::renameat(from.folder, from.encodedName().constData(), target_.folder, target_.encodedName().constData())
        != 0) {
        const int code = errno;
        if (kept >= 0)
            ::close(kept);
        return failFromSystem(code);
    }
    written_ = *written;
    if (handle)
        *handle = kept;
    committed_ = true;
    file_.close();
    temporary_.release();
    // The new file is in place; a folder that cannot be synced (some file systems refuse) only makes the
    // rename less certain to outlive a power cut.
    syncFolderOf(target_);
    if (leftovers_ == BesideLeftovers::Clear) {
        if (target_.inOpenFolder())
            removeLeftoverPartFiles(target_.folder, target_.name);
        else
            removeLeftoverPartFiles(QFileInfo(target_.name).absolutePath(), target_.fileName());
    }
    return true;
}

bool CheckedSave::abandon()
{
    // A writer that stopped at a short write never asked the system why: one more byte does, and it goes
    // nowhere, as the temporary file is dropped.
    if (file_.isOpen() && file_.error() == QFileDevice::NoError)
        file_.write("", 1);
    return fail(file_.error() != QFileDevice::NoError ? file_.errorString() : QString());
}

void CheckedSave::cancel()
{
    file_.close();
    if (temporary_.isHeld() && !committed_)
        temporary_.removeAndRelease();
}

bool saveFileAtomically(const FilePlace& path, const std::function<bool(QIODevice&)>& write, QString* error,
    BesideLeftovers leftovers, FileIdentity* written)
{
    CheckedSave save(path, leftovers);
    const bool saved = save.open() && (write(save.device()) || save.abandon()) && save.commit();
    if (!saved && error)
        *error = save.errorString();
    if (saved && written)
        *written = save.written();
    return saved;
}

bool writeAll(QIODevice& device, const QByteArray& bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = device.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

bool saveFilePrivately(
    const FilePlace& path, const std::function<bool(QIODevice&)>& write, QString* error, FileIdentity* written)
{
    CheckedSave save(path);
    const bool saved = save.open(ownerOnlyFile) && (write(save.device()) || save.abandon()) && save.commit();
    if (!saved && error)
        *error = save.errorString();
    if (saved && written)
        *written = save.written();
    return saved;
}

bool copyFileChecked(const QString& from, const QString& to, qint64 maxBytes, QString* error)
{
    const auto bytes = readRegularFile(from, maxBytes, error);
    return bytes
        && saveFileAtomically(
            to, [&bytes](QIODevice& out) { return writeAll(out, *bytes); }, error);
}

bool syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

bool syncFolderOf(const FilePlace& place)
{
    if (!place.inOpenFolder())
        return syncFolder(QFileInfo(place.name).absolutePath());
    const QByteArray folder = place.encodedFolder();
    const int fd = ::openat(place.folder, folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace platform
