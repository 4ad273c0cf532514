#include "canvas/RenderingFixtures.h"

#include "canvas/TSLRenderingView.h"
#include "common/Globals.h"
#include "model/TSLError.h"
#include "platform/KeyedArchive.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QPainter>

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

using namespace renderingfixtures;

namespace {

const QColor red(220, 0, 0);
const QColor yellow(250, 220, 0);
const QColor blue(0, 0, 255);

QImage readTiff(const QByteArray& data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "tiff");
    return reader.read();
}

// An item whose drawing fails, as a damaged item might.
class BrokenItem : public TSLGraphic {
public:
    void drawContentsInView(const TSLDrawingContext&, bool) override { throw std::runtime_error("broken item"); }
};

// Restores the process-wide side and outline after a test changes them.
struct GlobalsGuard {
    int side = Card_Front_Or_Back;
    int shape = Card_Shape;
    ~GlobalsGuard()
    {
        Card_Front_Or_Back = side;
        Card_Shape = shape;
    }
};

TSLGraphicList archivedCopy(const TSLGraphicList& items)
{
    return TSLGraphic::graphicsWithProperties(TSLGraphic::propertiesWithGraphics(items));
}

} // namespace

TEST(TSLRenderingView, PictureShowsCardBaseAndPrintableItemsWhereTheyAreFrontMostLast)
{
    // Index 0 is front-most: the yellow square covers part of the red one.
    const TSLGraphicList items = { square(QRectF(30, 30, 20, 20), yellow), square(QRectF(20, 20, 40, 40), red),
        square(QRectF(100, 60, 30, 30), QColor(0, 200, 0), 1) };
    const QImage picture = TSLRenderingView::image_From_Card_Graphics(items, false, side(blue));

    ASSERT_EQ(picture.size(), QSize(243, 154));
    EXPECT_EQ(picture.devicePixelRatio(), 1.0);
    EXPECT_TRUE(near(picture.pixelColor(40, 40), yellow));
    EXPECT_TRUE(near(picture.pixelColor(25, 25), red));
    EXPECT_TRUE(near(picture.pixelColor(55, 55), red));
    EXPECT_TRUE(near(picture.pixelColor(62, 40), blue)); // just right of the red square: the card
    EXPECT_TRUE(near(picture.pixelColor(115, 75), blue)); // the non-printing item is left out
    EXPECT_TRUE(near(picture.pixelColor(2, 2), blue));
    EXPECT_TRUE(near(picture.pixelColor(240, 151), blue));
}

TEST(TSLRenderingView, PictureAlwaysCoversTheCanvasWhateverTheItems)
{
    // Fractional canvas sizes round to the nearest whole pixels; items outside the canvas are cut off.
    const TSLGraphicList items = { square(QRectF(200, 100, 300, 300), red) };
    const QImage picture
        = TSLRenderingView::image_From_Card_Graphics(items, false, side(blue, QRectF(0, 0, 242.65, 153.07)));
    ASSERT_EQ(picture.size(), QSize(243, 153));
    EXPECT_TRUE(near(picture.pixelColor(230, 140), red));
    EXPECT_TRUE(near(picture.pixelColor(100, 50), blue));

    // The empty list: the card base alone.
    const QImage bare = TSLRenderingView::image_From_Card_Graphics({}, false, side(blue));
    ASSERT_EQ(bare.size(), QSize(243, 154));
    EXPECT_TRUE(near(bare.pixelColor(120, 77), blue));

    // Without a canvas there is nothing to draw on.
    EXPECT_TRUE(TSLRenderingView::image_From_Card_Graphics(items, false, side(blue, QRectF())).isNull());
    EXPECT_TRUE(TSLRenderingView::pdfDataWithGraphics_data(items, side(blue, QRectF())).isEmpty());
}

