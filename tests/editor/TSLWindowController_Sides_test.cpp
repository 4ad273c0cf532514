// Front, back and scratch sides: the cascade of new items, the lists other windows reach, and switching.
#include "editor/EditorWindowTestSupport.h"
#include "output/BatchTestSupport.h"

#include "model/TSLImage.h"

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

// Each road that reads items back shows their pictures and draws their barcodes from their settings, also
// a barcode stored with nothing but its picture (as earlier versions stored it).
TEST_F(SidesTest, EveryRoadThatReadsItemsBackShowsPicturesAndDrawsBarcodes)
{
    const QColor blue(30, 90, 200);
    const QString sun = testsupport::makeTempFolder(QStringLiteral("roads")) + QStringLiteral("/sun.png");
    auto picture = TSLImage::initWithPath(QPointF(60, 40), batchtest::writePicture(sun, blue));
    auto barcode = batchtest::boundCode128(QString(), QRectF(120, 20, 110, 60));
    barcode->data_source_type = 0;
    Barcode_Gen settings;
    barcode->Set_Barcode_image(Record_Fill::Record_Barcode_Picture(settings, *barcode, barcode->linear_font_val));
    addItem(picture, TSLDocumentGraphicsKey);
    addItem(barcode, TSLDocumentGraphicsKey);
    QImage preview;
    std::vector<editortest::ReadBackRoad> roads = editortest::readBackRoads(*window, document);
    roads.push_back(
        { "card-holder preview", [&] { return preview = window->previewProfile(), document.graphics_temp(); } });
    roads.push_back({ "batch snapshot", [&] {
                         return Batch_Snapshot::take({ document.graphics(), batchtest::creditCardSide(0) }, {}, false,
                             Record_Source(), Barcode_Gen())
                             ->side(QStringLiteral("F"))
                             .items;
                     } });
    for (const auto& road : roads) {
        const TSLGraphicList items = road.read();
        ASSERT_EQ(items.size(), 2u) << road.road;
        EXPECT_EQ(static_cast<const TSLImage&>(*items[0]).contents().pixelColor(5, 5), blue) << road.road;
        ASSERT_TRUE(items[1]->Barcode_drawing()) << road.road;
        EXPECT_GT(items[1]->Barcode_drawing()->size().width(), 0.0) << road.road;
        EXPECT_EQ(items[1]->_barcode_image, barcode->_barcode_image) << road.road << ": the file keeps the picture";
    }
    const double scale = preview.width() / window->frontCanvasBounds().width();
    EXPECT_EQ(preview.pixelColor(QPointF(60 * scale, 40 * scale).toPoint()), blue) << "the preview shows the picture";
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
