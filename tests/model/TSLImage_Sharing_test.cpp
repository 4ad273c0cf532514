// Picture items share their decoded files and keep their adjusted pictures: one decode per file for any
// number of items, decoding at the first paint rather than when the item is made, one new adjusted
// picture when one item's values change, a file changed on disk seen when its path is given again, and
// memory kept within the cache's budget.
#include "model/PictureFiles.h"
#include "model/PictureProbes.h"

#include "model/PictureCache.h"
#include "model/TSLImage.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QPainter>
#include <QPicture>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

using namespace pictureprobes;

namespace {

using Kind = PictureCache::Kind;

quint64 made(Kind kind)
{
    return PictureCache::instance().counts().made[int(kind)];
}

int held(Kind kind)
{
    return PictureCache::instance().counts().held[int(kind)];
}

// Starts each test with an empty cache at the program's budget, and leaves it so.
class PictureSharing : public ::testing::Test {
protected:
    void SetUp() override
    {
        PictureCache::instance().setBudget(PictureCache::kDefaultBudget);
        PictureCache::instance().clear();
        folder_ = testsupport::makeTempFolder(QStringLiteral("picture-sharing"));
    }
    void TearDown() override
    {
        PictureCache::instance().setBudget(PictureCache::kDefaultBudget);
        PictureCache::instance().clear();
    }

    QString file(const QImage& picture, const QString& name) { return writePicture(picture, folder_, name); }

    // Items on a grid of 10 x 10 cells of 10 x 10 points, each showing the file.
    static TSLGraphicList grid(const QString& path, int count = 100)
    {
        TSLGraphicList items;
        for (int i = 0; i < count; ++i) {
            auto item = std::make_shared<TSLImage>();
            item->setFilePath(path);
            item->_bounds = QRectF((i % 10) * 10, (i / 10) * 10, 10, 10);
            item->_isDrawingStroke = false;
            items.push_back(item);
        }
        return items;
    }

    static QImage paint(const TSLGraphicList& items, bool canvas = false, double scale = 1.0)
    {
        QImage image = blank(int(100 * scale), int(100 * scale));
        QPainter painter(&image);
        painter.scale(scale, scale);
        TSLDrawingContext context { &painter, canvas, scale };
        for (const TSLGraphicPtr& item : items)
            item->drawContentsInView(context, false);
        return image;
    }

    QString folder_;
};

} // namespace

TEST_F(PictureSharing, HundredItemsShowingOneFileHoldOneDecodedSourceDecodedAtTheFirstPaint)
{
    const QString path = file(filled(300, 200, Qt::red), QStringLiteral("one.png"));
    const TSLGraphicList items = grid(path);
    auto first = TSLImage::initWithPath({ 50, 50 }, path); // the size comes from the file's header
    EXPECT_EQ(first->bounds(), QRectF(-100, -50, 300, 200));
    EXPECT_EQ(first->naturalSize(), QSizeF(300, 200));
    EXPECT_EQ(made(Kind::Source), 0u) << "nothing is decoded before the first paint";

    const QImage image = paint(items);
    EXPECT_EQ(made(Kind::Source), 1u);
    EXPECT_EQ(held(Kind::Source), 1);
    EXPECT_EQ(made(Kind::Adjusted), 1u); // one set of values, one adjusted picture for all
    EXPECT_TRUE(colorNear(at(image, 5, 5), Qt::red));
    EXPECT_TRUE(colorNear(at(image, 95, 95), Qt::red));

    paint(items);
    EXPECT_EQ(made(Kind::Source), 1u);
    EXPECT_EQ(made(Kind::Adjusted), 1u) << "a repaint makes nothing again";
}

TEST_F(PictureSharing, ChangingOneItemsAdjustmentRemakesItsPictureAndNoOther)
{
    const QString path = file(varied(60, 40), QStringLiteral("varied.png"));
    const TSLGraphicList items = grid(path);
    const QImage before = paint(items);
    ASSERT_EQ(made(Kind::Adjusted), 1u);

    struct Change {
        const char* name;
        std::function<void(TSLImage&)> apply;
    };
    const Change changes[] = {
        { "grayscale", [](TSLImage& i) { i.gray_Scale = true; } },
        { "sepia", [](TSLImage& i) { i.Sepia = true; } },
        { "invert", [](TSLImage& i) { i.invert_clr = true; } },
        { "hue", [](TSLImage& i) { i.hue_val = 1.5f; } },
        { "saturation", [](TSLImage& i) { i.sat_val = 0.2f; } },
        { "brightness", [](TSLImage& i) { i.brt_val = 0.3f; } },
        { "contrast", [](TSLImage& i) { i.con_val = 2.0f; } },
        { "sharpness", [](TSLImage& i) { i.srp_val = 2.0f; } },
        { "exposure", [](TSLImage& i) { i.ev_val = 1.0f; } },
        { "blur", [](TSLImage& i) { i.blr_val = 3.0f; } },
        { "rotation", [](TSLImage& i) { i.rotate_image = 180.0f; } },
    };
    int index = 0;
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        auto& item = static_cast<TSLImage&>(*items.at(std::size_t(index)));
        const quint64 adjustedBefore = made(Kind::Adjusted);
        change.apply(item);
        const QImage after = paint(items);
        EXPECT_EQ(made(Kind::Adjusted), adjustedBefore + 1) << "only the changed item's picture is made again";
        EXPECT_EQ(made(Kind::Source), 1u) << "the file is not decoded again";
        // The changed item's cell shows the change; the next, unchanged cell does not.
        const QRect cell((index % 10) * 10, (index / 10) * 10, 10, 10);
        const QRect next(cell.translated(0, 10));
        EXPECT_FALSE(samePixels(after.copy(cell), before.copy(cell)));
        EXPECT_TRUE(samePixels(after.copy(next), before.copy(next)));
        paint(items);
        EXPECT_EQ(made(Kind::Adjusted), adjustedBefore + 1) << "a repaint makes nothing again";
        ++index;
    }
}

