#include "model/CardEditorServices.h"
#include "model/TSLGraphic.h"
#include "model/TSLImage.h"
#include "model/TSLLine.h"
#include "model/TSLText.h"

#include <gtest/gtest.h>

namespace {

// Counts the mirror requests that resizing sends.
class CountingGraphic : public TSLGraphic {
public:
    int horizontalFlips = 0;
    int verticalFlips = 0;
    void flipHorizontally() override { ++horizontalFlips; }
    void flipVertically() override { ++verticalFlips; }
};

class FakeEditor : public CardEditorServices {
public:
    FakeEditor() { setEditorServices(this); }
    ~FakeEditor() override { setEditorServices(nullptr); }
    QFont defaultTextFont() const override { return QFont(QStringLiteral("DejaVu Sans"), 22); }
    QColor defaultTextColor() const override { return QColor(Qt::darkMagenta); }
    QPointF nextCascadePoint(const QString& side) override
    {
        sides << side;
        cascade += 10.0;
        return { cascade, cascade };
    }
    QRectF frontCanvasBounds() const override { return { 0, 0, 242.65, 153.07 }; }
    void refreshCanvas() override { }
    double cascade = 100.0;
    QStringList sides;
};

TSLGraphicPtr itemAt(const QRectF& bounds, bool locked = false)
{
    auto g = std::make_shared<TSLGraphic>();
    g->_bounds = bounds;
    g->ctrl_is_locked = locked;
    return g;
}

} // namespace

TEST(TSLGraphicHandles, HandlesSitOnCornersAndMiddlesAndAreTriedInOrder)
{
    TSLGraphic g;
    g._bounds = QRectF(10, 20, 100, 50);
    EXPECT_EQ(g.handleUnderPoint({ 10, 20 }), 1);
    EXPECT_EQ(g.handleUnderPoint({ 60, 20 }), 2);
    EXPECT_EQ(g.handleUnderPoint({ 110, 20 }), 3);
    EXPECT_EQ(g.handleUnderPoint({ 10, 45 }), 4);
    EXPECT_EQ(g.handleUnderPoint({ 110, 45 }), 5);
    EXPECT_EQ(g.handleUnderPoint({ 10, 70 }), 6);
    EXPECT_EQ(g.handleUnderPoint({ 60, 70 }), 7);
    EXPECT_EQ(g.handleUnderPoint({ 112.9, 72.9 }), 8);
    EXPECT_EQ(g.handleUnderPoint({ 113, 70 }), 0); // the square's far edge is outside
    EXPECT_EQ(g.handleUnderPoint({ 7, 17 }), 1);   // its near edge is inside
    EXPECT_EQ(g.handleUnderPoint({ 60, 45 }), 0);

    // On a very narrow item the squares of 1 and 2 overlap; 1 is tried first.
    g._bounds = QRectF(0, 0, 2, 50);
    EXPECT_EQ(g.handleUnderPoint({ 1, 0 }), 1);
}

TEST(TSLGraphicHitTest, RightAndBottomEdgesAreOutside)
{
    TSLGraphic g;
    g._bounds = QRectF(0, 0, 10, 10);
    EXPECT_TRUE(g.isContentsUnderPoint({ 0, 0 }));
    EXPECT_FALSE(g.isContentsUnderPoint({ 10, 5 }));
    EXPECT_FALSE(g.isContentsUnderPoint({ 5, 10 }));
}

