#include "barcode/BRCDataMatrix.h"
#include "barcode/DataMatrix_Encodation.h"
#include "barcode/DataMatrix_Symbol_Builder.h"

#include <gtest/gtest.h>

#include <mutex>
#include <random>
#include <thread>
#include <vector>

// The library's own Reed-Solomon coder, the peer ours is checked against (declared in its sources).
extern "C" {
void rs_init_gf(int poly);
void rs_init_code(int nsym, int index);
void rs_encode(int len, unsigned char* data, unsigned char* res);
}

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

// Every size's error correction is the library coder's, also with four threads coding at once (ours keeps no state).
TEST(DataMatrixBuilder, ErrorCorrectionOfEverySizeAgreesWithTheLibrarysCoderOnAnyThread)
{
    std::mt19937 random(5);
    std::vector<std::pair<DataMatrix_Symbol_Builder::Size, QByteArray>> symbols; // codewords: data, error correction
    for (const auto& size : DataMatrix_Symbol_Builder::sizesByCapacity()) {
        QByteArray cw(size.dataCodewords + size.eccCodewords, '\0');
        for (int i = 0; i < size.dataCodewords; ++i)
            cw[i] = static_cast<char>(random());
        const int perBlock = size.eccCodewords / size.blocks;
        const std::lock_guard<std::mutex> guard(DataMatrix_Symbol_Builder::libraryLock());
        rs_init_gf(0x12d);
        rs_init_code(perBlock, 1);
        for (int block = 0; block < size.blocks; ++block) {
            std::vector<unsigned char> buffer, ecc(static_cast<size_t>(perBlock));
            for (int i = block; i < size.dataCodewords; i += size.blocks)
                buffer.push_back(static_cast<unsigned char>(cw[i]));
            rs_encode(static_cast<int>(buffer.size()), buffer.data(), ecc.data());
            const int slot = size.rows == 144 ? (block + 2) % size.blocks : block;
            for (int j = 0; j < perBlock; ++j) // the library hands its codewords back last first
                cw[size.dataCodewords + j * size.blocks + slot] = static_cast<char>(ecc[size_t(perBlock - 1 - j)]);
        }
        symbols.emplace_back(size, cw);
    }
    std::vector<int> differing(4, 0);
    for (std::vector<std::jthread> threads; threads.size() < 4;) // cw joined as the loop ends
        threads.emplace_back([&, t = threads.size()] {
            for (const auto& [size, cw] : symbols)
                differing[t] += DataMatrix_Symbol_Builder::withErrorCorrection(cw.left(size.dataCodewords), size) != cw;
        });
    EXPECT_EQ(differing, std::vector<int>(4, 0));
}

TEST(DataMatrixBuilder, Base256CodewordsCarryLatchLengthAndRandomisedBytes)
{
    // Positions 2, 3, ... randomise by ((149 x position) mod 255) + 1.
    EXPECT_EQ(DataMatrix_Encodation::codewords("ab", "BB", 1558),
        bytes({ 231, (2 + 44) % 256, (97 + 193) - 256, 98 + 87 }));
    const auto longer = DataMatrix_Encodation::codewords(QByteArray(300, 'x'), QByteArray(300, 'B'), 1558);
    EXPECT_EQ(longer->size(), 1 + 2 + 300); // two length codewords from 250 on
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

// How each encodation ends depends on the room the symbol leaves after it.
TEST(DataMatrixBuilder, EndOfDataFollowsTheRoomLeft)
{
    const struct {
        const char* data;
        const char* letters;
        int capacity;
        QByteArray expected;
    } cases[] = {
        // EDIFACT with two codewords left after whole quadruplets: readers are in ASCII, no unlatch.
        { "ABCD12", "EEEEEE", 6, bytes({ 240, 4, 32, 196, 142 }) },
        // With room for more, the unlatch value ends the run, zero bits fill its codeword.
        { "ABCD12", "EEEEEE", 12, bytes({ 240, 4, 32, 196, 199, 39, 192 }) },
        { "ABCD", "EEEE", 8, bytes({ 240, 4, 32, 196, 124 }) },
        { "ABCD", "EEEE", 4, bytes({ 240, 4, 32, 196 }) },
        // C40: two values in the last two codewords take a first shift as the third value.
        { "ABCDE", "CCCCC", 5, bytes({ 230, 89, 233, 109, 17 }) },
        // One value left: unlatch and ASCII; or ASCII alone in the last codeword.
        { "ABCD", "CCCC", 8, bytes({ 230, 89, 233, 254, 69 }) },
        { "ABCD", "CCCC", 4, bytes({ 230, 89, 233, 69 }) },
        { "ABC", "XXX", 5, bytes({ 238, 89, 233, 254 }) },
        { "ABC", "XXX", 3, bytes({ 238, 89, 233 }) },
    };
    for (const auto& c : cases)
        EXPECT_EQ(DataMatrix_Encodation::codewords(c.data, c.letters, c.capacity), c.expected)
            << c.data << " " << c.letters << " in " << c.capacity;
}

} // namespace