TEST(TSLRenderingView, CardPictureCoversEveryPixelUpToTheLastRowAndColumn)
{
    // The last two: CR80 as typed in millimetres and as picked from the size list (inches in single precision).
    const struct {
        QRectF canvas;
        double pixelsPerPoint;
        QSize pixels;
    } cases[] = { { { 0, 0, 242.65, 153.07 }, 1.0, { 243, 153 } }, { { 0, 0, 243, 153 }, 300.0 / 72, { 1013, 638 } },
        { { 0, 0, 242.65, 153.07 }, 600.0 / 72, { 2022, 1276 } },
        { { 0, 0, 242.64566, 153.35433 }, 300.0 / 72, { 1011, 639 } },
        { { 0, 0, 242.63999939, 153.36000061 }, 300.0 / 72, { 1011, 639 } } };
    for (const auto& c : cases) {
        const QImage picture = TSLRenderingView::image_From_Card_Graphics({}, side(blue, c.canvas), c.pixelsPerPoint);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.size(), c.pixels) << c.canvas.width() << " x " << c.canvas.height() << " pt";
        int partly = 0;
        for (int x = 0; x < picture.width(); ++x)
            partly += picture.pixelColor(x, picture.height() - 1).alpha() < 255;
        for (int y = 0; y < picture.height(); ++y)
            partly += picture.pixelColor(picture.width() - 1, y).alpha() < 255;
        EXPECT_EQ(partly, 0) << c.canvas.width() << " pt at " << c.pixelsPerPoint * 72 << " dpi";
    }
}

// A rectangular card's picture starts from its ground colour instead of transparency; every pixel must be
// what painting the whole card over transparency gives, whatever the background.
TEST(TSLRenderingView, ARectangularCardStartedFromItsGroundIsTheCardPaintedOverTransparency)
{
    const auto withFill = [](const QString& style, const QColor& colour, bool border) {
        TSLRenderingSide result = side(colour, QRectF(0, 0, 242.65, 153.07));
        result.property.setCard_fill_style(style);
        result.property.setCard_fill_Grd_1_clr(red);
        result.property.setCard_fill_Grd_2_clr(yellow);
        result.property.setCard_hatch_bk_clr(yellow);
        result.property.setCard_border_chk(border);
        result.property.setCard_bordr_clr(red);
        result.property.setCard_bor_Stepper(3);
        return result;
    };
    TSLRenderingSide unfilled = withFill(QStringLiteral("S"), blue, false);
    unfilled.property.setCard_fill_chk(false);
    const TSLRenderingSide cases[] = { withFill(QStringLiteral("S"), blue, false),
        withFill(QStringLiteral("S"), QColor(0, 0, 255, 90), true), withFill(QStringLiteral("S"), QColor(), false),
        withFill(QStringLiteral("G"), blue, true), withFill(QStringLiteral("H"), blue, false), unfilled };
    const TSLGraphicList items { square(QRectF(20.3, 10.7, 60, 40), QColor(220, 0, 0, 128)) };
    for (const TSLRenderingSide& card : cases) {
        for (const double pixelsPerPoint : { 1.0, 300.0 / 72 }) {
            QImage quick;
            ASSERT_TRUE(TSLRenderingView::draw_Card_Graphics_Into(quick, items, card, pixelsPerPoint));
            QImage painted(quick.size(), QImage::Format_ARGB32_Premultiplied);
            painted.fill(Qt::transparent);
            {
                QPainter painter(&painted);
                painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
                painter.scale(pixelsPerPoint, pixelsPerPoint);
                painter.setClipRect(card.canvasBounds);
                TSLRenderingView(card.canvasBounds, items, card).drawRect(painter, card.canvasBounds, pixelsPerPoint);
            }
            // The last row and column are partly outside the card and copy their neighbours in both.
            const QRect inside(0, 0, quick.width() - 1, quick.height() - 1);
            EXPECT_EQ(quick.copy(inside), painted.copy(inside))
                << card.property.Card_fill_style().toStdString() << " "
                << card.property.Card_fill_clr().name(QColor::HexArgb).toStdString() << " at " << pixelsPerPoint * 72
                << " dpi";
        }
    }
}

TEST(TSLRenderingView, OvalCardLeavesTheCornersTransparent)
{
    TSLRenderingSide oval = side(blue);
    oval.cardShape = 2;
    const QImage picture = TSLRenderingView::image_From_Card_Graphics({}, false, oval);
    EXPECT_EQ(picture.pixelColor(1, 1).alpha(), 0);
    EXPECT_TRUE(near(picture.pixelColor(121, 77), blue));
}

