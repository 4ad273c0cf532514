#pragma once

#include <array>
#include <cstdint>

// Read-only tables of the QR Code symbology: version records, capacities, count-indicator lengths and the
// Galois-field and generator-polynomial tables of the Reed-Solomon coder.

// One group of error-correction blocks: how many blocks, and the codewords and data codewords of each.
struct QR_RS_Block {
    int ncRSBlock;
    int ncAllCodeWord;
    int ncDataCodeWord;
};

// Version record: data codewords per level L, M, Q, H; alignment coordinates other than 6; two block groups
// per level (the second is all zero where a level has one group).
struct QR_VERSIONINFO {
    int nVersionNo;
    int ncAllCodeWord;
    int ncDataCodeWord[4];
    int ncAlignPoint;
    int nAlignPoint[6];
    QR_RS_Block RS_BlockInfo1[4];
    QR_RS_Block RS_BlockInfo2[4];
};

constexpr int QR_LEVEL_L = 0;
constexpr int QR_LEVEL_M = 1;
constexpr int QR_LEVEL_Q = 2;
constexpr int QR_LEVEL_H = 3;

constexpr int QR_MODE_NUMERAL = 0;
constexpr int QR_MODE_ALPHABET = 1;
constexpr int QR_MODE_8BIT = 2;
constexpr int QR_MODE_KANJI = 3;

constexpr int QR_VERSION_MAX = 40;
constexpr int MAX_ALLCODEWORD = 3706;
constexpr int MAX_DATACODEWORD = 2956;
constexpr int MAX_CODEBLOCK = 153;
constexpr int MAX_MODULESIZE = 177;

// Index 0 is an empty record; 1 to 40 are the versions.
extern const QR_VERSIONINFO QR_Version_Info[QR_VERSION_MAX + 1];

// Data capacity in bits, index (version - 1) x 4 + level.
extern const std::array<int, 160> data_bit_size_array;

// Character capacities of one mode, index (version - 1) x 4 + level.
extern const std::array<int, 160> QR_Numric_size_array;
extern const std::array<int, 160> QR_AlphaNumric_size_array;
extern const std::array<int, 160> QR_8_BIT_size_array;
extern const std::array<int, 160> QR_Kanji_size_array;

// Count-indicator lengths by version group (1-9, 10-26, 27-40).
extern const int nIndicatorLenNumeral[3];
extern const int nIndicatorLenAlphabet[3];
extern const int nIndicatorLen8Bit[3];
extern const int nIndicatorLenKanji[3];

// GF(256) over x^8 + x^4 + x^3 + x^2 + 1: antilogarithms and logarithms.
extern const std::array<std::uint8_t, 256> byExpToInt;
extern const std::array<std::uint8_t, 256> byIntToExp;

// Generator polynomial of n error-correction codewords as exponents of a, falling order, leading term left out.
// Rows exist for the block sizes the versions use; other rows are empty.
extern const std::array<std::array<std::uint8_t, 69>, 69> byRSExp;