TEST(TSLGraphicResize, DraggingPastTheOppositeEdgeMirrorsTheHandle)
{
    CountingGraphic g;
    g._bounds = QRectF(0, 0, 100, 50);
    EXPECT_EQ(g.resizeByMovingHandle(8, { -20, 70 }), 6);
    EXPECT_EQ(g._bounds, QRectF(-20, 0, 20, 70));
    EXPECT_EQ(g.horizontalFlips, 1);
    EXPECT_EQ(g.verticalFlips, 0);

    CountingGraphic h;
    h._bounds = QRectF(0, 0, 100, 50);
    EXPECT_EQ(h.resizeByMovingHandle(2, { 30, 80 }), 7);
    EXPECT_EQ(h._bounds, QRectF(0, 50, 100, 30));
    EXPECT_EQ(h.verticalFlips, 1);
    EXPECT_EQ(h.horizontalFlips, 0);

    // Exactly zero is not a crossing.
    CountingGraphic z;
    z._bounds = QRectF(0, 0, 100, 50);
    EXPECT_EQ(z.resizeByMovingHandle(5, { 0, 10 }), 5);
    EXPECT_EQ(z._bounds, QRectF(0, 0, 0, 50));
    EXPECT_EQ(z.horizontalFlips, 0);

    // Crossing both ways from the upper-left corner ends on the lower-right handle.
    CountingGraphic both;
    both._bounds = QRectF(0, 0, 100, 50);
    EXPECT_EQ(both.resizeByMovingHandle(1, { 130, 70 }), 8);
    EXPECT_EQ(both._bounds, QRectF(100, 50, 30, 20));
}

TEST(TSLGraphicResize, PictureItemsMirrorThemselvesOnEachCrossing)
{
    TSLImage image;
    image._bounds = QRectF(0, 0, 40, 40);
    image.resizeByMovingHandle(5, { -10, 0 });
    EXPECT_TRUE(image._isFlippedHorizontally);
    image.resizeByMovingHandle(4, { 30, 0 });
    EXPECT_FALSE(image._isFlippedHorizontally);
}

TEST(TSLGraphicGeometry, DrawingBoundsGrowByHandleOrHalfStroke)
{
    TSLGraphic g;
    g._bounds = QRectF(10, 10, 100, 50);
    g._strokeWidth = 10.0;
    EXPECT_EQ(g.drawingBounds(), QRectF(5, 5, 111, 61));
    g._strokeWidth = 4.0;
    EXPECT_EQ(g.drawingBounds(), QRectF(7, 7, 107, 57));
    g._strokeWidth = 10.0;
    g._isDrawingStroke = false;
    EXPECT_EQ(g.drawingBounds(), QRectF(7, 7, 107, 57));

    TSLText text;
    text._bounds = QRectF(10, 10, 100, 50);
    text._isDrawingStroke = false;
    EXPECT_EQ(text.drawingBounds(), QRectF(7, 7, 107, 57));
}

TEST(TSLGraphicGeometry, NaturalSizeMakesASquare)
{
    TSLGraphic g;
    g._bounds = QRectF(5, 6, 80, 30);
    EXPECT_TRUE(g.canMakeNaturalSize());
    g.makeNaturalSize();
    EXPECT_EQ(g._bounds, QRectF(5, 6, 30, 30));
    EXPECT_FALSE(g.canMakeNaturalSize());
    g.makeNaturalSize();
    EXPECT_EQ(g._bounds, QRectF(5, 6, 30, 30));
    EXPECT_FALSE(TSLLine().canMakeNaturalSize());
}

TEST(TSLGraphicGeometry, PositionSettersKeepTheOtherParts)
{
    TSLGraphic g;
    g._bounds = QRectF(1, 2, 3, 4);
    g.setXPosition(10);
    g.setHeight(40);
    EXPECT_EQ(g._bounds, QRectF(10, 2, 3, 40));
}

TEST(TSLGraphicGroups, UnionsSkipEmptyItemsAndEmptyListsUseTheFrontCanvas)
{
    const TSLGraphicList list = { itemAt({ 0, 0, 10, 10 }), itemAt({ 200, 200, 0, 5 }), itemAt({ 20, 30, 5, 5 }) };
    EXPECT_EQ(TSLGraphic::boundsOfGraphics(list), QRectF(0, 0, 25, 35));
    EXPECT_EQ(TSLGraphic::boundsOfGraphics({}), QRectF());
    FakeEditor editor;
    EXPECT_EQ(TSLGraphic::drawingBoundsOfGraphics({}), QRectF(0, 0, 242.65, 153.07));
}

