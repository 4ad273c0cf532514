// The card-size tables, points and millimetres, the size fields and the size list of the card page.
#include "canvas/TSLCenteringClipView.h"
#include "canvas/TSLZoomingScrollView.h"
#include "editor/EditorWindowTestSupport.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QTableWidget>

using editortest::EditorWindowTest;

namespace {

// Single-precision values, compared as the tables give them in millimetres.
void expectSize(const QSizeF& size, double width, double height)
{
    EXPECT_FLOAT_EQ(float(size.width()), float(width));
    EXPECT_FLOAT_EQ(float(size.height()), float(height));
}

} // namespace

TEST(CardSizes, TableLookUpByCategoryOrientationAndRow)
{
    const QString pvc = QStringLiteral("PVC Card");
    const QString labels = QStringLiteral("Name Badge Label");
    expectSize(TSLWindowController::Get_My_card_Size(pvc, QStringLiteral("H"), 0), 85.598, 54.102);
    expectSize(TSLWindowController::Get_My_card_Size(pvc, QStringLiteral("V"), 0), 54.102, 85.598);
    expectSize(TSLWindowController::Get_My_card_Size(pvc, QStringLiteral("H"), 6), 73.152, 53.848);
    expectSize(TSLWindowController::Get_My_card_Size(labels, QStringLiteral("H"), 7), 150.114, 125.984);
    expectSize(TSLWindowController::Get_My_card_Size(labels, QStringLiteral("H"), 0), 59.944, 40.132);
    // Rows 1 and 2 of the label stocks are the same size.
    EXPECT_EQ(TSLWindowController::Get_My_card_Size(labels, QStringLiteral("H"), 1),
        TSLWindowController::Get_My_card_Size(labels, QStringLiteral("H"), 2));
    // Label row 5 is stated portrait, so "V" turns it landscape.
    expectSize(TSLWindowController::Get_My_card_Size(labels, QStringLiteral("V"), 5), 89.916, 59.944);
    // Any category other than the plastic cards is the label table; any preset but "V" is as stated.
    expectSize(TSLWindowController::Get_My_card_Size(QStringLiteral("pvc card"), QStringLiteral("Horizontal"), 3),
        89.916, 54.102);
    // No row chosen: 30 x 30 millimetres, unconverted, whatever else is asked.
    expectSize(TSLWindowController::Get_My_card_Size(pvc, QStringLiteral("V"), -1), 30, 30);
    expectSize(TSLWindowController::Get_My_card_Size(labels, QStringLiteral("H"), -1), 30, 30);
    // A row past the table keeps the 30 but still converts it.
    expectSize(TSLWindowController::Get_My_card_Size(pvc, QStringLiteral("H"), 7), 762, 762);
}

TEST(CardSizes, PointsAndMillimetres)
{
    EXPECT_FLOAT_EQ(TSLWindowController::MM_to_Points_Convert(25.4f), 72.0f);
    EXPECT_FLOAT_EQ(TSLWindowController::Points_to_MM_Convert(72.0f), 25.4f);
    EXPECT_FLOAT_EQ(TSLWindowController::MM_to_Points_Convert(100.0f), 283.4645669291f);
    EXPECT_FLOAT_EQ(TSLWindowController::Points_to_MM_Convert(243.0f), 85.725f);
    EXPECT_EQ(TSLWindowController::MM_to_Points_Convert(0.0f), 0.0f);
    // There and back again stays within the last bit of single precision.
    for (float mm : { 1.0f, 54.102f, 85.598f, 150.114f, 999.5f })
        EXPECT_NEAR(
            TSLWindowController::Points_to_MM_Convert(TSLWindowController::MM_to_Points_Convert(mm)), mm, mm * 2e-7f);
}

using CardSizeWindowTest = EditorWindowTest;

