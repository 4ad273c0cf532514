// Commands on the selection: front and back, the seven alignments, the grid, same size, natural size, the
// print flag, locks, the Delete key and menu validation; each command undoes in one step.
#include "CanvasTestSupport.h"

#include "canvas/TSLGrid.h"
#include "support/TestSupport.h"

#include <QSignalSpy>

using canvastest::CanvasTest;

namespace {

const QString lockedMessage = QStringLiteral("\nSelected control is locked.");

std::vector<TSLGraphic*> order(const TSLGraphicList& list)
{
    std::vector<TSLGraphic*> result;
    for (const TSLGraphicPtr& item : list)
        result.push_back(item.get());
    return result;
}

} // namespace

class CanvasCommandsTest : public CanvasTest {
protected:
    std::vector<std::shared_ptr<Shape_Control>> items;

    // Items 0 to 4, each 10 x 10, side by side.
    void addFive()
    {
        for (int i = 0; i < 5; ++i)
            items.push_back(addRect(QRectF(10 + 20 * i, 10, 10, 10)));
    }
    std::vector<TSLGraphic*> itemsAt(std::initializer_list<int> indexes) const
    {
        std::vector<TSLGraphic*> result;
        for (int i : indexes)
            result.push_back(items[i].get());
        return result;
    }
};

TEST_F(CanvasCommandsTest, BringToFrontAndSendToBackKeepTheSelectedItemsInTheirOrder)
{
    addFive();
    view.changeSelectionIndexes({ 1, 3 });
    view.bringToFront();
    settle();
    EXPECT_EQ(order(view.graphics()), itemsAt({ 1, 3, 0, 2, 4 }));
    EXPECT_EQ(view.selectionIndexes(), (TSLIndexSet { 0, 1 }));
    EXPECT_EQ(undoSteps(), 1);
    view.undo();
    EXPECT_EQ(order(view.graphics()), itemsAt({ 0, 1, 2, 3, 4 }));
    EXPECT_EQ(view.selectionIndexes(), (TSLIndexSet { 1, 3 })); // the items that came back

    view.sendToBack();
    settle();
    EXPECT_EQ(order(view.graphics()), itemsAt({ 0, 2, 4, 1, 3 }));
    EXPECT_EQ(view.selectionIndexes(), (TSLIndexSet { 3, 4 }));
    EXPECT_GE(editor.undoButtonCount, 3);
    view.undo();
    EXPECT_EQ(order(view.graphics()), itemsAt({ 0, 1, 2, 3, 4 }));
}

TEST_F(CanvasCommandsTest, CommandsThatRemoveOrReorderRefuseALockedSelection)
{
    testsupport::ScriptedResponder responder;
    addFive();
    items[3]->ctrl_is_locked = true;
    view.changeSelectionIndexes({ 1, 3 });
    EXPECT_TRUE(view.There_Is_Any_Lock_Contrl());
    view.bringToFront();
    view.sendToBack();
    view.deleteSelection();
    settle();
    EXPECT_EQ(order(view.graphics()), itemsAt({ 0, 1, 2, 3, 4 }));
    EXPECT_EQ(view.selectionIndexes(), (TSLIndexSet { 1, 3 }));
    ASSERT_EQ(responder.messages.size(), 3u);
    for (const platform::MessageRequest& message : responder.messages)
        EXPECT_EQ(message.text, lockedMessage);
    EXPECT_EQ(undoSteps(), 0);

    view.changeSelectionIndexes({ 1, 2 });
    EXPECT_FALSE(view.There_Is_Any_Lock_Contrl());
}

TEST_F(CanvasCommandsTest, DeleteAndItsKeysRemoveTheSelectionAndShowTheCard)
{
    addFive();
    view.changeSelectionIndexes({ 0, 4 });
    view.deleteSelection();
    settle();
    EXPECT_EQ(order(view.graphics()), itemsAt({ 1, 2, 3 }));
    ASSERT_FALSE(editor.shown.empty());
    EXPECT_EQ(editor.shown.back().lock(), nullptr);
    EXPECT_EQ(undoSteps(), 1);
    view.undo();
    EXPECT_EQ(order(view.graphics()), itemsAt({ 0, 1, 2, 3, 4 }));
    EXPECT_EQ(view.selectionIndexes(), (TSLIndexSet { 0, 4 }));

    view.changeSelectionIndexes({ 2 });
    QTest::keyClick(&view, Qt::Key_Delete);
    settle();
    EXPECT_EQ(order(view.graphics()), itemsAt({ 0, 1, 3, 4 }));
    view.changeSelectionIndexes({ 0 });
    QTest::keyClick(&view, Qt::Key_Backspace);
    settle();
    EXPECT_EQ(order(view.graphics()), itemsAt({ 1, 3, 4 }));
    // With a modifier the key is not ours.
    view.changeSelectionIndexes({ 0 });
    QTest::keyClick(&view, Qt::Key_Delete, Qt::ControlModifier);
    settle();
    EXPECT_EQ(view.graphics().size(), 3u);
}

