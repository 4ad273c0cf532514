#include "model/Image_Geometry.h"

#include "PictureProbes.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace pictureprobes;

namespace {

// Every pixel distinct, corners easy to tell apart.
QImage labelled(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba(x % 256, y % 256, (x / 256) * 16 + (y / 256), 255));
    return image;
}

// Checks every pixel of `turned` against the source pixel that `from` names.
template <typename Map> void expectMapping(const QImage& source, const QImage& turned, Map from)
{
    for (int y = 0; y < turned.height(); ++y)
        for (int x = 0; x < turned.width(); ++x) {
            const QPoint s = from(x, y);
            if (turned.pixel(x, y) != source.pixel(s)) {
                ADD_FAILURE() << "pixel " << x << "," << y << " is not source " << s.x() << "," << s.y();
                return;
            }
        }
}

} // namespace

TEST(ImageRotated, WholeTurnsReturnThePictureItself)
{
    const QImage picture = labelled(20, 10);
    for (float angle : { 0.0f, 360.0f, -720.0f })
        EXPECT_EQ(imageRotated(picture, angle).cacheKey(), picture.cacheKey()) << angle;
    EXPECT_TRUE(imageRotated(picture, std::nanf("")).isNull());
    EXPECT_TRUE(imageRotated(picture, INFINITY).isNull());
}

TEST(ImageRotated, QuarterTurnsGoCounterClockwiseAndMapEveryPixel)
{
    const QImage picture = labelled(200, 100);
    const int w = picture.width();
    const int h = picture.height();

    // A quarter turn counter-clockwise: the top edge becomes the left edge, the top-right corner the top-left.
    for (float angle : { 90.0f, 450.0f, -270.0f }) {
        const QImage turned = imageRotated(picture, angle).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(turned.size(), QSize(100, 200)) << angle;
        expectMapping(picture, turned, [&](int x, int y) { return QPoint(w - 1 - y, x); });
    }
    for (float angle : { -90.0f, 270.0f, -450.0f }) {
        const QImage turned = imageRotated(picture, angle).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(turned.size(), QSize(100, 200)) << angle;
        expectMapping(picture, turned, [&](int x, int y) { return QPoint(y, h - 1 - x); });
    }
    for (float angle : { 180.0f, -180.0f, 540.0f }) {
        const QImage turned = imageRotated(picture, angle).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(turned.size(), QSize(200, 100)) << angle;
        expectMapping(picture, turned, [&](int x, int y) { return QPoint(w - 1 - x, h - 1 - y); });
    }
}

TEST(ImageRotated, OtherAnglesTurnAboutTheCentreOnAGrownSquare)
{
    // Blue picture whose right end is red.
    QImage picture = filled(200, 100, Qt::blue);
    for (int y = 0; y < 100; ++y)
        for (int x = 170; x < 200; ++x)
            picture.setPixel(x, y, qRgb(255, 0, 0));

    const QImage turned = imageRotated(picture, 45.0f);
    ASSERT_EQ(turned.size(), QSize(220, 220));
    const double c = 110.0;
    const double d = 85.0 / std::sqrt(2.0);
    auto at = [&](double x, double y) { return colorAt(turned, int(std::lround(x)), int(std::lround(y))); };
    EXPECT_EQ(at(c, c), qRgb(0, 0, 255));
    // Counter-clockwise as seen: the red end now points up and to the right.
    EXPECT_EQ(at(c + d, c - d), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(at(c + d, c + d)), 0);
    EXPECT_EQ(qAlpha(at(c - d, c + d)), 255); // the left end, still blue, points down-left
    EXPECT_EQ(qBlue(at(c - d, c + d)), 255);
    // The corners of the square lie outside the turned picture.
    EXPECT_EQ(qAlpha(at(0, 0)), 0);
    EXPECT_EQ(qAlpha(at(219, 219)), 0);

    // A negative angle turns the other way, and a tall picture gives a square on its height.
    EXPECT_EQ(imageRotated(picture, -45.0f).pixel(int(c + d), int(c + d)), qRgb(255, 0, 0));
    EXPECT_EQ(imageRotated(filled(100, 300, Qt::green), 30.0f).size(), QSize(320, 320));
    EXPECT_EQ(imageRotated(filled(200, 100, Qt::green), -405.0f).size(), QSize(220, 220));
}

TEST(FittedWithin, ScalesLargePicturesDownKeepingProportions)
{
    const QSize limit(724, 468);
    EXPECT_EQ(imagefilters::fittedWithin(filled(1000, 300, Qt::red), limit).size(), QSize(724, 217));
    EXPECT_EQ(imagefilters::fittedWithin(filled(500, 600, Qt::red), limit).size(), QSize(390, 468));
    EXPECT_EQ(imagefilters::fittedWithin(filled(3000, 3000, Qt::red), limit).size(), QSize(468, 468));
    // A sliver keeps at least one pixel across.
    EXPECT_EQ(imagefilters::fittedWithin(filled(20000, 2, Qt::red), limit).size(), QSize(724, 1));

    const QImage fits = filled(724, 468, Qt::red);
    EXPECT_EQ(imagefilters::fittedWithin(fits, limit).cacheKey(), fits.cacheKey());

    // The copy shows the same picture; the caller's own picture is left as it was.
    const QImage big = edge(1448, 100, Qt::white, Qt::black);
    const QImage small = imagefilters::fittedWithin(big, limit);
    EXPECT_EQ(big.size(), QSize(1448, 100));
    EXPECT_EQ(colorAt(small, 10, 25), qRgb(255, 255, 255));
    EXPECT_EQ(colorAt(small, 700, 25), qRgb(0, 0, 0));
}
