#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUuid>

#include <csignal>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

namespace testsupport {

int runProgram(const QString& program, const QStringList& arguments, QString* out, QString* err,
    const QByteArray& input, int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return -1;
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (out)
        *out = QString::fromUtf8(process.readAllStandardOutput());
    if (err)
        *err = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

bool havePeer(const QString& program)
{
    if (QFileInfo(program).isAbsolute())
        return QFileInfo(program).isExecutable();
    return !QStandardPaths::findExecutable(program).isEmpty();
}

LockingProcess::LockingProcess(const QStringList& paths, const QByteArray& content)
{
    // The locks are taken here and the child keeps them by sharing the open files: it only waits to be killed.
    std::vector<int> fds;
    bool made = true;
    for (const QString& path : paths) {
        if (path.endsWith(QLatin1Char('/')))
            QDir().mkdir(path);
        const QString file = path.endsWith(QLatin1Char('/')) ? path + QStringLiteral(".tessaline.lock") : path;
        fds.push_back(::open(QFile::encodeName(file).constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, 0600));
        made = made && fds.back() >= 0
            && ::write(fds.back(), content.constData(), std::size_t(content.size())) == content.size()
            && ::flock(fds.back(), LOCK_EX) == 0;
    }
    if (made && (pid_ = ::fork()) == 0)
        for (;;)
            ::pause();
    for (const int fd : fds)
        ::close(fd);
}

void LockingProcess::kill()
{
    if (pid_ > 0 && ::kill(pid_, SIGKILL) == 0)
        ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

QString makeTempFolder(const QString& name)
{
    const QString base = qEnvironmentVariable("TESSALINE_DATA_DIR", QDir::tempPath());
    const QString path
        = base + QStringLiteral("/tmp-") + name + QLatin1Char('-') + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QDir().mkpath(path);
    return path;
}

unsigned fileMode(const QString& path)
{
    struct stat info { };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 07777u;
}

std::vector<std::uint8_t> inflateZlib(const QByteArray& packed, std::size_t limit)
{
    std::vector<std::uint8_t> back(limit + 16);
    uLongf size = static_cast<uLongf>(back.size());
    if (uncompress(
            back.data(), &size, reinterpret_cast<const Bytef*>(packed.constData()), static_cast<uLong>(packed.size()))
        != Z_OK)
        return {};
    back.resize(size);
    return back;
}

} // namespace testsupport
