#include "platform/Geometry.h"
#include "platform/StringsTable.h"

#include <gtest/gtest.h>

TEST(Geometry, RightAndBottomEdgesAreOutside)
{
    const QRectF r(10, 20, 30, 40);
    EXPECT_TRUE(platform::pointInRect({ 10, 20 }, r));
    EXPECT_TRUE(platform::pointInRect({ 39.999, 59.999 }, r));
    EXPECT_FALSE(platform::pointInRect({ 40, 30 }, r));
    EXPECT_FALSE(platform::pointInRect({ 20, 60 }, r));
    EXPECT_FALSE(platform::pointInRect({ 9.999, 30 }, r));
    EXPECT_FALSE(platform::pointInRect({ 10, 20 }, QRectF(10, 20, 0, 5)));
}

TEST(Geometry, UnionIgnoresEmptyRectangles)
{
    const QRectF a(0, 0, 10, 10);
    EXPECT_EQ(platform::unionRect(a, QRectF(500, 500, 0, 30)), a);
    EXPECT_EQ(platform::unionRect(QRectF(-50, -50, 20, 0), a), a);
    EXPECT_EQ(platform::unionRect(a, QRectF(20, -5, 5, 5)), QRectF(0, -5, 25, 15));
    EXPECT_EQ(platform::unionRect(QRectF(), QRectF()), QRectF());
}

TEST(StringsTable, ParsesEntriesEscapesAndCommentsAndSkipsBrokenLines)
{
    const auto table
        = platform::parseStringsTable(QStringLiteral("/* comment */\n\"a\" = \"Alpha\";\n// line comment\n\"b "
                                                     "\\\"q\\\"\" = \"line\\nbreak\";\nbroken line\n\"c\"=\"C\";"));
    EXPECT_EQ(table.value(QStringLiteral("a")), QStringLiteral("Alpha"));
    EXPECT_EQ(table.value(QStringLiteral("b \"q\"")), QStringLiteral("line\nbreak"));
    EXPECT_EQ(table.value(QStringLiteral("c")), QStringLiteral("C"));
    EXPECT_EQ(table.size(), 3);
}

TEST(StringsTable, MissingKeyAndMissingTableStandForThemselves)
{
    EXPECT_EQ(platform::localizedString(QStringLiteral("TSLGraphicView"), QStringLiteral("Show Ruler")),
        QStringLiteral("Show Ruler"));
    EXPECT_EQ(platform::localizedString(QStringLiteral("UndoStrings"), QStringLiteral("No Such Key")),
        QStringLiteral("No Such Key"));
    EXPECT_EQ(platform::localizedString(QStringLiteral("NoSuchTable"), QStringLiteral("Key")), QStringLiteral("Key"));
    EXPECT_EQ(platform::localizedString(QStringLiteral("UndoStrings"), QStringLiteral("Change of Text")),
        QStringLiteral("Typing"));
}
