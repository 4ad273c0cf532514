#include "platform/HuffmanBlockStream.h"

#include "support/TestSupport.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

using platform::deflate::codeLengths;
using platform::deflate::HuffmanBlockStream;

using Counts = std::vector<std::uint32_t>;

Counts fibonacci(std::size_t n)
{
    Counts counts { 1, 1 };
    while (counts.size() < n)
        counts.push_back(counts.rbegin()[0] + counts.rbegin()[1]);
    return counts;
}

// Every code is whole (a reader can take any bit sequence), within the format's limit, and the symbols
// used, and only those unless fewer than two were, have codes; frequent ones are never longer.
TEST(HuffmanBlockStream, CodeLengthsAreWholeWithinTheLimitAndFavourTheFrequent)
{
    const struct {
        const char* name;
        Counts counts;
        int limit;
    } rows[] = {
        { "even", Counts(286, 5), 15 },
        { "deep tree cut to 15 bits", fibonacci(30), 15 },
        { "deep tree cut to 7 bits", fibonacci(19), 7 },
        { "one symbol", { 0, 0, 9, 0 }, 15 },
        { "none", { 0, 0, 0 }, 7 },
        { "two far apart", { 1000000, 0, 0, 0, 1 }, 15 },
    };
    const auto nonZero = [](const auto& v) { return int(std::count_if(v.begin(), v.end(), [](auto x) { return x; })); };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::uint8_t> lengths(row.counts.size());
        codeLengths(row.counts.data(), int(row.counts.size()), row.limit, lengths.data());
        double kraft = 0;
        for (std::size_t s = 0; s < lengths.size(); ++s) {
            EXPECT_LE(lengths[s], row.limit);
            EXPECT_TRUE(lengths[s] != 0 || row.counts[s] == 0) << s;
            kraft += lengths[s] != 0 ? std::ldexp(1.0, -lengths[s]) : 0.0;
            for (std::size_t t = 0; t < lengths.size(); ++t)
                EXPECT_TRUE(lengths[s] == 0 || row.counts[t] <= row.counts[s] || lengths[t] <= lengths[s])
                    << t << " against " << s;
        }
        EXPECT_DOUBLE_EQ(kraft, 1.0);
        EXPECT_EQ(nonZero(lengths), std::max(2, nonZero(row.counts)));
    }
}

// Literals skewed as a picture's, copies of every reach, over several blocks: zlib reads back the very
// bytes, and skewed literals take well under half a byte each.
TEST(HuffmanBlockStream, BlocksOfLiteralsAndCopiesInflateToTheSameBytes)
{
    std::mt19937 random(11);
    std::geometric_distribution<int> skewed(0.3);
    std::vector<std::uint8_t> bytes;
    HuffmanBlockStream stream(16);
    std::size_t literals = 0, copies = 0;
    while (literals < 5 * HuffmanBlockStream::kBlockSymbols / 2) {
        if (bytes.size() > 40000 && random() % 16 == 0) {
            const std::size_t distance = std::size_t(1) + random() % 32768;
            const std::size_t length = std::size_t(1) + random() % 300;
            for (std::size_t i = 0; i < length; ++i)
                bytes.push_back(bytes[bytes.size() - distance]);
            stream.putCopy(length, distance, bytes.data() + bytes.size() - length);
            ++copies;
        } else {
            bytes.push_back(std::uint8_t(255 - std::min(skewed(random), 255)));
            stream.putLiteral(bytes.back());
            ++literals;
        }
    }
    const QByteArray packed = stream.finish(adler32(1L, bytes.data(), uInt(bytes.size())));
    EXPECT_EQ(testsupport::inflateZlib(packed, bytes.size() + 64), bytes);
    // Fixed codes take at least a byte a literal; these take about three bits.
    EXPECT_LT(std::size_t(packed.size()), literals * 3 / 8 + copies * 4);
}

} // namespace
