#include "platform/QuickFileReplace.h"
#include "platform/RunLeftovers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <QFileInfo>
#include <QScopeGuard>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QStringList everyFile(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

// Makes the folder refuse new entries, or take them again: read-only to its owner, unchangeable to root.
bool refuseNewEntries(const QString& folder, bool refuse)
{
    const QByteArray path = QFile::encodeName(folder);
    if (::geteuid() != 0)
        return ::chmod(path.constData(), refuse ? 0500 : 0700) == 0;
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0; // no folder opened: no flags
    flags = refuse ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

} // namespace

// After a free name the file is written unnamed, and a taken one found so gets it renamed over it with the old
// permissions; a taken name (a link out replaced, never followed) goes through a temporary name otherwise.
TEST(QuickFileReplace, ANameIsLookedUpOnlyWhereTheLastWasTaken)
{
    QTemporaryDir folder, outside;
    const QString path = folder.filePath(QStringLiteral("pic 1.png"));
    const QString elsewhere = outside.filePath(QStringLiteral("elsewhere.png"));
    const struct {
        const char* what; // each row follows the one above
        QByteArray old, written;
        bool linkOut, refuseWhileWritten, named; // a link out under the name; the folder refuses; a temporary name
        mode_t mode;
    } rows[] = {
        { "a free name in a folder not written before", {}, QByteArray(70000, 'n'), false, false, false, 0640 },
        { "a taken name after a free one", QByteArray(70000, 'o'), "short", false, false, false, 0604 },
        { "a link out after a taken name", "outside", {}, true, false, true, 0604 },
        { "a free name after a taken one", {}, QByteArray(70000, 'n'), false, false, false, 0640 },
        { "a taken name after a free one, its replacement failing", "old", "short", false, true, false, 0604 },
    };
    QList<QPair<nlink_t, qsizetype>> seen; // the links and the folder's files as each file of the write is made
    bool refuse = false, refused = false;
    platform::setTemporaryFileObserver([&](const QString&, int handle) {
        struct stat info { };
        ::fstat(handle, &info);
        seen.push_back({ info.st_nlink, everyFile(folder.path()).size() });
        refused = refuse && refuseNewEntries(folder.path(), true);
    });
    const auto restore = qScopeGuard([&, kept = ::umask(027)] {
        platform::setTemporaryFileObserver({});
        ::umask(kept);
        refuseNewEntries(folder.path(), false);
    });
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QFile::remove(path);
        QFile old(row.linkOut ? elsewhere : path);
        ASSERT_TRUE(row.old.isEmpty() || (old.open(QIODevice::WriteOnly) && old.write(row.old) && old.flush()));
        ASSERT_TRUE(row.old.isEmpty() || ::chmod(QFile::encodeName(old.fileName()).constData(), 0604) == 0);
        ASSERT_TRUE(!row.linkOut || QFile::link(elsewhere, path));
        seen.clear();
        refuse = row.refuseWhileWritten;
        QString error;
        EXPECT_EQ(platform::replaceFileUnsynced(path, row.written, &error), !row.refuseWhileWritten);
        ASSERT_EQ(refused, row.refuseWhileWritten) << "the folder could not be made to refuse";
        refuseNewEntries(folder.path(), false);
        EXPECT_EQ(error.isEmpty(), !row.refuseWhileWritten);
        EXPECT_EQ(seen, (QList<QPair<nlink_t, qsizetype>> { { row.named, !row.old.isEmpty() + row.named } }));
        struct stat info { };
        ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0170777, S_IFREG | row.mode);
        EXPECT_EQ(contents(path), row.refuseWhileWritten ? row.old : row.written);
        EXPECT_EQ(everyFile(folder.path()), QStringList { QStringLiteral("pic 1.png") });
        EXPECT_TRUE(!row.linkOut || contents(elsewhere) == row.old) << "the file the link led to changed";
    }
}

TEST(QuickFileReplace, FailuresSaySoAndLeaveTheNameAsItWas)
{
    QTemporaryDir folder;
    struct Case {
        QString path;
        const char* what; // each row follows the one above
    };
    // A folder under the name cannot be replaced by a file; a missing folder cannot take one.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("taken")));
    for (const Case& c : { Case { folder.filePath(QStringLiteral("taken")), "a folder" },
             Case { folder.filePath(QStringLiteral("missing/a.png")), "a missing folder" },
             Case { QString(), "no name" } }) {
        QString error;
        EXPECT_FALSE(platform::replaceFileUnsynced(c.path, "data", &error)) << c.what;
        EXPECT_FALSE(error.isEmpty()) << c.what;
    }
    EXPECT_TRUE(QFileInfo(folder.filePath(QStringLiteral("taken"))).isDir());
    EXPECT_EQ(everyFile(folder.path()), QStringList());

    // A read-only folder: nothing is written, the old file stays whole.
    const QString locked = folder.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("locked")));
    const QString old = locked + QStringLiteral("/old.png");
    ASSERT_TRUE(platform::replaceFileUnsynced(old, "old bytes"));
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0500), 0);
    if (::geteuid() != 0) {
        QString error;
        EXPECT_FALSE(platform::replaceFileUnsynced(old, "new bytes", &error));
        EXPECT_TRUE(error.contains(QStringLiteral("old.png"))) << error.toStdString();
    }
    EXPECT_EQ(contents(old), QByteArray("old bytes"));
    ::chmod(QFile::encodeName(locked).constData(), 0700);
}

TEST(QuickFileReplace, FlushOfFilesAndTheirFolderSaysWhetherItCouldBeDone)
{
    QTemporaryDir folder;
    const QDir dir(folder.path());
    const QString file = dir.filePath(QStringLiteral("a.png"));
    ASSERT_TRUE(platform::replaceFileUnsynced(file, "bytes"));
    // A pipe can be opened but never flushed: its failure must reach the caller, whichever lane took it.
    const QString pipe = dir.filePath(QStringLiteral("pipe.png"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const struct {
        QStringList files;
        QString folder;
        const char* failed; // the name the reason gives; none when the flush succeeds
    } rows[] = {
        { { file, dir.filePath(QStringLiteral("gone.png")) }, folder.path(), nullptr },
        { { file }, dir.filePath(QStringLiteral("missing")), "missing" },
        { { file, pipe, file }, folder.path(), "pipe.png" },
        { QStringList(40, file) << pipe, folder.path(), "pipe.png" },
    };
    for (const auto& row : rows) {
        QString error;
        EXPECT_EQ(platform::syncFilesToDisk(row.files, row.folder, &error), row.failed == nullptr)
            << row.files.size() << " files";
        EXPECT_TRUE(row.failed ? error.contains(QLatin1String(row.failed)) : error.isEmpty()) << error.toStdString();
    }
}
