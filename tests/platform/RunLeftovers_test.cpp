// What killed runs leave behind is removed by the next run; what a live run holds, and anything that is not
// ours, stays.
#include "platform/RunLeftovers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

TEST(RunLeftovers, OnlyLeftoversOfProcessesNoLongerRunningAreRemoved)
{
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    const QString pid = QString::number(qint64(::getpid()));
    const QString gone = QStringLiteral("999999999"); // beyond any process number the system gives
    const time_t longAgo = 946684800; // the year 2000: before this process started
    struct Case {
        QString name;
        bool folder;
        bool old; // last written before this process started, so not this process's own
        bool removed;
    };
    const Case cases[] = {
        { QStringLiteral(".Card_1.png.%1-0.part").arg(gone), false, false, true },
        { QStringLiteral(".Card_2.png.%1-3.part").arg(pid), false, false, false },
        { QStringLiteral(".Card_3.png.%1-4.part").arg(pid), false, true, true },
        { QStringLiteral(".Card_4.png.%1.part").arg(gone), false, false, false },
        { QStringLiteral("Card_5.png.%1-0.part").arg(gone), false, false, false },
        { QStringLiteral("tessaline-sheet-%1-abcDEF").arg(gone), true, false, true },
        { QStringLiteral("tessaline-sheet-%1-abcDEF").arg(pid), true, false, false },
        { QStringLiteral("tessaline-sheet-%1-abcXYZ").arg(pid), true, true, true },
        { QStringLiteral("tessaline-sheet-notes"), true, false, false },
        { QStringLiteral("tessaline-mail-%1-abcDEF").arg(gone), true, false, false },
    };
    for (const Case& c : cases) {
        const QString path = base.filePath(c.name);
        QFile file(c.folder ? path + QStringLiteral("/inside.png") : path);
        ASSERT_TRUE(!c.folder || QDir().mkdir(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("half a picture");
        file.close();
        if (c.old) {
            const timespec times[2] = { { longAgo, 0 }, { longAgo, 0 } };
            ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
        }
    }
    // A link of the leftovers' name is never followed nor taken.
    const QString link = base.filePath(QStringLiteral(".Card_6.png.%1-0.part").arg(gone));
    ASSERT_TRUE(QFile::link(base.filePath(QStringLiteral("Card_5.png.%1-0.part").arg(gone)), link));

    EXPECT_EQ(platform::removeLeftoverPartFiles(base.path()), 2);
    EXPECT_EQ(platform::removeLeftoverRunFolders(QStringLiteral("tessaline-sheet"), base.path()), 2);
    for (const Case& c : cases)
        EXPECT_EQ(QFileInfo::exists(base.filePath(c.name)), !c.removed) << c.name.toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(platform::runFolderTemplate(QStringLiteral("tessaline-mail"))
                    .endsWith(QStringLiteral("/tessaline-mail-%1-XXXXXX").arg(pid)));
}
