// Selecting, moving and resizing with the mouse, and what undo makes of a drag.
#include "CanvasTestSupport.h"

#include "canvas/TSLGrid.h"
#include "canvas/TSLZoomingScrollView.h"
#include "model/TSLBarcode.h"
#include "model/TSLImage.h"

#include <QSignalSpy>

using canvastest::CanvasTest;

TEST_F(CanvasTest, ClickSelectsTheFrontMostItemAndShiftClickToggles)
{
    const auto first = addRect({ 10, 10, 60, 60 });
    addRect({ 40, 40, 60, 60 });
    // Index 0 is front-most: the overlap belongs to the first item of the list.
    click({ 50, 50 });
    EXPECT_EQ(view.selectionIndexes(), TSLIndexSet { 0 });
    EXPECT_EQ(view.Selected_Graphic(), first);
    ASSERT_FALSE(editor.shown.empty());
    EXPECT_EQ(editor.shown.back().lock(), first);

    click({ 90, 90 }, Qt::ShiftModifier);
    EXPECT_EQ(view.selectionIndexes(), (TSLIndexSet { 0, 1 }));
    EXPECT_TRUE(editor.sameSizeEnabled);
    click({ 20, 20 }, Qt::ShiftModifier);
    EXPECT_EQ(view.selectionIndexes(), TSLIndexSet { 1 });
    EXPECT_FALSE(editor.sameSizeEnabled);

    // A plain click on a selected item keeps the whole selection; one on empty canvas clears it.
    view.selectAll();
    click({ 20, 20 });
    EXPECT_EQ(view.selectionIndexes(), (TSLIndexSet { 0, 1 }));
    click({ 200, 140 });
    EXPECT_TRUE(view.selectionIndexes().empty());
    EXPECT_FALSE(view.Selected_Graphic());
    EXPECT_FALSE(editor.shown.back().lock());
    EXPECT_FALSE(document.undoManager().canUndo());
}

TEST_F(CanvasTest, HiddenItemCatchesTheClickAndChangesNothingElse)
{
    const auto hidden = addRect({ 10, 10, 60, 60 });
    addRect({ 10, 10, 60, 60 });
    hidden->Set_Ctrl_Is_Visible(false);
    view.hide(); // a redraw would make the selected item current
    view.changeSelectionIndexes({ 1 });
    const int shownBefore = editor.shownCount;
    drag({ 30, 30 }, { 60, 60 });
    EXPECT_EQ(view.Selected_Graphic(), hidden);
    EXPECT_EQ(view.selectionIndexes(), TSLIndexSet { 1 });
    EXPECT_EQ(editor.shownCount, shownBefore);
    EXPECT_EQ(hidden->bounds(), QRectF(10, 10, 60, 60));

    // A double click on it makes it current and nothing else either.
    QTest::mouseDClick(&view, Qt::LeftButton, {}, px({ 30, 30 }));
    release({ 30, 30 });
    EXPECT_EQ(view.Selected_Graphic(), hidden);
    EXPECT_EQ(editor.shownCount, shownBefore);
}

TEST_F(CanvasTest, LockedItemIsSelectedAndShownButNeverMoved)
{
    const auto locked = addRect({ 10, 10, 60, 60 });
    locked->ctrl_is_locked = true;
    const int refreshes = editor.refreshCount;
    drag({ 30, 30 }, { 80, 80 });
    EXPECT_EQ(view.selectionIndexes(), TSLIndexSet { 0 });
    EXPECT_EQ(locked->bounds(), QRectF(10, 10, 60, 60));
    EXPECT_EQ(editor.shown.back().lock(), locked);
    EXPECT_GT(editor.refreshCount, refreshes);
    EXPECT_FALSE(document.undoManager().canUndo());
}

TEST_F(CanvasTest, DoubleClickOnABarcodeOpensTheBarcodeWindowUnlessLocked)
{
    auto barcode = std::make_shared<TSLBarcode>();
    barcode->setBounds({ 10, 10, 80, 40 });
    document.undoManager().disableUndoRegistration();
    document.insertGraphic(barcode, 0);
    document.undoManager().enableUndoRegistration();
    click({ 20, 20 });
    QTest::mouseDClick(&view, Qt::LeftButton, {}, px({ 20, 20 }));
    release({ 20, 20 });
    EXPECT_EQ(editor.barcodeWindowCount, 1);
    EXPECT_EQ(view.Selected_Graphic(), barcode);

    barcode->ctrl_is_locked = true;
    QTest::mouseDClick(&view, Qt::LeftButton, {}, px({ 20, 20 }));
    release({ 20, 20 });
    EXPECT_EQ(editor.barcodeWindowCount, 1);
}

