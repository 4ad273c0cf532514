#include "model/PictureProbes.h"

#include "common/Globals.h"
#include "model/ImageProcesser.h"
#include "model/PictureRenditions.h"
#include "model/TSLImage.h"
#include "platform/KeyedArchive.h"
#include "support/TestSupport.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <thread>

using namespace pictureprobes;

namespace {

// An item showing a picture file, at the given bounds, without border unless asked.
std::shared_ptr<TSLImage> pictureItem(
    const QImage& picture, const QRectF& bounds, const QString& name, bool border = false)
{
    static const QString folder = testsupport::makeTempFolder(QStringLiteral("picture-items"));
    auto item = TSLImage::initWithPath({ 0, 0 }, writePicture(picture, folder, name + QStringLiteral(".png")));
    item->_bounds = bounds;
    item->_isDrawingStroke = border;
    return item;
}

QByteArray archived(const TSLGraphic& item)
{
    platform::KeyedArchive archive;
    item.encodeWithCoder(archive);
    return archive.toBytes();
}

} // namespace

TEST(TSLImageDrawing, PictureFillsTheBoundsAndFlipsMirrorItInsideThem)
{
    auto item = pictureItem(quarters(40, 20), { 10, 10, 80, 40 }, QStringLiteral("quarters"));
    struct Case {
        bool horizontal, vertical;
        QColor topLeft, topRight, bottomLeft, bottomRight;
        const char* name;
    };
    const Case cases[] = {
        { false, false, Qt::red, Qt::green, Qt::blue, Qt::yellow, "picture_item" },
        { true, false, Qt::green, Qt::red, Qt::yellow, Qt::blue, "picture_item_flipped_horizontally" },
        { false, true, Qt::blue, Qt::yellow, Qt::red, Qt::green, "picture_item_flipped_vertically" },
        { true, true, Qt::yellow, Qt::blue, Qt::green, Qt::red, "picture_item_flipped_both" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        item->_isFlippedHorizontally = c.horizontal;
        item->_isFlippedVertically = c.vertical;
        // Drawn at 300 dpi as well as at screen size: the picture must follow the bounds, not its pixels.
        for (double scale : { 1.0, 300.0 / 72.0 }) {
            QImage image = blank(int(100 * scale), int(60 * scale));
            draw(*item, image, scale);
            auto probe = [&](double x, double y) { return at(image, int(x * scale), int(y * scale)); };
            EXPECT_TRUE(near(probe(30, 20), c.topLeft));
            EXPECT_TRUE(near(probe(70, 20), c.topRight));
            EXPECT_TRUE(near(probe(30, 40), c.bottomLeft));
            EXPECT_TRUE(near(probe(70, 40), c.bottomRight));
            // Exactly the bounds are covered.
            EXPECT_FALSE(near(probe(11, 11), Qt::white));
            EXPECT_FALSE(near(probe(88.8, 48.8), Qt::white));
            EXPECT_TRUE(near(probe(9, 9), Qt::white));
            EXPECT_TRUE(near(probe(91, 51), Qt::white));
            if (scale == 1.0)
                keepPicture(image, QString::fromLatin1(c.name));
        }
    }
}

TEST(TSLImageDrawing, RotationTurnsCounterClockwiseAndNaturalSizeTakesTheTurnedSize)
{
    // A wide picture with a red top edge and a green left edge.
    QImage picture = blank(200, 100, Qt::blue);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            if (y < 10)
                picture.setPixelColor(x, y, Qt::red);
            else if (x < 10)
                picture.setPixelColor(x, y, Qt::green);
    auto item = pictureItem(picture, { 0, 0, 10, 10 }, QStringLiteral("edges"));

    struct Case {
        float degrees;
        QSizeF natural;
    };
    const Case cases[] = { { 0, { 200, 100 } }, { 90, { 100, 200 } }, { 180, { 200, 100 } }, { 450, { 100, 200 } },
        { -720, { 200, 100 } }, { -90, { 100, 200 } }, { 45, { 220, 220 } }, { 30.9f, { 220, 220 } } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.degrees);
        item->rotate_image = c.degrees;
        EXPECT_EQ(item->naturalSize(), c.natural);
        item->makeNaturalSize();
        EXPECT_EQ(item->bounds(), QRectF(QPointF(0, 0), c.natural));
    }

    // A quarter turn counter-clockwise as seen: the top edge goes left, the left edge goes to the bottom.
    item->rotate_image = 90;
    item->makeNaturalSize();
    QImage turned = blank(100, 200);
    draw(*item, turned);
    keepPicture(turned, QStringLiteral("picture_item_rotated_90"));
    EXPECT_TRUE(near(at(turned, 4, 100), Qt::red));
    EXPECT_TRUE(near(at(turned, 50, 196), Qt::green));
    EXPECT_TRUE(near(at(turned, 50, 100), Qt::blue));

    item->rotate_image = -90;
    draw(*item, turned);
    EXPECT_TRUE(near(at(turned, 96, 100), Qt::red));
    EXPECT_TRUE(near(at(turned, 50, 4), Qt::green));

    item->rotate_image = 180;
    item->makeNaturalSize();
    QImage halfTurn = blank(200, 100);
    draw(*item, halfTurn);
    EXPECT_TRUE(near(at(halfTurn, 100, 96), Qt::red));
    EXPECT_TRUE(near(at(halfTurn, 196, 50), Qt::green));
}

