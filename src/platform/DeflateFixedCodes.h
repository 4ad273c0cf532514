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
