// What killed writers and runs leave behind is removed; what a live one holds, and anything that is not
// provably ours, stays byte for byte.
#include "platform/RunLeftovers.h"

#include "platform/CheckedSave.h"
#include "platform/QuickFileReplace.h"

#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

enum class Holder { Nobody, Killed, Live, Link, KilledAtExit, KilledTwice };

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// What a copy of the program killed at exit, after the first removal in its scratch folder, leaves: moved to `path`;
// then, when `clearingKilled`, what a later start's clean-up killed after its first removal leaves of it.
bool leaveFolderKilledAtExit(const QString& base, const QString& path, bool clearingKilled)
{
    const pid_t child = ::fork();
    if (child == 0) {
        qputenv("TMPDIR", QFile::encodeName(base));
        {
            const platform::RunFolder folder(QStringLiteral("tessaline-sheet"));
            for (const char* part : { "sharedStrings.xml", "sheet1.xml" })
                if (!platform::replaceFileUnsynced(folder.filePath(QLatin1String(part)), "<t>Ada</t>"))
                    ::_exit(1);
            platform::setRunFolderRemovalObserver([](const QString&) { ::raise(SIGKILL); });
        } // the folder ends here, as at exit
        ::_exit(0);
    }
    int status = 0;
    const QStringList left = child > 0 && ::waitpid(child, &status, 0) == child && WIFSIGNALED(status)
        ? QDir(base).entryList({ QStringLiteral("tessaline-sheet-%1-*").arg(child) }, QDir::Dirs)
        : QStringList();
    if (left.size() != 1 || !QDir(base).rename(left.first(), path))
        return false;
    if (!clearingKilled)
        return true;
    const pid_t clearing = ::fork();
    if (clearing == 0) {
        platform::setRunFolderRemovalObserver([](const QString&) { ::raise(SIGKILL); });
        platform::removeLeftoverRunFolders(QStringLiteral("tessaline-sheet"), base);
        ::_exit(0);
    }
    return clearing > 0 && ::waitpid(clearing, &status, 0) == clearing && WIFSIGNALED(status);
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
        { QStringLiteral("tessaline-sheet-4247-abcDEF/"), Holder::KilledTwice, true }, // and then its clean-up
        { QStringLiteral("tessaline-sheet-4246-abcDEF/"), Holder::KilledAtExit, true }, // its lock goes last
        { QStringLiteral("tessaline-sheet-123-abcdef/.tessaline.lock"), Holder::Nobody, false }, // a person's: no mark
        // A start killed before its lock had its name; unmarked, such a file is not provably ours.
        { QStringLiteral("tessaline-sheet-4244-abcDEF/.tessaline.lock.new"), Holder::Killed, true },
        { QStringLiteral("tessaline-sheet-4245-abcDEF/.tessaline.lock.new"), Holder::Nobody, false },
        { QStringLiteral("tessaline-sheet-notes/"), Holder::Killed, false },
        { QStringLiteral("tessaline-mail-4242-abcDEF/"), Holder::Killed, false }, // another kind
        // Links of our names, to a folder of the user's files and to a file of theirs, are never followed nor taken.
        { QStringLiteral("tessaline-sheet-4242-linkED"), Holder::Link, false },
        { QStringLiteral(".photo.jpg.tessaline-1-0.part"), Holder::Link, false },
    };
    ASSERT_TRUE(QFile(user + QStringLiteral("/photo.jpg")).open(QIODevice::WriteOnly));
    QStringList held[3]; // by holder
    for (const Case& c : cases) {
        const QString path = base.filePath(c.name);
        if (!c.name.endsWith(QLatin1Char('/')))
            QDir().mkpath(QFileInfo(path).path());
        if (c.holder == Holder::KilledAtExit || c.holder == Holder::KilledTwice)
            ASSERT_TRUE(leaveFolderKilledAtExit(base.path(), c.name.chopped(1), c.holder == Holder::KilledTwice));
        else if (c.holder == Holder::Link)
            ASSERT_TRUE(
                QFile::link(c.name.startsWith(QLatin1Char('.')) ? user + QStringLiteral("/photo.jpg") : user, path));
        else if (c.holder != Holder::Nobody)
            held[int(c.holder)] << path;
        else
            ASSERT_TRUE(
                c.name.endsWith(QLatin1Char('/')) ? QDir().mkdir(path) : QFile(path).open(QIODevice::WriteOnly));
    }
    const QByteArray& mark = platform::OwnLock::lockMark();
    testsupport::LockingProcess gone(held[int(Holder::Killed)], mark);
    const testsupport::LockingProcess running(held[int(Holder::Live)], mark);
    ASSERT_TRUE(gone.started() && running.started());
    gone.kill();

    EXPECT_EQ(platform::removeLeftoverPartFiles(base.path(), QStringLiteral("Card_9.png")), 0); // only that file's
    EXPECT_EQ(platform::removeLeftoverPartFiles(base.path(), QStringLiteral("Card_1.png")), 1);
    EXPECT_EQ(platform::removeLeftoverPartFiles(base.path()), 1);
    EXPECT_EQ(platform::removeLeftoverRunFolders(QStringLiteral("tessaline-sheet"), base.path()), 4);
    for (const Case& c : cases) // a removed folder goes whole; links are followed
        EXPECT_EQ(QFileInfo::exists(base.filePath(c.removed ? c.name.section(u'/', 0, 0) : c.name)), !c.removed)
            << c.name.toStdString();
}