TEST_F(CanvasTest, AMoveStartsAtTwoPointsAndThenMovesByTheWholeDistance)
{
    const auto item = addRect({ 20, 20, 40, 40 });
    drag({ 30, 30 }, { 31.5, 31.9 });
    EXPECT_EQ(view.selectionIndexes(), TSLIndexSet { 0 });
    EXPECT_EQ(item->bounds(), QRectF(20, 20, 40, 40));
    EXPECT_FALSE(document.undoManager().canUndo());

    drag({ 30, 30 }, { 32.0, 30 });
    EXPECT_EQ(item->bounds(), QRectF(22, 20, 40, 40));
    drag({ 30, 30 }, { 30, 28.0 });
    EXPECT_EQ(item->bounds(), QRectF(22, 18, 40, 40));
    EXPECT_EQ(undoSteps(), 2);

    // Once moving, small steps count too; the release point is where the item ends.
    press({ 40, 40 });
    moveTo({ 43, 40 });
    moveTo({ 43.5, 40.5 });
    release({ 43.7, 40.5 });
    EXPECT_NEAR(item->bounds().x(), 25.7, 1e-9);
    EXPECT_NEAR(item->bounds().y(), 18.5, 1e-9);
    EXPECT_FALSE(view.isHidingHandles());
    EXPECT_EQ(undoSteps(), 3);

    // One undo takes back the whole drag and selects the moved item.
    view.deselectAll();
    view.undo();
    EXPECT_EQ(item->bounds(), QRectF(22, 18, 40, 40));
    EXPECT_EQ(view.selectionIndexes(), TSLIndexSet { 0 });
    view.redo();
    EXPECT_NEAR(item->bounds().x(), 25.7, 1e-9);
}

TEST_F(CanvasTest, DraggingOneOfSeveralSelectedItemsMovesAllButTheLockedOnes)
{
    const auto a = addRect({ 10, 10, 20, 20 });
    const auto b = addRect({ 50, 10, 20, 20 });
    const auto c = addRect({ 90, 10, 20, 20 });
    c->ctrl_is_locked = true;
    view.selectAll();
    drag({ 55, 15 }, { 65, 25 });
    EXPECT_EQ(a->bounds(), QRectF(20, 20, 20, 20));
    EXPECT_EQ(b->bounds(), QRectF(60, 20, 20, 20));
    EXPECT_EQ(c->bounds(), QRectF(90, 10, 20, 20));
    EXPECT_EQ(view.selectionIndexes(), (TSLIndexSet { 0, 1, 2 }));

    // Undo restores both in one step and selects them.
    view.deselectAll();
    view.undo();
    EXPECT_EQ(a->bounds(), QRectF(10, 10, 20, 20));
    EXPECT_EQ(b->bounds(), QRectF(50, 10, 20, 20));
    EXPECT_EQ(view.selectionIndexes(), (TSLIndexSet { 0, 1 }));
}

TEST_F(CanvasTest, ShiftPressOnASelectedItemDeselectsItAndMovesNothing)
{
    const auto a = addRect({ 10, 10, 20, 20 });
    const auto b = addRect({ 50, 10, 20, 20 });
    view.selectAll();
    drag({ 15, 15 }, { 45, 45 }, Qt::ShiftModifier);
    EXPECT_EQ(view.selectionIndexes(), TSLIndexSet { 1 });
    EXPECT_EQ(a->bounds(), QRectF(10, 10, 20, 20));
    EXPECT_EQ(b->bounds(), QRectF(50, 10, 20, 20));
}

TEST_F(CanvasTest, MovingWithAGridPutsTheSelectionOriginOnGridPoints)
{
    TSLGrid grid;
    grid.setConstraining(true);
    view.setGrid(&grid);
    const auto item = addRect({ 10, 10, 30, 30 });
    drag({ 20, 20 }, { 24, 20 });
    EXPECT_EQ(item->bounds(), QRectF(18, 9, 30, 30));

    // Without constraining the same drag moves by the mouse.
    grid.setConstraining(false);
    drag({ 20, 20 }, { 24, 20 });
    EXPECT_EQ(item->bounds(), QRectF(22, 9, 30, 30));
}

