#include "platform/RunLeftovers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <optional>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// When the process of that number started, from the kernel's own record; nothing when there is none.
std::optional<QDateTime> processStart(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    QFile system(QStringLiteral("/proc/stat"));
    if (!stat.open(QIODevice::ReadOnly) || !system.open(QIODevice::ReadOnly))
        return std::nullopt;
    // The name in parentheses may hold blanks; the start time is the 20th field after it, in clock ticks
    // since the machine booted.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 20)
        return std::nullopt;
    const qint64 ticks = fields[19].toLongLong();
    for (const QByteArray& entry : system.readAll().split('\n')) {
        if (entry.startsWith("btime "))
            return QDateTime::fromSecsSinceEpoch(entry.mid(6).toLongLong() + ticks / ::sysconf(_SC_CLK_TCK));
    }
    return std::nullopt;
}

// Nothing alive can still be writing what process `pid` last changed at `modified`: the process is gone,
// or the number now belongs to one that started later.
bool abandoned(qint64 pid, const QDateTime& modified)
{
    if (pid <= 0)
        return false;
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return true;
    const std::optional<QDateTime> started = processStart(pid);
    return started && *started > modified.addSecs(1);
}

bool ownedRealEntry(const QString& path, bool folder)
{
    struct stat info { };
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0 || info.st_uid != ::getuid())
        return false;
    return folder ? S_ISDIR(info.st_mode) : S_ISREG(info.st_mode);
}

} // namespace

QString runFolderTemplate(const QString& kind)
{
    return QDir::temp().filePath(QStringLiteral("%1-%2-XXXXXX").arg(kind).arg(qint64(::getpid())));
}

int removeLeftoverRunFolders(const QString& kind, const QString& base)
{
    const QDir folder(base.isEmpty() ? QDir::tempPath() : base);
    const QRegularExpression name(
        QStringLiteral("^%1-(\\d+)-[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(kind)));
    int removed = 0;
    for (const QFileInfo& entry : folder.entryInfoList({ kind + QStringLiteral("-*") }, QDir::Dirs | QDir::Hidden)) {
        const QRegularExpressionMatch match = name.match(entry.fileName());
        if (!match.hasMatch() || !ownedRealEntry(entry.filePath(), true)
            || !abandoned(match.captured(1).toLongLong(), entry.lastModified()))
            continue;
        removed += QDir(entry.filePath()).removeRecursively() ? 1 : 0; // links inside go, never what they name
    }
    return removed;
}

int removeLeftoverPartFiles(const QString& folder)
{
    static const QRegularExpression name(QStringLiteral("^\\..+\\.(\\d+)-\\d+\\.part$"));
    int removed = 0;
    for (const QFileInfo& entry : QDir(folder).entryInfoList({ QStringLiteral(".*.part") }, QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch match = name.match(entry.fileName());
        if (!match.hasMatch() || !ownedRealEntry(entry.filePath(), false)
            || !abandoned(match.captured(1).toLongLong(), entry.lastModified()))
            continue;
        removed += QFile::remove(entry.filePath()) ? 1 : 0;
    }
    return removed;
}

} // namespace platform