TEST(TSLImageDrawing, NaturalSizeIsTheSizeTheChainDrawsWhetherOrNotTheItemWasDrawn)
{
    const QImage wide = blank(1000, 300, Qt::darkCyan);
    auto item = pictureItem(wide, { 5, 6, 50, 50 }, QStringLiteral("wide"));
    item->_isFlippedHorizontally = item->_isFlippedVertically = true;
    const QSizeF before = item->naturalSize();
    EXPECT_EQ(before.width(), 724.0);

    for (int degrees : { 0, 90, 45, -270 }) {
        ImageAdjustments values;
        values.rotation = degrees;
        const std::optional<QImage> processed = ImageProcesser::Get_Processed_Image(item->contents(), values);
        ASSERT_TRUE(processed);
        item->rotate_image = float(degrees);
        EXPECT_EQ(item->naturalSize(), QSizeF(processed->size())) << degrees;
    }
    item->rotate_image = 0;

    QImage image = blank(100, 100);
    draw(*item, image);
    EXPECT_EQ(item->naturalSize(), before);
    EXPECT_EQ(item->contents().size(), QSize(1000, 300)); // the item's own picture is not capped in place

    item->ctrl_is_locked = true;
    item->makeNaturalSize();
    EXPECT_EQ(item->bounds(), QRectF(5, 6, 50, 50));
    EXPECT_TRUE(item->_isFlippedHorizontally);

    item->ctrl_is_locked = false;
    item->makeNaturalSize();
    EXPECT_EQ(item->bounds(), QRectF(QPointF(5, 6), before));
    EXPECT_FALSE(item->_isFlippedHorizontally);
    EXPECT_FALSE(item->_isFlippedVertically);
}

TEST(TSLImageDrawing, DrawingChangesNeitherTheItemNorItsPicture)
{
    auto item = pictureItem(blank(900, 500, Qt::magenta), { 0, 0, 60, 40 }, QStringLiteral("big"), true);
    item->alpha_val_stroke = 0.5f;
    item->gray_Scale = true;
    item->hue_val = 1.0f;
    item->blr_val = 2.0f;
    item->rotate_image = 33.0f;
    const QImage picture = item->contents().copy();
    const QByteArray before = archived(*item);

    QImage image = blank(80, 60);
    draw(*item, image);

    EXPECT_EQ(archived(*item), before);
    EXPECT_TRUE(samePixels(item->contents(), picture));
    EXPECT_EQ(item->_strokeColor.alpha(), 255);
}

TEST(TSLImageDrawing, AdjustmentsOpacityAndBorderAreApplied)
{
    auto item = pictureItem(blank(20, 20, Qt::red), { 10, 10, 40, 40 }, QStringLiteral("red"), true);
    item->_strokeWidth = 4;

    QImage image = blank(60, 60);
    item->img_trnsp_val = 50;
    draw(*item, image);
    keepPicture(image, QStringLiteral("picture_item_half_opaque"));
    EXPECT_TRUE(near(at(image, 30, 30), QColor(255, 128, 128), 3));
    EXPECT_TRUE(near(at(image, 9, 30), Qt::black)); // outer half of the border

    image = blank(60, 60);
    item->img_trnsp_val = 0;
    draw(*item, image);
    EXPECT_TRUE(near(at(image, 30, 30), Qt::white));
    EXPECT_TRUE(near(at(image, 9, 30), Qt::black));

    image = blank(60, 60);
    item->img_trnsp_val = 250; // above 100 is opaque
    item->invert_clr = true;
    draw(*item, image);
    keepPicture(image, QStringLiteral("picture_item_inverted"));
    EXPECT_TRUE(near(at(image, 30, 30), Qt::cyan));

    image = blank(60, 60);
    item->invert_clr = false;
    item->sat_val = 0.0f;
    draw(*item, image);
    const QColor grey = at(image, 30, 30);
    EXPECT_LE(std::abs(grey.red() - grey.green()), 2);
    EXPECT_LE(std::abs(grey.green() - grey.blue()), 2);
    EXPECT_FALSE(near(grey, Qt::red, 40));
}

