#include "platform/CheckedSave.h"

#include "platform/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

const QString& noReason()
{
    static const QString reason = QStringLiteral("the data could not be written");
    return reason;
}

} // namespace

CheckedSave::CheckedSave(const QString& path)
    : path_(path)
    , file_(path)
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
    // Unbuffered: a write the system cuts short fails at once with the system's reason, where a buffered
    // one would fail at the last flush with none.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file_.errorString());
    if (permissions && !file_.setPermissions(*permissions))
        return fail(file_.errorString());
    return true;
}

bool CheckedSave::write(const QByteArray& bytes)
{
    if (!file_.isOpen())
        return fail(error_);
    return writeAll(file_, bytes) || fail(file_.errorString());
}

bool CheckedSave::commit()
{
    if (!file_.isOpen())
        return fail(error_);
    // Each step's failure is one commit() would pass over: the last buffered bytes, then the disk itself.
    if (!file_.flush() || file_.error() != QFileDevice::NoError)
        return fail(file_.errorString());
    if (::fsync(file_.handle()) != 0)
        return failFromSystem(errno);
    if (!file_.commit())
        return fail(file_.errorString());
    committed_ = true;
    // The new file is in place; a folder that cannot be synced (some file systems refuse) only makes the
    // rename less certain to outlive a power cut.
    syncFolder(QFileInfo(path_).absolutePath());
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
    if (file_.isOpen() && !committed_)
        file_.cancelWriting();
}

bool saveFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& write, QString* error)
{
    CheckedSave save(path);
    const bool saved = save.open() && (write(save.device()) || save.abandon()) && save.commit();
    if (!saved && error)
        *error = save.errorString();
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

bool copyFileChecked(const QString& from, const QString& to, qint64 maxBytes, QString* error)
{
    const auto bytes = readRegularFile(from, maxBytes, error);
    return bytes && saveFileAtomically(to, [&bytes](QIODevice& out) { return writeAll(out, *bytes); }, error);
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

} // namespace platform
