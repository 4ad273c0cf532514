#include "barcode/Barcode_Nearest_Resample.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

// The same stretch through a painter without smoothing, as pictures were stretched before.
QImage paintedStretch(const QImage& source, int width, int height)
{
    QImage target(width, height, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::transparent);
    QPainter painter(&target);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRectF(0, 0, width, height), source);
    painter.end();
    return target;
}

// The source pixel under the centre of each target pixel, worked out in floating point.
QImage centreStretch(const QImage& source, int width, int height)
{
    QImage target(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            target.setPixel(x, y,
                source.pixel(static_cast<int>((x + 0.5) * source.width() / width),
                    static_cast<int>((y + 0.5) * source.height() / height)));
    return target;
}

int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return -1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return count;
}

// Modules of a symbol: a pattern of two colours that differs from pixel to pixel.
QImage modules(QImage::Format format, int width, int height)
{
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorTable({ qRgb(255, 255, 255), qRgb(0, 0, 0) });
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, static_cast<uint>((x * 7 + y * 3 + x * y) % 5 < 2 ? 1 : 0));
    return image.convertToFormat(format);
}

} // namespace

TEST(BarcodeNearestResample, EveryPixelIsTheOneUnderItsCentreAndThePaintersAtWholeScales)
{
    struct Case {
        QImage::Format format;
        QSize from;
        QSize to;
    };
    // Whole scales (2-D symbols to print resolution) and uneven ones (a stacked symbol stretched over
    // its frame), up and down, from pictures of a colour table and of 32-bit colours.
    for (const Case& c : { Case { QImage::Format_Indexed8, { 25, 25 }, { 100, 100 } },
             Case { QImage::Format_Indexed8, { 24, 14 }, { 96, 56 } },
             Case { QImage::Format_Mono, { 137, 11 }, { 800, 240 } },
             Case { QImage::Format_Mono, { 99, 31 }, { 61, 17 } },
             Case { QImage::Format_ARGB32, { 21, 21 }, { 147, 147 } },
             Case { QImage::Format_RGBA8888, { 33, 17 }, { 500, 301 } } }) {
        const QImage source = modules(c.format, c.from.width(), c.from.height());
        const QImage stretched = Barcode_Nearest_Resample(source, c.to.width(), c.to.height());
        ASSERT_EQ(stretched.size(), c.to);
        const bool table = c.format == QImage::Format_Indexed8 || c.format == QImage::Format_Mono;
        EXPECT_EQ(stretched.format(), table ? QImage::Format_Indexed8 : QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(differingPixels(stretched, centreStretch(source, c.to.width(), c.to.height())), 0)
            << c.from.width() << "x" << c.from.height() << " to " << c.to.width() << "x" << c.to.height();
        // The painter's fixed-point stepping may put an uneven edge one pixel over; at whole scales the
        // two agree exactly.
        if (c.to.width() % c.from.width() == 0 && c.to.height() % c.from.height() == 0) {
            EXPECT_EQ(differingPixels(stretched, paintedStretch(source, c.to.width(), c.to.height())), 0)
                << c.from.width() << "x" << c.from.height();
        }
    }
}

TEST(BarcodeNearestResample, NothingForANullPictureOrAnEmptySize)
{
    EXPECT_TRUE(Barcode_Nearest_Resample(QImage(), 10, 10).isNull());
    const QImage source = modules(QImage::Format_Indexed8, 4, 4);
    EXPECT_TRUE(Barcode_Nearest_Resample(source, 0, 10).isNull());
    EXPECT_TRUE(Barcode_Nearest_Resample(source, 10, -1).isNull());
}
