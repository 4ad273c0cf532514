#include "platform/QuickFileReplace.h"
#include "platform/RunLeftovers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <QFileInfo>
#include <QScopeGuard>

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

} // namespace

TEST(QuickFileReplace, NewAndExistingFilesGetTheBytesAndNoTemporaryIsLeft)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("pic 1.png"));
    const QByteArray first(70000, 'x');
    const QByteArray second("short");
    QString error;
    ASSERT_TRUE(platform::replaceFileUnsynced(path, first, &error)) << error.toStdString();
    EXPECT_EQ(contents(path), first);
    ASSERT_TRUE(platform::replaceFileUnsynced(path, second, &error)) << error.toStdString();
    EXPECT_EQ(contents(path), second);
    ASSERT_TRUE(platform::replaceFileUnsynced(path, QByteArray(), &error)) << error.toStdString();
    EXPECT_EQ(QFile(path).size(), 0);
    EXPECT_EQ(everyFile(folder.path()), QStringList { QStringLiteral("pic 1.png") });
}

TEST(QuickFileReplace, AnExistingFileKeepsItsPermissions)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("kept.png"));
    ASSERT_TRUE(platform::replaceFileUnsynced(path, "one"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(platform::replaceFileUnsynced(path, "two"));
    struct stat info { };
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(contents(path), QByteArray("two"));
}

// A new file is written unnamed and linked in whole (its folder never shows a temporary name), with a new file's mode.
TEST(QuickFileReplace, ANewFileIsWrittenWithoutANameAndAppearsWhole)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("new.png"));
    QList<qint64> names; // of each temporary file as it is made
    struct stat info { };
    platform::setTemporaryFileObserver([&](const QString&, int handle) {
        ::fstat(handle, &info);
        names.push_back(qint64(info.st_nlink) + everyFile(folder.path()).size());
    });
    const auto restore = qScopeGuard([kept = ::umask(027)] {
        platform::setTemporaryFileObserver({});
        ::umask(kept);
    });
    ASSERT_TRUE(platform::replaceFileUnsynced(path, QByteArray(70000, 'n')));
    EXPECT_EQ(names, QList<qint64> { 0 });
    EXPECT_EQ(contents(path), QByteArray(70000, 'n'));
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(QuickFileReplace, FailuresSaySoAndLeaveTheNameAsItWas)
{
    QTemporaryDir folder;
    struct Case {
        QString path;
        const char* what;
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
