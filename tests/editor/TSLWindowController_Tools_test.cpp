// The undo and redo buttons follow what the shown side's undo manager can do, also after the group of a
// user action closes on return to the event loop.
#include "editor/EditorWindowTestSupport.h"

#include <QAction>

using editortest::EditorWindowTest;

using UndoButtonsTest = EditorWindowTest;

TEST_F(UndoButtonsTest, ButtonsFollowUndoAndRedo)
{
    const TSLGraphicPtr item = addShape(QRectF(10, 10, 30, 30));
    window->Undo_Redo_Button_state();
    EXPECT_FALSE(window->Undo_btn->isEnabled());
    EXPECT_FALSE(window->Redo_btn->isEnabled());

    item->setBounds(QRectF(20, 20, 30, 30)); // a move of a front item is an undoable change
    QCoreApplication::processEvents(); // the event's undo group closes
    EXPECT_TRUE(window->Undo_btn->isEnabled());
    EXPECT_FALSE(window->Redo_btn->isEnabled());

    window->Undo_Clicked();
    EXPECT_EQ(item->bounds().topLeft(), QPointF(10, 10));
    EXPECT_FALSE(window->Undo_btn->isEnabled());
    EXPECT_TRUE(window->Redo_btn->isEnabled());

    window->Redo_Clicked();
    EXPECT_EQ(item->bounds().topLeft(), QPointF(20, 20));
    EXPECT_TRUE(window->Undo_btn->isEnabled());

    // The back keeps its own steps: with the back shown the buttons follow it, and the front stays.
    window->Select_back_side();
    EXPECT_FALSE(window->Undo_btn->isEnabled());
    const TSLGraphicPtr back = addShape(QRectF(1, 1, 5, 5), TSLDocumentGraphicsKey_back);
    back->setBounds(QRectF(2, 2, 5, 5));
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->Undo_btn->isEnabled());
    window->Undo_Clicked();
    EXPECT_EQ(back->bounds().topLeft(), QPointF(1, 1));
    EXPECT_EQ(item->bounds().topLeft(), QPointF(20, 20));
}
