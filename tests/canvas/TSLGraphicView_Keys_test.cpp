// Arrow keys, undo of property changes, drawing order and the current item across deletes and undo.
#include "CanvasTestSupport.h"

#include "canvas/TSLGrid.h"

#include <QImage>
#include <QPalette>

#include <thread>

using canvastest::CanvasTest;

namespace {

QImage renderView(TSLGraphicView& view)
{
    QImage image(view.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    view.render(&image);
    return image;
}

QColor pixelAt(const QImage& image, const QPointF& point)
{
    return image.pixelColor((point * canvastest::testZoom).toPoint());
}

} // namespace

TEST_F(CanvasTest, ArrowKeysNudgeUnlockedSelectedItemsByOnePoint)
{
    const auto a = addRect({ 10, 10, 20, 20 });
    const auto b = addRect({ 50, 10, 20, 20 });
    const auto locked = addRect({ 90, 10, 20, 20 });
    locked->ctrl_is_locked = true;
    view.changeSelectionIndexes({ 0, 2 });
    QTest::keyClick(&view, Qt::Key_Left);
    settle();
    QTest::keyClick(&view, Qt::Key_Down);
    settle();
    QTest::keyClick(&view, Qt::Key_Down);
    settle();
    QTest::keyClick(&view, Qt::Key_Right);
    settle();
    QTest::keyClick(&view, Qt::Key_Up);
    settle();
    QTest::keyClick(&view, Qt::Key_Left);
    settle();
    EXPECT_EQ(a->bounds(), QRectF(9, 11, 20, 20));
    EXPECT_EQ(b->bounds(), QRectF(50, 10, 20, 20));
    EXPECT_EQ(locked->bounds(), QRectF(90, 10, 20, 20));

    // No grid snapping for nudges.
    TSLGrid grid;
    grid.setConstraining(true);
    view.setGrid(&grid);
    QTest::keyClick(&view, Qt::Key_Right);
    settle();
    EXPECT_EQ(a->bounds(), QRectF(10, 11, 20, 20));

    // The run of presses on one selection is one undo step; undo selects the nudged item.
    view.deselectAll();
    EXPECT_EQ(undoSteps(), 1);
    view.undo();
    EXPECT_EQ(a->bounds(), QRectF(10, 10, 20, 20));
    EXPECT_EQ(view.selectionIndexes(), TSLIndexSet { 0 });

    // Arrows with a modifier and without a selection move nothing.
    QTest::keyClick(&view, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(a->bounds(), QRectF(10, 10, 20, 20));
    view.deselectAll();
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(a->bounds(), QRectF(10, 10, 20, 20));
}

TEST_F(CanvasTest, HandlesStayHiddenUntilHalfASecondAfterTheLastNudge)
{
    const auto item = addRect({ 10, 10, 20, 20 });
    view.changeSelectionIndexes({ 0 });
    const QColor handleColor = QPalette().color(QPalette::Highlight);
    const QPointF corner = item->handlePoint(1) + QPointF(0, 1);
    EXPECT_EQ(pixelAt(renderView(view), corner), handleColor);

    QElapsedTimer sincePress;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(&view, Qt::Key_Right);
        sincePress.start();
        QTest::qWait(200);
        // A loaded machine may sleep far longer than asked; the handles may only be back after half a second.
        if (sincePress.elapsed() < 450) {
            EXPECT_TRUE(view.isHidingHandles()) << i;
        }
    }
    const QImage hidden = renderView(view);
    if (sincePress.elapsed() < 450) {
        EXPECT_NE(pixelAt(hidden, item->handlePoint(1) + QPointF(0, 1)), handleColor);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view.isHidingHandles(); }, 20000));
    EXPECT_GE(sincePress.elapsed(), 450); // half a second, give or take a coarse timer's slack
    EXPECT_EQ(pixelAt(renderView(view), item->handlePoint(1) + QPointF(0, 1)), handleColor);
    EXPECT_EQ(item->bounds(), QRectF(14, 10, 20, 20));
}

TEST_F(CanvasTest, PropertyChangesOfOneGroupUndoInOneStepAndSelectTheItem)
{
    const auto a = addRect({ 10, 10, 20, 20 });
    const auto b = addRect({ 50, 10, 20, 20 });
    a->setFillColor(Qt::red);
    a->setFillColor(Qt::blue);
    b->setStrokeWidth(4);
    settle();
    EXPECT_EQ(undoSteps(), 1);

    view.undo();
    EXPECT_EQ(a->fillColor(), QColor(Qt::white));
    EXPECT_EQ(b->strokeWidth(), 1.0);
    EXPECT_EQ(view.selectionIndexes(), (TSLIndexSet { 0, 1 }));

    view.changeSelectionIndexes({});
    view.redo();
    EXPECT_EQ(a->fillColor(), QColor(Qt::blue));
    EXPECT_EQ(b->strokeWidth(), 4.0);
    EXPECT_EQ(view.selectionIndexes(), (TSLIndexSet { 0, 1 }));

    // An undo with nothing to undo leaves the selection alone.
    view.undo();
    view.changeSelectionIndexes({ 1 });
    view.undo();
    EXPECT_EQ(view.selectionIndexes(), TSLIndexSet { 1 });
}