TEST_F(CanvasTest, RubberBandSelectsWhatItTouchesAndShiftTogglesAgainstThePressSelection)
{
    addRect({ 10, 10, 20, 20 });
    addRect({ 50, 10, 20, 20 });
    addRect({ 90, 10, 20, 20 });
    drag({ 5, 50 }, { 60, 5 });
    EXPECT_EQ(view.selectionIndexes(), (TSLIndexSet { 0, 1 }));
    EXPECT_TRUE(view.marqueeSelectionBounds().isNull());

    drag({ 45, 60 }, { 100, 5 }, Qt::ShiftModifier);
    EXPECT_EQ(view.selectionIndexes(), (TSLIndexSet { 0, 2 }));

    // The band is shown while dragging.
    press({ 150, 100 });
    moveTo({ 100, 25 });
    EXPECT_EQ(view.marqueeSelectionBounds(), QRectF(100, 25, 50, 75));
    EXPECT_EQ(view.selectionIndexes(), TSLIndexSet { 2 });
    // Pulled back off every item, the band leaves the last selection.
    moveTo({ 140, 90 });
    release({ 140, 90 });
    EXPECT_EQ(view.selectionIndexes(), TSLIndexSet { 2 });

    // A band of zero height selects nothing.
    drag({ 5, 20 }, { 200, 20 });
    EXPECT_TRUE(view.selectionIndexes().empty());
    EXPECT_FALSE(document.undoManager().canUndo());
}

namespace {

struct HandleCase {
    int handle;
    QPointF to;
    QRectF expected;
};

} // namespace

TEST_F(CanvasTest, ResizingByEachHandleMovesOnlyItsEdges)
{
    // Item (40, 40, 40, 20): handles at x 40, 60, 80 and y 40, 50, 60.
    const std::vector<HandleCase> cases = {
        { 1, { 30, 35 }, { 30, 35, 50, 25 } },
        { 2, { 10, 30 }, { 40, 30, 40, 30 } }, // the middle handles ignore the other axis
        { 3, { 90, 35 }, { 40, 35, 50, 25 } },
        { 4, { 35, 99 }, { 35, 40, 45, 20 } },
        { 5, { 90, 10 }, { 40, 40, 50, 20 } },
        { 6, { 30, 70 }, { 30, 40, 50, 30 } },
        { 7, { 5, 75 }, { 40, 40, 40, 35 } },
        { 8, { 85, 65 }, { 40, 40, 45, 25 } },
    };
    const auto item = addRect({ 40, 40, 40, 20 });
    for (const HandleCase& c : cases) {
        SCOPED_TRACE(c.handle);
        item->setBounds({ 40, 40, 40, 20 });
        view.changeSelectionIndexes({ 0 });
        drag(item->handlePoint(c.handle), c.to);
        EXPECT_EQ(item->bounds(), c.expected);
        EXPECT_EQ(view.selectionIndexes(), TSLIndexSet { 0 });
    }
}

TEST_F(CanvasTest, ResizingAcrossTheOppositeEdgeMirrorsAndContinuesWithTheMirroredHandle)
{
    // A picture mirrors its contents each time the drag crosses an edge.
    auto item = std::make_shared<TSLImage>();
    item->setBounds({ 40, 40, 40, 20 });
    document.undoManager().disableUndoRegistration();
    document.insertGraphic(item, 0);
    document.undoManager().enableUndoRegistration();
    view.changeSelectionIndexes({ 0 });
    press({ 80, 60 }); // lower-right handle
    moveTo({ 20, 70 }); // past the left edge: now the lower-left handle
    EXPECT_EQ(item->bounds(), QRectF(20, 40, 20, 30));
    EXPECT_TRUE(item->_isFlippedHorizontally);
    EXPECT_FALSE(item->_isFlippedVertically);
    moveTo({ 30, 20 }); // and past the top edge: now the upper-left handle
    EXPECT_EQ(item->bounds(), QRectF(30, 20, 10, 20));
    EXPECT_TRUE(item->_isFlippedVertically);
    release({ 10, 10 });
    EXPECT_EQ(item->bounds(), QRectF(10, 10, 30, 30));
    EXPECT_TRUE(item->_isFlippedHorizontally);

    // One undo step for the whole resize; it restores the size and selects the item.
    view.deselectAll();
    EXPECT_EQ(undoSteps(), 1);
    view.undo();
    EXPECT_EQ(item->bounds(), QRectF(40, 40, 40, 20));
    EXPECT_EQ(view.selectionIndexes(), TSLIndexSet { 0 });
}

