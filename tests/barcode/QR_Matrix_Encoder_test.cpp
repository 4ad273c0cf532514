#include "barcode/QR_Matrix_Encoder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

std::unique_ptr<QR_Matrix_Encoder> encode(
    const std::string& text, int level, int version = 0, int mask = -1, bool autoExtent = true)
{
    auto encoder = std::make_unique<QR_Matrix_Encoder>();
    encoder->EncodeData(level, version, autoExtent, mask, reinterpret_cast<const unsigned char*>(text.data()),
        static_cast<int>(text.size()));
    return encoder;
}

struct Segment {
    int mode;
    int length;
    bool operator==(const Segment&) const = default;
};

std::vector<Segment> segments(const std::string& text, int group = 0, bool kanji = true)
{
    QR_Matrix_Encoder encoder;
    encoder.setKanjiAllowed(kanji);
    encoder.EncodeSourceData(reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()), group);
    std::vector<Segment> result;
    for (int i = 0; i < encoder.m_ncDataBlock; ++i)
        result.push_back({ encoder.m_byBlockMode[i], encoder.m_nBlockLength[i] });
    return result;
}

// Reads the 15 format bits of the first copy back, undoes the XOR mask and returns level bits and mask.
int formatData(const QR_Matrix_Encoder& e)
{
    int word = 0;
    for (int i = 0; i <= 5; ++i)
        word |= e.m_byModuleData[8][i] << i;
    word |= e.m_byModuleData[8][7] << 6;
    word |= e.m_byModuleData[8][8] << 7;
    word |= e.m_byModuleData[7][8] << 8;
    for (int i = 9; i <= 14; ++i)
        word |= e.m_byModuleData[14 - i][8] << i;
    return (word ^ 0x5412) >> 10;
}

} // namespace

TEST(QRMatrixEncoder, TablesAgreeWithTheSymbolGeometry)
{
    for (int v = 1; v <= QR_VERSION_MAX; ++v) {
        const QR_VERSIONINFO& info = QR_Version_Info[v];
        // Codewords = data modules / 8: the symbol area less finders, separators, format, timing, alignment
        // and version information.
        int modules = (16 * v + 128) * v + 64;
        if (v >= 2) {
            const int align = v / 7 + 2;
            modules -= (25 * align - 10) * align - 55;
            if (v >= 7)
                modules -= 36;
        }
        EXPECT_EQ(info.ncAllCodeWord, modules / 8) << "version " << v;
        EXPECT_EQ(info.ncAlignPoint, v == 1 ? 0 : v / 7 + 1) << "version " << v;
        if (info.ncAlignPoint > 0) {
            EXPECT_EQ(info.nAlignPoint[info.ncAlignPoint - 1], 4 * v + 17 - 7) << "version " << v;
        }
        for (int level = 0; level < 4; ++level) {
            const QR_RS_Block& b1 = info.RS_BlockInfo1[level];
            const QR_RS_Block& b2 = info.RS_BlockInfo2[level];
            EXPECT_EQ(b1.ncRSBlock * b1.ncAllCodeWord + b2.ncRSBlock * b2.ncAllCodeWord, info.ncAllCodeWord);
            EXPECT_EQ(b1.ncRSBlock * b1.ncDataCodeWord + b2.ncRSBlock * b2.ncDataCodeWord, info.ncDataCodeWord[level]);
            if (b2.ncRSBlock > 0) {
                EXPECT_EQ(b2.ncAllCodeWord - b2.ncDataCodeWord, b1.ncAllCodeWord - b1.ncDataCodeWord);
            }
            EXPECT_FALSE(byRSExp[b1.ncAllCodeWord - b1.ncDataCodeWord][0] == 0
                && byRSExp[b1.ncAllCodeWord - b1.ncDataCodeWord][1] == 0);
        }
    }
    // Capacities of the smallest and largest symbols.
    EXPECT_EQ(QR_Numric_size_array[0], 41);
    EXPECT_EQ(QR_AlphaNumric_size_array[0], 25);
    EXPECT_EQ(QR_8_BIT_size_array[0], 17);
    EXPECT_EQ(QR_Kanji_size_array[0], 10);
    EXPECT_EQ(QR_Numric_size_array[156], 7089);
    EXPECT_EQ(QR_AlphaNumric_size_array[156], 4296);
    EXPECT_EQ(QR_8_BIT_size_array[156], 2953);
    EXPECT_EQ(QR_Kanji_size_array[156], 1817);
    EXPECT_EQ(QR_8_BIT_size_array[159], 1273);
    EXPECT_EQ(data_bit_size_array[0], 152);
}

TEST(QRMatrixEncoder, WorkedExampleGivesTheStandardsCodewords)
{
    const auto e = encode("01234567", QR_LEVEL_M, 1);
    ASSERT_EQ(e->m_nSymbolSize, 21);
    const std::vector<int> expected { 16, 32, 12, 86, 97, 128, 236, 17, 236, 17, 236, 17, 236, 17, 236, 17, 165, 36,
        212, 193, 237, 54, 199, 135, 44, 85 };
    ASSERT_EQ(e->m_ncAllCodeWord, 26);
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(e->m_byAllCodeWord[i], expected[i]) << "codeword " << i;
}

