#include "model/Image_Convolution_Filters.h"

#include "PictureProbes.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace imagefilters;
using namespace pictureprobes;

namespace {

// An opaque black picture with one white pixel in the middle.
QImage dot(int side)
{
    QImage image = filled(side, side, Qt::black);
    image.setPixel(side / 2, side / 2, qRgb(255, 255, 255));
    return image;
}

int redAt(const QImage& image, int x, int y)
{
    return qRed(colorAt(image, x, y));
}

long totalRed(const QImage& image)
{
    long total = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            total += redAt(image, x, y);
    return total;
}

} // namespace

TEST(BoxBlur, NeutralRadiusReturnsThePictureUnchanged)
{
    const QImage picture = varied();
    EXPECT_EQ(boxBlur(picture, 0.0f), picture);
    EXPECT_EQ(boxBlur(picture, -3.0f), picture);
    EXPECT_TRUE(boxBlur(picture, std::nanf("")).isNull());
}

TEST(BoxBlur, SpreadsADotEvenlyOverItsSquareAndKeepsItsLight)
{
    const int side = 21;
    const int c = side / 2;
    const QImage blurred = boxBlur(dot(side), 2.0f);
    ASSERT_EQ(blurred.size(), QSize(side, side));
    // Radius 2: a 5 x 5 square of 255 / 25 each, nothing beyond it.
    for (int dy = -4; dy <= 4; ++dy) {
        for (int dx = -4; dx <= 4; ++dx) {
            const int v = redAt(blurred, c + dx, c + dy);
            if (std::abs(dx) <= 2 && std::abs(dy) <= 2)
                EXPECT_NEAR(v, 10, 1) << dx << "," << dy;
            else
                EXPECT_EQ(v, 0) << dx << "," << dy;
        }
    }
    EXPECT_NEAR(totalRed(blurred), 255, 15);
}

TEST(BoxBlur, FractionalRadiusWeighsTheOutermostRing)
{
    const int side = 21;
    const int c = side / 2;
    const QImage blurred = boxBlur(dot(side), 1.5f);
    // Per axis the weights are 0.5, 1, 1, 1, 0.5 over 4: centre 255 / 16, side 255 / 32, corner 255 / 64.
    EXPECT_NEAR(redAt(blurred, c, c), 16, 1);
    EXPECT_NEAR(redAt(blurred, c + 2, c), 8, 1);
    EXPECT_NEAR(redAt(blurred, c + 2, c + 2), 4, 1);
    EXPECT_EQ(redAt(blurred, c + 3, c), 0);
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const int v = redAt(blurred, c + dx, c + dy);
            EXPECT_EQ(v, redAt(blurred, c - dx, c - dy)) << dx << "," << dy;
            EXPECT_EQ(v, redAt(blurred, c + dy, c + dx)) << dx << "," << dy;
        }
    EXPECT_NEAR(totalRed(blurred), 255, 15);
}

TEST(BoxBlur, EdgesKeepTheirColourAndTransparencyAddsNoColour)
{
    // A uniform picture stays uniform up to its borders: the edges repeat, they do not fade to black.
    const QImage uniform = filled(30, 20, QColor(40, 160, 220, 128));
    const QImage blurred = boxBlur(uniform, 6.5f);
    for (QPoint p : { QPoint(0, 0), QPoint(29, 19), QPoint(15, 0), QPoint(0, 10), QPoint(15, 10) })
        EXPECT_LE(channelDistance(colorAt(blurred, p.x(), p.y()), qRgba(40, 160, 220, 128)), 2)
            << p.x() << "," << p.y();

    // Red next to fully transparent green: the blur fades the red's alpha but never tints it green.
    QImage half = edge(20, 4, QColor(0, 255, 0, 0), QColor(255, 0, 0, 255));
    const QImage faded = boxBlur(half, 3.0f);
    for (int x = 7; x < 13; ++x) {
        const QRgb p = colorAt(faded, x, 2);
        EXPECT_GT(qAlpha(p), 0) << x;
        EXPECT_LT(qAlpha(p), 255) << x;
        EXPECT_LE(qGreen(p), 2) << x;
        EXPECT_GE(qRed(p), 250) << x;
    }
}

TEST(BoxBlur, HugeRadiusStaysBoundedAndBlendsTheWholeWidth)
{
    const QImage blurred = boxBlur(edge(40, 10, Qt::black, Qt::white), 1e9f);
    ASSERT_EQ(blurred.size(), QSize(40, 10));
    // The window spans the picture, so the middle is the mean grey and no column keeps pure black or white.
    EXPECT_NEAR(redAt(blurred, 20, 5), 128, 3);
    EXPECT_GT(redAt(blurred, 0, 0), 40);
    EXPECT_LT(redAt(blurred, 39, 9), 215);
    for (int x = 1; x < 40; ++x)
        EXPECT_GE(redAt(blurred, x, 5), redAt(blurred, x - 1, 5)) << x;
}

TEST(SharpenLuminance, NeutralValueReturnsThePictureUnchanged)
{
    const QImage picture = varied();
    EXPECT_EQ(sharpenLuminance(picture, 0.0f), picture);
    EXPECT_TRUE(sharpenLuminance(picture, INFINITY).isNull());
}

TEST(SharpenLuminance, RaisesContrastAtEdgesOnly)
{
    const QImage picture = edge(40, 12, QColor(80, 80, 80), QColor(180, 180, 180));
    const QImage sharp = sharpenLuminance(picture, 1.0f);
    ASSERT_EQ(sharp.size(), picture.size());
    // Next to the edge the dark side gets darker and the light side lighter.
    EXPECT_LT(redAt(sharp, 19, 6), 80 - 10);
    EXPECT_GT(redAt(sharp, 20, 6), 180 + 10);
    // Far from it, and along the picture's own borders, nothing changes.
    EXPECT_EQ(redAt(sharp, 2, 6), 80);
    EXPECT_EQ(redAt(sharp, 37, 0), 180);
    // Negative sharpness softens instead.
    const QImage soft = sharpenLuminance(picture, -1.0f);
    EXPECT_GT(redAt(soft, 19, 6), 80);
    EXPECT_LT(redAt(soft, 20, 6), 180);
}

TEST(SharpenLuminance, ChangesLightnessNotHueAndKeepsAlpha)
{
    const QImage picture = edge(40, 12, QColor(60, 90, 120, 200), QColor(150, 120, 90, 200));
    const QImage sharp = sharpenLuminance(picture, 0.8f);
    for (int x = 16; x < 24; ++x) {
        const QRgb before = colorAt(picture, x, 6);
        const QRgb after = colorAt(sharp, x, 6);
        EXPECT_EQ(qAlpha(after), 200) << x;
        // The same amount is added to all three channels.
        const int dr = qRed(after) - qRed(before);
        EXPECT_NEAR(qGreen(after) - qGreen(before), dr, 2) << x;
        EXPECT_NEAR(qBlue(after) - qBlue(before), dr, 2) << x;
    }
    EXPECT_NE(colorAt(sharp, 19, 6), colorAt(picture, 19, 6));
}
