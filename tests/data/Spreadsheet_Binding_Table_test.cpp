#include "data/Spreadsheet_Binding_Table.h"

#include <gtest/gtest.h>

TEST(SpreadsheetBindingTable, RowsAreNumberedAndTrimmedAndKeyedByPosition)
{
    Spreadsheet_Binding_Table table;
    table.setValueColumnTitles({ QStringLiteral("ignored"), QStringLiteral("B title"), QStringLiteral("D title") });
    EXPECT_EQ(table.columnTitles(), QStringList({ QStringLiteral("#"), QStringLiteral("B title"), QStringLiteral("D title") }));
    EXPECT_TRUE(table.Create_List_By_Array({ QStringLiteral("  Ada "), QStringLiteral("d1") }, 2));
    EXPECT_TRUE(table.Create_List_By_Array({ QStringLiteral("Bo"), QStringLiteral("d2") }, 2));
    EXPECT_TRUE(table.Create_List_By_Array({ QStringLiteral("Cy"), QStringLiteral("d3") }, 2));
    EXPECT_FALSE(table.Create_List_By_Array({ QStringLiteral("short") }, 2));
    EXPECT_EQ(table.rowCount(), 3);
    EXPECT_EQ(table.value(0, 0), QStringLiteral("1"));
    EXPECT_EQ(table.value(2, 0), QStringLiteral("3"));
    EXPECT_EQ(table.value(0, 1), QStringLiteral("Ada"));
    EXPECT_EQ(table.value(1, 2), QStringLiteral("d2")); // an item bound to position 2 gets D's values
    EXPECT_EQ(table.value(5, 1), QStringLiteral(""));   // record 5 of a three-row table
    EXPECT_EQ(Spreadsheet_Binding_Table::keyOfColumn(0), QStringLiteral("Extension"));
    EXPECT_EQ(Spreadsheet_Binding_Table::keyOfColumn(3), QStringLiteral("Column3"));
}

TEST(SpreadsheetBindingTable, EmptyTitleListKeepsTheColumns)
{
    Spreadsheet_Binding_Table table;
    table.setValueColumnTitles({ QStringLiteral("#"), QStringLiteral("Name") });
    table.setValueColumnTitles({});
    EXPECT_EQ(table.columnCount(), 2);
}