TEST(TSLRenderingView, PrintingPictureHasMorePixelsButTheSameSizeInPoints)
{
    const TSLGraphicList items = { square(QRectF(20, 20, 40, 40), red) };
    const QImage picture = TSLRenderingView::image_From_Card_Graphics(items, true, side(blue));
    const double scale = TSLRenderingView::printPixelsPerPoint;
    ASSERT_EQ(picture.size(), QSize(int(std::ceil(243 * scale)), int(std::ceil(154 * scale))));
    EXPECT_DOUBLE_EQ(picture.devicePixelRatio(), scale);
    EXPECT_NEAR(picture.deviceIndependentSize().width(), 243, 0.5);
    EXPECT_NEAR(picture.deviceIndependentSize().height(), 154, 0.5);
    EXPECT_NEAR(picture.dotsPerMeterX(), 300 / 0.0254, 1);
    EXPECT_TRUE(near(picture.pixelColor(int(21 * scale), int(21 * scale)), red));
    EXPECT_TRUE(near(picture.pixelColor(int(59 * scale), int(59 * scale)), red));
    EXPECT_TRUE(near(picture.pixelColor(int(61 * scale), int(40 * scale)), blue));
}

TEST(TSLRenderingView, CurrentSideTakesTheRecordNamedByTheSideInUse)
{
    GlobalsGuard guard;
    TwoSidedEditor editor;
    const TSLGraphicList items = { square(QRectF(20, 20, 40, 40), red) };

    Card_Front_Or_Back = 1;
    Card_Shape = 0;
    const TSLRenderingSide back = TSLRenderingSide::currentSide();
    EXPECT_EQ(back.frontOrBack, 1);
    EXPECT_EQ(back.canvasBounds, QRectF(0, 0, 243, 154));
    const QImage backPicture = TSLRenderingView::image_From_Card_Graphics(items, false, back);
    EXPECT_TRUE(near(backPicture.pixelColor(120, 100), editor.back));
    EXPECT_TRUE(near(backPicture.pixelColor(40, 40), red));

    Card_Front_Or_Back = 0;
    const QImage frontPicture
        = TSLRenderingView::image_From_Card_Graphics(items, false, TSLRenderingSide::currentSide());
    EXPECT_TRUE(near(frontPicture.pixelColor(120, 100), editor.front));

    // What was taken stays: changing the side afterwards does not change a rendering made from it.
    Card_Front_Or_Back = 0;
    editor.back = QColor(Qt::black);
    const QImage again = TSLRenderingView::image_From_Card_Graphics(items, false, back);
    EXPECT_TRUE(near(again.pixelColor(120, 100), QColor(0, 160, 0)));
}

TEST(TSLRenderingView, RendersOnAWorkerThreadFromACopyTakenOnTheGuiThread)
{
    GlobalsGuard guard;
    TwoSidedEditor editor;
    Card_Front_Or_Back = 1;
    const TSLGraphicList items = { square(QRectF(30, 30, 20, 20), yellow), square(QRectF(20, 20, 40, 40), red),
        square(QRectF(150, 80, 60, 50), QColor(90, 0, 160)) };
    const QImage expected = TSLRenderingView::image_From_Card_Graphics(items, false, TSLRenderingSide::currentSide());

    // Taken on the GUI thread, then the globals change under the worker.
    const TSLGraphicList copy = archivedCopy(items);
    const TSLRenderingSide taken = TSLRenderingSide::currentSide();
    Card_Front_Or_Back = 0;
    Card_Shape = 2;

    QImage picture;
    QByteArray pdf;
    std::optional<QByteArray> tiff;
    std::thread worker([&] {
        picture = TSLRenderingView::image_From_Card_Graphics(copy, false, taken);
        pdf = TSLRenderingView::pdfDataWithGraphics_data(copy, taken);
        tiff = TSLRenderingView::tiffDataWithGraphics(copy, nullptr);
    });
    worker.join();
    QCoreApplication::processEvents();

    ASSERT_EQ(picture.size(), expected.size());
    EXPECT_EQ(picture.convertToFormat(QImage::Format_ARGB32), expected.convertToFormat(QImage::Format_ARGB32));
    EXPECT_TRUE(near(picture.pixelColor(120, 140), editor.back));
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    ASSERT_TRUE(tiff.has_value());
    EXPECT_FALSE(readTiff(*tiff).isNull());
    EXPECT_EQ(editor.refreshes, 0); // an off-screen rendering never asks the canvas to redraw
}

