#include "data/Sheet_Column_List.h"

#include "data/Spreadsheet_Binding_Table.h"

#include <gtest/gtest.h>

using Rows = SpreadsheetWriter::Rows;

TEST(SheetColumnList, BlankHeaderKeepsEveryColumnInItsPlace)
{
    const QList<Sheet_Column> list = Create_Column_List({ " Name ", "  ", "City", "" });
    ASSERT_EQ(list.size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(list[i].column, i);
    EXPECT_EQ(list[0].Extension, QStringLiteral("Name"));
    EXPECT_EQ(list[0].Header, QStringLiteral(" Name "));
    EXPECT_EQ(list[1].Extension, QStringLiteral("Untitled Column 2"));
    EXPECT_EQ(list[1].Header, QStringLiteral("Untitled Column 2"));
    EXPECT_EQ(list[2].Extension, QStringLiteral("City"));
    EXPECT_EQ(list[3].Extension, QStringLiteral("Untitled Column 4"));

    QList<Sheet_Column> ticked = list;
    ticked[2].State = true;
    EXPECT_EQ(tickedColumns(ticked), QList<int> { 2 }) << "City stays column 2 after the blank header";
}

TEST(SheetColumnList, TickedCellsComeRowByRow)
{
    const Rows rows { { "A", "B", "C" }, { "a1", "b1", "c1" }, { "a2", " b2 ", "c2" }, { "a3" } };
    struct Case {
        QList<int> ticked;
        bool header;
        QStringList values;
    } cases[] = {
        { { 1, 2 }, true, { "b1", "c1", "b2", "c2", "", "" } },
        { { 1, 2 }, false, { "B", "C", "b1", "c1", "b2", "c2", "", "" } },
        { { 0 }, true, { "a1", "a2", "a3" } },
        { { 7 }, true, { "", "", "" } }, // a column outside the rows reads as empty, never out of bounds
        { {}, true, {} },
    };
    for (const Case& c : cases)
        EXPECT_EQ(tickedValuesRowMajor(rows, c.ticked, c.header), c.values);
    EXPECT_EQ(columnValues(rows, 2, true), (QStringList { "c1", "c2", "" }));
}

TEST(SheetColumnList, BindingTableTakesTheTickedColumnsByPosition)
{
    const Rows rows { { "Name", "Phone", "City" }, { "Ada", "555-1", "Oslo" }, { "Bo", "555-2", "Bergen" } };
    Spreadsheet_Binding_Table table;
    table.setValueColumnTitles({ "#", "Old 1", "Old 2", "Old 3" });
    ASSERT_TRUE(Fill_Binding_Table(table, rows, { 1, 2 }, true));
    EXPECT_EQ(table.columnTitles(), (QStringList { "#", "Phone", "City" })) << "earlier extra columns are gone";
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.value(0, 0), QStringLiteral("1"));
    EXPECT_EQ(table.value(1, 0), QStringLiteral("2"));
    EXPECT_EQ(table.value(0, 1), QStringLiteral("555-1"));
    EXPECT_EQ(table.value(1, 2), QStringLiteral("Bergen"));

    ASSERT_TRUE(Fill_Binding_Table(table, rows, { 1, 2 }, false));
    ASSERT_EQ(table.rowCount(), 3);
    EXPECT_EQ(table.value(0, 1), QStringLiteral("Phone")) << "without titles the first row is a record too";
    EXPECT_EQ(table.value(2, 2), QStringLiteral("Bergen"));

    const Spreadsheet_Binding_Table before = table;
    EXPECT_FALSE(Fill_Binding_Table(table, {}, { 0 }, true));
    EXPECT_EQ(table, before) << "a sheet without rows leaves the table as it was";
}

TEST(SheetColumnList, BindingTableEditsStayInsideTheTable)
{
    Spreadsheet_Binding_Table table;
    ASSERT_TRUE(Fill_Binding_Table(table, { { "Name" }, { "Ada" } }, { 0 }, true));
    EXPECT_TRUE(table.setValue(0, 1, QStringLiteral("Adele")));
    EXPECT_EQ(table.value(0, 1), QStringLiteral("Adele"));
    EXPECT_FALSE(table.setValue(1, 1, QStringLiteral("x")));
    EXPECT_FALSE(table.setValue(-1, 1, QStringLiteral("x")));
    EXPECT_FALSE(table.setValue(0, 5, QStringLiteral("x")));
    EXPECT_EQ(table.rowCount(), 1);

    table.Create_Value_List(QStringLiteral("  "));
    EXPECT_EQ(table.rowCount(), 1);
    table.Create_Value_List(QStringLiteral(" extra "));
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.value(1, 0), QStringLiteral("extra"));
}
