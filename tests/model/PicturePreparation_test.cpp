// Preparing a side's pictures makes exactly what its drawing will ask for, and only that.
#include "model/PictureProbes.h"

#include "model/PictureCache.h"
#include "model/PicturePreparation.h"
#include "model/TSLImage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace pictureprobes;

namespace {

using Kind = PictureCache::Kind;

class PicturePreparation : public ::testing::Test {
protected:
    void SetUp() override
    {
        PictureCache::instance().setBudget(PictureCache::kDefaultBudget);
        PictureCache::instance().clear();
        folder_ = testsupport::makeTempFolder(QStringLiteral("picture-preparation"));
    }
    void TearDown() override
    {
        PictureCache::instance().setBudget(PictureCache::kDefaultBudget);
        PictureCache::instance().clear();
    }

    // Ten items, each on a file of its own colour, every third one in grey scale, in a row of 10-point cells.
    TSLGraphicList tenPictures()
    {
        TSLGraphicList items;
        for (int i = 0; i < 10; ++i) {
            const QColor color = QColor::fromHsv(i * 36, 200, 220);
            auto item = TSLImage::initWithPath(
                { 0, 0 }, writePicture(filled(50, 40, color), folder_, QStringLiteral("p%1.png").arg(i)));
            item->_bounds = QRectF(i * 10, 0, 10, 10);
            item->_isDrawingStroke = false;
            item->gray_Scale = i % 3 == 0;
            items.push_back(item);
        }
        return items;
    }

    static QImage paint(const TSLGraphicList& items)
    {
        QImage image = blank(100, 10);
        QPainter painter(&image);
        TSLDrawingContext context { &painter, false, 1.0 };
        for (const TSLGraphicPtr& item : items)
            item->drawContentsInView(context, false);
        return image;
    }

    // As the canvas paints: through the painter's transform, from the copies scaled for the screen.
    static QImage paintOnCanvas(const TSLGraphicList& items, double zoom)
    {
        QImage image = blank(int(200 * zoom), int(20 * zoom));
        QPainter painter(&image);
        painter.scale(zoom, zoom);
        TSLDrawingContext context { &painter, true, zoom };
        for (const TSLGraphicPtr& item : items)
            item->drawContentsInView(context, false);
        return image;
    }

    static quint64 made(Kind kind) { return PictureCache::instance().counts().made[int(kind)]; }

    QString folder_;
};

} // namespace

TEST_F(PicturePreparation, MakesEveryPictureTheDrawingNeedsSoTheDrawingMakesNone)
{
    const TSLGraphicList items = tenPictures();
    const QImage unprepared = paint(items);
    PictureCache::instance().clear();

    preparePictures(items);
    EXPECT_EQ(made(Kind::Source), 10u);
    EXPECT_EQ(made(Kind::Adjusted), 10u);
    const QImage prepared = paint(items);
    EXPECT_EQ(made(Kind::Source), 10u);
    EXPECT_EQ(made(Kind::Adjusted), 10u) << "the drawing found every picture made";
    EXPECT_TRUE(samePixels(prepared, unprepared)) << "the prepared pictures are the ones drawing makes";

    preparePictures(items);
    EXPECT_EQ(made(Kind::Adjusted), 10u) << "what is held is not made again";
}

TEST_F(PicturePreparation, LeavesAloneWhatTheDrawingWillNotShow)
{
    struct Case {
        const char* name;
        std::function<void(TSLImage&)> change;
        QRectF area;
    };
    const Case cases[] = {
        { "hidden", [](TSLImage& i) { i.ctrl_is_visible = false; }, {} },
        { "no path", [](TSLImage& i) { i.setFilePath(QString()); }, {} },
        { "transparent", [](TSLImage& i) { i.img_trnsp_val = 0.0f; }, {} },
        { "outside the area", [](TSLImage&) {}, QRectF(0, 50, 100, 10) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PictureCache::instance().clear();
        const TSLGraphicList items = tenPictures();
        for (const TSLGraphicPtr& item : items)
            c.change(static_cast<TSLImage&>(*item));
        preparePictures(items, c.area);
        EXPECT_EQ(made(Kind::Source), 0u);
        EXPECT_EQ(made(Kind::Adjusted), 0u);
    }
}

TEST_F(PicturePreparation, PicturesTooLargeToDecodeSideBySideAreLeftToTheDrawing)
{
    const TSLGraphicList items = tenPictures();
    // A budget that lets no picture of 50 x 40 be decoded beside others.
    PictureCache::instance().setBudget(50 * 40 * 4);
    preparePictures(items);
    EXPECT_EQ(made(Kind::Source), 0u);
    const QImage image = paint(items);
    EXPECT_EQ(made(Kind::Adjusted), 10u);
    EXPECT_TRUE(colorNear(at(image, 15, 5), QColor::fromHsv(36, 200, 220)));
}

TEST_F(PicturePreparation, MakesTheScreenCopiesTheCanvasWillPaintOncePerPictureAndSize)
{
    TSLGraphicList items = tenPictures();
    TSLGraphicPtr sameSize = items[0]->copyWithZone(); // same picture, same size: shares the copy
    sameSize->_bounds = QRectF(100, 0, 10, 10);
    TSLGraphicPtr wider = items[0]->copyWithZone(); // same picture at another size: a copy of its own
    wider->_bounds = QRectF(120, 0, 15, 10);
    for (const TSLGraphicPtr& copy : { sameSize, wider }) {
        copy->gray_Scale = items[0]->gray_Scale; // a copy takes the shape fields only
        copy->_isDrawingStroke = false;
        items.push_back(copy);
    }

    for (const double zoom : { 1.0, 2.0 }) {
        SCOPED_TRACE(zoom);
        PictureCache::instance().clear();
        const QImage unprepared = paintOnCanvas(items, zoom);
        PictureCache::instance().clear();

        preparePictures(items, QRectF(), QTransform::fromScale(zoom, zoom));
        EXPECT_EQ(made(Kind::Display), 11u);
        const QImage prepared = paintOnCanvas(items, zoom);
        EXPECT_EQ(made(Kind::Display), 11u) << "the drawing found every copy made";
        EXPECT_EQ(made(Kind::Adjusted), 10u);
        EXPECT_TRUE(samePixels(prepared, unprepared)) << "the prepared copies are the ones drawing makes";
    }

    // Without the transform nothing is known of the screen: only the adjusted pictures are made.
    PictureCache::instance().clear();
    preparePictures(items);
    EXPECT_EQ(made(Kind::Display), 0u);
    EXPECT_EQ(made(Kind::Adjusted), 10u);
}
