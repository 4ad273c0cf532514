#include "barcode/BarcodePngWriter.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// Bit depth and colour type from the header chunk.
std::pair<int, int> depthAndType(const QByteArray& png)
{
    if (png.size() < 26 || png.mid(12, 4) != "IHDR")
        return { -1, -1 };
    return { static_cast<unsigned char>(png[24]), static_cast<unsigned char>(png[25]) };
}

QImage readBack(const QByteArray& png)
{
    return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_ARGB32);
}

// Every pixel of both pictures, compared as straight (not premultiplied) colours.
int differingPixels(const QImage& a, const QImage& b)
{
    const QImage left = a.convertToFormat(QImage::Format_ARGB32);
    const QImage right = b.convertToFormat(QImage::Format_ARGB32);
    if (left.size() != right.size())
        return -1;
    int count = 0;
    for (int y = 0; y < left.height(); ++y)
        for (int x = 0; x < left.width(); ++x)
            count += left.pixel(x, y) != right.pixel(x, y) ? 1 : 0;
    return count;
}

// Bars of the given colours with a few rows that differ, as a barcode picture has.
QImage bars(const QList<QRgb>& colours, QImage::Format format = QImage::Format_ARGB32_Premultiplied)
{
    QImage image(203, 61, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, colours.at((x / 3 + (y > 50 ? x % 2 : 0)) % colours.size()));
    return image.convertToFormat(format);
}

} // namespace

TEST(BarcodePngWriter, FewColoursGoIntoTheSmallestPaletteAndReadBackExactly)
{
    struct Case {
        QList<QRgb> colours;
        int depth;
    };
    const QList<QRgb> ramp { qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(200, 0, 0), qRgb(0, 90, 0), qRgb(1, 2, 3),
        qRgb(9, 9, 9), qRgb(70, 70, 200), qRgb(255, 0, 255), qRgb(5, 5, 5), qRgb(6, 6, 6), qRgb(7, 7, 7), qRgb(8, 8, 8),
        qRgb(10, 10, 10), qRgb(11, 11, 11), qRgb(12, 12, 12), qRgb(13, 13, 13), qRgb(14, 14, 14) };
    for (const Case& c :
        { Case { { qRgb(0, 0, 0), qRgb(255, 255, 255) }, 1 }, Case { { qRgb(10, 20, 200), qRgb(250, 240, 0) }, 1 },
            Case { ramp.mid(0, 3), 2 }, Case { ramp.mid(0, 4), 2 }, Case { ramp.mid(0, 16), 4 }, Case { ramp, 8 } }) {
        const QImage image = bars(c.colours);
        const QByteArray png = BarcodePngWriter::pngData(image);
        EXPECT_EQ(depthAndType(png), std::make_pair(c.depth, 3)) << c.colours.size();
        EXPECT_EQ(differingPixels(readBack(png), image), 0) << c.colours.size();
    }
}

TEST(BarcodePngWriter, TransparentBackgroundAndManyColoursKeepTheirValues)
{
    // A chosen background with some transparency keeps it through the palette's alpha entries.
    const QImage translucent
        = bars({ qRgba(0, 0, 0, 255), qRgba(255, 255, 255, 0), qRgba(40, 80, 120, 128) }, QImage::Format_ARGB32);
    const QByteArray png = BarcodePngWriter::pngData(translucent);
    EXPECT_EQ(depthAndType(png).second, 3);
    EXPECT_TRUE(png.contains("tRNS"));
    EXPECT_EQ(differingPixels(readBack(png), translucent), 0);

    // More than a palette holds: full colour, every pixel kept.
    QImage rich(300, 40, QImage::Format_RGB32);
    for (int y = 0; y < rich.height(); ++y)
        for (int x = 0; x < rich.width(); ++x)
            rich.setPixel(x, y, qRgb(x % 256, y * 5, (x * y) % 256));
    const QByteArray full = BarcodePngWriter::pngData(rich);
    EXPECT_EQ(depthAndType(full), std::make_pair(8, 2));
    EXPECT_EQ(differingPixels(readBack(full), rich), 0);

    // Other pixel formats are taken as they look.
    const QImage grey = bars({ qRgb(0, 0, 0), qRgb(255, 255, 255) }, QImage::Format_Grayscale8);
    EXPECT_EQ(differingPixels(readBack(BarcodePngWriter::pngData(grey)), grey), 0);
    EXPECT_TRUE(BarcodePngWriter::pngData(QImage()).isEmpty());
}

