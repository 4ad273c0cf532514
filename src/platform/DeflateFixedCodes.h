#pragma once

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

// The literal code of a byte.
const Code& literalCode(unsigned byte);
// The length symbol of a match of kMinMatch to kMaxMatch bytes, with its extra bits.
const Code& lengthCode(std::size_t length);
// The end-of-block symbol.
const Code& endCode();
// The distance symbol of a match 1 to kWindow bytes back, with its extra bits.
Code distanceCode(std::size_t distance);

} // namespace platform::deflate