TEST(QRMatrixEncoder, ByteClassesAndKanjiPairs)
{
    EXPECT_EQ(segments("0123"), (std::vector<Segment> { { QR_MODE_NUMERAL, 4 } }));
    EXPECT_EQ(segments("ABC123"), (std::vector<Segment> { { QR_MODE_ALPHABET, 6 } }));
    EXPECT_EQ(segments("a1234567"), (std::vector<Segment> { { QR_MODE_8BIT, 1 }, { QR_MODE_NUMERAL, 7 } }));
    EXPECT_EQ(segments("abc12345678901234"), (std::vector<Segment> { { QR_MODE_8BIT, 3 }, { QR_MODE_NUMERAL, 14 } }));
    EXPECT_EQ(segments("ABCDEFGHIJ\x81"), (std::vector<Segment> { { QR_MODE_ALPHABET, 10 }, { QR_MODE_8BIT, 1 } }));
    EXPECT_FALSE(QR_Matrix_Encoder::IsKanjiData(0x9F, 0xFD));
    EXPECT_FALSE(QR_Matrix_Encoder::IsKanjiData(0xEB, 0xC0));
    EXPECT_TRUE(QR_Matrix_Encoder::IsKanjiData(0xEA, 0xFF));
    EXPECT_TRUE(QR_Matrix_Encoder::IsKanjiData(0x81, 0x40));
    EXPECT_FALSE(QR_Matrix_Encoder::IsKanjiData(0x81, 0x3F));
    EXPECT_EQ(segments("\x93\xfa\x96\x7b"), (std::vector<Segment> { { QR_MODE_KANJI, 4 } }));
    // Shift JIS 0x935F is the Kanji value 0xD9F of the standard's example.
    EXPECT_EQ(QR_Matrix_Encoder::Kanji_To_Binary(0x935F), 0xD9F);
    EXPECT_EQ(QR_Matrix_Encoder::Kanji_To_Binary(0xE4AA), 0x1AAA);
}

TEST(QRMatrixEncoder, Utf8TextStaysInByteModeWhenKanjiIsOff)
{
    // Three katakana in UTF-8: E3 83 89 three times, which also reads as four Shift JIS pairs.
    const std::string text = "\xe3\x83\x89\xe3\x83\x89\xe3\x83\x89";
    EXPECT_EQ(segments(text, 0, true), (std::vector<Segment> { { QR_MODE_KANJI, 8 }, { QR_MODE_8BIT, 1 } }));
    EXPECT_EQ(segments(text, 0, false), (std::vector<Segment> { { QR_MODE_8BIT, 9 } }));
    QR_Matrix_Encoder encoder;
    encoder.setKanjiAllowed(false);
    EXPECT_EQ(encoder.Get_Encoding_Mode(reinterpret_cast<const unsigned char*>(text.data()), 9), QR_MODE_8BIT);
}

TEST(QRMatrixEncoder, SegmentEndsUseTheShortGroups)
{
    auto bits = [](const std::string& text) {
        QR_Matrix_Encoder encoder;
        encoder.EncodeSourceData(reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()), 0);
        return encoder.m_ncDataCodeWordBit;
    };
    EXPECT_EQ(bits("1"), 4 + 10 + 4);
    EXPECT_EQ(bits("12"), 4 + 10 + 7);
    EXPECT_EQ(bits("123"), 4 + 10 + 10);
    EXPECT_EQ(bits("ABC"), 4 + 9 + 11 + 6);
    EXPECT_EQ(bits("AB"), 4 + 9 + 11);
}

TEST(QRMatrixEncoder, VersionChoiceAndExtension)
{
    EXPECT_EQ(encode("0123", QR_LEVEL_L)->m_nSymbolSize, 21);
    // Fits version 2, version 5 asked for.
    EXPECT_EQ(encode(std::string(70, '7'), QR_LEVEL_L, 5)->m_nVersion, 5);
    // Needs version 7: 1181 bits, version 6-L holds 1088 and 7-L 1248.
    const std::string digits(350, '3');
    EXPECT_EQ(encode(digits, QR_LEVEL_L, 5, -1, true)->m_nVersion, 7);
    const auto refused = encode(digits, QR_LEVEL_L, 5, -1, false);
    EXPECT_EQ(refused->m_nSymbolSize, 0);
    // Automatic versions are the smallest that hold the text, in every version group.
    EXPECT_EQ(encode(std::string(18, 'a'), QR_LEVEL_L)->m_nVersion, 2);
    EXPECT_EQ(encode(std::string(250, 'a'), QR_LEVEL_L)->m_nVersion, 10);
    EXPECT_EQ(encode(std::string(1273, 'a'), QR_LEVEL_H)->m_nVersion, 40);
    EXPECT_EQ(encode(std::string(1274, 'a'), QR_LEVEL_H)->m_nSymbolSize, 0);
}