TEST(BarcodePngWriter, ResolutionIsKeptAndFilesAreWrittenWhole)
{
    QImage image = bars({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
    image.setDotsPerMeterX(23622); // 600 dpi
    image.setDotsPerMeterY(23622);
    const QString folder = testsupport::makeTempFolder(QStringLiteral("png"));
    const QString path = QDir(folder).filePath(QStringLiteral("bars.png"));
    ASSERT_TRUE(BarcodePngWriter::write(image, path));
    const QImage back(path);
    EXPECT_EQ(back.dotsPerMeterX(), 23622);
    EXPECT_EQ(differingPixels(back, image), 0);
    // A 1-bit picture of repeated rows is small: far below one byte a pixel.
    EXPECT_LT(QFile(path).size(), image.width() * image.height() / 40);

    // A folder that does not exist: failure with a reason, nothing written.
    QString error;
    EXPECT_FALSE(BarcodePngWriter::write(image, folder + QStringLiteral("/none/bars.png"), &error));
    EXPECT_FALSE(error.isEmpty());
    QDir(folder).removeRecursively();
}

TEST(BarcodePngWriter, AColourMetLateInARowOfTwoColoursIsKept)
{
    // Two colours in the first rows, then a third at every place in a row a step of four pixels can
    // hide it: its start, the middle of a step, the last step and the pixels after the last step.
    for (const int width : { 4, 7, 9, 61, 64 }) {
        for (int place = 0; place < width; ++place) {
            QImage image(width, 6, QImage::Format_ARGB32_Premultiplied);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < width; ++x)
                    image.setPixel(x, y, (x / 2 + y) % 2 ? qRgb(0, 0, 0) : qRgb(250, 250, 250));
            image.setPixel(place, 4, qRgb(200, 10, 10));
            const QByteArray png = BarcodePngWriter::pngData(image);
            ASSERT_EQ(differingPixels(readBack(png), image), 0) << width << " at " << place;
            EXPECT_EQ(depthAndType(png), std::make_pair(2, 3));
        }
    }
    // Both colours of a two-colour picture read back in place, whichever comes first.
    const QImage swapped = bars({ qRgb(255, 255, 255), qRgb(0, 0, 0) });
    EXPECT_EQ(differingPixels(readBack(BarcodePngWriter::pngData(swapped)), swapped), 0);
}

TEST(BarcodePngWriter, BatchFilesReadBackAsTheOnesWrittenThroughASaveFile)
{
    const QImage image = bars({ qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 0, 255) });
    const QString folder = testsupport::makeTempFolder(QStringLiteral("png-batch"));
    const QString saved = QDir(folder).filePath(QStringLiteral("saved.png"));
    const QString batch = QDir(folder).filePath(QStringLiteral("batch.png"));
    ASSERT_TRUE(BarcodePngWriter::write(image, saved));
    ASSERT_TRUE(BarcodePngWriter::writeBatch(image, batch));
    QFile a(saved);
    QFile b(batch);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll());
    EXPECT_EQ(differingPixels(QImage(batch), image), 0);
    QString error;
    EXPECT_FALSE(BarcodePngWriter::writeBatch(image, folder + QStringLiteral("/none/b.png"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(BarcodePngWriter::writeBatch(QImage(), batch, &error));
    EXPECT_EQ(differingPixels(QImage(batch), image), 0);
    QDir(folder).removeRecursively();
}

TEST(BarcodePngWriter, OneBytePicturesKeepTheirColourTable)
{
    struct Case {
        QList<QRgb> table;
        int depth;
    };
    const QList<QRgb> ramp { qRgb(250, 250, 0), qRgba(0, 0, 200, 255), qRgba(255, 255, 255, 0), qRgb(1, 2, 3),
        qRgb(9, 9, 9), qRgb(70, 70, 200) };
    for (const Case& c :
        { Case { ramp.mid(0, 1), 1 }, Case { ramp.mid(0, 2), 1 }, Case { ramp.mid(0, 3), 2 }, Case { ramp, 4 } }) {
        // Rows of indexes with runs, repeats and one row that differs, at widths around a byte's pixels.
        for (const int width : { 1, 7, 8, 9, 203 }) {
            QImage image(width, 13, QImage::Format_Indexed8);
            image.setColorTable(c.table);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < width; ++x)
                    image.setPixel(x, y, static_cast<uint>((x / 3 + (y == 9 ? x : 0)) % c.table.size()));
            const QByteArray png = BarcodePngWriter::pngData(image);
            EXPECT_EQ(depthAndType(png), std::make_pair(c.depth, 3)) << c.table.size() << " " << width;
            EXPECT_EQ(png.contains("tRNS"), c.table.size() >= 3) << c.table.size();
            EXPECT_EQ(differingPixels(readBack(png), image), 0) << c.table.size() << " " << width;
        }
    }
}

TEST(BarcodePngWriter, OneBytePictureWithIndexesBeyondItsTableIsWrittenAsItLooks)
{
    QImage image(40, 5, QImage::Format_Indexed8);
    image.setColorTable({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
    image.fill(0);
    image.scanLine(3)[17] = 7; // beyond the table
    const QByteArray png = BarcodePngWriter::pngData(image);
    ASSERT_FALSE(png.isEmpty());
    const QImage back = readBack(png);
    EXPECT_EQ(differingPixels(back, image), 0);
    EXPECT_EQ(back.pixel(16, 3), qRgb(0, 0, 0));
    EXPECT_EQ(back.pixel(18, 3), qRgb(0, 0, 0));
}

TEST(BarcodePngWriter, OneBitPicturesGoIntoTheFileRowByRow)
{
    // Widths around a byte's pixels, rows repeated and rows that differ, and chosen colours.
    for (const int width : { 1, 7, 8, 9, 203 }) {
        QImage image(width, 11, QImage::Format_Mono);
        image.setColorTable({ qRgb(250, 250, 0), qRgba(0, 0, 200, 255) });
        image.fill(0);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, static_cast<uint>(((x / 3) + (y > 6 ? x : 0)) % 2));
        const QByteArray png = BarcodePngWriter::pngData(image);
        EXPECT_EQ(depthAndType(png), std::make_pair(1, 3)) << width;
        EXPECT_EQ(differingPixels(readBack(png), image), 0) << width;
    }
}
