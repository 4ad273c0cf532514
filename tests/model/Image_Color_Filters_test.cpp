#include "model/Image_Color_Filters.h"

#include "PictureProbes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace imagefilters;
using namespace pictureprobes;

namespace {

QRgb adjustedPixel(const QImage& result)
{
    EXPECT_FALSE(result.isNull());
    return result.isNull() ? 0 : colorAt(result, 0, 0);
}

double srgbToLinear(int v)
{
    const double c = v / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

} // namespace

TEST(ColorFilters, NeutralValuesReturnThePictureUnchanged)
{
    const QImage picture = varied();
    EXPECT_EQ(hueAdjust(picture, 0.0f), picture);
    EXPECT_EQ(colorControls(picture, 1.0f, 0.0f, 1.0f), picture);
    EXPECT_EQ(exposureAdjust(picture, 0.0f), picture);

    // Other formats come back as they were, not converted.
    const QImage opaque = varied().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(hueAdjust(opaque, 0.0f).format(), QImage::Format_RGB32);
    EXPECT_EQ(colorControls(opaque, 1.0f, 0.0f, 1.0f), opaque);
}

TEST(ColorFilters, GrayscaleGivesEqualChannelsAtTheLumaOfTheColour)
{
    struct Case {
        QColor color;
        int grey;
    };
    // Rec. 709 weights: red 0.2126, green 0.7152, blue 0.0722.
    for (const Case& c : { Case { Qt::red, 54 }, Case { Qt::green, 182 }, Case { Qt::blue, 18 },
             Case { Qt::white, 255 }, Case { Qt::black, 0 }, Case { QColor(200, 100, 50), 118 } }) {
        const QRgb p = adjustedPixel(grayscale(filled(1, 1, c.color)));
        EXPECT_EQ(qRed(p), qGreen(p)) << c.color.name().toStdString();
        EXPECT_EQ(qGreen(p), qBlue(p)) << c.color.name().toStdString();
        EXPECT_NEAR(qRed(p), c.grey, 1) << c.color.name().toStdString();
    }
}

TEST(ColorFilters, AlphaIsKeptAndPremultipliedInputIsReadAsItsColour)
{
    const QImage premultiplied = filled(2, 2, QColor(255, 0, 0, 100), QImage::Format_ARGB32_Premultiplied);
    for (const QImage& result :
        { grayscale(premultiplied), sepia(premultiplied), invert(premultiplied), hueAdjust(premultiplied, 1.0f),
            colorControls(premultiplied, 0.5f, 0.1f, 1.2f), exposureAdjust(premultiplied, 1.0f) }) {
        ASSERT_FALSE(result.isNull());
        EXPECT_EQ(qAlpha(colorAt(result, 1, 1)), 100);
    }
    // The grey of red, not of the darker premultiplied values.
    EXPECT_NEAR(qRed(colorAt(grayscale(premultiplied), 0, 0)), 54, 2);
    // A fully transparent pixel keeps its stored colour through a stored-colour filter.
    const QImage clear = filled(1, 1, QColor(10, 20, 30, 0));
    EXPECT_EQ(colorAt(invert(clear), 0, 0), qRgba(245, 235, 225, 0));
}

TEST(ColorFilters, SepiaTurnsGreysWarmAndKeepsTheirOrder)
{
    EXPECT_EQ(adjustedPixel(sepia(filled(1, 1, Qt::black))), qRgb(0, 0, 0));
    const QRgb white = adjustedPixel(sepia(filled(1, 1, Qt::white)));
    EXPECT_EQ(qRed(white), 255);
    EXPECT_EQ(qGreen(white), 255);
    EXPECT_NEAR(qBlue(white), 239, 1);

    int previousRed = -1;
    for (int grey : { 40, 90, 128, 160 }) {
        const QRgb p = adjustedPixel(sepia(filled(1, 1, QColor(grey, grey, grey))));
        EXPECT_GT(qRed(p), qGreen(p)) << grey;
        EXPECT_GT(qGreen(p), qBlue(p)) << grey;
        EXPECT_GT(qRed(p), previousRed) << grey;
        previousRed = qRed(p);
    }
    // Colours become the same browns: pure blue is a dark warm tone, not blue.
    const QRgb fromBlue = adjustedPixel(sepia(filled(1, 1, Qt::blue)));
    EXPECT_GT(qRed(fromBlue), qBlue(fromBlue));
}

TEST(ColorFilters, InvertFlipsEachChannelAndTwiceIsTheIdentity)
{
    EXPECT_EQ(adjustedPixel(invert(filled(1, 1, QColor(10, 200, 30, 77)))), qRgba(245, 55, 225, 77));
    const QImage picture = varied();
    EXPECT_TRUE(samePixels(invert(invert(picture)), picture));
}

TEST(ColorFilters, HueTurnsAboutTheGreyAxis)
{
    // Half a turn takes red to its opposite, cyan, at the same distance from the grey axis.
    const QRgb half = adjustedPixel(hueAdjust(filled(1, 1, Qt::red), float(std::numbers::pi)));
    EXPECT_LE(channelDistance(half, qRgb(0, 170, 170)), 1);
    // A third of a turn takes red to green, two thirds to blue; minus a third back to blue.
    const float third = float(2.0 * std::numbers::pi / 3.0);
    EXPECT_LE(channelDistance(adjustedPixel(hueAdjust(filled(1, 1, Qt::red), third)), qRgb(0, 255, 0)), 1);
    EXPECT_LE(channelDistance(adjustedPixel(hueAdjust(filled(1, 1, Qt::red), 2 * third)), qRgb(0, 0, 255)), 1);
    EXPECT_LE(channelDistance(adjustedPixel(hueAdjust(filled(1, 1, Qt::red), -third)), qRgb(0, 0, 255)), 1);
    // Greys do not move, and a whole turn comes back to the start.
    EXPECT_EQ(adjustedPixel(hueAdjust(filled(1, 1, QColor(90, 90, 90)), 1.3f)), qRgb(90, 90, 90));
    const QImage picture = varied();
    const QImage turned = hueAdjust(picture, float(2.0 * std::numbers::pi));
    for (int y = 0; y < picture.height(); y += 7)
        for (int x = 0; x < picture.width(); x += 5)
            EXPECT_LE(channelDistance(colorAt(turned, x, y), colorAt(picture, x, y)), 1) << x << "," << y;
}

TEST(ColorFilters, ColourControlsApplySaturationThenContrastThenBrightness)
{
    const QImage red = filled(1, 1, QColor(200, 100, 100));
    // Saturation 0 is the luma grey (121.26), 2 pushes away from it and clips.
    EXPECT_LE(channelDistance(adjustedPixel(colorControls(red, 0.0f, 0.0f, 1.0f)), qRgb(121, 121, 121)), 1);
    EXPECT_LE(channelDistance(adjustedPixel(colorControls(red, 2.0f, 0.0f, 1.0f)), qRgb(255, 79, 79)), 1);

    const QImage grey = filled(1, 1, QColor(100, 100, 100));
    // Brightness adds a fraction of full white.
    EXPECT_LE(channelDistance(adjustedPixel(colorControls(grey, 1.0f, 0.1f, 1.0f)), qRgb(126, 126, 126)), 1);
    EXPECT_EQ(adjustedPixel(colorControls(grey, 1.0f, -1.0f, 1.0f)), qRgb(0, 0, 0));
    // Contrast scales about mid-grey: 100 is 27.5 below it, twice that is 72.5; contrast 0 is all mid-grey.
    EXPECT_LE(channelDistance(adjustedPixel(colorControls(grey, 1.0f, 0.0f, 2.0f)), qRgb(73, 73, 73)), 1);
    EXPECT_LE(channelDistance(adjustedPixel(colorControls(grey, 1.0f, 0.0f, 0.0f)), qRgb(128, 128, 128)), 1);
    // Together: the contrast acts before the brightness is added (72.5 + 25.5).
    EXPECT_LE(channelDistance(adjustedPixel(colorControls(grey, 1.0f, 0.1f, 2.0f)), qRgb(98, 98, 98)), 1);
}

TEST(ColorFilters, ExposureScalesLinearLightByPowersOfTwo)
{
    for (int v : { 30, 60, 100, 150, 180 }) {
        const QImage picture = filled(1, 1, QColor(v, v / 2, 255, 150));
        const QRgb brighter = adjustedPixel(exposureAdjust(picture, 1.0f));
        EXPECT_NEAR(srgbToLinear(qRed(brighter)) / srgbToLinear(v), 2.0, 0.05) << v;
        EXPECT_NEAR(srgbToLinear(qGreen(brighter)) / srgbToLinear(v / 2), 2.0, 0.1) << v;
        EXPECT_EQ(qBlue(brighter), 255) << v; // full white cannot grow
        EXPECT_EQ(qAlpha(brighter), 150) << v;
        const QRgb darker = adjustedPixel(exposureAdjust(picture, -2.0f));
        EXPECT_NEAR(srgbToLinear(qRed(darker)) / srgbToLinear(v), 0.25, 0.03) << v;
    }
    EXPECT_EQ(adjustedPixel(exposureAdjust(filled(1, 1, Qt::black), 5.0f)), qRgb(0, 0, 0));
    // Far beyond the range of a picture it saturates instead of overflowing.
    EXPECT_EQ(adjustedPixel(exposureAdjust(filled(1, 1, QColor(1, 1, 1)), 1e30f)), qRgb(255, 255, 255));
    EXPECT_EQ(adjustedPixel(exposureAdjust(filled(1, 1, Qt::white), -1e30f)), qRgb(0, 0, 0));
}

TEST(ColorFilters, ValuesThatAreNotNumbersFail)
{
    const QImage picture = filled(2, 2, Qt::red);
    const float nan = std::nanf("");
    const float inf = INFINITY;
    EXPECT_TRUE(hueAdjust(picture, nan).isNull());
    EXPECT_TRUE(colorControls(picture, 1.0f, inf, 1.0f).isNull());
    EXPECT_TRUE(colorControls(picture, nan, 0.0f, 1.0f).isNull());
    EXPECT_TRUE(exposureAdjust(picture, nan).isNull());
}