TEST_F(CanvasCommandsTest, TwoItemsAlignOnTheFrontMostOne)
{
    const auto front = addRect({ 40, 30, 60, 40 });
    const auto other = addRect({ 10, 80, 30, 20 });
    view.changeSelectionIndexes({ 0, 1 });
    const QRectF start = other->bounds();

    const auto run = [&](void (TSLGraphicView::*command)()) {
        other->setBounds(start);
        settle();
        (view.*command)();
        settle();
        return other->bounds();
    };
    EXPECT_EQ(run(&TSLGraphicView::alignRightEdges), QRectF(70, 80, 30, 20));
    EXPECT_EQ(run(&TSLGraphicView::alignLeftEdges), QRectF(40, 80, 30, 20));
    EXPECT_EQ(run(&TSLGraphicView::alignHorizontalCenters), QRectF(55, 80, 30, 20));
    EXPECT_EQ(run(&TSLGraphicView::alignTopEdges), QRectF(10, 30, 30, 20));
    EXPECT_EQ(run(&TSLGraphicView::alignBottomEdges), QRectF(10, 50, 30, 20));
    EXPECT_EQ(run(&TSLGraphicView::alignVerticalCenters), QRectF(10, 40, 30, 20));
    EXPECT_EQ(front->bounds(), QRectF(40, 30, 60, 40)); // the reference never moves

    // A locked reference still serves; a locked other item stays.
    front->ctrl_is_locked = true;
    EXPECT_EQ(run(&TSLGraphicView::alignLeftEdges), QRectF(40, 80, 30, 20));
    front->ctrl_is_locked = false;
    other->ctrl_is_locked = true;
    EXPECT_EQ(run(&TSLGraphicView::alignLeftEdges), start);
}

TEST_F(CanvasCommandsTest, AlignmentOfSeveralItemsUndoesInOneStep)
{
    addRect({ 40, 30, 60, 40 });
    const auto b = addRect({ 10, 80, 30, 20 });
    const auto c = addRect({ 150, 5, 20, 20 });
    view.changeSelectionIndexes({ 0, 1, 2 });
    const int before = editor.undoButtonCount;
    view.alignRightEdges();
    settle();
    EXPECT_EQ(b->bounds().x(), 70);
    EXPECT_EQ(c->bounds().x(), 80);
    EXPECT_EQ(editor.undoButtonCount, before + 1);
    EXPECT_EQ(undoSteps(), 1);
    view.undo();
    EXPECT_EQ(b->bounds().x(), 10);
    EXPECT_EQ(c->bounds().x(), 150);
    EXPECT_EQ(view.selectionIndexes(), (TSLIndexSet { 1, 2 })); // the items the undo moved
}

TEST_F(CanvasCommandsTest, OneItemAlignsWithTheCanvas)
{
    const auto item = addRect({ 20, 30, 50, 40 });
    view.changeSelectionIndexes({ 0 });
    const auto run = [&](void (TSLGraphicView::*command)()) {
        item->setBounds({ 20, 30, 50, 40 });
        settle();
        (view.*command)();
        settle();
        return item->bounds().topLeft();
    };
    EXPECT_EQ(run(&TSLGraphicView::alignRightEdges), QPointF(193, 30));
    EXPECT_EQ(run(&TSLGraphicView::alignHorizontalCenters), QPointF(96.5, 30));
    EXPECT_EQ(run(&TSLGraphicView::alignLeftEdges), QPointF(0, 30));
    EXPECT_EQ(run(&TSLGraphicView::alignTopEdges), QPointF(20, 0)); // y = 0 is the top edge
    EXPECT_EQ(run(&TSLGraphicView::alignBottomEdges), QPointF(20, 114));
    EXPECT_EQ(run(&TSLGraphicView::alignVerticalCenters), QPointF(20, 57));
    EXPECT_EQ(run(&TSLGraphicView::alignformCenter), QPointF(96.5, 57));
    EXPECT_EQ(item->bounds().size(), QSizeF(50, 40));
}