TEST_F(CanvasTest, ResizingWithAGridSnapsTheDraggedHandle)
{
    TSLGrid grid;
    grid.setConstraining(true);
    view.setGrid(&grid);
    const auto item = addRect({ 9, 9, 27, 27 });
    view.changeSelectionIndexes({ 0 });
    drag({ 36, 36 }, { 49, 58 });
    EXPECT_EQ(item->bounds(), QRectF(9, 9, 36, 45));
}

TEST_F(CanvasTest, MovesAndResizesAreEchoedToShownRulersOnly)
{
    const auto item = addRect({ 10, 10, 20, 20 });
    QSignalSpy echo(&view, &TSLGraphicView::rulerEchoChanged);
    drag({ 15, 15 }, { 25, 15 });
    EXPECT_EQ(echo.count(), 0);

    view.setRulersVisible(true);
    drag({ 25, 15 }, { 35, 20 });
    ASSERT_EQ(echo.count(), 3);
    EXPECT_TRUE(echo[0][0].toRectF().isNull());
    EXPECT_EQ(echo[0][1].toRectF(), QRectF(20, 10, 20, 20));
    EXPECT_EQ(echo[1][0].toRectF(), QRectF(20, 10, 20, 20));
    EXPECT_EQ(echo[1][1].toRectF(), QRectF(30, 15, 20, 20));
    EXPECT_EQ(echo[2][0].toRectF(), QRectF(30, 15, 20, 20));
    EXPECT_TRUE(echo[2][1].toRectF().isNull());
    EXPECT_TRUE(view.rulerEchoedBounds().isNull());

    echo.clear();
    drag(item->handlePoint(8), { 60, 50 });
    ASSERT_GE(echo.count(), 2);
    EXPECT_EQ(echo.first()[1].toRectF(), QRectF(30, 15, 20, 20));
    EXPECT_EQ(echo[echo.count() - 2][1].toRectF(), QRectF(30, 15, 30, 35));
    EXPECT_TRUE(echo.last()[1].toRectF().isNull());
}

TEST_F(CanvasTest, InsideAZoomingScrollViewTheMouseIsReadInPointsAtTheViewsZoom)
{
    TSLZoomingScrollView scroll;
    auto* canvas = new TSLGraphicView; // owned by the scroll view's clip view
    scroll.setDocumentView(canvas);
    scroll.setDocumentSize(QSizeF(243, 154));
    canvas->setCanvasSize(QSizeF(243, 154));
    canvas->bindGraphics(&document, TSLDocumentGraphicsKey);
    scroll.resize(800, 500);
    scroll.show();
    scroll.setFactor(2.0);
    const double zoom = canvas->zoomFactor(); // screen pixels per point at 200%
    EXPECT_DOUBLE_EQ(zoom, 2.0 * scroll.screenPixelsPerPoint());
    EXPECT_EQ(canvas->size(), QSize(qRound(243 * zoom), qRound(154 * zoom)));

    const auto item = addRect({ 10, 10, 40, 20 });
    const auto pixel = [zoom](double x, double y) { return QPoint(qRound(x * zoom), qRound(y * zoom)); };
    QTest::mousePress(canvas, Qt::LeftButton, {}, pixel(20, 15));
    QTest::mouseMove(canvas, pixel(30, 17));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, pixel(30, 17));
    EXPECT_EQ(canvas->selectionIndexes(), TSLIndexSet { 0 });
    EXPECT_NEAR(item->bounds().x(), 20, 0.5);
    EXPECT_NEAR(item->bounds().y(), 12, 0.5);
    EXPECT_EQ(item->bounds().size(), QSizeF(40, 20));
    canvas->unbindGraphics();
}
