// What killed writers and runs leave behind is removed; what a live one holds, and anything that is not
// provably ours, stays byte for byte.
#include "platform/RunLeftovers.h"

#include "platform/CheckedSave.h"

#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

enum class Holder { Nobody, Killed, Live };

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(RunLeftovers, OnlyEntriesOfOurNameWhoseLockNobodyHoldsAreRemoved)
{
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    const QString user = base.filePath(QStringLiteral("user-folder"));
    ASSERT_TRUE(QDir().mkdir(user));
    struct Case {
        QString name; // a name ending in "/" is a folder
        Holder holder;
        bool removed;
    };
    const Case cases[] = {
        { QStringLiteral(".Card_1.png.tessaline-4242-0.part"), Holder::Killed, true },
        { QStringLiteral(".Card_2.png.tessaline-4242-1.part"), Holder::Live, false },
        { QStringLiteral(".Card_3.png.tessaline-4242-2.part"), Holder::Nobody, true }, // killed before its lock
        { QStringLiteral(".Card_4.png.4242-0.part"), Holder::Killed, false }, // no name of ours
        { QStringLiteral(".holiday.jpg.123-1.part"), Holder::Nobody, false },
        { QStringLiteral("Card_5.png.tessaline-4242-0.part"), Holder::Killed, false },
        { QStringLiteral("party.dcard.HJvJDi"), Holder::Nobody, false },
        { QStringLiteral(".Card_6.png.tessaline-4242-0.part/"), Holder::Killed, false }, // a folder, not a file
        { QStringLiteral("tessaline-sheet-4242-abcDEF/"), Holder::Killed, true },
        { QStringLiteral("tessaline-sheet-4242-abcXYZ/"), Holder::Live, false },
        { QStringLiteral("tessaline-sheet-4243-abcDEF/"), Holder::Nobody, false }, // no lock file: being made
        { QStringLiteral("tessaline-sheet-notes/"), Holder::Killed, false },
        { QStringLiteral("tessaline-mail-4242-abcDEF/"), Holder::Killed, false }, // another kind
    };
    QStringList killed;
    QStringList live;
    for (const Case& c : cases) {
        const QString path = base.filePath(c.name);
        if (c.holder == Holder::Killed)
            killed << path;
        else if (c.holder == Holder::Live)
            live << path;
        else if (c.name.endsWith(QLatin1Char('/')))
            ASSERT_TRUE(QDir().mkdir(path));
        else
            ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly));
    }
    testsupport::LockingProcess gone(killed);
    const testsupport::LockingProcess running(live);
    ASSERT_TRUE(gone.started() && running.started());
    gone.kill();
    // Links of our names, to a folder of the user's files and to a file of theirs, are never followed nor taken.
    QFile(user + QStringLiteral("/photo.jpg")).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(user, base.filePath(QStringLiteral("tessaline-sheet-4242-linkED"))));
    ASSERT_TRUE(QFile::link(
        user + QStringLiteral("/photo.jpg"), base.filePath(QStringLiteral(".photo.jpg.tessaline-1-0.part"))));

    EXPECT_EQ(platform::removeLeftoverPartFiles(base.path(), QStringLiteral("Card_9.png")), 0); // only that file's
    EXPECT_EQ(platform::removeLeftoverPartFiles(base.path(), QStringLiteral("Card_1.png")), 1);
    EXPECT_EQ(platform::removeLeftoverPartFiles(base.path()), 1);
    EXPECT_EQ(platform::removeLeftoverRunFolders(QStringLiteral("tessaline-sheet"), base.path()), 1);
    for (const Case& c : cases)
        EXPECT_EQ(QFileInfo::exists(base.filePath(c.name)), !c.removed) << c.name.toStdString();
    EXPECT_TRUE(QFileInfo::exists(user + QStringLiteral("/photo.jpg")));
    EXPECT_TRUE(QFileInfo(base.filePath(QStringLiteral("tessaline-sheet-4242-linkED"))).isSymLink());
    EXPECT_TRUE(QFileInfo(base.filePath(QStringLiteral(".photo.jpg.tessaline-1-0.part"))).isSymLink());
}