TEST(QRMatrixEncoder, EmptyOrOverlongTextMakesNoSymbol)
{
    EXPECT_EQ(encode("", QR_LEVEL_L)->m_nSymbolSize, 0);
    EXPECT_EQ(encode(std::string(7090, '1'), QR_LEVEL_L)->m_nSymbolSize, 0);
    EXPECT_EQ(encode(std::string(7089, '1'), QR_LEVEL_L)->m_nVersion, 40);
}

TEST(QRMatrixEncoder, AcceptanceComparesTheRealBitStream)
{
    // One capital and nineteen digits need 97 bits: version 1-L holds them.
    EXPECT_EQ(encode("A1234567890123456789", QR_LEVEL_L)->m_nVersion, 1);
}

TEST(QRMatrixEncoder, SegmentListGrowsPastAnyFixedSize)
{
    std::string text;
    for (int i = 0; i < 2100; ++i)
        text += (i % 2) ? "7" : "Q";
    const auto e = encode(text, QR_LEVEL_L);
    EXPECT_GT(e->m_nSymbolSize, 0);
    EXPECT_EQ(e->m_ncDataBlock, 1);
    EXPECT_EQ(e->m_byBlockMode[0], QR_MODE_ALPHABET);
}

TEST(QRMatrixEncoder, EachMaskFlipsExactlyItsDataModules)
{
    const std::string text = "Masks 0-7 checked";
    const auto base = encode(text, QR_LEVEL_Q, 2, 0);
    auto condition = [](int mask, int i, int j) {
        switch (mask) {
        case 0:
            return (i + j) % 2 == 0;
        case 1:
            return i % 2 == 0;
        case 2:
            return j % 3 == 0;
        case 3:
            return (i + j) % 3 == 0;
        case 4:
            return (i / 2 + j / 3) % 2 == 0;
        case 5:
            return (i * j) % 2 + (i * j) % 3 == 0;
        case 6:
            return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
        default:
            return ((i * j) % 3 + (i + j) % 2) % 2 == 0;
        }
    };
    // Function modules of version 2 without format information: finders with separators, timing, the one
    // alignment pattern at (18, 18) and the dark module.
    auto isFunction = [](int x, int y) {
        const int size = 25;
        if ((x < 9 && y < 9) || (x >= size - 8 && y < 9) || (x < 9 && y >= size - 8))
            return true;
        if (x == 6 || y == 6)
            return true;
        return x >= 16 && x <= 20 && y >= 16 && y <= 20;
    };
    for (int mask = 0; mask <= 7; ++mask) {
        const auto e = encode(text, QR_LEVEL_Q, 2, mask);
        ASSERT_EQ(e->m_nSymbolSize, 25);
        EXPECT_EQ(e->m_nMaskingNo, mask);
        EXPECT_EQ(formatData(*e), (0x03 << 3) | mask);
        for (int x = 0; x < 25; ++x) {
            for (int y = 0; y < 25; ++y) {
                const bool flipped = e->m_byModuleData[x][y] != base->m_byModuleData[x][y];
                if (isFunction(x, y))
                    continue;
                EXPECT_EQ(flipped, condition(mask, y, x) != condition(0, y, x))
                    << "mask " << mask << " at " << x << "," << y;
            }
        }
    }
}

TEST(QRMatrixEncoder, AutomaticMaskIsTheFirstWithTheLowestPenalty)
{
    for (const std::string text : { "0123", "HELLO WORLD", "https://example.org/a?b=c" }) {
        const auto chosen = encode(text, QR_LEVEL_M);
        int best = -1;
        int bestPenalty = 0;
        for (int mask = 0; mask <= 7; ++mask) {
            const auto e = encode(text, QR_LEVEL_M, 0, mask);
            const int penalty = e->CountPenalty();
            if (best < 0 || penalty < bestPenalty) {
                best = mask;
                bestPenalty = penalty;
            }
        }
        EXPECT_EQ(chosen->m_nMaskingNo, best) << text;
    }
}

TEST(QRMatrixEncoder, PenaltyRules)
{
    // A 21 x 21 light symbol with dark modules on row 10 where row gives '1'.
    auto penalty = [](const std::string& row) {
        QR_Matrix_Encoder e;
        e.m_nSymbolSize = 21;
        for (size_t x = 0; x < row.size(); ++x)
            e.m_byModuleData[x][10] = row[x] == '1' ? 1 : 0;
        return e.CountPenalty();
    };
    // All light: 42 runs of 21 (3 + 16 each), 400 blocks of 2 x 2, balance 100% light.
    EXPECT_EQ(penalty(""), 42 * 19 + 400 * 3 + 100);
    // 1011101 and 1010111 have the same runs, blocks and balance; only the first is finder-like.
    EXPECT_EQ(penalty("0000000"
                      "1011101")
            - penalty("0000000"
                      "1010111"),
        40);
    // A dark module two before the pattern leaves the nearest one light and four light ones after it.
    EXPECT_EQ(penalty("0000010"
                      "1011101")
            - penalty("0000010"
                      "1010111"),
        40);
    // A dark module right before it: not counted, although four light modules follow the pattern.
    EXPECT_EQ(penalty("0000001"
                      "1011101")
            - penalty("0000001"
                      "1010111"),
        0);
}
