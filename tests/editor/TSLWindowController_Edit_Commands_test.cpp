// The tool palette and the edit buttons, driven through the window's own buttons: every creation tool puts
// its item of its size on the side being edited, the commands act on that side's canvas, lock and unlock
// set the items, the buttons and the inspector, and the undo and redo buttons follow the stacks.
#include "editor/EditorWindowTestSupport.h"

#include <QAction>
#include <QImage>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using editortest::EditorWindowTest;

class EditCommandsTest : public EditorWindowTest {
protected:
    void SetUp() override
    {
        EditorWindowTest::SetUp();
        last_ctrl_X = last_ctrl_Y = 10;
        window->SetDocumentCanvasSize(QSizeF(243, 153));
    }
    void clickTool(int code) { QTest::mouseClick(window->toolButtons.at(code), Qt::LeftButton); }
    const TSLGraphicList& front() const { return document.graphicsForKey(TSLDocumentGraphicsKey); }
    const TSLGraphicList& back() const { return document.graphicsForKey(TSLDocumentGraphicsKey_back); }
    QStringList tabTitles() const
    {
        QStringList titles;
        for (int i = 0; i < window->sett_tab->count(); ++i)
            titles << window->sett_tab->tabText(i);
        return titles;
    }
};

TEST_F(EditCommandsTest, EveryCreationToolPutsItsItemOfItsSizeOnTheFrontAndShowsIt)
{
    const struct {
        int code;
        const char* kind;
        const char* shape;
        QSizeF size;
    } tools[] = { { 1, "TSLLine", "", { 50, 50 } },
        // A text box takes the size of its text.
        { 2, "TSLText", "", TSLWindowController::naturalSizeOfNewText(window->frontCanvasBounds().width()) },
        { 3, "Shape_Control", "R", { 50, 50 } }, { 4, "Shape_Control", "C", { 50, 50 } },
        { 5, "Shape_Control", "RR", { 50, 50 } }, { 6, "Shape_Control", "T", { 50, 50 } },
        { 7, "Shape_Control", "D", { 50, 50 } }, { 10, "TSLBarcode", "", { 120, 60 } },
        { 11, "TSLSignature", "", { 100, 50 } }, { 13, "Shape_Control", "S", { 50, 50 } },
        { 14, "Shape_Control", "DS", { 50, 50 } }, { 15, "Shape_Control", "P", { 50, 50 } } };
    for (const auto& tool : tools) {
        SCOPED_TRACE(tool.code);
        const size_t before = front().size();
        clickTool(tool.code);
        ASSERT_EQ(front().size(), before + 1);
        const TSLGraphicPtr made = front().front();
        EXPECT_EQ(made->className(), QLatin1String(tool.kind));
        if (*tool.shape) {
            EXPECT_EQ(made->Get_shape_type(), QLatin1String(tool.shape));
        }
        EXPECT_EQ(made->bounds().size(), tool.size);
        EXPECT_EQ(window->Last_Selected_Graphic(), made) << "the inspector shows the new item";
        EXPECT_EQ(window->_graphicView->selectedGraphics(), TSLGraphicList { made });
    }
    EXPECT_TRUE(back().empty());
}

TEST_F(EditCommandsTest, ToolsCreateOnTheBackWhenTheBackIsEdited)
{
    window->Select_back_side();
    clickTool(10);
    ASSERT_EQ(back().size(), 1u);
    EXPECT_EQ(back().front()->className(), QLatin1String("TSLBarcode"));
    EXPECT_EQ(back().front()->bounds().size(), QSizeF(120, 60));
    EXPECT_TRUE(front().empty());

    // With the scratch side shown, tools make their items there and the back stays as it was.
    window->Select_temp_design_side();
    clickTool(3);
    EXPECT_EQ(back().size(), 1u);
    EXPECT_EQ(document.graphicsForKey(TSLDocumentGraphicsKey_temp).size(), 1u);
}

TEST_F(EditCommandsTest, ArrowAndCancelledPictureCreateNothing)
{
    clickTool(0);
    ui.fileAnswers.push_back(QString()); // the file panel cancelled
    clickTool(8);
    EXPECT_TRUE(front().empty());
    EXPECT_TRUE(back().empty());
    EXPECT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_TRUE(ui.messages.empty()) << "a cancelled panel shows no message";

    // A chosen picture file makes a picture item of it.
    const QString folder = testsupport::makeTempFolder(QStringLiteral("tools"));
    const QString path = folder + QStringLiteral("/dot.png");
    QImage dot(8, 8, QImage::Format_ARGB32);
    dot.fill(Qt::red);
    ASSERT_TRUE(dot.save(path));
    ui.fileAnswers.push_back(path);
    clickTool(8);
    ASSERT_EQ(front().size(), 1u);
    EXPECT_EQ(front().front()->className(), QLatin1String("TSLImage"));
    EXPECT_EQ(front().front()->_file_path, path);
}

