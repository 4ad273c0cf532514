#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

// Lengths of equal bytes, eight bytes a step: the first that differs is found from the lowest differing
// bit on little-endian machines, byte by byte elsewhere. The compressors of PNG rows spend most of their
// time here.
namespace platform::bytes {

// How many of the first `limit` bytes of a and b are equal.
inline std::size_t equalPrefix(const std::uint8_t* a, const std::uint8_t* b, std::size_t limit)
{
    std::size_t n = 0;
    while (n + 8 <= limit) {
        std::uint64_t x = 0;
        std::uint64_t y = 0;
        std::memcpy(&x, a + n, 8);
        std::memcpy(&y, b + n, 8);
        const std::uint64_t differ = x ^ y;
        if (differ != 0) {
            if constexpr (std::endian::native == std::endian::little)
                return n + static_cast<std::size_t>(std::countr_zero(differ) / 8);
            break;
        }
        n += 8;
    }
    while (n < limit && a[n] == b[n])
        ++n;
    return n;
}

// How many of the first `limit` bytes of a are `byte`.
inline std::size_t runLength(const std::uint8_t* a, std::size_t limit, std::uint8_t byte)
{
    std::size_t n = 0;
    const std::uint64_t eight = 0x0101010101010101ULL * byte;
    while (n + 8 <= limit) {
        std::uint64_t x = 0;
        std::memcpy(&x, a + n, 8);
        const std::uint64_t differ = x ^ eight;
        if (differ != 0) {
            if constexpr (std::endian::native == std::endian::little)
                return n + static_cast<std::size_t>(std::countr_zero(differ) / 8);
            break;
        }
        n += 8;
    }
    while (n < limit && a[n] == byte)
        ++n;
    return n;
}

// Each byte of a less the same byte of b, modulo 256, eight at once: no borrow crosses a byte.
constexpr std::uint64_t eachByteLess(std::uint64_t a, std::uint64_t b)
{
    constexpr std::uint64_t high = 0x8080808080808080ULL;
    return ((a | high) - (b & ~high)) ^ ((a ^ ~b) & high);
}

// The first position from `from` at which three bytes equal the three `back` bytes before them (a run of
// a pixel starts there), at most `end` - 3; `end` when there is none. Six positions are ruled out a step.
inline std::size_t nextRepeat(const std::uint8_t* a, std::size_t from, std::size_t end, std::size_t back)
{
    std::size_t n = from;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t low7 = 0x7f7f7f7f7f7f7f7fULL;
        while (n + 8 <= end) {
            std::uint64_t x = 0;
            std::uint64_t y = 0;
            std::memcpy(&x, a + n, 8);
            std::memcpy(&y, a + n - back, 8);
            const std::uint64_t differ = x ^ y;
            // The top bit of each byte that is equal, then of each that starts three equal ones.
            const std::uint64_t equal = ~(((differ & low7) + low7) | differ | low7);
            const std::uint64_t three = equal & (equal >> 8) & (equal >> 16);
            if (three != 0)
                return n + static_cast<std::size_t>(std::countr_zero(three) / 8);
            n += 6;
        }
    }
    for (; n + 3 <= end; ++n) {
        if (a[n] == a[n - back] && a[n + 1] == a[n + 1 - back] && a[n + 2] == a[n + 2 - back])
            return n;
    }
    return end;
}

} // namespace platform::bytes