TEST_F(PictureSharing, APictureEditedOnDiskIsSeenWhenThePathIsGivenAgain)
{
    const QString path = file(filled(20, 20, Qt::red), QStringLiteral("edited.png"));
    const TSLGraphicList items = grid(path, 1);
    auto& item = static_cast<TSLImage&>(*items.front());
    EXPECT_TRUE(colorNear(at(paint(items), 5, 5), Qt::red));

    file(filled(20, 20, Qt::blue), QStringLiteral("edited.png")); // same size, same name
    // The item holds the picture as it was read until its path is given again, as opening a design does.
    EXPECT_TRUE(colorNear(at(paint(items), 5, 5), Qt::red));
    item.setFilePath(path);
    EXPECT_TRUE(colorNear(at(paint(items), 5, 5), Qt::blue));
    EXPECT_TRUE(colorNear(item.contents().pixelColor(0, 0), Qt::blue));

    // The same through the item archive, the road of the clipboard.
    file(filled(20, 20, Qt::green), QStringLiteral("edited.png"));
    const std::optional<TSLGraphicList> reread
        = TSLGraphic::graphicsWithPasteboardData(TSLGraphic::pasteboardDataWithGraphics(items), nullptr);
    ASSERT_TRUE(reread && reread->size() == 1);
    EXPECT_TRUE(colorNear(at(paint(*reread), 5, 5), Qt::green));
}

