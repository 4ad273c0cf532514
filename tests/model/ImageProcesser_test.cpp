#include "model/ImageProcesser.h"

#include "model/Image_Color_Filters.h"
#include "model/Image_Geometry.h"

#include "PictureProbes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

using namespace pictureprobes;

namespace {

int occurrences(const std::string& text, const std::string& word)
{
    int count = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + word.size()))
        ++count;
    return count;
}

} // namespace

TEST(ImageProcesser, NeutralValuesGiveThePictureBackPixelForPixel)
{
    const QImage picture = varied(300, 200);
    const auto result = ImageProcesser::Get_Processed_Image(picture, ImageAdjustments {});
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->format(), picture.format());
    EXPECT_EQ(*result, picture);

    const QImage opaque = varied(300, 200).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(*ImageProcesser::Get_Processed_Image(opaque, ImageAdjustments {}), opaque);
}

TEST(ImageProcesser, NoPictureGivesNoResult)
{
    EXPECT_FALSE(ImageProcesser::Get_Processed_Image(QImage(), ImageAdjustments {}).has_value());
    ImageAdjustments values;
    values.invert = true;
    values.rotation = 45;
    EXPECT_FALSE(ImageProcesser::Get_Processed_Image(QImage(), values).has_value());
}

TEST(ImageProcesser, SizeCapWorksOnACopyBeforeTheRotation)
{
    const QImage picture = filled(1000, 300, Qt::red);
    EXPECT_EQ(ImageProcesser::Set_Dimaension(picture).size(), QSize(724, 217));
    EXPECT_EQ(ImageProcesser::Set_Dimaension(filled(500, 600, Qt::red)).size(), QSize(390, 468));

    ImageAdjustments values;
    EXPECT_EQ(ImageProcesser::Get_Processed_Image(picture, values)->size(), QSize(724, 217));
    values.rotation = 90;
    EXPECT_EQ(ImageProcesser::Get_Processed_Image(picture, values)->size(), QSize(217, 724));
    values.rotation = 45; // the square grows from the capped width
    EXPECT_EQ(ImageProcesser::Get_Processed_Image(picture, values)->size(), QSize(744, 744));
    EXPECT_EQ(picture.size(), QSize(1000, 300));
}

TEST(ImageProcesser, StepsRunInTheirFixedOrder)
{
    const QImage picture = filled(8, 6, QColor(200, 60, 30, 180));

    // Sepia before invert: inverting a sepia picture is not the sepia of an inverted one.
    ImageAdjustments toned;
    toned.sepia = true;
    toned.invert = true;
    const QImage expectedTone = imagefilters::invert(imagefilters::sepia(picture));
    ASSERT_NE(expectedTone, imagefilters::sepia(imagefilters::invert(picture)));
    EXPECT_TRUE(samePixels(*ImageProcesser::Get_Processed_Image(picture, toned), expectedTone));

    // Contrast before exposure: exposure is not linear in the stored values, so the order shows.
    ImageAdjustments lit;
    lit.contrast = 1.6f;
    lit.exposure = 1.0f;
    const QImage expectedLight
        = imagefilters::exposureAdjust(imagefilters::colorControls(picture, 1.0f, 0.0f, 1.6f), 1.0f);
    ASSERT_NE(
        expectedLight, imagefilters::colorControls(imagefilters::exposureAdjust(picture, 1.0f), 1.0f, 0.0f, 1.6f));
    EXPECT_TRUE(samePixels(*ImageProcesser::Get_Processed_Image(picture, lit), expectedLight));

    // Grey scale runs before the hue turn, which then has no colour left to turn.
    ImageAdjustments grey;
    grey.grayscale = true;
    grey.hue = 2.0f;
    const QRgb p = colorAt(*ImageProcesser::Get_Processed_Image(picture, grey), 3, 3);
    EXPECT_EQ(qRed(p), qGreen(p));
    EXPECT_EQ(qGreen(p), qBlue(p));
    EXPECT_EQ(qAlpha(p), 180);
}

TEST(ImageProcesser, EveryStepTogetherKeepsAlphaAndTheCappedSize)
{
    QImage picture = varied(900, 600);
    ImageAdjustments values;
    values.grayscale = true;
    values.sepia = true;
    values.invert = true;
    values.hue = 0.4f;
    values.saturation = 1.3f;
    values.brightness = 0.05f;
    values.contrast = 1.1f;
    values.sharpness = 0.5f;
    values.blur = 0.0f; // keeps alpha exact; the blur has its own tests
    values.exposure = 0.3f;
    const auto result = ImageProcesser::Get_Processed_Image(picture, values);
    ASSERT_TRUE(result.has_value());
    ASSERT_EQ(result->size(), QSize(702, 468));
    const QImage capped = ImageProcesser::Set_Dimaension(picture).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 468; y += 17)
        for (int x = 0; x < 702; x += 23)
            EXPECT_NEAR(qAlpha(colorAt(*result, x, y)), qAlpha(capped.pixel(x, y)), 1) << x << "," << y;
}

TEST(ImageProcesser, AFailingStepIsLoggedOnceAndSkipped)
{
    const QImage picture = filled(10, 10, QColor(30, 120, 200));
    ImageAdjustments values;
    values.invert = true;
    values.hue = std::nanf("");
    values.blur = INFINITY;

    testing::internal::CaptureStderr();
    const auto first = ImageProcesser::Get_Processed_Image(picture, values);
    const auto second = ImageProcesser::Get_Processed_Image(picture, values);
    const std::string log = testing::internal::GetCapturedStderr();

    // The other steps still ran: only the invert shows.
    ASSERT_TRUE(first.has_value());
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(colorAt(*first, 5, 5), qRgb(225, 135, 55));
    EXPECT_EQ(*first, *second);
    EXPECT_EQ(occurrences(log, "adjust_Hue"), 1) << log;
    EXPECT_EQ(occurrences(log, "adjust_boxBlur"), 1) << log;
}

TEST(ImageProcesser, RunsOnWorkerThreadsWithTheSameResult)
{
    const QImage picture = varied(240, 160);
    ImageAdjustments values;
    values.sepia = true;
    values.hue = 0.7f;
    values.contrast = 1.2f;
    values.sharpness = 0.6f;
    values.blur = 1.5f;
    values.exposure = -0.5f;
    values.rotation = 30;
    const QImage expected = *ImageProcesser::Get_Processed_Image(picture, values);

    std::vector<QImage> results(4);
    std::vector<std::thread> workers;
    for (size_t i = 0; i < results.size(); ++i)
        workers.emplace_back(
            [&, i] { results[i] = ImageProcesser::Get_Processed_Image(picture, values).value_or(QImage()); });
    for (std::thread& worker : workers)
        worker.join();
    for (const QImage& result : results)
        EXPECT_EQ(result, expected);
}