TEST(TSLImageDrawing, SepiaAndAnUnevenTurnOfAPhotoStayInsideTheBounds)
{
    auto item = TSLImage::initWithPath({ 0, 0 }, Resource_Path + QStringLiteral("/Background/Confetti.png"));
    ASSERT_FALSE(item->contents().isNull());
    item->_isDrawingStroke = false;
    item->Sepia = true;
    item->rotate_image = 30;
    item->makeNaturalSize();
    item->_bounds = QRectF(QPointF(10, 10), item->bounds().size().scaled(200, 200, Qt::KeepAspectRatio));
    const QRectF b = item->bounds();

    QImage image = blank(int(b.right()) + 10, int(b.bottom()) + 10);
    draw(*item, image);
    keepPicture(image, QStringLiteral("picture_item_sepia_turned_30"));
    // The turned picture leaves the corners of its square empty; what it covers is toned brown.
    EXPECT_TRUE(near(at(image, int(b.left()) + 2, int(b.top()) + 2), Qt::white));
    EXPECT_TRUE(near(at(image, int(b.right()) - 3, int(b.bottom()) - 3), Qt::white));
    const QImage middle = image.copy(
        b.toRect().adjusted(int(b.width() / 3), int(b.height() / 3), -int(b.width() / 3), -int(b.height() / 3)));
    EXPECT_EQ(
        countPixels(middle, [](const QColor& c) { return c.red() + 2 < c.green() || c.green() + 2 < c.blue(); }), 0);
    EXPECT_GT(countPixels(middle, [](const QColor& c) { return c.red() > c.blue() + 10; }), middle.width());
}

// The blur's radius and the margin of an uneven turn grow with the pixels: brought down to the working size, the
// output's picture is the working picture again.
TEST(TSLImageDrawing, AnOutputReadsThePictureAgainAtItsPixelsAndAdjustsItAsTheScreenShowsIt)
{
    auto item = pictureItem(edge(2000, 1000, Qt::red, Qt::blue), { 0, 0, 480, 240 }, QStringLiteral("wide_edge"));
    const struct {
        int rotation;
        float blur;
        bool grey;
        double pixelsPerPoint;
        QSize drawn; // by the output; empty: the working picture serves it
    } rows[] = {
        { 0, 0, false, 1.0, { 0, 0 } },
        { 0, 10, false, 3.0, { 1440, 720 } },
        { 0, 0, false, 6.0, { 2000, 1000 } }, // all the file holds
        { 90, 0, false, 2.0, { 960, 480 } },
        { 45, 10, true, 3.0, { 1440, 1440 } },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.rotation << " degrees at " << row.pixelsPerPoint);
        item->rotate_image = float(row.rotation);
        item->blr_val = row.blur;
        item->gray_Scale = row.grey;
        const picturerenditions::Output output = item->outputPicture(row.pixelsPerPoint);
        EXPECT_FALSE(output.fellBack);
        ASSERT_EQ(output.picture.size(), row.drawn);
        if (row.drawn.isEmpty())
            continue;
        const QImage working = picturerenditions::adjusted(item->pictureSource(), item->adjustments());
        const QImage brought = output.picture.scaled(working.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        int differ = 0;
        for (int y = 0; y < working.height(); ++y)
            for (int x = 0; x < working.width(); ++x)
                differ += channelDistance(working.pixelColor(x, y).rgba(), brought.pixelColor(x, y).rgba()) > 24;
        EXPECT_LT(differ, working.width() * working.height() / 200) << "of " << working.width() * working.height();
        const QColor middle = output.picture.pixelColor(output.picture.width() / 4, output.picture.height() / 2);
        EXPECT_EQ(row.grey, middle.red() == middle.blue()) << qPrintable(middle.name());
    }
}