TEST_F(PictureSharing, AMissingOrUnreadableFileDrawsTheBorderOnlyAndIsNotRetriedAtEveryPaint)
{
    QFile junk(folder_ + QStringLiteral("/junk.png"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture at all");
    junk.close();
    for (const QString& path : { junk.fileName(), folder_ + QStringLiteral("/missing.png") }) {
        SCOPED_TRACE(path.toStdString());
        PictureCache::instance().clear();
        auto item = TSLImage::initWithPath({ 0, 0 }, path);
        EXPECT_EQ(item->bounds().size(), QSizeF(0, 0));
        item->_bounds = QRectF(10, 10, 50, 50);
        EXPECT_TRUE(item->contents().isNull());
        const QImage image = paint({ item });
        EXPECT_TRUE(colorNear(at(image, 10, 30), Qt::black)); // the 1-point border
        EXPECT_TRUE(isWhite(at(image, 35, 35)));
        paint({ item });
        EXPECT_LE(made(Kind::Source), 1u);
    }
}

TEST_F(PictureSharing, CanvasPaintsUseACopyAtTheDrawnSizeMadeAgainOnlyWhenThatSizeChanges)
{
    const QString path = file(quarters(400, 400), QStringLiteral("quarters.png"));
    TSLGraphicList items = grid(path, 1);
    items.front()->_bounds = QRectF(0, 0, 40, 40);

    const QImage atOne = paint(items, true);
    EXPECT_EQ(made(Kind::Display), 1u);
    paint(items, true);
    EXPECT_EQ(made(Kind::Display), 1u) << "the same size reuses its copy";
    const QImage atTwo = paint(items, true, 2.0);
    EXPECT_EQ(made(Kind::Display), 2u) << "another size makes another copy";
    paint(items, true, 1.0);
    EXPECT_EQ(made(Kind::Display), 2u);
    // Every raster output draws a copy averaged to its own pixels; a vector recording draws the full picture.
    const QImage print = paint(items, false, 4.0);
    EXPECT_EQ(made(Kind::Display), 3u);
    QPicture recording;
    QPainter recorder(&recording);
    TSLDrawingContext vector { &recorder, false, 1.0 };
    items.front()->drawContentsInView(vector, false);
    recorder.end();
    EXPECT_EQ(made(Kind::Display), 3u);

    struct Probe {
        QPointF point;
        QColor color;
    };
    const Probe probes[]
        = { { { 10, 10 }, Qt::red }, { { 30, 10 }, Qt::green }, { { 10, 30 }, Qt::blue }, { { 30, 30 }, Qt::yellow } };
    for (const Probe& probe : probes) {
        EXPECT_TRUE(colorNear(pixelAt(atOne, probe.point), probe.color));
        EXPECT_TRUE(colorNear(pixelAt(atTwo, probe.point, 2.0), probe.color));
        EXPECT_TRUE(colorNear(pixelAt(print, probe.point, 4.0), probe.color));
    }
    // The copy fills the bounds exactly: the edges of the picture land on the edges of the bounds.
    EXPECT_EQ(inkBounds(atTwo), QRect(0, 0, 80, 80));
}

TEST_F(PictureSharing, AHugePictureOnManyItemsIsDecodedOnceAndMemoryStaysWithinTheBudget)
{
    // A small file that decodes to 5000 x 5000 pixels (100 MB), over a budget that cannot hold it.
    const QString path = file(filled(5000, 5000, Qt::darkGreen, QImage::Format_RGB32), QStringLiteral("huge.png"));
    PictureCache::instance().setBudget(48 * 1024 * 1024);
    const TSLGraphicList items = grid(path, 20);
    EXPECT_EQ(made(Kind::Source), 0u) << "making the items decodes nothing";
    EXPECT_EQ(static_cast<TSLImage&>(*items.front()).naturalSize(), QSizeF(468, 468));

    const QImage image = paint(items);
    EXPECT_EQ(made(Kind::Source), 1u) << "the adjusted picture serves every item";
    EXPECT_EQ(held(Kind::Source), 1);
    // What is kept is the picture at the size the chain works at, not the whole decode.
    EXPECT_LE(PictureCache::instance().counts().bytes, 2 * 1024 * 1024);
    EXPECT_TRUE(colorNear(at(image, 5, 5), Qt::darkGreen));
    EXPECT_TRUE(colorNear(at(image, 95, 15), Qt::darkGreen));
}

TEST_F(PictureSharing, DroppedPicturesAreMadeAgainWhenNeeded)
{
    const QString red = file(filled(100, 100, Qt::red), QStringLiteral("r.png"));
    const QString blue = file(filled(100, 100, Qt::blue), QStringLiteral("b.png"));
    TSLGraphicList items = grid(red, 1);
    TSLGraphicList more = grid(blue, 1);
    items.push_back(more.front());
    items.back()->_bounds = QRectF(50, 50, 10, 10);
    // Room for about one decoded picture with its adjusted copy.
    PictureCache::instance().setBudget(100 * 100 * 4 * 2 + 4096);
    for (int round = 0; round < 3; ++round) {
        const QImage image = paint(items, false, 10.0); // each picture at its own pixels: no scaled copy
        EXPECT_TRUE(colorNear(pixelAt(image, { 5, 5 }, 10.0), Qt::red));
        EXPECT_TRUE(colorNear(pixelAt(image, { 55, 55 }, 10.0), Qt::blue));
        EXPECT_LE(PictureCache::instance().counts().bytes, PictureCache::instance().budget());
    }
    EXPECT_GT(made(Kind::Source), 2u) << "pictures dropped for room are decoded again";
}

TEST_F(PictureSharing, ThreadsRenderingCopiesOfOneSideTogetherShareOneDecode)
{
    const QString path = file(quarters(200, 200), QStringLiteral("threads.png"));
    const TSLGraphicList items = grid(path, 20);
    std::vector<QImage> results(6);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < results.size(); ++t) {
        threads.emplace_back([&, t] {
            TSLGraphicList copies; // each worker renders its own snapshot, as export does
            for (const TSLGraphicPtr& item : items)
                copies.push_back(item->copyWithZone());
            results[t] = paint(copies);
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(made(Kind::Source), 1u);
    EXPECT_EQ(made(Kind::Adjusted), 1u);
    for (const QImage& result : results) {
        EXPECT_TRUE(samePixels(result, results.front()));
        EXPECT_TRUE(colorNear(at(result, 1, 1), Qt::red));
        EXPECT_TRUE(colorNear(at(result, 8, 8), Qt::yellow));
    }
}

TEST_F(PictureSharing, APictureTheReaderWouldRefuseHasNoSizeAndShowsNothingButItsBorder)
{
    // Its header asks for 12000 x 9000 pixels, more than one decode may take.
    const QString deepPath = QDir(folder_).filePath(QStringLiteral("deep.png"));
    ASSERT_TRUE(picturefiles::write(deepPath, picturefiles::pngHeaderOnly(12000, 9000)));
    const QString plainPath = file(filled(400, 400, Qt::blue, QImage::Format_RGB32), QStringLiteral("plain.png"));

    auto refused = TSLImage::initWithPath({ 0, 0 }, deepPath);
    auto accepted = TSLImage::initWithPath({ 0, 0 }, plainPath);
    EXPECT_EQ(refused->bounds().size(), QSizeF(0, 0));
    EXPECT_EQ(accepted->bounds().size(), QSizeF(400, 400));
    refused->_bounds = QRectF(10, 10, 40, 40);
    const QImage image = paint({ refused });
    EXPECT_TRUE(colorNear(at(image, 10, 30), Qt::black));
    EXPECT_TRUE(isWhite(at(image, 30, 30)));
}
