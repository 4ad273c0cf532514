#include "barcode/BRCDataMatrix.h"
#include "barcode/DataMatrix_Symbol_Builder.h"

#include <gtest/gtest.h>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int v : values)
        result += static_cast<char>(v);
    return result;
}

TEST(DataMatrixBuilder, ErrorCorrectionOfTheStandardsExample)
{
    // "123456" in ASCII encodation in a 10 x 10 symbol.
    const auto size = DataMatrix_Symbol_Builder::sizeOf(10, 10);
    ASSERT_TRUE(size);
    EXPECT_EQ(DataMatrix_Symbol_Builder::withErrorCorrection(bytes({ 142, 164, 186 }), *size),
        bytes({ 142, 164, 186, 114, 25, 5, 88, 102 }));
}

TEST(DataMatrixBuilder, Base256CodewordsCarryLatchLengthAndRandomisedBytes)
{
    // Positions 2, 3, ... randomise by ((149 x position) mod 255) + 1.
    EXPECT_EQ(
        DataMatrix_Symbol_Builder::base256Codewords("ab"), bytes({ 231, (2 + 44) % 256, (97 + 193) - 256, 98 + 87 }));
    const QByteArray longer = DataMatrix_Symbol_Builder::base256Codewords(QByteArray(300, 'x'));
    EXPECT_EQ(longer.size(), 1 + 2 + 300); // two length codewords from 250 on
}

TEST(DataMatrixBuilder, SizesAndFinderPatterns)
{
    const struct {
        int rows, columns;
        bool known;
    } cases[] = { { 10, 10, true }, { 144, 144, true }, { 16, 48, true }, { 11, 11, false }, { 48, 16, false } };
    for (const auto& c : cases)
        EXPECT_EQ(DataMatrix_Symbol_Builder::sizeOf(c.rows, c.columns).has_value(), c.known)
            << c.rows << "x" << c.columns;
    EXPECT_EQ(DataMatrix_Symbol_Builder::smallestFor(45)->rows, 32);
    EXPECT_FALSE(DataMatrix_Symbol_Builder::smallestFor(1559));

    const auto grid
        = DataMatrix_Symbol_Builder::build(bytes({ 142, 164, 186 }), *DataMatrix_Symbol_Builder::sizeOf(32, 32));
    ASSERT_TRUE(grid);
    auto dark = [&](int x, int y) { return grid->modules[static_cast<size_t>(y) * 32 + x] != 0; };
    for (int i = 0; i < 32; ++i) {
        EXPECT_TRUE(dark(0, i) && dark(16, i)) << "solid left edges of both region columns";
        EXPECT_TRUE(dark(i, 31) && dark(i, 15)) << "solid bottom edges of both region rows";
        EXPECT_EQ(dark(i, 0), i % 2 == 0) << "dotted top edge";
        EXPECT_EQ(dark(31, i), i % 2 == 1) << "dotted right edge";
    }
    EXPECT_FALSE(DataMatrix_Symbol_Builder::build(QByteArray(63, 'a'), *DataMatrix_Symbol_Builder::sizeOf(32, 32)));
}

TEST(DataMatrixBuilder, Base256AndTheLargestSizeComeThroughTheSymbolRoad)
{
    const auto base256 = BRCDataMatrix::encode("Gr\xC3\xBC\xC3\x9F"
                                               "e",
        0, 0, BRCDataMatrix::encodingString("Base256", 7));
    ASSERT_TRUE(base256);
    EXPECT_EQ(base256->encoding, QByteArray(7, 'B'));
    EXPECT_EQ(base256->dataCodewords, 9); // latch, length and the seven bytes
    const auto largest = BRCDataMatrix::encode("Party", 144, 144, {});
    ASSERT_TRUE(largest);
    EXPECT_EQ(largest->W, 144);
    EXPECT_EQ(largest->capacity, 1558);
}

} // namespace