TEST_F(EditCommandsTest, LockAndUnlockFollowTheirRules)
{
    // Nothing selected: the buttons are switched first, then the message.
    window->Lock_btn->setEnabled(true);
    window->Lock_btn->trigger();
    EXPECT_EQ(editortest::messageTexts(ui), QStringList { QStringLiteral("Please select a control to Lock.") });
    EXPECT_FALSE(window->Cut_btn->isEnabled());
    EXPECT_TRUE(window->Unlock_btn->isEnabled());

    const TSLGraphicPtr a = addShape(QRectF(0, 0, 10, 10));
    const TSLGraphicPtr b = addShape(QRectF(20, 0, 10, 10));
    const TSLGraphicPtr c = addShape(QRectF(40, 0, 10, 10));
    const TSLGraphicPtr other = addShape(QRectF(60, 0, 10, 10));
    window->_graphicView->changeSelectionIndexes({ 0, 1, 2 });
    window->Lock_btn->setEnabled(true);
    window->Lock_btn->trigger();
    EXPECT_TRUE(a->ctrl_is_locked && b->ctrl_is_locked && c->ctrl_is_locked);
    EXPECT_FALSE(other->ctrl_is_locked);
    EXPECT_EQ(window->Last_Selected_Graphic(), c) << "the last of the selection is shown";
    EXPECT_EQ(window->_graphicView->selectionIndexes(), (TSLIndexSet { 0, 1, 2 })) << "the selection is kept";
    EXPECT_EQ(tabTitles(), QStringList { QStringLiteral("Rectangle Properties") });
    EXPECT_EQ(window->sett_tab->widget(0), window->Lock_tab);
    for (QAction* off : { window->Cut_btn, window->Copy_btn, window->Paste_btn, window->Delete_btn,
             window->Begin_Front_btn, window->Send_Back_btn, window->Lock_btn })
        EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
    EXPECT_TRUE(window->Unlock_btn->isEnabled());

    // Locked items refuse removal.
    window->Delete_Clicked();
    EXPECT_EQ(front().size(), 4u);

    window->_graphicView->changeSelectionIndexes({ 1 });
    window->Unlock_btn->trigger();
    EXPECT_FALSE(b->ctrl_is_locked);
    EXPECT_TRUE(a->ctrl_is_locked && c->ctrl_is_locked);
    EXPECT_EQ(window->Last_Selected_Graphic(), b);
    EXPECT_EQ(window->sett_tab->widget(0), window->shape_tab);
    EXPECT_EQ(window->sett_tab->widget(window->sett_tab->count() - 1), window->aligmnt_tab);
    EXPECT_TRUE(window->Cut_btn->isEnabled());
    EXPECT_TRUE(window->Lock_btn->isEnabled());
    EXPECT_FALSE(window->Unlock_btn->isEnabled());

    window->_graphicView->Clear_Control_Selection();
    window->Unlock_Clicked();
    EXPECT_EQ(editortest::messageTexts(ui).last(), QStringLiteral("Please select a control to Unlock."));
}

TEST_F(EditCommandsTest, UndoAndRedoButtonsFollowTheStacksAndTheInspectorForgetsUndoneItems)
{
    clickTool(3);
    QCoreApplication::processEvents(); // the creation's undo group closes
    ASSERT_EQ(front().size(), 1u);
    const std::weak_ptr<TSLGraphic> made = front().front();
    EXPECT_TRUE(window->Undo_btn->isEnabled());
    EXPECT_FALSE(window->Redo_btn->isEnabled());
    EXPECT_EQ(window->Last_Selected_Graphic(), made.lock());

    window->Undo_btn->trigger();
    EXPECT_TRUE(front().empty());
    EXPECT_FALSE(window->Undo_btn->isEnabled());
    EXPECT_TRUE(window->Redo_btn->isEnabled());
    EXPECT_EQ(window->Last_Selected_Graphic(), nullptr);
    EXPECT_EQ(window->sett_tab->widget(0), window->card_setting_tab) << "the card is shown, not a gone item";

    window->Redo_btn->trigger();
    ASSERT_EQ(front().size(), 1u);
    EXPECT_TRUE(window->Undo_btn->isEnabled());
    EXPECT_FALSE(window->Redo_btn->isEnabled());

    // Undo acts on the side shown: from the scratch side it leaves the front's step alone.
    window->Select_temp_design_side();
    window->Undo_Clicked();
    EXPECT_EQ(front().size(), 1u);
    window->Select_front_side();
    window->Undo_Clicked();
    EXPECT_TRUE(front().empty());
}

TEST_F(EditCommandsTest, CutPasteDeleteAndOrderActOnTheCurrentSide)
{
    const TSLGraphicPtr first = addShape(QRectF(0, 0, 10, 10));
    const TSLGraphicPtr second = addShape(QRectF(30, 0, 10, 10));
    window->_graphicView->changeSelectionIndexes({ 1 });
    window->Begin_Front_Clicked();
    EXPECT_EQ(front().front(), second);
    window->Send_Back_Clicked();
    EXPECT_EQ(front().back(), second);

    window->Show_RHS_Properties(second);
    window->Cut_Clicked();
    ASSERT_EQ(front().size(), 1u);
    EXPECT_EQ(window->Last_Selected_Graphic(), nullptr) << "the cut item is no longer shown";
    EXPECT_EQ(window->sett_tab->widget(0), window->card_setting_tab);
    window->Set_Paste_Button_Status();
    EXPECT_TRUE(window->Paste_btn->isEnabled());

    window->Select_back_side();
    window->Paste_Clicked();
    ASSERT_EQ(back().size(), 1u);
    EXPECT_EQ(back().front()->bounds().size(), QSizeF(10, 10));
    EXPECT_EQ(front().size(), 1u);

    window->_graphicView_BACK->changeSelectionIndexes({ 0 });
    window->Delete_btn->setEnabled(true);
    window->Delete_btn->trigger();
    EXPECT_TRUE(back().empty());
    EXPECT_EQ(front().size(), 1u);
}