TEST(RunLeftovers, ARunFolderIsLockedWhileItLivesAndGoesWithIt)
{
    QString path;
    {
        const platform::RunFolder folder(QStringLiteral("tessaline-sheet"));
        ASSERT_TRUE(folder.isValid()) << folder.errorString().toStdString();
        path = folder.path();
        EXPECT_TRUE(QFileInfo(path).fileName().startsWith(
            QStringLiteral("tessaline-sheet-%1-").arg(QCoreApplication::applicationPid())));
        EXPECT_EQ(platform::removeLeftoverRunFolders(QStringLiteral("tessaline-sheet")), 0);
        EXPECT_TRUE(QFileInfo(path).isDir());
    }
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(OwnLock, ALockFileIsTakenWhenFreeOrStaleAndNeverWhenHeldOrNotOurs)
{
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    using Outcome = platform::OwnLock::Outcome;
    const QString fresh = base.filePath(QStringLiteral(".a.dcard.tessaline.lock"));
    const QString stale = base.filePath(QStringLiteral(".b.dcard.tessaline.lock"));
    const QString held = base.filePath(QStringLiteral(".c.dcard.tessaline.lock"));
    const QString link = base.filePath(QStringLiteral(".d.dcard.tessaline.lock"));
    testsupport::LockingProcess killed({ stale });
    const testsupport::LockingProcess running({ held });
    ASSERT_TRUE(killed.started() && running.started());
    killed.kill();
    ASSERT_TRUE(QFile::link(base.filePath(QStringLiteral("elsewhere")), link));
    const struct {
        QString path;
        Outcome outcome;
    } cases[] = { { fresh, Outcome::Taken }, { stale, Outcome::Taken }, { held, Outcome::HeldElsewhere },
        { link, Outcome::NotOurs } };
    for (const auto& c : cases) {
        platform::OwnLock lock;
        EXPECT_EQ(platform::OwnLock::createOrTake(c.path, &lock), c.outcome) << c.path.toStdString();
        EXPECT_EQ(lock.isHeld(), c.outcome == Outcome::Taken);
        // Held by us, a second taker in this very process is refused as another copy would be.
        platform::OwnLock second;
        EXPECT_EQ(platform::OwnLock::createOrTake(c.path, &second), lock.isHeld() ? Outcome::HeldElsewhere : c.outcome);
    }
    EXPECT_FALSE(QFileInfo::exists(base.filePath(QStringLiteral("elsewhere"))));
    EXPECT_EQ(contents(held), QByteArray("half"));
}

TEST(RunLeftovers, ASaveWritesUnderANameOfOursLockedUntilItEnds)
{
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    const QString path = base.filePath(QStringLiteral("Guests.txt"));
    for (const bool commit : { false, true }) {
        platform::CheckedSave save(path);
        ASSERT_TRUE(save.open());
        ASSERT_TRUE(save.write("Ann\n"));
        const QStringList during = QDir(base.path()).entryList(QDir::Files | QDir::Hidden);
        ASSERT_EQ(during.size(), commit ? 2 : 1);
        const QString temporary = during.filter(QStringLiteral(".tessaline-")).value(0);
        EXPECT_TRUE(QRegularExpression(
            QStringLiteral("^\\.Guests\\.txt\\.tessaline-%1-\\d+\\.part$").arg(QCoreApplication::applicationPid()))
                        .match(temporary)
                        .hasMatch())
            << temporary.toStdString();
        EXPECT_FALSE(platform::OwnLock::take(base.filePath(temporary)).has_value()) << "the writer holds it";
        EXPECT_EQ(platform::removeLeftoverPartFiles(base.path()), 0);
        if (commit)
            EXPECT_TRUE(save.commit());
        else
            save.cancel();
        EXPECT_EQ(QDir(base.path()).entryList(QDir::Files | QDir::Hidden),
            commit ? QStringList { QStringLiteral("Guests.txt") } : QStringList());
        if (!commit) {
            ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly)); // the file replaced on the next round
        }
    }
    EXPECT_EQ(contents(path), QByteArray("Ann\n"));
}