TEST_F(CanvasCommandsTest, ALockedSingleItemStaysAndTheUndoButtonsAreNotRefreshed)
{
    const auto item = addRect({ 20, 30, 50, 40 });
    item->ctrl_is_locked = true;
    view.changeSelectionIndexes({ 0 });
    const int before = editor.undoButtonCount;
    for (auto command : { &TSLGraphicView::alignLeftEdges, &TSLGraphicView::alignRightEdges,
             &TSLGraphicView::alignTopEdges, &TSLGraphicView::alignBottomEdges, &TSLGraphicView::alignHorizontalCenters,
             &TSLGraphicView::alignVerticalCenters, &TSLGraphicView::alignformCenter })
        (view.*command)();
    settle();
    EXPECT_EQ(item->bounds(), QRectF(20, 30, 50, 40));
    EXPECT_EQ(editor.undoButtonCount, before);
    EXPECT_EQ(undoSteps(), 0);
}

TEST_F(CanvasCommandsTest, CentreOnTheCanvasMovesEveryUnlockedItemTheFrontMostIncluded)
{
    const auto a = addRect({ 0, 0, 20, 10 });
    const auto b = addRect({ 100, 100, 40, 30 });
    const auto c = addRect({ 200, 10, 10, 10 });
    const auto locked = addRect({ 5, 5, 10, 10 });
    locked->ctrl_is_locked = true;
    view.changeSelectionIndexes({ 0, 1, 2, 3 });
    view.alignformCenter();
    settle();
    for (const auto& item : { a, b, c })
        EXPECT_EQ(item->bounds().center(), QPointF(121.5, 77));
    EXPECT_EQ(locked->bounds(), QRectF(5, 5, 10, 10));
    EXPECT_EQ(undoSteps(), 1);
}

TEST_F(CanvasCommandsTest, SameWidthAndHeightTakeTheFirstSelectedItemsSize)
{
    const auto first = addRect({ 10, 10, 60, 25 });
    const auto b = addRect({ 100, 40, 20, 50 });
    const auto locked = addRect({ 150, 40, 15, 15 });
    locked->ctrl_is_locked = true;
    view.changeSelectionIndexes({ 0, 1, 2 });
    view.makeSameWidth();
    settle();
    EXPECT_EQ(b->bounds(), QRectF(100, 40, 60, 50)); // origin unchanged
    EXPECT_EQ(locked->bounds(), QRectF(150, 40, 15, 15));
    view.makeSameHeight();
    settle();
    EXPECT_EQ(b->bounds(), QRectF(100, 40, 60, 25));
    EXPECT_EQ(first->bounds(), QRectF(10, 10, 60, 25));
    EXPECT_EQ(undoSteps(), 2);
    view.undo();
    EXPECT_EQ(b->bounds(), QRectF(100, 40, 60, 50));

    // One item: nothing to match, the buttons are still refreshed.
    view.changeSelectionIndexes({ 1 });
    const int before = editor.undoButtonCount;
    view.makeSameWidth();
    EXPECT_EQ(b->bounds(), QRectF(100, 40, 60, 50));
    EXPECT_EQ(editor.undoButtonCount, before + 1);
}

TEST_F(CanvasCommandsTest, NaturalSizeAppliesToEverySelectedItemWithoutALockTest)
{
    const auto wide = addRect({ 10, 10, 60, 20 });
    const auto tall = addRect({ 100, 10, 20, 50 });
    tall->ctrl_is_locked = true;
    view.changeSelectionIndexes({ 0, 1 });
    view.makeNaturalSize();
    settle();
    EXPECT_EQ(wide->bounds(), QRectF(10, 10, 20, 20));
    EXPECT_EQ(tall->bounds(), QRectF(100, 10, 20, 20));
    EXPECT_EQ(undoSteps(), 1);
}

TEST_F(CanvasCommandsTest, AlignWithGridSnapsBothCornersOfUnlockedItems)
{
    TSLGrid grid; // spacing 9
    view.setGrid(&grid);
    const auto item = addRect({ 10, 10, 30, 20 });
    const auto locked = addRect({ 50, 50, 13, 13 });
    locked->ctrl_is_locked = true;
    view.changeSelectionIndexes({ 0, 1 });
    view.alignWithGrid();
    settle();
    EXPECT_EQ(item->bounds(), QRectF(9, 9, 27, 18));
    EXPECT_EQ(locked->bounds(), QRectF(50, 50, 13, 13));
    EXPECT_EQ(undoSteps(), 1);
    view.setGrid(nullptr);
}

