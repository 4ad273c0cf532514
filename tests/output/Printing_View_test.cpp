#include "PrintTestSupport.h"

#include <gtest/gtest.h>

using namespace printtest;

namespace {

// Records of each sheet in cell order; -1 for the design's own card.
std::vector<std::vector<int>> recordsBySheet(const Printing_View& view, int pages)
{
    std::vector<std::vector<int>> sheets;
    for (const auto& sheet : view.planSheets(pages)) {
        sheets.emplace_back();
        for (const Print_Cell& cell : sheet)
            sheets.back().push_back(cell.record);
    }
    return sheets;
}

} // namespace

TEST(PrintingView, RecordsFollowFromSheetToSheet)
{
    using Sheets = std::vector<std::vector<int>>;
    const struct {
        const char* name;
        int records, total, rows, cols;
        Sheets expected;
    } cases[] = {
        { "10 records on 2 x 2", 10, 10, 2, 2, Sheets { { 0, 1, 2, 3 }, { 4, 5, 6, 7 }, { 8, 9 } } },
        { "5 records, 8 cards: the surplus is skipped", 5, 8, 2, 2, Sheets { { 0, 1, 2, 3 }, { 4 } } },
        { "fewer cards than records", 10, 3, 2, 2, Sheets { { 0, 1, 2 } } },
        { "no data source: six copies", 0, 6, 2, 3, Sheets { { -1, -1, -1, -1, -1, -1 } } },
        { "no data source, seven cards", 0, 7, 2, 3, Sheets { { -1, -1, -1, -1, -1, -1 }, { -1 } } },
    };
    for (const auto& c : cases) {
        const Printing_View view(mergedJob(c.records, c.total, c.rows, c.cols));
        const int pages = view.numberOfPages(false);
        EXPECT_EQ(recordsBySheet(view, pages), c.expected) << c.name;
    }
}

TEST(PrintingView, CellsAreHandedOutRowByRowFromTheTopLeft)
{
    const Printing_View view(mergedJob(0, 6, 2, 3));
    const auto sheets = view.planSheets(1);
    ASSERT_EQ(sheets.size(), 1u);
    ASSERT_EQ(sheets[0].size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(sheets[0][size_t(i)].row, i / 3 + 1);
        EXPECT_EQ(sheets[0][size_t(i)].column, i % 3 + 1);
    }
    // The second sheet of a seven-card job has its one card at row 1, column 1.
    const Printing_View seven(mergedJob(0, 7, 2, 3));
    const auto two = seven.planSheets(seven.numberOfPages(false));
    ASSERT_EQ(two.size(), 2u);
    ASSERT_EQ(two[1].size(), 1u);
    EXPECT_EQ(two[1][0].row, 1);
    EXPECT_EQ(two[1][0].column, 1);
}

TEST(PrintingView, EveryPassStartsAtTheFirstRecord)
{
    const Printing_View view(mergedJob(9, 9, 2, 2));
    const auto first = recordsBySheet(view, 3);
    EXPECT_EQ(recordsBySheet(view, 3), first);
    // Drawing twice gives the same sheets: the preview drawn again shows the same records.
    QImage once(595, 842, QImage::Format_RGB32), twice(595, 842, QImage::Format_RGB32);
    const auto sheets = view.planSheets(3);
    for (QImage* image : { &once, &twice }) {
        QPainter painter(image);
        view.drawSheet(painter, sheets[1]);
    }
    EXPECT_EQ(once, twice);
}

TEST(PrintingView, PreviewIsCappedAtFiftySheetsWithANoticePrintingIsNot)
{
    testsupport::ScriptedResponder ui;
    const Printing_View view(mergedJob(0, 120, 1, 2));
    EXPECT_EQ(view.numberOfPages(false), 60);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(view.numberOfPages(true), 50);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.trimmed(), Printing_View::previewCapMessage());
    // A preview of 50 sheets or fewer says nothing.
    const Printing_View small(mergedJob(0, 100, 1, 2));
    EXPECT_EQ(small.numberOfPages(true), 50);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(PrintingView, SheetsShowTheRecordsCardsWhereTheLayoutPutsThem)
{
    // A front-only sheet: the cell's area is painted with the card base; outside the cells stays white.
    Print_Job job = mergedJob(2, 2, 1, 2);
    const Printing_View view(job);
    QImage sheet(596, 842, QImage::Format_RGB32);
    sheet.fill(Qt::red);
    {
        QPainter painter(&sheet);
        view.drawSheet(painter, view.planSheets(1)[0]);
    }
    const QRectF first = job.layout.pageRect(job.layout.cardArea(1, 1));
    const QRectF second = job.layout.pageRect(job.layout.cardArea(1, 2));
    EXPECT_EQ(sheet.pixelColor((second.topLeft() + QPointF(210, 30)).toPoint()), QColor(30, 90, 200));
    EXPECT_EQ(sheet.pixelColor(2, 2), QColor(Qt::white)); // the paper is white, not left as it was
    EXPECT_EQ(sheet.pixelColor((first.topLeft() + QPointF(210, 30)).toPoint()), QColor(30, 90, 200)); // the picture
}