TEST(TSLGraphicGroups, TranslateLeavesLockedItemsAlone)
{
    const TSLGraphicList list = { itemAt({ 0, 0, 10, 10 }), itemAt({ 5, 5, 10, 10 }, true) };
    TSLGraphic::translateGraphics(list, 3, -2);
    EXPECT_EQ(list[0]->bounds(), QRectF(3, -2, 10, 10));
    EXPECT_EQ(list[1]->bounds(), QRectF(5, 5, 10, 10));
}

TEST(TSLGraphicGroups, PasteCascadeSpendsAPointOnLockedItems)
{
    FakeEditor editor;
    const TSLGraphicList list = { itemAt({ 0, 0, 10, 20 }), itemAt({ 50, 50, 10, 10 }, true), itemAt({ 0, 0, 7, 7 }) };
    TSLGraphic::Paste_Location_Of_Graphics(list, 30, 40, QStringLiteral("F"));
    EXPECT_EQ(list[0]->bounds(), QRectF(30, 40, 10, 20));
    EXPECT_EQ(list[1]->bounds(), QRectF(50, 50, 10, 10));
    EXPECT_EQ(list[2]->bounds(), QRectF(120, 120, 7, 7)); // the second cascade point
    EXPECT_EQ(editor.sides, QStringList({ QStringLiteral("F"), QStringLiteral("F") }));
}

TEST(TSLGraphicDefaults, TextFontAndColourComeFromTheEditor)
{
    FakeEditor editor;
    TSLText text;
    ASSERT_TRUE(text.text_ctrl_font);
    EXPECT_EQ(text.text_ctrl_font->pointSize(), 22);
    EXPECT_EQ(text.txt_clr, QColor(Qt::darkMagenta));
}

TEST(TSLGraphicScripting, RefusalsLeaveTheItemUnchanged)
{
    TSLImage image;
    image._isDrawingStroke = false;
    EXPECT_EQ(image.setScriptingStrokeColor(QColor(Qt::red)),
              QStringLiteral("You can't set the stroke color of this kind of graphic."));
    EXPECT_FALSE(image._isDrawingStroke);
    EXPECT_EQ(image._strokeColor, QColor(Qt::black));

    TSLGraphic g;
    g._isDrawingFill = false;
    EXPECT_TRUE(g.setScriptingFillColor(QColor(Qt::red)).isEmpty());
    EXPECT_TRUE(g._isDrawingFill);
    EXPECT_EQ(g._fillColor, QColor(Qt::red));
    EXPECT_TRUE(g.setScriptingStrokeWidth(std::nullopt).isEmpty());
    EXPECT_FALSE(g.scriptingStrokeWidth().has_value());
    EXPECT_THROW(g.objectSpecifier(), std::logic_error);
    EXPECT_THROW(g.bezierPathForDrawing(), std::logic_error);
}

TEST(TSLGraphicDrawing, DashTableInPoints)
{
    EXPECT_TRUE(dashPatternForBorderType(QStringLiteral("S")).empty());
    EXPECT_EQ(dashPatternForBorderType(QStringLiteral("DA")), (std::vector<double> { 8, 2 }));
    EXPECT_EQ(dashPatternForBorderType(QStringLiteral("DO")), (std::vector<double> { 4, 6 }));
    EXPECT_EQ(dashPatternForBorderType(QStringLiteral("DD")), (std::vector<double> { 24, 10, 6, 10 }));
    EXPECT_EQ(dashPatternForBorderType(QStringLiteral("DDD")), (std::vector<double> { 24, 8, 8, 8, 8, 8 }));
    EXPECT_TRUE(dashPatternForBorderType(QStringLiteral("X")).empty());
}
