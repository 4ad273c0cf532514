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

} // namespace platform::bytes
