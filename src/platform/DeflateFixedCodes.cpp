#include "platform/DeflateFixedCodes.h"

namespace platform::deflate {

namespace {

std::uint32_t reversed(std::uint32_t code, int count)
{
    std::uint32_t result = 0;
    for (int i = 0; i < count; ++i)
        result |= ((code >> i) & 1u) << (count - 1 - i);
    return result;
}

// The fixed literal/length code of a symbol 0..287.
Code fixedSymbol(unsigned symbol)
{
    if (symbol < 144)
        return { reversed(0x30 + symbol, 8), 8 };
    if (symbol < 256)
        return { reversed(0x190 + symbol - 144, 9), 9 };
    if (symbol < 280)
        return { reversed(symbol - 256, 7), 7 };
    return { reversed(0xc0 + symbol - 280, 8), 8 };
}

constexpr std::array<std::uint16_t, 29> kLengthBase { 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43,
    51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258 };
constexpr std::array<std::uint8_t, 29> kLengthExtra { 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4,
    4, 4, 5, 5, 5, 5, 0 };
constexpr std::array<std::uint16_t, 30> kDistanceBase { 1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193, 257,
    385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577 };
constexpr std::array<std::uint8_t, 30> kDistanceExtra { 0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9,
    9, 10, 10, 11, 11, 12, 12, 13, 13 };

} // namespace

const FixedTables& fixedTables()
{
    static const FixedTables built = [] {
        FixedTables t;
        for (unsigned b = 0; b < 256; ++b)
            t.literal[b] = fixedSymbol(b);
        for (std::size_t length = kMinMatch; length <= kMaxMatch; ++length) {
            std::size_t i = kLengthBase.size() - 1;
            while (kLengthBase[i] > length)
                --i;
            const Code symbol = fixedSymbol(257 + static_cast<unsigned>(i));
            const auto extra = static_cast<std::uint32_t>(length - kLengthBase[i]);
            t.length[length] = { symbol.bits | extra << symbol.count, symbol.count + kLengthExtra[i] };
        }
        t.end = fixedSymbol(256);
        return t;
    }();
    return built;
}

Code distanceCode(std::size_t distance)
{
    std::size_t i = kDistanceBase.size() - 1;
    while (kDistanceBase[i] > distance)
        --i;
    const auto extra = static_cast<std::uint32_t>(distance - kDistanceBase[i]);
    return { reversed(static_cast<std::uint32_t>(i), 5) | extra << 5, 5 + kDistanceExtra[i] };
}

} // namespace platform::deflate
