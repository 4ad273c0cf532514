#include "platform/RegularFile.h"

#include "platform/PictureDecode.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool refuse(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

bool refuseCode(QString* error, const QString& path, int code)
{
    return refuse(
        error, QStringLiteral("\"%1\" cannot be read: %2").arg(path, QString::fromLocal8Bit(std::strerror(code))));
}

bool adoptOpened(QFile& file, int fd, const QString& path, qint64 maxBytes, QString* error);

bool isResource(const QString& path)
{
    return path.startsWith(QLatin1Char(':'));
}

// The same judgement on a stat record, whether taken from the name or from the opened file.
bool acceptable(const struct stat& info, const QString& path, qint64 maxBytes, QString* error)
{
    if (!S_ISREG(info.st_mode))
        return refuse(error, QStringLiteral("\"%1\" is not a regular file").arg(path));
    if (qint64(info.st_size) > maxBytes)
        return refuse(error,
            QStringLiteral("\"%1\" is larger than %2 MB").arg(path).arg(double(maxBytes) / (1024 * 1024), 0, 'f', 1));
    return true;
}

} // namespace

bool isRegularFileWithin(const QString& path, qint64 maxBytes, QString* error)
{
    if (path.isEmpty())
        return refuse(error, QStringLiteral("no file name"));
    if (isResource(path)) {
        const QFile resource(path);
        if (!resource.exists())
            return refuseCode(error, path, ENOENT);
        return resource.size() <= maxBytes
            || refuse(error, QStringLiteral("\"%1\" is larger than the bound").arg(path));
    }
    struct stat info { };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return refuseCode(error, path, errno);
    return acceptable(info, path, maxBytes, error);
}

bool openRegularFile(QFile& file, const QString& path, qint64 maxBytes, QString* error)
{
    if (!isRegularFileWithin(path, maxBytes, error))
        return false;
    file.setFileName(path);
    if (isResource(path))
        return file.open(QIODevice::ReadOnly) || refuse(error, file.errorString());
    // Non-blocking so that a FIFO put in place after the check above cannot hold the open; the flag is
    // cleared again once the descriptor is known to be a regular file.
    return adoptOpened(file, ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC),
        path, maxBytes, error);
}

namespace {

// The file opened as fd (-1 with errno when the open failed) given to `file` once it passes the checks.
bool adoptOpened(QFile& file, int fd, const QString& path, qint64 maxBytes, QString* error)
{
    if (fd < 0)
        return refuseCode(error, path, errno);
    struct stat info { };
    if (::fstat(fd, &info) != 0) {
        const int code = errno;
        ::close(fd);
        return refuseCode(error, path, code);
    }
    if (!acceptable(info, path, maxBytes, error)) {
        ::close(fd);
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return refuse(error, QStringLiteral("\"%1\" cannot be read: %2").arg(path, file.errorString()));
    }
    return true;
}

std::optional<QByteArray> readOpened(QFile& file, const QString& path, qint64 maxBytes, QString* error)
{
    // Room for what the file holds now and one byte more, which shows a file that grew since it was measured;
    // never the bound, which may be far larger than the file (every read would ask for it, and the system clear
    // it). A file that keeps growing is followed in steps, up to the bound.
    constexpr qint64 growthStep = qint64(64) * 1024;
    QByteArray bytes(qsizetype(std::min(file.size(), maxBytes) + 1), Qt::Uninitialized);
    qint64 filled = 0;
    for (;;) {
        const qint64 got = file.read(bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            refuse(error, QStringLiteral("\"%1\" cannot be read: %2").arg(path, file.errorString()));
            return std::nullopt;
        }
        filled += got;
        if (got == 0 || filled > maxBytes)
            break;
        if (filled == bytes.size())
            bytes.resize(qsizetype(std::min(filled + growthStep, maxBytes + 1)));
    }
    bytes.truncate(qsizetype(filled));
    if (bytes.size() > maxBytes) {
        refuse(error, QStringLiteral("\"%1\" grew beyond its bound while it was read").arg(path));
        return std::nullopt;
    }
    return bytes;
}

} // namespace

std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes, QString* error)
{
    QFile file;
    if (!openRegularFile(file, path, maxBytes, error))
        return std::nullopt;
    return readOpened(file, path, maxBytes, error);
}

std::optional<QByteArray> readRegularFileAt(const FilePlace& place, qint64 maxBytes, QString* error)
{
    QFile file;
    const int fd = ::openat(
        place.folder, place.encodedName().constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC);
    if (!adoptOpened(file, fd, place.name, maxBytes, error))
        return std::nullopt;
    return readOpened(file, place.name, maxBytes, error);
}

QImage readPictureFile(const QString& path, QString* error)
{
    return readPictureFileAt(path, QSize(), error);
}

} // namespace platform
