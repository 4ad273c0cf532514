#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUuid>

#include <QFile>

#include <csignal>
#include <string>

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

LockingProcess::LockingProcess(const QStringList& paths)
{
    // Everything the child needs is made before the fork: it only calls the system.
    std::vector<std::string> files;
    std::vector<std::string> folders;
    for (const QString& path : paths) {
        const bool folder = path.endsWith(QLatin1Char('/'));
        if (folder)
            folders.push_back(QFile::encodeName(path.chopped(1)).toStdString());
        files.push_back(QFile::encodeName(folder ? path + QStringLiteral(".tessaline.lock") : path).toStdString());
    }
    int ready[2];
    if (::pipe(ready) != 0)
        return;
    pid_ = ::fork();
    if (pid_ == 0) {
        ::close(ready[0]);
        for (const std::string& folder : folders)
            ::mkdir(folder.c_str(), 0700);
        for (const std::string& file : files) {
            const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
            if (fd < 0 || ::write(fd, "half", 4) != 4 || ::flock(fd, LOCK_EX) != 0)
                ::_exit(1);
        }
        const char done = 1;
        if (::write(ready[1], &done, 1) != 1)
            ::_exit(1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char done = 0;
    if (pid_ < 0 || ::read(ready[0], &done, 1) != 1)
        kill();
    ::close(ready[0]);
}

LockingProcess::~LockingProcess()
{
    kill();
}

void LockingProcess::kill()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGKILL);
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
