#include "platform/RunLeftovers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <atomic>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

const QString& partMark()
{
    static const QString mark = QStringLiteral(".tessaline-");
    return mark;
}

// The lock file inside a scratch folder.
const QString& folderLockName()
{
    static const QString name = QStringLiteral(".tessaline.lock");
    return name;
}

// What the lock file is called while it is being made.
const QString& newLockSuffix()
{
    static const QString suffix = QStringLiteral(".new");
    return suffix;
}

bool ownEntry(const QString& path, bool folder)
{
    struct stat info { };
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0 || info.st_uid != ::getuid())
        return false;
    return folder ? S_ISDIR(info.st_mode) : S_ISREG(info.st_mode);
}

std::function<void(const QString&, int)>& temporaryFileObserver()
{
    static std::function<void(const QString&, int)> observer;
    return observer;
}

std::function<void(const QString&)>& runFolderRemovalObserver()
{
    static std::function<void(const QString&)> observer;
    return observer;
}

void removed(const QString& path)
{
    if (runFolderRemovalObserver())
        runFolderRemovalObserver()(path);
}

// Empties a scratch folder of ours and removes it, its lock last (`release` removes the lock): a copy killed on
// the way leaves at most the lock, which the next start takes and clears, never the run's files (the guests'
// names of a workbook) without the lock that proves them ours. False, the lock kept, when an entry stays.
bool clearLockLast(const QString& folder, const QString& lock, const std::function<bool()>& release)
{
    QDir dir(folder);
    bool whole = true;
    for (const QFileInfo& entry :
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (entry.fileName() == QFileInfo(lock).fileName())
            continue;
        // Links inside go themselves, never what they name.
        const bool gone = entry.isDir() && !entry.isSymLink() ? QDir(entry.filePath()).removeRecursively()
                                                              : QFile::remove(entry.filePath());
        if (gone)
            removed(entry.filePath());
        whole = whole && gone;
    }
    if (!whole || !release())
        return false;
    removed(lock);
    return dir.rmdir(folder);
}

} // namespace

void setRunFolderRemovalObserver(std::function<void(const QString& path)> observer)
{
    runFolderRemovalObserver() = std::move(observer);
}

void setTemporaryFileObserver(std::function<void(const QString& path, int handle)> observer)
{
    temporaryFileObserver() = std::move(observer);
}

namespace {

// Made by make at the first free temporary name of a write that replaces target.
std::optional<OwnLock> atFreeTemporaryName(
    const FilePlace& target, const std::function<std::optional<OwnLock>(const FilePlace&)>& make)
{
    static std::atomic<unsigned> counter { 0 };
    const QString prefix
        = QLatin1Char('.') + target.fileName() + partMark() + QString::number(qint64(::getpid())) + QLatin1Char('-');
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::optional<OwnLock> made
            = make(target.beside(prefix + QString::number(counter++) + QStringLiteral(".part")));
        if (made || errno != EEXIST)
            return made;
    }
    return std::nullopt;
}

} // namespace

std::optional<OwnLock> createTemporaryBeside(const FilePlace& target, mode_t mode)
{
    return atFreeTemporaryName(target, [mode](const FilePlace& path) {
        std::optional<OwnLock> made = OwnLock::create(path, mode);
        if (made && temporaryFileObserver())
            temporaryFileObserver()(made->path(), made->handle());
        return made;
    });
}

std::optional<OwnLock> nameTemporaryBeside(const FilePlace& target, int unnamed)
{
    // Its maker was told of it when it was made.
    return atFreeTemporaryName(target, [unnamed](const FilePlace& path) { return OwnLock::linkIn(unnamed, path); });
}

int createUnnamedBeside(const FilePlace& target)
{
    const QByteArray folder = target.encodedFolder();
    const int handle
        = ::openat(target.folder, folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, static_cast<mode_t>(0666));
    if (handle >= 0 && temporaryFileObserver())
        temporaryFileObserver()(QFile::decodeName(folder), handle);
    return handle;
}