TEST_F(CanvasCommandsTest, PrintFlagIsStoredInUnlockedSelectedItemsOnly)
{
    const auto a = addRect({ 10, 10, 10, 10 });
    const auto locked = addRect({ 30, 10, 10, 10 });
    const auto unselected = addRect({ 50, 10, 10, 10 });
    locked->ctrl_is_locked = true;
    view.changeSelectionIndexes({ 0, 1 });
    const int before = editor.undoButtonCount;
    view.print_contol_or_not(1);
    EXPECT_EQ(a->print_object, 1);
    EXPECT_EQ(locked->print_object, 0);
    EXPECT_EQ(unselected->print_object, 0);
    EXPECT_EQ(editor.undoButtonCount, before);
    view.print_contol_or_not(0);
    EXPECT_EQ(a->print_object, 0);
}

TEST_F(CanvasCommandsTest, MenuItemsFollowTheSelectionAndTheRulersItemItsState)
{
    using C = TSLCanvasCommand;
    addRect({ 10, 10, 20, 20 });
    addRect({ 40, 10, 30, 20 });
    EXPECT_FALSE(view.validateMenuItem(C::copy));
    EXPECT_FALSE(view.validateMenuItem(C::makeNaturalSize));
    EXPECT_TRUE(view.validateMenuItem(C::paste));
    EXPECT_TRUE(view.validateMenuItem(C::alignformCenter));

    view.changeSelectionIndexes({ 0 });
    for (C command : { C::deleteSelection, C::bringToFront, C::sendToBack, C::cut, C::copy })
        EXPECT_TRUE(view.validateMenuItem(command));
    EXPECT_FALSE(view.validateMenuItem(C::alignLeftEdges));
    EXPECT_FALSE(view.validateMenuItem(C::makeSameWidth));
    EXPECT_FALSE(view.validateMenuItem(C::makeNaturalSize)); // already square
    EXPECT_FALSE(view.validateMenuItem(C::alignWithGrid)); // no grid

    view.changeSelectionIndexes({ 0, 1 });
    EXPECT_TRUE(view.validateMenuItem(C::alignVerticalCenters));
    EXPECT_TRUE(view.validateMenuItem(C::makeSameHeight));
    EXPECT_TRUE(view.validateMenuItem(C::makeNaturalSize));
    TSLGrid grid;
    view.setGrid(&grid);
    EXPECT_TRUE(view.validateMenuItem(C::alignWithGrid));
    view.setGrid(nullptr);

    EXPECT_FALSE(view.validateMenuItem(C::undo));
    view.alignTopEdges(); // already aligned: nothing to undo
    view.alignLeftEdges();
    settle();
    EXPECT_TRUE(view.validateMenuItem(C::undo));
    EXPECT_FALSE(view.validateMenuItem(C::redo));

    QSignalSpy toggled(&view, &TSLGraphicView::rulersVisibilityChanged);
    QString title;
    EXPECT_TRUE(view.validateMenuItem(C::showOrHideRulers, &title));
    EXPECT_EQ(title, QStringLiteral("Show Ruler"));
    view.showOrHideRulers();
    EXPECT_TRUE(view.rulersVisible());
    view.validateMenuItem(C::showOrHideRulers, &title);
    EXPECT_EQ(title, QStringLiteral("Hide Ruler"));
    view.showOrHideRulers();
    ASSERT_EQ(toggled.size(), 2);
    EXPECT_EQ(toggled[0][0].toBool(), true);
    EXPECT_EQ(toggled[1][0].toBool(), false);
}

TEST_F(CanvasCommandsTest, BackListCommandsChangeTheBackListWithItsOwnUndo)
{
    view.bindGraphics(&document, TSLDocumentGraphicsKey_back);
    const auto a = addRect({ 10, 10, 10, 10 }, TSLDocumentGraphicsKey_back);
    const auto b = addRect({ 30, 10, 10, 10 }, TSLDocumentGraphicsKey_back);
    view.changeSelectionIndexes({ 1 });
    view.bringToFront();
    settle();
    EXPECT_EQ(order(document.graphics_back()), (std::vector<TSLGraphic*> { b.get(), a.get() }));
    EXPECT_EQ(view.selectionIndexes(), (TSLIndexSet { 0 }));
    view.changeSelectionIndexes({ 0, 1 });
    view.alignLeftEdges();
    EXPECT_EQ(a->bounds().x(), 30);
    EXPECT_TRUE(document.graphics().empty());
    EXPECT_EQ(undoSteps(), 0);
    EXPECT_EQ(undoSteps(TSLDocumentGraphicsKey_back), 2);
    view.undo();
    EXPECT_EQ(a->bounds().x(), 10);
}
