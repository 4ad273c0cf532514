#include "barcode/PDF417_Encoder.h"
#include "barcode/PDF417_Tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The data codewords after the descriptor, as assemble writes them.
std::vector<int> dataCodewords(const std::string& text)
{
    PDF417_Param p;
    PDF417_Init(&p);
    p.text = text.data();
    p.lenText = static_cast<int>(text.size());
    PDF417_Cursor cursor;
    cursor.param = &p;
    PDF417_Segment_List list;
    listInit(&list);
    breakString(&cursor, &list);
    assemble(&cursor, &list);
    listFree(&list);
    return std::vector<int>(p.codewords + 1, p.codewords + cursor.codewordIndex);
}

std::string pieces(const std::string& text)
{
    PDF417_Param p;
    PDF417_Init(&p);
    p.text = text.data();
    p.lenText = static_cast<int>(text.size());
    PDF417_Cursor cursor;
    cursor.param = &p;
    PDF417_Segment_List list;
    listInit(&list);
    breakString(&cursor, &list);
    std::string result;
    for (int k = 0; k < list.count; ++k) {
        result += list.items[k].type;
        result += std::to_string(getElementLength(&list.items[k]));
    }
    return result;
}

// Reads the 17-module pattern at a module offset of a painted (not inverted) row.
int patternAt(const PDF417_Param& p, int row, int module)
{
    const int bytesPerRow = p.lenBits / p.codeRows;
    int value = 0;
    for (int i = 0; i < 17; ++i) {
        const int bit = module + i;
        value = (value << 1) | ((p.outBits[row * bytesPerRow + bit / 8] >> (7 - bit % 8)) & 1);
    }
    return value;
}

} // namespace

TEST(PDF417Encoder, HelloGivesTheWorkedCodewordsAndSize)
{
    const std::string text = "HELLO";
    PDF417_Param p;
    PDF417_Init(&p);
    p.text = text.c_str();
    p.lenText = 5;
    p.options = optGivenErrorLevel | optInvertBits;
    p.errorLevel = 2;
    p.aspectRatio = 1.0f;
    PDF417_Paint_Code(&p);
    ASSERT_EQ(p.error, 0);
    const std::vector<int> expected { 4, 214, 341, 449, 187, 453, 75, 910, 264, 321, 791, 104 };
    EXPECT_EQ(std::vector<int>(p.codewords, p.codewords + p.lenCodewords), expected);
    EXPECT_EQ(p.codeColumns, 1);
    EXPECT_EQ(p.codeRows, 12);
    EXPECT_EQ(p.bitColumns, 86);
    EXPECT_EQ(p.lenBits, 11 * 12);
    EXPECT_EQ(p.errorLevel, 2);
    // Inverted bits: the start pattern's first bar is a 0 bit, the unused row ends are 1 bits.
    EXPECT_EQ(p.outBits[0], 0x00);
    EXPECT_EQ(p.outBits[10] & 0x03, 0x03);
}

TEST(PDF417Encoder, RowsCarryStartIndicatorsCodewordsAndStop)
{
    const std::string text = "Rows of a symbol 0123456789012345";
    PDF417_Param p;
    PDF417_Init(&p);
    p.text = text.c_str();
    p.options = optGivenErrorLevel;
    p.errorLevel = 3;
    p.aspectRatio = 1.0f;
    PDF417_Paint_Code(&p);
    ASSERT_EQ(p.error, 0);
    for (int row = 0; row < p.codeRows; ++row) {
        const int cluster = row % 3;
        const int x = (row / 3) * 30;
        const int leftValues[3]
            = { x + (p.codeRows - 1) / 3, x + p.errorLevel * 3 + (p.codeRows - 1) % 3, x + p.codeColumns - 1 };
        EXPECT_EQ(patternAt(p, row, 0), START_PATTERN);
        EXPECT_EQ(patternAt(p, row, 17), CLUSTERS[cluster][leftValues[cluster]]);
        for (int c = 0; c < p.codeColumns; ++c)
            EXPECT_EQ(patternAt(p, row, 34 + 17 * c), CLUSTERS[cluster][p.codewords[row * p.codeColumns + c]]);
        const int stopAt = 17 * (p.codeColumns + 3);
        EXPECT_EQ((patternAt(p, row, stopAt) << 1) | ((patternAt(p, row, stopAt + 1)) & 1), STOP_PATTERN);
    }
}

