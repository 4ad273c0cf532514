#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The fixed Huffman codes of the deflate format, for compressors that write them without building codes
// of their own. Each code holds its bits in the order they go into the stream (the first bit lowest),
// extra bits included.
namespace platform::deflate {

constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 258;
constexpr std::size_t kWindow = 32768;

// Match lengths and distances: the first value of each symbol and its extra bits.
inline constexpr std::array<std::uint16_t, 29> kLengthBase { 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31,
    35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258 };
inline constexpr std::array<std::uint8_t, 29> kLengthExtra { 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3,
    4, 4, 4, 4, 5, 5, 5, 5, 0 };
inline constexpr std::array<std::uint16_t, 30> kDistanceBase { 1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577 };
inline constexpr std::array<std::uint8_t, 30> kDistanceExtra { 0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8,
    8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13 };

// The length of the next reference of a copy with `left` bytes to go (at least kMinMatch): as long as the
// format allows, but never leaving a tail too short for a reference of its own.
inline std::size_t copyPiece(std::size_t left)
{
    std::size_t take = left < kMaxMatch ? left : kMaxMatch;
    const std::size_t rest = left - take;
    if (rest > 0 && rest < kMinMatch)
        take -= kMinMatch - rest;
    return take;
}

struct Code {
    std::uint32_t bits = 0;
    int count = 0;
};

struct FixedTables {
    std::array<Code, 256> literal; // the code of every byte
    std::array<Code, kMaxMatch + 1> length; // symbol and extra bits of every match length from kMinMatch
    Code end; // the end-of-block symbol
};

// The tables, made once on first use.
const FixedTables& fixedTables();
// The distance symbol of a match 1 to kWindow bytes back, with its extra bits.
Code distanceCode(std::size_t distance);

} // namespace platform::deflate