int removeLeftoverPartFiles(const QString& folder, const QString& targetName)
{
    const int handle = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return 0;
    const int removed = removeLeftoverPartFiles(handle, targetName);
    ::close(handle);
    return removed;
}

int removeLeftoverPartFiles(int openFolder, const QString& targetName)
{
    static const QRegularExpression name(QStringLiteral("^\\.(.+)\\.tessaline-\\d+-\\d+\\.part$"));
    int removed = 0;
    for (const QString& entry : namesIn(openFolder)) {
        if (!entry.endsWith(QLatin1String(".part")))
            continue;
        const QRegularExpressionMatch match = name.match(entry);
        const FilePlace path(openFolder, entry);
        struct stat info { };
        if (!match.hasMatch() || (!targetName.isEmpty() && match.captured(1) != targetName) || !path.look(info)
            || !S_ISREG(info.st_mode) || info.st_uid != ::getuid())
            continue;
        std::optional<OwnLock> abandoned = OwnLock::take(path);
        removed += abandoned && abandoned->removeAndRelease() ? 1 : 0;
    }
    return removed;
}

RunFolder::RunFolder(const QString& kind)
    : folder_(QDir::temp().filePath(QStringLiteral("%1-%2-XXXXXX").arg(kind).arg(qint64(::getpid()))))
{
    if (!folder_.isValid())
        return;
    // The lock is made, locked and marked under a name of its own, then given the lock's: another copy's
    // clean-up never meets it unlocked under the lock's name and takes the new folder for an abandoned one,
    // and the mark tells the folder of a start killed on the way from a person's.
    const QString lock = folder_.filePath(folderLockName());
    std::optional<OwnLock> made = OwnLock::create(lock + newLockSuffix());
    if (made && made->mark()
        && ::rename(QFile::encodeName(made->path()).constData(), QFile::encodeName(lock).constData()) == 0) {
        made->moved(lock);
        lock_ = std::move(*made);
    } else if (made) {
        made->removeAndRelease();
    }
}

RunFolder::~RunFolder()
{
    if (!lock_.isHeld())
        return; // a folder without its lock goes whole, as the temporary folder it is
    folder_.setAutoRemove(false);
    // A folder an entry stays in keeps its lock, marked, so that a later start finishes the job.
    clearLockLast(folder_.path(), lock_.path(), [this] { return lock_.removeAndRelease(); });
}

QString RunFolder::errorString() const
{
    if (!folder_.isValid())
        return folder_.errorString();
    return isValid() ? QString() : QStringLiteral("cannot lock %1").arg(folder_.path());
}

int removeLeftoverRunFolders(const QString& kind, const QString& base)
{
    const QDir folder(base.isEmpty() ? QDir::tempPath() : base);
    const QRegularExpression name(QStringLiteral("^%1-\\d+-[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(kind)));
    int removed = 0;
    for (const QString& entry :
        folder.entryList({ kind + QStringLiteral("-*") }, QDir::AllEntries | QDir::Hidden | QDir::System)) {
        const QString path = folder.filePath(entry);
        if (!name.match(entry).hasMatch() || !ownEntry(path, true))
            continue;
        // Only a lock that holds our mark proves the folder ours: a person's folder may hold a file of that
        // name. A folder without its lock file may be one being made: it stays.
        QDir dir(path);
        if (std::optional<OwnLock> abandoned = OwnLock::takeMarked(dir.filePath(folderLockName()))) {
            const QString lock = abandoned->path();
            removed += clearLockLast(path, lock, [&abandoned] { return abandoned->removeAndRelease(); }) ? 1 : 0;
            continue;
        }
        // A start killed before its lock had its name leaves that lock alone in the folder, marked: nothing
        // else is put there before the lock is named, and the folder goes only while it holds nothing else.
        const QString newLock = folderLockName() + newLockSuffix();
        if (dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
            != QStringList { newLock })
            continue;
        std::optional<OwnLock> killed = OwnLock::takeMarked(dir.filePath(newLock));
        removed += killed && killed->removeAndRelease() && QDir().rmdir(path) ? 1 : 0;
    }
    return removed;
}

} // namespace platform
