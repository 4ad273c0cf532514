// Every look, write and removal through a folder held open stays in that folder, even after it was renamed and a
// link to another folder put at its path; a link at a name inside it is replaced or refused, never followed.
#include "platform/CheckedSave.h"
#include "platform/FileFlusher.h"
#include "platform/OpenFolder.h"
#include "platform/QuickFileReplace.h"
#include "platform/RegularFile.h"
#include "platform/RunLeftovers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

namespace {

// Each file of the folder (links too) and what it holds; a link as "-> " and where it leads.
QStringList filesIn(const QString& folder)
{
    QStringList files;
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
        QFile read(file.filePath());
        files << file.fileName() + QStringLiteral(": ")
                + (file.isSymLink() ? QStringLiteral("-> ") + file.symLinkTarget()
                                    : QString::fromUtf8(read.open(QIODevice::ReadOnly) ? read.readAll() : "?"));
    }
    return files;
}

} // namespace

TEST(OpenFolder, EveryWriteLookAndRemovalStaysInTheFolderOpenedAfterItIsSwappedForALink)
{
    QTemporaryDir base;
    QDir root(base.path());
    ASSERT_TRUE(root.mkdir(QStringLiteral("folder")) && root.mkdir(QStringLiteral("elsewhere")));
    const auto put = [&root](const char* path, const QByteArray& bytes) {
        QFile file(root.filePath(QLatin1String(path)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << path;
    };
    // A dead writer's temporary in each; the files the writes below would reach through the link.
    put("folder/.card.png.tessaline-999999999-0.part", "killed");
    put("elsewhere/.card.png.tessaline-999999999-0.part", "killed");
    for (const char* name : { "elsewhere/card.png", "elsewhere/notes.txt", "elsewhere/theirs.txt" })
        put(name, "theirs");
    const QString outside = root.filePath(QStringLiteral("elsewhere/theirs.txt"));
    ASSERT_TRUE(QFile::link(outside, root.filePath(QStringLiteral("folder/link.txt"))));

    const std::shared_ptr<const platform::OpenFolder> opened
        = platform::OpenFolder::open(root.filePath(QStringLiteral("folder")));
    ASSERT_TRUE(opened);
    ASSERT_TRUE(root.rename(QStringLiteral("folder"), QStringLiteral("moved")));
    ASSERT_TRUE(QFile::link(root.filePath(QStringLiteral("elsewhere")), root.filePath(QStringLiteral("folder"))));
    EXPECT_FALSE(platform::OpenFolder::open(root.filePath(QStringLiteral("folder")))) << "a link is never opened";

    const auto ours = [](QIODevice& device) { return platform::writeAll(device, "ours"); };
    platform::FileIdentity written;
    const struct {
        const char* what;
        std::function<bool()> act;
    } rows[] = {
        { "a dead writer's temporary cleared",
            [&] { return platform::removeLeftoverPartFiles(opened->handle()) == 1; } },
        { "a file replaced without waiting for the disk",
            [&] {
                return platform::replaceFileUnsynced(
                    opened->place(QStringLiteral("card.png")), "ours", nullptr, &written);
            } },
        { "a file replaced through the checked save",
            [&] { return platform::saveFileAtomically(opened->place(QStringLiteral("notes.txt")), ours); } },
        { "a link never read",
            [&] { return !platform::readRegularFileAt(opened->place(QStringLiteral("link.txt")), 99); } },
        { "a link replaced, never written through",
            [&] { return platform::saveFileAtomically(opened->place(QStringLiteral("link.txt")), ours); } },
        { "the files and the folder flushed",
            [&] {
                platform::FileFlusher flusher(2, opened->handle());
                flusher.add(QStringLiteral("card.png"));
                flusher.add(QStringLiteral("notes.txt"));
                return flusher.finish(opened->path());
            } },
    };
    for (const auto& row : rows)
        EXPECT_TRUE(row.act()) << row.what;

    EXPECT_EQ(filesIn(root.filePath(QStringLiteral("moved"))),
        QStringList({ "card.png: ours", "link.txt: ours", "notes.txt: ours" }));
    EXPECT_EQ(filesIn(root.filePath(QStringLiteral("elsewhere"))),
        QStringList({ ".card.png.tessaline-999999999-0.part: killed", "card.png: theirs", "notes.txt: theirs",
            "theirs.txt: theirs" }));
    struct stat card { };
    ASSERT_EQ(::lstat(QFile::encodeName(root.filePath(QStringLiteral("moved/card.png"))).constData(), &card), 0);
    EXPECT_EQ(written, platform::FileIdentity::of(card)) << "what shows the file written is the file's own";
}