TEST_F(CanvasTest, ItemsAreDrawnFromTheBackAndTheFrontMostSelectedBecomesCurrent)
{
    const auto front = addRect({ 20, 20, 60, 40 });
    const auto middle = addRect({ 40, 30, 60, 40 });
    const auto back = addRect({ 60, 40, 60, 40 });
    front->setFillColor(Qt::red);
    middle->setFillColor(Qt::green);
    back->setFillColor(Qt::blue);
    view.selectAll();
    view.setSelected_Graphic(nullptr);
    const QImage image = renderView(view);
    EXPECT_EQ(pixelAt(image, { 70, 50 }), QColor(Qt::red)); // all three overlap
    EXPECT_EQ(pixelAt(image, { 90, 65 }), QColor(Qt::green)); // middle over back
    EXPECT_EQ(pixelAt(image, { 110, 75 }), QColor(Qt::blue));
    EXPECT_EQ(pixelAt(image, { 5, 5 }), QColor(Qt::white)); // the card base
    EXPECT_EQ(view.Selected_Graphic(), front);

    // Hidden items are not drawn; a visible grid is drawn over the card under the items.
    front->Set_Ctrl_Is_Visible(false);
    TSLGrid grid;
    grid.setAlwaysShown(true);
    grid.setColor(Qt::black);
    view.setGrid(&grid);
    const QImage withGrid = renderView(view);
    EXPECT_EQ(pixelAt(withGrid, { 30, 25 }), QColor(Qt::white));
    // The line at x = 9 is one device pixel wide, on one side of the pixel boundary or the other.
    const bool lineAtNine
        = withGrid.pixelColor(89, 50) != QColor(Qt::white) || withGrid.pixelColor(90, 50) != QColor(Qt::white);
    EXPECT_TRUE(lineAtNine);
    EXPECT_EQ(pixelAt(withGrid, { 9.5, 5 }), QColor(Qt::white));
    EXPECT_EQ(pixelAt(image, { 30, 25 }), QColor(Qt::red)); // the hidden item was drawn before
}

TEST_F(CanvasTest, TheRubberBandIsFramedWhileItIsDragged)
{
    press({ 100, 100 });
    moveTo({ 150, 140 });
    const QImage image = renderView(view);
    EXPECT_NE(pixelAt(image, { 100.05, 120 }), QColor(Qt::white));
    EXPECT_EQ(pixelAt(image, { 125, 120 }), QColor(Qt::white));
    release({ 150, 140 });
    EXPECT_EQ(pixelAt(renderView(view), { 100.05, 120 }), QColor(Qt::white));
}

TEST_F(CanvasTest, NoPointerOutlivesItsItemAcrossDeleteUndoAndReset)
{
    editor.tool = 3;
    drag({ 20, 20 }, { 60, 60 });
    editor.tool = 0;
    std::weak_ptr<TSLGraphic> created = document.graphics().front();
    click({ 30, 30 });
    ASSERT_EQ(view.Selected_Graphic(), created.lock());

    // Undo of the creation takes the item out: neither the selection nor the current item keeps it.
    view.undo();
    EXPECT_FALSE(view.Selected_Graphic());
    EXPECT_TRUE(view.selectionIndexes().empty());
    EXPECT_TRUE(view.selectedGraphics().empty());
    renderView(view);
    EXPECT_FALSE(view.Selected_Graphic());

    // Redo brings it back; removing it through the list forgets it again.
    view.redo();
    click({ 30, 30 });
    ASSERT_TRUE(view.Selected_Graphic());
    view.removeGraphicsAtIndexes({ 0 });
    EXPECT_FALSE(view.Selected_Graphic());
    EXPECT_TRUE(view.selectionIndexes().empty());

    // Clearing all undo drops the last owner: the item is gone and nothing on the canvas dangles.
    view.undo();
    click({ 30, 30 });
    document.Clear_All_Undo_Redo();
    EXPECT_TRUE(created.expired());
    EXPECT_FALSE(view.Selected_Graphic());
    renderView(view);
    QTest::keyClick(&view, Qt::Key_Left);
    click({ 30, 30 });
    EXPECT_TRUE(view.selectionIndexes().empty());
}

TEST_F(CanvasTest, AnItemLeavingTheListDuringADragEndsTheDragHarmlessly)
{
    const auto item = addRect({ 20, 20, 40, 40 });
    view.changeSelectionIndexes({ 0 });
    press(item->handlePoint(8));
    moveTo({ 70, 70 });
    document.Clear_All_Undo_Redo();
    moveTo({ 90, 90 });
    release({ 90, 90 });
    EXPECT_EQ(item->bounds(), QRectF(20, 20, 50, 50));
    EXPECT_TRUE(document.graphics().empty());
    EXPECT_FALSE(view.isTracking());
}
