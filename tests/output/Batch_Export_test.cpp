#include "BatchTestSupport.h"

#include "common/Globals.h"
#include "output/Batch_Export.h"
#include "platform/QuickFileReplace.h"
#include "platform/RunLeftovers.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <sys/stat.h>
#include <unistd.h>

using namespace batchtest;

namespace {

std::shared_ptr<const Batch_Snapshot> namesSnapshot(int records, bool twoSided)
{
    Record_Source source;
    source.useSeries = true;
    QStringList names;
    for (int i = 0; i < records; ++i)
        names << QStringLiteral("Name %1").arg(i + 1);
    source.series.insert(QStringLiteral("names"), names);
    Batch_Snapshot::Side front { { boundText(1, QStringLiteral("names"), 0, QRectF(10, 10, 200, 30)) },
        creditCardSide(0) };
    Batch_Snapshot::Side back { { boundText(1, QStringLiteral("names"), 0, QRectF(10, 60, 200, 30)) },
        creditCardSide(1) };
    back.rendering.property.setCard_fill_clr(QColor(Qt::yellow));
    return Batch_Snapshot::take(front, back, twoSided, source, Barcode_Gen());
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

TEST(BatchExport, FileNamesPerSideChoice)
{
    const struct {
        const char* side;
        bool combined;
        QStringList files;
        int runs = 0; // made before into the same folder
    } cases[] = {
        { "F", false, { "Card_1.png", "Card_2.png", "Card_3.png" } },
        { "B", false, { "Card_1_Back.png", "Card_2_Back.png", "Card_3_Back.png" } },
        { "BOTH", false,
            { "Card_1.png", "Card_1_Back.png", "Card_2.png", "Card_2_Back.png", "Card_3.png", "Card_3_Back.png" } },
        { "BOTH", true, { "Card_1.png", "Card_2.png", "Card_3.png" } },
        { "BOTH", true, { "Card_1.png", "Card_2.png", "Card_3.png" }, 1 },
    };
    std::atomic<int> writes { 0 }; // each file into a temporary file of its own, named or not
    platform::setTemporaryFileObserver([&writes](const QString&, int) { ++writes; });
    for (const auto& c : cases) {
        const QString folder = testsupport::makeTempFolder(QStringLiteral("names-%1-%2").arg(c.side).arg(c.combined));
        std::atomic<bool> stop { false };
        Batch_Export exporter(stop);
        Batch_Export_Job job { namesSnapshot(3, true), folder, QStringLiteral("png"), QString::fromLatin1(c.side),
            c.combined, 72, 2 };
        for (int run = 0; run < c.runs; ++run)
            exporter.run(job);
        writes = 0;
        const Batch_Export_Result result = exporter.run(job);
        EXPECT_TRUE(result.succeeded()) << result.failure.toStdString();
        EXPECT_EQ(result.written, 3);
        EXPECT_EQ(writes.load(), c.files.size() + 1) << c.side << ": each file written once, then their list";
        QStringList expected = c.files;
        expected.sort();
        EXPECT_EQ(filesIn(folder), expected) << c.side;
    }
    platform::setTemporaryFileObserver({});
}

TEST(BatchExport, EveryPictureHasTheCardsSizeAndCombinedIsTwiceAsHigh)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("sizes"));
    std::atomic<bool> stop { false };
    Batch_Export exporter(stop);
    ASSERT_TRUE(
        exporter.run({ namesSnapshot(4, true), folder, QStringLiteral("png"), QStringLiteral("BOTH"), true, 300, 0 })
            .succeeded());
    const QSize card(qRound(243 * 300 / 72.0), qRound(153 * 300 / 72.0));
    for (int i = 1; i <= 4; ++i) {
        const QImage image(QDir(folder).filePath(QStringLiteral("Card_%1.png").arg(i)));
        ASSERT_FALSE(image.isNull()) << i;
        EXPECT_EQ(image.size(), QSize(card.width(), card.height() * 2));
        EXPECT_FALSE(image.hasAlphaChannel()) << "the card covers its picture to the last pixel, so no alpha is kept";
        // Front (white) above, back (yellow) below.
        EXPECT_EQ(image.pixelColor(5, card.height() / 2 + 150).rgb(), QColor(Qt::white).rgb());
        EXPECT_EQ(image.pixelColor(5, card.height() + card.height() / 2 + 150).rgb(), QColor(Qt::yellow).rgb());
    }
}

TEST(BatchExport, RecordsAreWrittenUnderTheirOwnNames)
{
    // Different records give different pictures, and the same record the same picture whatever the thread.
    const QString many = testsupport::makeTempFolder(QStringLiteral("many-threads"));
    const QString one = testsupport::makeTempFolder(QStringLiteral("one-thread"));
    std::atomic<bool> stop { false };
    Batch_Export exporter(stop);
    const auto snapshot = namesSnapshot(12, false);
    ASSERT_TRUE(exporter.run({ snapshot, many, QStringLiteral("png"), QStringLiteral("F"), false, 72, 4 }).succeeded());
    ASSERT_TRUE(exporter.run({ snapshot, one, QStringLiteral("png"), QStringLiteral("F"), false, 72, 1 }).succeeded());
    for (int i = 1; i <= 12; ++i) {
        const QString name = QStringLiteral("Card_%1.png").arg(i);
        EXPECT_EQ(QImage(QDir(many).filePath(name)), QImage(QDir(one).filePath(name))) << i;
    }
    EXPECT_NE(QImage(QDir(one).filePath(QStringLiteral("Card_1.png"))),
        QImage(QDir(one).filePath(QStringLiteral("Card_2.png"))));
}

