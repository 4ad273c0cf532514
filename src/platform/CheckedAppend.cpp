#include "platform/CheckedAppend.h"

#include "platform/CheckedSave.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

const QByteArray byteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

bool readAt(int handle, char* into, qint64 size, off_t at)
{
    while (size > 0) {
        const ssize_t got = ::pread(handle, into, size_t(size), at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        into += got;
        size -= got;
        at += got;
    }
    return true;
}

bool writeWhole(int handle, const QByteArray& bytes)
{
    const char* from = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t put = ::write(handle, from, size_t(left));
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return false;
        if (put == 0) {
            errno = EIO;
            return false;
        }
        from += put;
        left -= put;
    }
    return true;
}

// What must come before the new lines in a file of `size` bytes: the heading in a new file, a line break after
// a line cut short; empty when the file does not begin with the heading.
std::optional<QByteArray> lead(int handle, qint64 size, const QByteArray& heading)
{
    if (size == 0)
        return heading;
    QByteArray head(std::min(size, qint64(byteOrderMark.size() + heading.size())), '\0');
    char last = '\n';
    if (!readAt(handle, head.data(), head.size(), 0) || !readAt(handle, &last, 1, off_t(size - 1)))
        return std::nullopt;
    if (!head.startsWith(heading) && !(head.startsWith(byteOrderMark) && head.mid(byteOrderMark.size()) == heading))
        return std::nullopt;
    return last == '\n' ? QByteArray() : QByteArrayLiteral("\n");
}

} // namespace

bool appendLinesPrivately(const QString& path, const QByteArray& heading, const QByteArray& lines, QString* error)
{
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, reason);
        return false;
    };
    const auto failFromSystem = [&](int code) { return fail(QString::fromLocal8Bit(std::strerror(code))); };
    const int handle = ::open(QFile::encodeName(path).constData(),
        O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (handle < 0)
        return failFromSystem(errno);
    struct Closer {
        int handle;
        ~Closer() { ::close(handle); }
    } closer { handle };
    struct stat file { };
    if (::fstat(handle, &file) != 0)
        return failFromSystem(errno);
    if (!S_ISREG(file.st_mode))
        return fail(QStringLiteral("it is not a regular file"));
    if (file.st_uid != ::geteuid())
        return fail(QStringLiteral("it belongs to another user"));
    if (!keepMode(handle, S_IRUSR | S_IWUSR))
        return failFromSystem(errno);
    int locked;
    while ((locked = ::flock(handle, LOCK_EX)) != 0 && errno == EINTR) { }
    if (locked != 0 || ::fstat(handle, &file) != 0)
        return failFromSystem(errno);
    const std::optional<QByteArray> before = lead(handle, qint64(file.st_size), heading);
    if (!before)
        return fail(QStringLiteral("it is not a file this program keeps"));
    if (!writeWhole(handle, *before + lines) || ::fsync(handle) != 0)
        return failFromSystem(errno);
    return true;
}

} // namespace platform
