#include "platform/OpenFolder.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <unistd.h>

namespace platform {

QByteArray FilePlace::encodedName() const
{
    return QFile::encodeName(name);
}

QString FilePlace::fileName() const
{
    return name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
}

QByteArray FilePlace::encodedFolder() const
{
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : QFile::encodeName(name.left(slash));
}

FilePlace FilePlace::beside(const QString& other) const
{
    return { folder, name.left(name.lastIndexOf(QLatin1Char('/')) + 1) + other };
}

bool FilePlace::look(struct stat& info) const
{
    return ::fstatat(folder, encodedName().constData(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

FileIdentity FileIdentity::of(const struct stat& info)
{
    return { info.st_dev, info.st_ino, qint64(info.st_size), qint64(info.st_mtim.tv_sec),
        qint64(info.st_mtim.tv_nsec) };
}

std::optional<FileIdentity> FileIdentity::ofHandle(int handle)
{
    struct stat info { };
    if (::fstat(handle, &info) != 0)
        return std::nullopt;
    return of(info);
}

std::optional<OwnFileStart> ownFileStart(const FilePlace& place, qsizetype bytes)
{
    const int handle = ::openat(
        place.folder, place.encodedName().constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (handle < 0)
        return std::nullopt;
    struct stat info { };
    OwnFileStart file { QByteArray(bytes, '\0'), {} };
    const ssize_t got = ::fstat(handle, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::getuid()
        ? ::pread(handle, file.start.data(), size_t(bytes), 0)
        : -1;
    ::close(handle);
    if (got < 0)
        return std::nullopt;
    file.start.truncate(got);
    file.identity = FileIdentity::of(info);
    return file;
}

QStringList namesIn(int openFolder)
{
    // The listing gets a handle of its own, so that the folder's stays where it was.
    const int handle = ::openat(openFolder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* listing = handle >= 0 ? ::fdopendir(handle) : nullptr;
    if (!listing) {
        if (handle >= 0)
            ::close(handle);
        return {};
    }
    QStringList names;
    while (const dirent* entry = ::readdir(listing)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names << QFile::decodeName(entry->d_name);
    }
    ::closedir(listing);
    return names;
}

std::shared_ptr<const OpenFolder> OpenFolder::open(const QString& path, QString* error)
{
    const int handle
        = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (handle < 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno == ELOOP ? ENOTDIR : errno));
        return nullptr;
    }
    return std::shared_ptr<const OpenFolder>(new OpenFolder(handle, path));
}

OpenFolder::~OpenFolder()
{
    if (handle_ >= 0)
        ::close(handle_);
}

QString OpenFolder::filePath(const QString& name) const
{
    return QDir(path_).filePath(name);
}

} // namespace platform