TEST(PDF417Encoder, CompactionModes)
{
    EXPECT_EQ(dataCodewords("12345678"), (std::vector<int> { 902, 138, 628, 478 }));
    EXPECT_EQ(dataCodewords("1234567"), (std::vector<int> { 841, 63, 125, 187 }));
    // 13 digits between letters are latched as numbers and back to text; 12 stay in the text.
    EXPECT_EQ(pieces("AB1234567890123CD"), "T2N13T2");
    const auto latched = dataCodewords("AB1234567890123CD");
    EXPECT_EQ(latched[1], 902);
    EXPECT_EQ(latched[latched.size() - 2], 900);
    EXPECT_EQ(pieces("AB123456789012CD"), "T16");
    // A single odd byte between texts travels inside the text by byte shift; so does the zero byte.
    EXPECT_EQ(pieces(std::string("AB\x01"
                                 "CD",
                  5)),
        "T5");
    const auto shifted = dataCodewords(std::string("AB\x01"
                                                   "CD",
        5));
    EXPECT_EQ(shifted, (std::vector<int> { 1, 913, 1, 2 * 30 + 3 }));
    const auto zero = dataCodewords(std::string("AB\0CD", 5));
    EXPECT_EQ(zero, (std::vector<int> { 1, 913, 0, 2 * 30 + 3 }));
    // Byte pieces: 924 for a multiple of six bytes, else 901 with the rest one codeword per byte.
    const std::string twelve(12, '\x80');
    const auto bytes12 = dataCodewords(twelve);
    EXPECT_EQ(bytes12.size(), 11u);
    EXPECT_EQ(bytes12[0], 924);
    const auto bytes13 = dataCodewords(std::string(13, '\x80'));
    EXPECT_EQ(bytes13.size(), 12u);
    EXPECT_EQ(bytes13[0], 901);
    EXPECT_EQ(bytes13.back(), 0x80);
    // Five base-900 digits give back the 48-bit number of the six bytes.
    long long value = 0;
    for (int k = 1; k <= 5; ++k)
        value = value * 900 + bytes12[k];
    EXPECT_EQ(value, 0x808080808080LL);
}

TEST(PDF417Encoder, MergePasses)
{
    EXPECT_EQ(pieces("ab\x80\x81"
                     "cd"),
        "B6");
    EXPECT_EQ(dataCodewords("ab\x80\x81"
                            "cd")
                  .size(),
        6u);
    EXPECT_EQ(pieces("\x01"
                     "abcde"
                     "\x01"),
        "T7");
    const auto codewords = dataCodewords("\x01"
                                         "abcde"
                                         "\x01");
    EXPECT_EQ(codewords[0], 913);
    EXPECT_EQ(codewords[1], 1);
    EXPECT_EQ(pieces("Hello\xe9\xe8World"), "T5B2T5");
}

TEST(PDF417Encoder, TextLimitsAndCodewordLimit)
{
    PDF417_Param p;
    const std::string longText(5421, 'A');
    PDF417_Init(&p);
    p.text = longText.c_str();
    PDF417_Paint_Code(&p);
    EXPECT_EQ(p.error, PDF417_ERROR_TEXT_TOO_LONG);
    EXPECT_TRUE(p.outBits.empty());
    // 5420 bytes are taken, but this many letters do not fit 926 codewords.
    const std::string fullText(5420, 'A');
    PDF417_Init(&p);
    p.text = fullText.c_str();
    PDF417_Paint_Code(&p);
    EXPECT_EQ(p.error, PDF417_ERROR_TEXT_TOO_LONG);
    // 1850 digits do: 42 groups of 15 codewords and one of 8, after the 902 latch.
    const std::string digits(1850, '7');
    PDF417_Init(&p);
    p.text = digits.c_str();
    PDF417_Paint_Code(&p);
    EXPECT_EQ(p.error, 0);
    EXPECT_LE(p.codeRows * p.codeColumns, 928);
}

