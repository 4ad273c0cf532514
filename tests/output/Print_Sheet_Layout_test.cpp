#include "output/Print_Sheet_Layout.h"

#include <gtest/gtest.h>

namespace {

constexpr float mm = 2.834645669291f;

// A sheet whose printable area is `availMM` wide and high, with 10 mm borders.
Print_Sheet_Layout sheet(float availWidthMM, float availHeightMM = 277.f)
{
    Print_Sheet_Layout layout;
    layout.Left_Mar = layout.Rite_Mar = layout.Top_Mar = layout.Bot_Mar = 10.f * mm;
    layout.paper_width = (availWidthMM + 20.f) * mm;
    layout.paper_hight = (availHeightMM + 20.f) * mm;
    return layout;
}

} // namespace

TEST(PrintSheetLayout, UnitsRoundTrip)
{
    EXPECT_FLOAT_EQ(MM_to_Points_Convert(25.4f), 72.f);
    EXPECT_FLOAT_EQ(Points_to_MM_Convert(72.f), 25.4f);
}

TEST(PrintSheetLayout, FitRuleCases)
{
    const struct {
        const char* name;
        float availMM, cardMM, gapMM;
        int cols;
        bool autoCenter;
        int expectCols;
        float expectGapMM;
        bool rewritten;
    } cases[] = {
        { "auto centre shares the free space", 190.f, 85.f, 0.f, 2, true, 2, 20.f / 3.f, false },
        { "auto centre cuts down to whole cards", 190.f, 85.f, 0.f, 3, true, 2, 0.f, true },
        { "gap kept, count cut to what fits", 190.f, 60.f, 5.f, 4, false, 3, 5.f, true },
        { "a count that fits is never raised", 190.f, 60.f, 5.f, 1, false, 1, 5.f, false },
        { "a card wider than the sheet still makes one column", 100.f, 150.f, 0.f, 3, false, 1, 0.f, true },
        { "auto centre with a too wide card makes one column", 100.f, 150.f, 0.f, 2, true, 1, 0.f, true },
        { "no column below one", 190.f, 85.f, 0.f, 0, false, 1, 0.f, true },
        { "a negative count is lifted to one", 190.f, 85.f, 0.f, -4, true, 1, 52.5f, true },
    };
    for (const auto& c : cases) {
        Print_Sheet_Layout layout = sheet(c.availMM);
        Print_Fit_Input input;
        input.cardWidthMM = c.cardMM;
        input.cardHeightMM = 50.f;
        input.horzGapMM = c.gapMM;
        input.cols = c.cols;
        input.rows = 1;
        input.autoCenter = c.autoCenter;
        const Print_Fit_Result result = Check_Max_Cell_Value(layout, input);
        EXPECT_EQ(result.cols, c.expectCols) << c.name;
        EXPECT_EQ(layout.Print_Col, c.expectCols) << c.name;
        EXPECT_NEAR(Points_to_MM_Convert(layout.horz_mar), c.expectGapMM, 0.01) << c.name;
        EXPECT_EQ(result.colsRewritten, c.rewritten) << c.name;
        EXPECT_GE(layout.Print_Row, 1) << c.name;
    }
}

TEST(PrintSheetLayout, AutoCentreCentresTheBlockWithEqualGaps)
{
    Print_Sheet_Layout layout = sheet(190.f);
    Print_Fit_Input input { 85.f, 54.f, 0.f, 0.f, 1, 2, true };
    Check_Max_Cell_Value(layout, input);
    const float gap = 20.f / 3.f * mm;
    EXPECT_NEAR(layout.columnX(1), 10.f * mm + gap, 0.01);
    EXPECT_NEAR(layout.columnX(2), 10.f * mm + 2.f * gap + 85.f * mm, 0.01);
    // Right of the last column the same gap is left.
    EXPECT_NEAR(layout.paper_width - 10.f * mm - (layout.columnX(2) + layout.label_width), gap, 0.01);
}

TEST(PrintSheetLayout, AlignmentsPlaceTheBlockInThePrintableArea)
{
    // 2 x 2 cards of 50 x 30 mm with 4 mm gaps on 190 x 277 mm printable, borders 10 mm.
    const float L = 10.f * mm, blockW = 104.f * mm, blockH = 64.f * mm, cellW = 50.f * mm, cellH = 30.f * mm;
    const float paperW = 210.f * mm, paperH = 297.f * mm;
    const struct {
        int align;
        float left; // x of column 1
        float top; // top edge of row 1
    } cases[] = {
        { 1, L, paperH - L },
        { 2, L + (190.f * mm - blockW) / 2.f, paperH - L },
        { 3, paperW - blockW - L, paperH - L },
        { 4, L, L + (277.f * mm - blockH) / 2.f + blockH },
        { 5, L + (190.f * mm - blockW) / 2.f, L + (277.f * mm - blockH) / 2.f + blockH },
        { 6, paperW - blockW - L, L + (277.f * mm - blockH) / 2.f + blockH },
        { 7, L, L + blockH },
        { 8, L + (190.f * mm - blockW) / 2.f, L + blockH },
        { 9, paperW - blockW - L, L + blockH },
    };
    for (const auto& c : cases) {
        Print_Sheet_Layout layout = sheet(190.f);
        layout.label_align_val = c.align;
        Check_Max_Cell_Value(layout, { 50.f, 30.f, 4.f, 4.f, 2, 2, false });
        EXPECT_NEAR(layout.columnX(1), c.left, 0.01) << c.align;
        EXPECT_NEAR(layout.columnX(2), c.left + cellW + 4.f * mm, 0.01) << c.align;
        EXPECT_NEAR(layout.rowY(1) + cellH, c.top, 0.01) << c.align;
        EXPECT_NEAR(layout.rowY(2), layout.rowY(1) - cellH - 4.f * mm, 0.01) << c.align;
    }
}

