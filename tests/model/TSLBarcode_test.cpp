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

TEST(TSLBarcode, NewItemShowsTheSampleAtItsOwnSizeCentredOnThePoint)
{
    FakeEditor editor;
    const QImage picture = sample();
    ASSERT_FALSE(picture.isNull());
    auto item = TSLBarcode::initWithPosition({ 200, 100 }, blank(5, 5, Qt::red));
    EXPECT_EQ(item->bounds(),
        QRectF(200 - picture.width() / 2.0, 100 - picture.height() / 2.0, picture.width(), picture.height()));
    EXPECT_FALSE(item->isDrawingFill());
    EXPECT_FALSE(item->isDrawingStroke());

    // The sample lands pixel for pixel in the bounds' top-left corner; no border around it.
    item->_bounds = QRectF(0, 0, picture.width() * 2, picture.height() * 2);
    QImage image = blank(picture.width() * 2 + 4, picture.height() * 2 + 4);
    draw(*item, image);
    keepPicture(image, QStringLiteral("barcode_item_sample"));
    EXPECT_TRUE(samePixels(image.copy(picture.rect()), picture));
    EXPECT_EQ(countPixels(image.copy(picture.width(), 0, picture.width() + 4, image.height()),
                  [](const QColor& c) { return c != Qt::white; }),
        0);
    EXPECT_EQ(editor.refreshes, 1);
}

TEST(TSLBarcode, GeneratedBarcodeShowsAtOnceAtItsSizeInPointsWhateverTheBounds)
{
    auto item = TSLBarcode::initWithPosition({ 50, 50 }, QImage());
    item->_bounds = QRectF(10, 10, 120, 60);

    // 120 x 60 pixels at two pixels per point: 60 x 30 points.
    QImage generated = blank(120, 60, Qt::red);
    generated.setDevicePixelRatio(2.0);
    item->Set_Barcode_image(generated);
    QImage image = blank(150, 80);
    draw(*item, image);
    keepPicture(image, QStringLiteral("barcode_item_generated"));
    EXPECT_TRUE(near(at(image, 11, 11), Qt::red));
    EXPECT_TRUE(near(at(image, 69, 39), Qt::red));
    EXPECT_TRUE(near(at(image, 71, 20), Qt::white));
    EXPECT_TRUE(near(at(image, 20, 41), Qt::white));
    EXPECT_TRUE(near(at(image, 9, 9), Qt::white));
    EXPECT_EQ(item->_contents.cacheKey(), generated.cacheKey());

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
