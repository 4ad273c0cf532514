// The pictures the main window loads when it is made: every one is installed and readable, and the banner
// is a small tile that repeats without a seam.
#include "editor/EditorWindowTestSupport.h"

#include <QColor>

using editortest::EditorWindowTest;

using SamplePicturesTest = EditorWindowTest;

TEST_F(SamplePicturesTest, EverySamplePictureIsInstalledAndRead)
{
    const struct {
        const char* name;
        QImage picture;
    } pictures[] = { { "no.png", window->no_image }, { "banner.png", window->banner_image },
        { "pattern_1.jpg", window->promotion_pattern_image }, { "Wizard_pattern.jpg", window->wizard_pattern_image() },
        { "sign_sample.png", window->sign_sample_img }, { "fingerprints.png", window->fp_sample_img },
        { "barcode_sample.png", window->barcode_sample_img } };
    for (const auto& entry : pictures) {
        SCOPED_TRACE(entry.name);
        ASSERT_FALSE(entry.picture.isNull());
        EXPECT_GE(entry.picture.width(), 16);
        EXPECT_GE(entry.picture.height(), 16);
        // A picture, not a blank: more than one colour in it.
        const QRgb first = entry.picture.pixel(0, 0);
        bool varied = false;
        for (int y = 0; y < entry.picture.height() && !varied; y += 3)
            for (int x = 0; x < entry.picture.width() && !varied; x += 3)
                varied = entry.picture.pixel(x, y) != first;
        EXPECT_TRUE(varied);
    }
    EXPECT_EQ(window->bannerImage(), window->banner_image);
    // The wizard's background is large enough to lie behind a window's pane.
    EXPECT_GE(window->wizard_pattern_image().width(), 400);
}

TEST_F(SamplePicturesTest, BannerTilesWithoutASeam)
{
    const QImage tile = window->banner_image.convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(tile.isNull());
    // Opposite edges continue each other: the colour across a tile border changes no more than inside.
    auto difference = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
    };
    long across = 0, inside = 0;
    for (int y = 0; y < tile.height(); ++y) {
        across += difference(tile.pixel(tile.width() - 1, y), tile.pixel(0, y));
        inside += difference(tile.pixel(tile.width() / 2 - 1, y), tile.pixel(tile.width() / 2, y));
    }
    for (int x = 0; x < tile.width(); ++x) {
        across += difference(tile.pixel(x, tile.height() - 1), tile.pixel(x, 0));
        inside += difference(tile.pixel(x, tile.height() / 2 - 1), tile.pixel(x, tile.height() / 2));
    }
    EXPECT_LE(across, inside * 3 + 200);
}