TEST(PrintSheetLayout, BothSidesDoubleTheCellAndPlaceTheBackBesideOrBelow)
{
    const struct {
        const char* arrangement;
        float cellW, cellH;
        QPointF backOffset; // of the back from the front, bottom-left origin
    } cases[] = { { "U", 85.f, 108.f, QPointF(0, -54.f * mm) }, { "L", 170.f, 54.f, QPointF(85.f * mm, 0) } };
    for (const auto& c : cases) {
        Print_Sheet_Layout layout = sheet(190.f);
        layout.Print_Card_Side = QStringLiteral("BOTH");
        layout.Print_Card_Algn = QLatin1String(c.arrangement);
        Check_Max_Cell_Value(layout, { 85.f, 54.f, 0.f, 0.f, 1, 1, false });
        EXPECT_NEAR(layout.label_width, c.cellW * mm, 0.01) << c.arrangement;
        EXPECT_NEAR(layout.label_hight, c.cellH * mm, 0.01) << c.arrangement;
        const auto place = layout.placement(1, 1, QSizeF(85.f * mm, 54.f * mm));
        EXPECT_NEAR(place.second.x() - place.first.x(), c.backOffset.x(), 0.01) << c.arrangement;
        EXPECT_NEAR(place.second.y() - place.first.y(), c.backOffset.y(), 0.01) << c.arrangement;
        // The pair fills the cell exactly.
        const QRectF cell(layout.columnX(1), layout.rowY(1), layout.label_width, layout.label_hight);
        EXPECT_NEAR((place.first | place.second).width(), cell.width(), 0.01);
        EXPECT_NEAR((place.first | place.second).height(), cell.height(), 0.01);
    }
}

TEST(PrintSheetLayout, SmallerPicturesAreCentredNeverStretched)
{
    Print_Sheet_Layout layout = sheet(190.f);
    Check_Max_Cell_Value(layout, { 100.f, 60.f, 0.f, 0.f, 1, 1, false });
    const auto place = layout.placement(1, 1, QSizeF(80.f * mm, 40.f * mm));
    EXPECT_NEAR(place.first.width(), 80.f * mm, 0.01);
    EXPECT_NEAR(place.first.x() - layout.columnX(1), 10.f * mm, 0.01);
    EXPECT_NEAR(place.first.y() - layout.rowY(1), 10.f * mm, 0.01);
    EXPECT_TRUE(place.second.isNull());
    // Bigger than its cell: placed at the cell's corner at its own size.
    const auto big = layout.placement(1, 1, QSizeF(120.f * mm, 70.f * mm));
    EXPECT_NEAR(big.first.x(), layout.columnX(1), 0.01);
    EXPECT_NEAR(big.first.width(), 120.f * mm, 0.01);
}

TEST(PrintSheetLayout, SheetCountsAndCellNumbers)
{
    Print_Sheet_Layout layout;
    layout.Print_Row = 2;
    layout.Print_Col = 2;
    const struct {
        int total, sheets;
    } cases[] = { { 0, 0 }, { 1, 1 }, { 4, 1 }, { 7, 2 }, { 8, 2 }, { 9, 3 } };
    for (const auto& c : cases)
        EXPECT_EQ(layout.sheetCount(c.total), c.sheets) << c.total;
    EXPECT_EQ(layout.cellIndex(1, 1), 0);
    EXPECT_EQ(layout.cellIndex(2, 1), 2);
    EXPECT_EQ(layout.cellIndex(2, 2), 3);
    // Rows or columns of 0 never divide by zero: they count as one.
    layout.Print_Row = 0;
    layout.Print_Col = -3;
    EXPECT_EQ(layout.sheetCount(5), 5);
}

TEST(PrintSheetLayout, PageRectTurnsTheSheetUpsideDown)
{
    Print_Sheet_Layout layout;
    layout.paper_hight = 800.f;
    EXPECT_EQ(layout.pageRect(QRectF(10, 0, 100, 50)), QRectF(10, 750, 100, 50));
}
