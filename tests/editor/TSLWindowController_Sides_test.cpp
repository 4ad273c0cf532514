// Front, back and scratch sides: the cascade of new items, the lists other windows reach, and switching.
#include "editor/EditorWindowTestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QToolButton>
#include <QStackedWidget>

using editortest::EditorWindowTest;

class SidesTest : public EditorWindowTest {
protected:
    void SetUp() override
    {
        EditorWindowTest::SetUp();
        last_ctrl_X = last_ctrl_Y = 10;
        window->SetDocumentCanvasSize(QSizeF(243, 154));
    }
    void fillFront(int count)
    {
        for (int i = 0; i < count; ++i)
            addShape(QRectF(0, 0, 5, 5));
    }
};

TEST_F(SidesTest, CascadeStepsAtLeastTwentyAndByTheItemCount)
{
    fillFront(5);
    EXPECT_EQ(window->Control_New_Point(QStringLiteral("F")), QPointF(30, 30));
    EXPECT_EQ(last_ctrl_X, 30.0f);
    EXPECT_EQ(last_ctrl_Y, 30.0f);

    last_ctrl_X = last_ctrl_Y = 10;
    fillFront(20); // 25 items now
    EXPECT_EQ(window->Control_New_Point(QStringLiteral("F")), QPointF(35, 35));

    // The back side counts its own items: none, so the step is 20.
    last_ctrl_X = last_ctrl_Y = 10;
    EXPECT_EQ(window->Control_New_Point(QStringLiteral("B")), QPointF(30, 30));
}

TEST_F(SidesTest, CascadeWrapsNearTheFrontCanvasEdge)
{
    window->SetDocumentCanvasSize(QSizeF(200, 300));
    last_ctrl_X = 140; // next x 160: 160 + 50 reaches the 200-point edge
    last_ctrl_Y = 10;
    EXPECT_EQ(window->Control_New_Point(QStringLiteral("B")), QPointF(10, 30));
    EXPECT_EQ(last_ctrl_X, 10.0f);

    last_ctrl_X = 10;
    last_ctrl_Y = 240; // next y 260: 260 + 50 passes the 300-point edge
    EXPECT_EQ(window->Control_New_Point(QStringLiteral("F")), QPointF(30, 10));

    // The edge is the front canvas's even for the back side.
    last_ctrl_X = 100;
    last_ctrl_Y = 10;
    window->_graphicView_BACK->setCanvasSize(QSizeF(1000, 1000));
    EXPECT_EQ(window->Control_New_Point(QStringLiteral("B")).x(), 120.0);
    last_ctrl_X = 130;
    EXPECT_EQ(window->Control_New_Point(QStringLiteral("B")).x(), 10.0);
}

TEST_F(SidesTest, NewItemsOfTheCanvasFollowTheCascade)
{
    // The canvas asks the window for the position of an item that has none of its own.
    window->setSelected_Control_Tool(3);
    window->_graphicView->createGraphicOfClass(
        QStringLiteral("Shape_Control"), nullptr, false, QRectF(), QStringLiteral("F"), QString(), QString());
    ASSERT_EQ(window->Get_Front_Control_Count(), 1);
    EXPECT_EQ(window->Get_Front_Controls_Array()[0]->bounds().topLeft(), QPointF(30, 30));
    window->_graphicView->createGraphicOfClass(
        QStringLiteral("Shape_Control"), nullptr, false, QRectF(), QStringLiteral("F"), QString(), QString());
    EXPECT_EQ(window->Get_Front_Controls_Array()[0]->bounds().topLeft(), QPointF(50, 50));
    window->selectArrowTool();
}

