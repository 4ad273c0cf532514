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
