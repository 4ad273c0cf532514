// Paths that are not regular files of a bounded size are refused by name, and never block the reader.
#include "platform/RegularFile.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

TEST(RegularFile, OnlyRegularFilesWithinTheirBoundAreOpenedAndNothingBlocks)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString plain = folder.filePath(QStringLiteral("plain.txt"));
    const QString fifo = folder.filePath(QStringLiteral("pipe"));
    const QString fifoLink = folder.filePath(QStringLiteral("pipe link.png"));
    const QString zeroLink = folder.filePath(QStringLiteral("zero.txt"));
    const QString fileLink = folder.filePath(QStringLiteral("plain link.txt"));
    {
        QFile file(plain);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("0123456789");
    }
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(fifo, fifoLink));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zeroLink));
    ASSERT_TRUE(QFile::link(plain, fileLink));

    struct Case {
        QString path;
        qint64 bound;
        const char* refusal; // empty when the file is read
    };
    const Case cases[] = {
        { plain, 10, "" },
        { plain, qint64(64) << 20, "" }, // a bound far above the file
        { fileLink, 100, "" },
        { plain, 9, "is larger than" },
        { fifo, 100, "is not a regular file" },
        { fifoLink, 100, "is not a regular file" },
        { zeroLink, 100, "is not a regular file" },
        { QStringLiteral("/dev/null"), 100, "is not a regular file" },
        { folder.path(), 1 << 20, "is not a regular file" },
        { folder.filePath(QStringLiteral("missing")), 100, "No such file" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        QString checked;
        QString opened;
        QString read;
        QFile file;
        const bool fits = platform::isRegularFileWithin(c.path, c.bound, &checked);
        const bool open = platform::openRegularFile(file, c.path, c.bound, &opened);
        const auto bytes = platform::readRegularFile(c.path, c.bound, &read);
        const bool accepted = *c.refusal == '\0';
        EXPECT_EQ(fits, accepted);
        EXPECT_EQ(open, accepted);
        EXPECT_EQ(bytes.has_value(), accepted);
        if (accepted) {
            EXPECT_EQ(file.readAll(), QByteArray("0123456789"));
            EXPECT_EQ(*bytes, QByteArray("0123456789"));
            EXPECT_LT(bytes->capacity(), 64) << "what the file holds is taken, never its bound";
            continue;
        }
        for (const QString& message : { checked, opened, read }) {
            EXPECT_TRUE(message.contains(c.path)) << message.toStdString();
            EXPECT_TRUE(message.contains(QLatin1String(c.refusal))) << message.toStdString();
        }
    }
    // A picture read through a link to a FIFO returns at once, with no picture and the reason.
    QString reason;
    EXPECT_TRUE(platform::readPictureFile(fifoLink, &reason).isNull());
    EXPECT_TRUE(reason.contains(QLatin1String("is not a regular file")));
    QImage red(3, 2, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString png = folder.filePath(QStringLiteral("red"));
    ASSERT_TRUE(red.save(png, "PNG"));
    EXPECT_EQ(platform::readPictureFile(png).pixel(2, 1), QColor(Qt::red).rgb());
}