TEST(RunLeftovers, ARunFolderIsLockedWhileItLivesAndGoesWithIt)
{
    // TMPDIR, the system's temporary folder, as a machine where a copy of the program was once killed leaves it,
    // neither the machine's nor touching it; put back as it was.
    const QTemporaryDir temporary;
    const auto restore = qScopeGuard([set = qEnvironmentVariableIsSet("TMPDIR"), was = qgetenv("TMPDIR")] {
        set ? qputenv("TMPDIR", was) : qunsetenv("TMPDIR");
    });
    qputenv("TMPDIR", QFile::encodeName(temporary.path()));
    testsupport::LockingProcess killed(
        { temporary.path() + QStringLiteral("/tessaline-sheet-1-abcDEF/") }, platform::OwnLock::lockMark());
    ASSERT_TRUE(killed.started());
    killed.kill();
    QString path;
    {
        const platform::RunFolder folder(QStringLiteral("tessaline-sheet"));
        ASSERT_TRUE(folder.isValid()) << folder.errorString().toStdString();
        path = folder.path();
        EXPECT_EQ(QFileInfo(path).path(), temporary.path());
        EXPECT_TRUE(QFileInfo(path).fileName().startsWith(
            QStringLiteral("tessaline-sheet-%1-").arg(QCoreApplication::applicationPid())));
        EXPECT_EQ(contents(path + QStringLiteral("/.tessaline.lock")), platform::OwnLock::lockMark());
        EXPECT_EQ(platform::removeLeftoverRunFolders(QStringLiteral("tessaline-sheet")), 1); // the killed one's only
        EXPECT_TRUE(QFileInfo(path).isDir());
    }
    EXPECT_FALSE(QFileInfo::exists(path));
    // Another copy's clean-up running the moment the new folder's lock file appears, not yet locked.
    platform::OwnLock::setCreatedUnlockedObserver(
        [](const QString&) { platform::removeLeftoverRunFolders(QStringLiteral("tessaline-sheet")); });
    const platform::RunFolder made(QStringLiteral("tessaline-sheet"));
    platform::OwnLock::setCreatedUnlockedObserver({});
    EXPECT_TRUE(made.isValid() && QFileInfo(made.path()).isDir()) << made.errorString().toStdString();
}

TEST(OwnLock, ALockFileIsTakenWhenFreeOrStaleAndNeverWhenHeldOrNotOurs)
{
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    using Outcome = platform::OwnLock::Outcome;
    const auto lock = [&](char name) { return base.filePath(QStringLiteral(".%1.dcard.tessaline.lock").arg(name)); };
    const QByteArray& mark = platform::OwnLock::lockMark();
    testsupport::LockingProcess killed({ lock('b') }, mark);
    const testsupport::LockingProcess running({ lock('c') }, mark);
    ASSERT_TRUE(killed.started() && running.started());
    killed.kill();
    ASSERT_TRUE(QFile::link(base.filePath(QStringLiteral("elsewhere")), lock('d')));
    ASSERT_TRUE(platform::replaceFileUnsynced(lock('e'), "mine"));
    const std::tuple<char, Outcome, QByteArray> cases[] = { { 'a', Outcome::Taken, mark },
        { 'b', Outcome::Taken, mark }, { 'c', Outcome::HeldElsewhere, mark }, { 'd', Outcome::NotOurs, "<missing>" },
        { 'e', Outcome::NotOurs, "mine" } }; // the person's own file that happens to have a lock's name
    for (const auto& [name, outcome, left] : cases) {
        platform::OwnLock first;
        platform::OwnLock second; // in this very process: refused while the first holds it, as another copy would be
        EXPECT_EQ(platform::OwnLock::createOrTake(lock(name), &first), outcome) << name;
        EXPECT_EQ(first.isHeld(), outcome == Outcome::Taken);
        EXPECT_EQ(
            platform::OwnLock::createOrTake(lock(name), &second), first.isHeld() ? Outcome::HeldElsewhere : outcome);
        EXPECT_EQ(contents(lock(name)), left) << name;
    }
    EXPECT_FALSE(QFileInfo::exists(base.filePath(QStringLiteral("elsewhere"))));
    EXPECT_EQ(QDir(base.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".part")), QStringList());
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
        const QString name = QStringLiteral("^\\.Guests\\.txt\\.tessaline-%1-\\d+\\.part$");
        EXPECT_TRUE(QRegularExpression(name.arg(QCoreApplication::applicationPid())).match(temporary).hasMatch());
        EXPECT_EQ(platform::removeLeftoverPartFiles(base.path()), 0); // the writer holds its lock
        if (commit)
            EXPECT_TRUE(save.commit());
        else
            save.cancel();
        EXPECT_EQ(QDir(base.path()).entryList(QDir::Files | QDir::Hidden),
            commit ? QStringList { QStringLiteral("Guests.txt") } : QStringList());
        ASSERT_TRUE(commit || QFile(path).open(QIODevice::WriteOnly)); // the file replaced on the next round
    }
    EXPECT_EQ(contents(path), QByteArray("Ann\n"));
}