TEST(TSLImageDrawing, HiddenEmptyPathAndMissingFileDrawWhatTheyShould)
{
    FakeEditor editor;
    auto item = pictureItem(blank(20, 20, Qt::red), { 10, 10, 40, 40 }, QStringLiteral("hidden"), true);
    item->_strokeWidth = 4;
    const QImage untouched = blank(60, 60);

    QImage image = untouched;
    item->ctrl_is_visible = false;
    draw(*item, image);
    EXPECT_TRUE(samePixels(image, untouched));
    EXPECT_EQ(editor.refreshes, 0);

    item->ctrl_is_visible = true;
    item->_file_path = QString();
    draw(*item, image);
    EXPECT_TRUE(samePixels(image, untouched)); // not even the border
    EXPECT_EQ(editor.refreshes, 0);

    item->setFilePath(testsupport::makeTempFolder(QStringLiteral("no-picture")) + QStringLiteral("/missing.png"));
    EXPECT_TRUE(item->contents().isNull());
    draw(*item, image);
    keepPicture(image, QStringLiteral("picture_item_missing_file"));
    EXPECT_TRUE(near(at(image, 9, 30), Qt::black));
    EXPECT_TRUE(near(at(image, 30, 30), Qt::white));
    EXPECT_EQ(editor.refreshes, 1);
}

TEST(TSLImageCreation, NewItemsAreCentredAtThePictureSizeAndResetThePicturePage)
{
    FakeEditor editor;
    const QString folder = testsupport::makeTempFolder(QStringLiteral("new-pictures"));
    const QString path = writePicture(blank(100, 50, Qt::red), folder, QStringLiteral("photo.png"));

    auto fromFile = TSLImage::initWithPath({ 200, 100 }, path);
    EXPECT_EQ(fromFile->bounds(), QRectF(150, 75, 100, 50));
    EXPECT_EQ(fromFile->_file_path, path);
    EXPECT_EQ(editor.controlResets, 1);

    auto missing = TSLImage::initWithPath({ 200, 100 }, folder + QStringLiteral("/none.png"));
    EXPECT_EQ(missing->bounds(), QRectF(200, 100, 0, 0));

    // A picture without a chosen library path is held but not drawn.
    const QString saved = Library_Selected_Image;
    Library_Selected_Image = QString();
    auto unnamed = TSLImage::initWithPosition({ 30, 30 }, blank(20, 20, Qt::red));
    EXPECT_EQ(unnamed->bounds(), QRectF(20, 20, 20, 20));
    QImage image = blank(60, 60);
    draw(*unnamed, image);
    EXPECT_TRUE(near(at(image, 30, 30), Qt::white));

    Library_Selected_Image = path;
    auto named = TSLImage::initWithPosition({ 30, 30 }, blank(20, 20, Qt::green));
    draw(*named, image);
    EXPECT_TRUE(near(at(image, 30, 30), Qt::green));
    EXPECT_EQ(named->_file_path, path);
    EXPECT_EQ(editor.controlResets, 4);
    Library_Selected_Image = saved;
}

TEST(TSLImageCreation, FlipsAreUndoableAndRedrawingValues)
{
    TSLImage item;
    for (const QString& key : { TSLImageIsFlippedHorizontallyKey, TSLImageIsFlippedVerticallyKey }) {
        EXPECT_TRUE(item.keysForValuesToObserveForUndo().contains(key));
        EXPECT_TRUE(TSLImage::keyPathsForValuesAffectingDrawingContents().contains(key));
    }
    EXPECT_TRUE(item.keysForValuesToObserveForUndo().contains(QStringLiteral("bounds")));
    EXPECT_EQ(item.presentablePropertyNameForKey(TSLImageIsFlippedVerticallyKey), QStringLiteral("Vertical Flip"));
    EXPECT_EQ(item.presentablePropertyNameForKey(QStringLiteral("bounds")), QStringLiteral("Position and Size"));
    item.flipHorizontally();
    item.flipHorizontally();
    EXPECT_FALSE(item._isFlippedHorizontally);
    EXPECT_EQ(item.properties().value(TSLImageIsFlippedHorizontallyKey).toBool(), false);
}

TEST(CanvasRefresh, RequestsAreDroppedWhilePaintingOrRenderingARecordAndWorkersAreQueued)
{
    FakeEditor editor;
    auto item = pictureItem(blank(10, 10, Qt::red), { 0, 0, 10, 10 }, QStringLiteral("refresh"));
    QImage image = blank(20, 20);

    draw(*item, image);
    EXPECT_EQ(editor.refreshes, 1);
    {
        CanvasPaintScope painting;
        draw(*item, image);
    }
    EXPECT_EQ(editor.refreshes, 1);

    Card_Value_In_Process = true;
    draw(*item, image);
    Card_Value_In_Process = false;
    EXPECT_EQ(editor.refreshes, 1);

    // A worker's request reaches the canvas on the GUI thread, after the worker is done.
    std::thread worker([&] {
        QImage own = blank(20, 20);
        draw(*item, own);
    });
    worker.join();
    EXPECT_EQ(editor.refreshes, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(editor.refreshes, 2);
    EXPECT_TRUE(editor.refreshedOnGuiThread);
}