TEST_F(CardSizeWindowTest, CategoryChoiceFillsTheSizeListAndItShowsTheCardsOwnSize)
{
    const QSizeF cr80 = TSLWindowController::Get_My_card_Size(QStringLiteral("PVC Card"), QStringLiteral("H"), 0);
    window->SetDocumentCanvasSize(QSizeF(TSLWindowController::MM_to_Points_Convert(float(cr80.width())),
        TSLWindowController::MM_to_Points_Convert(float(cr80.height()))));
    window->Category_ComboBox->setCurrentIndex(1);
    ASSERT_EQ(window->ColList->rowCount(), 8);
    EXPECT_EQ(window->ListData.size(), 8);
    EXPECT_EQ(window->ColList->item(7, 0)->text(), QStringLiteral("Durable 1459 - Name Badge"));
    EXPECT_TRUE(window->ColList->selectedRanges().isEmpty()) << "no label stock has the card's size";

    window->Category_ComboBox->setCurrentIndex(0);
    ASSERT_EQ(window->ColList->rowCount(), 7);
    EXPECT_EQ(window->Category_ComboBox->itemText(0), QStringLiteral("PVC Card"));
    QStringList shown;
    for (int row = 0; row < window->ColList->rowCount(); ++row)
        shown << window->ColList->item(row, 0)->text();
    EXPECT_EQ(shown, window->pvc_card_arry);
    ASSERT_EQ(window->ColList->selectedRanges().size(), 1);
    EXPECT_EQ(window->ColList->selectedRanges().first().topRow(), 0);

    // Orientation turns the card at once; the list still shows its size, the fields the turned sides.
    window->Preset_ComboBox->setCurrentIndex(1);
    EXPECT_EQ(window->ColList->rowCount(), 7);
    ASSERT_EQ(window->ColList->selectedRanges().size(), 1);
    EXPECT_EQ(window->ColList->selectedRanges().first().topRow(), 0);
    EXPECT_GT(window->frontCanvasBounds().height(), window->frontCanvasBounds().width());
    EXPECT_NEAR(window->width_Stepper->value(), cr80.height(), 0.01);
}

TEST_F(CardSizeWindowTest, SizeListRowsAndEdits)
{
    window->ListData.clear();
    window->Create_List(QStringLiteral("  "));
    EXPECT_TRUE(window->ListData.isEmpty());
    window->Create_List(QStringLiteral("  Postcard \n"));
    ASSERT_EQ(window->ListData.size(), 1);
    EXPECT_EQ(window->Get_Item_Text(0), QStringLiteral("Postcard"));
    EXPECT_EQ(window->Get_Item_Text(3), QString());
    EXPECT_EQ(window->numberOfRowsInTableView(window->ColList), 1);
    EXPECT_EQ(window->numberOfRowsInTableView(nullptr), 0);
    EXPECT_EQ(window->tableView_objectValueForTableColumn(window->ColList, QStringLiteral("Extension"), 0),
        std::optional<QString>(QStringLiteral("Postcard")));
    EXPECT_FALSE(window->tableView_objectValueForTableColumn(window->ColList, QStringLiteral("Extension"), 1));

    // Editing in place stores under the column's identifier; a row that is not there is refused.
    window->reloadSizeList();
    window->ColList->item(0, 0)->setText(QStringLiteral("Big postcard"));
    EXPECT_EQ(window->Get_Item_Text(0), QStringLiteral("Big postcard"));
    window->tableView_setObjectValue(window->ColList, QStringLiteral("x"), QStringLiteral("Extension"), 5);
    EXPECT_EQ(window->ListData.size(), 1);
}

TEST_F(CardSizeWindowTest, SizeReachesFieldsCanvasesAndZoomViews)
{
    window->Set_Card_Size_In_Control(QSizeF(85.598, 54.102));
    EXPECT_NEAR(window->width_Stepper->value(), 85.598, 1e-6);
    EXPECT_NEAR(window->height_Stepper->value(), 54.102, 1e-6);

    const QSizeF points(TSLWindowController::MM_to_Points_Convert(100), TSLWindowController::MM_to_Points_Convert(150));
    window->SetDocumentCanvasSize(points);
    for (TSLGraphicView* canvas : { window->_graphicView, window->_graphicView_BACK, window->_graphicView_TEMP })
        EXPECT_EQ(canvas->canvasSize(), points);
    EXPECT_NEAR(points.width(), 283.46, 0.01);
    EXPECT_NEAR(points.height(), 425.20, 0.01);
    EXPECT_EQ(window->frontCanvasBounds(), QRectF(QPointF(0, 0), points));
    // The zoom views centre the card by its size, so they must know it too.
    for (TSLZoomingScrollView* view :
        { window->_zoomingScrollView, window->_zoomingScrollView_BACK, window->_zoomingScrollView_TEMP })
        EXPECT_EQ(view->clipView()->documentSize(), points);
}