TEST(BatchExport, StopEndsTheRunWithinARecordPerWorker)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("stopped"));
    std::atomic<bool> stop { false };
    Batch_Export exporter(stop);
    Batch_Export_Result result;
    std::thread runner([&] {
        result = exporter.run(
            { namesSnapshot(400, false), folder, QStringLiteral("png"), QStringLiteral("F"), false, 150, 2 });
    });
    while (exporter.started() < 3)
        std::this_thread::yield();
    stop = true;
    const int startedAtStop = exporter.started();
    runner.join();
    EXPECT_TRUE(result.stopped);
    EXPECT_TRUE(result.succeeded());
    EXPECT_LE(exporter.started(), startedAtStop + 2);
    EXPECT_LT(result.written, 400);
    EXPECT_EQ(filesIn(folder).size(), qsizetype(result.written));
}

TEST(BatchExport, FailedWriteMidwayIsReportedAndEarlierFilesStay)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("read-only"));
    std::atomic<bool> stop { false };
    Batch_Export exporter(stop);
    const auto snapshot = namesSnapshot(6, false);
    ASSERT_TRUE(
        exporter.run({ snapshot, folder, QStringLiteral("png"), QStringLiteral("F"), false, 72, 1 }).succeeded());
    const QByteArray firstBefore = [&] {
        QFile file(QDir(folder).filePath(QStringLiteral("Card_1.png")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    // Card_4 cannot be replaced: a folder stands in its place.
    QFile::remove(QDir(folder).filePath(QStringLiteral("Card_4.png")));
    ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("Card_4.png")));
    const Batch_Export_Result result
        = exporter.run({ snapshot, folder, QStringLiteral("png"), QStringLiteral("F"), false, 72, 1 });
    EXPECT_FALSE(result.succeeded());
    EXPECT_TRUE(result.failure.contains(QStringLiteral("Card_4.png"))) << result.failure.toStdString();
    EXPECT_EQ(result.written, 3);
    QFile first(QDir(folder).filePath(QStringLiteral("Card_1.png")));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.readAll(), firstBefore);

    if (::geteuid() == 0)
        return; // permissions do not hold for root: the folder in the file's place above stands for them
    // A folder nobody may write into: nothing is claimed written.
    const QString locked = testsupport::makeTempFolder(QStringLiteral("locked"));
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0555), 0);
    const Batch_Export_Result denied
        = exporter.run({ snapshot, locked, QStringLiteral("png"), QStringLiteral("F"), false, 72, 3 });
    ::chmod(QFile::encodeName(locked).constData(), 0755);
    EXPECT_FALSE(denied.succeeded());
    EXPECT_EQ(denied.written, 0);
    EXPECT_TRUE(filesIn(locked).isEmpty());
}

TEST(BatchExport, FolderIsMadeWithTheUsersDefaultPermissions)
{
    const mode_t mask = ::umask(022);
    const QString folder = QDir(testsupport::makeTempFolder(QStringLiteral("made"))).filePath(Batch_Export_Folder_Name);
    ASSERT_TRUE(Batch_Export::makeFolder(folder));
    ASSERT_TRUE(Batch_Export::makeFolder(folder)) << "an existing folder is fine";
    ::umask(mask);
    struct stat info { };
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0755u);
}

TEST(BatchExport, CombinedPictureOfAnInvalidSideIsNone)
{
    QImage front(10, 20, QImage::Format_ARGB32);
    front.fill(Qt::red);
    EXPECT_TRUE(Combined_Card_Image(front, QImage()).isNull());
    QImage back(10, 20, QImage::Format_ARGB32);
    back.fill(Qt::blue);
    const QImage both = Combined_Card_Image(front, back);
    ASSERT_EQ(both.size(), QSize(10, 40));
    EXPECT_EQ(both.pixelColor(5, 5).rgb(), QColor(Qt::red).rgb());
    EXPECT_EQ(both.pixelColor(5, 35).rgb(), QColor(Qt::blue).rgb());
}

TEST(BatchExport, TheRunFlushesTheFilesItWroteAndTheirFolderAndClearsKilledRunsLeftovers)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("flushed"));
    {
        QFile other(QDir(folder).filePath(QStringLiteral("someone else's.txt")));
        ASSERT_TRUE(other.open(QIODevice::WriteOnly));
        other.write("not the run's");
        QFile leftover(
            QDir(folder).filePath(QStringLiteral(".Card_7.png.tessaline-999999999-0.part"))); // of a killed run
        ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    }
    QStringList flushed;
    platform::setSyncObserver([&flushed](const QString& path) { flushed << QFileInfo(path).fileName(); });
    std::atomic<bool> stop { false };
    Batch_Export exporter(stop);
    const Batch_Export_Result result
        = exporter.run({ namesSnapshot(3, true), folder, QStringLiteral("png"), QStringLiteral("BOTH"), false, 72, 2 });
    platform::setSyncObserver(nullptr);
    EXPECT_TRUE(result.succeeded()) << result.failure.toStdString();
    EXPECT_FALSE(QFileInfo::exists(QDir(folder).filePath(QStringLiteral(".Card_7.png.tessaline-999999999-0.part"))));
    flushed.sort();
    EXPECT_EQ(flushed,
        QStringList({ "Card_1.png", "Card_1_Back.png", "Card_2.png", "Card_2_Back.png", "Card_3.png", "Card_3_Back.png",
            QFileInfo(folder).fileName() }));
}