TEST_F(SidesTest, SwitchingSidesKeepsTheListsApart)
{
    const TSLGraphicPtr front = addShape(QRectF(1, 1, 10, 10));
    window->Select_back_side();
    EXPECT_EQ(Card_Front_Or_Back, 1);
    EXPECT_EQ(window->Front_back_label->text(), QStringLiteral("Back"));
    EXPECT_EQ(window->myTargetView->currentWidget(), window->second_view);
    EXPECT_EQ(window->currentGraphicView(), window->_graphicView_BACK);

    window->setSelected_Control_Tool(2);
    window->_graphicView_BACK->createGraphicOfClass(QStringLiteral("TSLText"), nullptr, true, QRectF(5, 5, 60, 20),
        QStringLiteral("B"), QStringLiteral("On the back"), QStringLiteral("BACK_NOTE"));
    window->selectArrowTool();
    ASSERT_EQ(window->Get_Back_Control_Count(), 1);
    EXPECT_EQ(window->Get_Back_Controls_Array()[0]->Text_Value, QStringLiteral("On the back"));
    ASSERT_EQ(window->Get_Front_Control_Count(), 1);
    EXPECT_EQ(window->Get_Front_Controls_Array()[0], front);

    window->Select_front_side();
    EXPECT_EQ(Card_Front_Or_Back, 0);
    EXPECT_EQ(window->myTargetView->currentWidget(), window->first_view);
    EXPECT_EQ(window->Get_Back_Control_Count(), 1);
    EXPECT_EQ(window->Get_Front_Control_Count(), 1);

    // The accessors are the live lists, not copies.
    EXPECT_EQ(&window->Get_Front_Controls_Array(), &document.graphics());
    EXPECT_EQ(&window->Get_Back_Controls_Array(), &document.graphics_back());
}

TEST_F(SidesTest, ScratchSideShowsCopiesOfTheEditedSidesItems)
{
    addShape(QRectF(1, 1, 10, 10));
    const TSLGraphicPtr backA = addShape(QRectF(2, 2, 10, 10), TSLDocumentGraphicsKey_back);
    const TSLGraphicPtr backB = addShape(QRectF(3, 3, 10, 10), TSLDocumentGraphicsKey_back);

    window->Select_back_side();
    window->Temp_Card_Btn_Clicked();
    EXPECT_EQ(Card_Front_Or_Back, 1) << "showing the scratch side does not change the edited side";
    EXPECT_EQ(window->Front_back_label->text(), QStringLiteral("Preview of the Back"));
    EXPECT_EQ(window->myTargetView->currentWidget(), window->temp_design_view);
    EXPECT_EQ(window->currentGraphicView(), window->_graphicView_TEMP) << "commands act on the side shown";
    ASSERT_EQ(document.graphics_temp().size(), 2u);
    EXPECT_NE(document.graphics_temp()[0], backA) << "copies, in the same order";
    EXPECT_EQ(document.graphics_temp()[0]->bounds(), backA->bounds());
    EXPECT_EQ(document.graphics_temp()[1]->bounds(), backB->bounds());

    // A copy: taking items out of it leaves the scratch list alone.
    TSLGraphicList copy = window->Get_Temp_Controls_Array();
    copy.clear();
    EXPECT_EQ(document.graphics_temp().size(), 2u);

    // Refilling from the front replaces the scratch items; the back keeps its own.
    window->Select_front_side();
    window->Temp_Design_Control_Assign();
    ASSERT_EQ(document.graphics_temp().size(), 1u);
    EXPECT_EQ(document.graphics_temp()[0]->bounds(), document.graphics()[0]->bounds());
    EXPECT_EQ(window->Get_Back_Control_Count(), 2);
}

TEST_F(SidesTest, OneSidedCardDisablesTheBackButton)
{
    window->Sides_ComboBox->setCurrentIndex(1);
    EXPECT_EQ(CARD_SIDE_STR, QStringLiteral("1"));
    EXPECT_FALSE(window->Back_Side_btn->isEnabled());
    window->Sides_ComboBox->setCurrentIndex(0);
    EXPECT_EQ(CARD_SIDE_STR, QStringLiteral("2"));
    EXPECT_TRUE(window->Back_Side_btn->isEnabled());
}