TEST(PDF417Encoder, GivenCodewordsAreChecked)
{
    PDF417_Param p;
    PDF417_Init(&p);
    p.options = optGivenCodewords;
    p.lenCodewords = 5;
    p.codewords[0] = 4;
    PDF417_Paint_Code(&p);
    EXPECT_EQ(p.error, PDF417_ERROR_INVALID_CODEWORDS);
    p.lenCodewords = 927;
    p.codewords[0] = 927;
    PDF417_Paint_Code(&p);
    EXPECT_EQ(p.error, PDF417_ERROR_INVALID_CODEWORDS);
}

TEST(PDF417Encoder, SizingRaisesTheLevelAndCapsAtMaxSquare)
{
    PDF417_Param p;
    PDF417_Init(&p);
    p.options = optGivenCodewords | optGivenErrorLevel;
    p.lenCodewords = p.codewords[0] = 605;
    for (int k = 1; k < 605; ++k)
        p.codewords[k] = k % 900;
    p.errorLevel = 2;
    p.aspectRatio = 1.0f;
    PDF417_Paint_Code(&p);
    ASSERT_EQ(p.error, 0);
    EXPECT_EQ(p.codeColumns, 9);
    EXPECT_EQ(p.codeRows, 69);
    EXPECT_EQ(p.errorLevel, 3);
    EXPECT_EQ(p.codewords[0], 605); // no padding: 605 + 16 = 621

    PDF417_Init(&p);
    p.options = optGivenCodewords;
    p.lenCodewords = p.codewords[0] = 900;
    p.aspectRatio = 1000.0f;
    PDF417_Paint_Code(&p);
    EXPECT_EQ(p.codeColumns, 16);
    EXPECT_EQ(p.codeRows, 58);

    PDF417_Init(&p);
    p.options = optGivenCodewords | optGivenSize;
    p.lenCodewords = p.codewords[0] = 100;
    p.codeColumns = 30;
    p.codeRows = 90;
    PDF417_Paint_Code(&p);
    EXPECT_EQ(p.codeColumns, 29);
    EXPECT_EQ(p.codeRows, 32);
    EXPECT_EQ(p.errorLevel, 8);
    EXPECT_EQ(p.lenCodewords, 928);

    EXPECT_EQ(maxPossibleErrorLevel(2), 0);
    EXPECT_EQ(maxPossibleErrorLevel(15), 2);
    EXPECT_EQ(maxPossibleErrorLevel(1024), 8);
}

TEST(PDF417Encoder, ErrorCorrectionCodewordsSatisfyTheGenerator)
{
    // Every codeword sequence with its correction codewords is a multiple of the generator: it vanishes at
    // 3^1 .. 3^k (mod 929).
    const std::string text = "Reed-Solomon check over GF(929)";
    for (int level = 0; level <= 6; ++level) {
        PDF417_Param p;
        PDF417_Init(&p);
        p.text = text.c_str();
        p.options = optGivenErrorLevel | optGivenColumns;
        p.errorLevel = level;
        p.codeColumns = 10;
        PDF417_Paint_Code(&p);
        ASSERT_EQ(p.error, 0);
        const int k = 2 << p.errorLevel;
        int root = 1;
        for (int j = 1; j <= k; ++j) {
            root = root * 3 % 929;
            long long value = 0;
            for (int n = 0; n < p.lenCodewords; ++n)
                value = (value * root + p.codewords[n]) % 929;
            EXPECT_EQ(value, 0) << "level " << p.errorLevel << " root " << j;
        }
    }
}

TEST(PDF417Encoder, PatternTablesHaveFourBarsAndTheirCluster)
{
    for (int k = 0; k < 3; ++k) {
        for (int v = 0; v < 929; ++v) {
            int widths[8] = {};
            int element = 0;
            for (int bit = 16; bit >= 0; --bit) {
                const bool bar = (CLUSTERS[k][v] >> bit) & 1;
                if (bar != (element % 2 == 0))
                    ++element;
                ASSERT_LT(element, 8) << k << " " << v;
                ++widths[element];
            }
            ASSERT_EQ(element, 7);
            EXPECT_EQ((widths[0] - widths[2] + widths[4] - widths[6] + 9) % 9, 3 * k) << k << " " << v;
        }
    }
}
