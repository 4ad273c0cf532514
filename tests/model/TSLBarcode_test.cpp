#include "model/PictureProbes.h"

#include "common/Globals.h"
#include "model/TSLBarcode.h"
#include "support/TestSupport.h"

#include <QImageReader>

#include <gtest/gtest.h>

using namespace pictureprobes;

namespace {

QImage sample()
{
    return QImageReader(Resource_Path + QStringLiteral("/barcode_sample.png")).read();
}

} // namespace

TEST(TSLBarcode, NewItemTakesTheSamplesSizeCentredOnThePointAndDrawsItIntoItsBounds)
{
    FakeEditor editor;
    const QImage picture = sample();
    ASSERT_FALSE(picture.isNull());
    auto item = TSLBarcode::initWithPosition({ 200, 100 }, blank(5, 5, Qt::red));
    EXPECT_EQ(item->bounds(),
        QRectF(200 - picture.width() / 2.0, 100 - picture.height() / 2.0, picture.width(), picture.height()));
    EXPECT_FALSE(item->isDrawingFill());
    EXPECT_FALSE(item->isDrawingStroke());

    // Bounds twice the sample's size: the sample fills them, each pixel becoming a 2 x 2 block; nothing is
    // drawn outside, and no border.
    item->_bounds = QRectF(0, 0, picture.width() * 2, picture.height() * 2);
    QImage image = blank(picture.width() * 2 + 4, picture.height() * 2 + 4);
    draw(*item, image);
    keepPicture(image, QStringLiteral("barcode_item_sample"));
    const QImage opaque = picture.convertToFormat(QImage::Format_ARGB32);
    for (const QPoint& probe : { QPoint(0, 0), QPoint(picture.width() / 3, picture.height() / 2),
             QPoint(picture.width() / 2, picture.height() / 3), QPoint(picture.width() - 1, picture.height() - 1) }) {
        const QColor expected = QColor::fromRgba(opaque.pixel(probe));
        if (expected.alpha() < 255)
            continue;
        EXPECT_TRUE(near(at(image, probe.x() * 2, probe.y() * 2), expected)) << probe.x() << "," << probe.y();
        EXPECT_TRUE(near(at(image, probe.x() * 2 + 1, probe.y() * 2 + 1), expected)) << probe.x() << "," << probe.y();
    }
    EXPECT_EQ(countPixels(image.copy(picture.width() * 2, 0, 4, image.height()),
                  [](const QColor& c) { return c != Qt::white; }),
        0);
    EXPECT_EQ(editor.refreshes, 1);
}

TEST(TSLBarcode, GeneratedBarcodeIsScaledIntoTheBoundsKeepingItsProportions)
{
    auto item = TSLBarcode::initWithPosition({ 50, 50 }, QImage());
    item->_bounds = QRectF(10, 10, 120, 60);

    // A symbol generated far larger than the item (600 x 600 pixels, as at print resolution) lands
    // centred in it as a 60 x 60 square: nothing outside the bounds, nothing over other items.
    QImage generated = blank(600, 600, Qt::red);
    item->Set_Barcode_image(generated);
    QImage image = blank(150, 80);
    draw(*item, image);
    keepPicture(image, QStringLiteral("barcode_item_generated"));
    EXPECT_TRUE(near(at(image, 41, 11), Qt::red));
    EXPECT_TRUE(near(at(image, 99, 69), Qt::red));
    EXPECT_TRUE(near(at(image, 38, 40), Qt::white));
    EXPECT_TRUE(near(at(image, 101, 40), Qt::white));
    EXPECT_TRUE(near(at(image, 70, 71), Qt::white));
    EXPECT_TRUE(near(at(image, 9, 9), Qt::white));
    EXPECT_EQ(item->_contents.cacheKey(), generated.cacheKey());

    // A wide linear symbol in a square item: as wide as the item, centred vertically.
    QImage wide = blank(400, 100, Qt::blue);
    wide.setDevicePixelRatio(4.0);
    item->Set_Barcode_image(wide);
    item->_bounds = QRectF(0, 0, 80, 80);
    QImage square = blank(80, 80);
    draw(*item, square);
    EXPECT_TRUE(near(at(square, 1, 31), Qt::blue));
    EXPECT_TRUE(near(at(square, 78, 48), Qt::blue));
    EXPECT_TRUE(near(at(square, 40, 28), Qt::white));
    EXPECT_TRUE(near(at(square, 40, 51), Qt::white));

    QImage hidden = blank(150, 80);
    item->ctrl_is_visible = false;
    draw(*item, hidden);
    EXPECT_TRUE(samePixels(hidden, blank(150, 80)));
}

TEST(TSLBarcode, WithoutASampleANewItemHasNoPictureAndDrawsNothing)
{
    const QString saved = Resource_Path;
    Resource_Path = testsupport::makeTempFolder(QStringLiteral("no-samples"));
    auto item = TSLBarcode::initWithPosition({ 40, 30 }, blank(5, 5, Qt::red));
    Resource_Path = saved;

    EXPECT_EQ(item->bounds(), QRectF(40, 30, 0, 0));
    EXPECT_TRUE(item->_contents.isNull());
    item->_bounds = QRectF(0, 0, 50, 50);
    QImage image = blank(60, 60);
    Resource_Path = testsupport::makeTempFolder(QStringLiteral("no-samples-2"));
    draw(*item, image);
    Resource_Path = saved;
    EXPECT_TRUE(samePixels(image, blank(60, 60)));
}
