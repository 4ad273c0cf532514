#include "data/Bounded_File.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int openRegularFileForReading(const QString& path, std::int64_t maxBytes, QString* error)
{
    auto refuse = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("\"%1\" %2.").arg(path, why);
        return -1;
    };
    // O_NONBLOCK: opening a pipe with no writer would otherwise wait for ever.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return refuse(QStringLiteral("cannot be opened: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return refuse(QStringLiteral("is not a regular file"));
    }
    if (std::int64_t(st.st_size) > maxBytes) {
        ::close(fd);
        return refuse(QStringLiteral("is larger than %1 MB").arg(maxBytes >> 20));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}