TEST(TSLRenderingView, TiffCoversTheItemsDrawingAreasOnlyWithoutTheCardBase)
{
    auto upperLeft = square(QRectF(100, 100, 50, 50), red);
    auto lowerRight = square(QRectF(300, 200, 50, 50), blue, 1); // printed or not: the copy shows it
    const QRectF area = upperLeft->drawingBounds().united(lowerRight->drawingBounds());

    TSLError error;
    error.code = -1;
    const std::optional<QByteArray> tiff = TSLRenderingView::tiffDataWithGraphics({ upperLeft, lowerRight }, &error);
    ASSERT_TRUE(tiff.has_value());
    EXPECT_EQ(error.code, -1);
    const QImage image = readTiff(*tiff);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(int(std::ceil(area.width())), int(std::ceil(area.height()))));

    const auto at = [&](double x, double y) { return image.pixelColor(int(x - area.x()), int(y - area.y())); };
    EXPECT_TRUE(near(at(101, 101), red)); // the upper-left item starts a handle's width from the corner
    EXPECT_TRUE(near(at(149, 149), red));
    EXPECT_TRUE(near(at(301, 201), blue));
    EXPECT_TRUE(near(at(349, 249), blue));
    EXPECT_EQ(at(200, 150).alpha(), 0); // between the items: no card base
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
}

TEST(TSLRenderingView, TiffOfNothingIsErrorThree)
{
    TSLError error;
    EXPECT_FALSE(TSLRenderingView::tiffDataWithGraphics({}, &error).has_value());
    EXPECT_EQ(error.code, 3);
    EXPECT_EQ(error.domain, TSLErrorDomain);
    EXPECT_FALSE(TSLRenderingView::tiffDataWithGraphics({}, nullptr).has_value());

    // Even with an editor whose canvas would give the empty list an area.
    TwoSidedEditor editor;
    TSLError again;
    EXPECT_FALSE(TSLRenderingView::tiffDataWithGraphics({}, &again).has_value());
    EXPECT_EQ(again.code, 3);
}

TEST(TSLRenderingView, DrawingFailureIsShownAndEndsTheDrawing)
{
    testsupport::ScriptedResponder responder;
    // Drawn from the last index: blue first, then the broken item; red never comes.
    const TSLGraphicList items = { square(QRectF(100, 20, 40, 40), red), std::make_shared<BrokenItem>(),
        square(QRectF(20, 20, 40, 40), blue) };
    const QImage picture = TSLRenderingView::image_From_Card_Graphics(items, false, side(QColor(Qt::white)));
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_TRUE(responder.messages[0].text.contains(QStringLiteral("broken item")));
    EXPECT_TRUE(near(picture.pixelColor(40, 40), blue));
    EXPECT_TRUE(near(picture.pixelColor(120, 40), QColor(Qt::white)));
}

TEST(TSLRenderingView, KeepsItsOwnListAndTitle)
{
    TSLGraphicList items = { square(QRectF(20, 20, 40, 40), red) };
    const TSLRenderingView view(QRectF(10, 10, 243, 154), items, side(blue), QStringLiteral("Invitation"));
    items.clear();
    EXPECT_EQ(view.graphics().size(), 1u);
    EXPECT_EQ(view.printJobTitle(), QStringLiteral("Invitation"));
    EXPECT_EQ(view.bounds(), QRectF(0, 0, 243, 154));
    EXPECT_TRUE(view.dataWithPDFInsideRect(view.bounds()).startsWith("%PDF"));
    EXPECT_TRUE(view.dataWithPDFInsideRect(QRectF()).isEmpty());
}
