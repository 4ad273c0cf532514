#include "platform/FixedCodeStream.h"

#include "support/TestSupport.h"

#include <random>
#include <vector>

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

using platform::deflate::distanceCode;
using platform::deflate::FixedCodeStream;

using Bytes = std::vector<std::uint8_t>;

Bytes inflated(const QByteArray& packed, std::size_t expected)
{
    return testsupport::inflateZlib(packed, expected + 64);
}

unsigned long adlerOf(const Bytes& bytes)
{
    return adler32(1L, bytes.data(), static_cast<uInt>(bytes.size()));
}

struct CopyCase {
    std::size_t room; // the room asked for at the start
    std::size_t literals; // random bytes written first
    std::size_t distance; // how far back the copy reaches
    std::size_t length; // how many bytes it copies
};

// A copy of every length round the format's limits, into a buffer that starts too small and has to grow.
TEST(FixedCodeStream, LiteralsAndCopiesOfEveryCutInflateToTheSameBytes)
{
    const std::vector<CopyCase> cases {
        { 0, 1, 1, 0 },
        { 0, 1, 1, 1 },
        { 0, 1, 1, 2 },
        { 1, 1, 1, 3 },
        { 1, 5, 1, 258 },
        { 1, 5, 2, 259 },
        { 4, 5, 3, 260 },
        { 4, 7, 7, 261 },
        { 16, 40, 33, 516 },
        { 16, 40, 40, 517 },
        { 64, 300, 300, 5000 },
        { 64, 40000, 32768, 1000 },
        { 1 << 16, 20000, 1, 70000 },
    };
    std::mt19937 random(7);
    for (const CopyCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "room " << c.room << " literals " << c.literals << " distance " << c.distance
                                        << " length " << c.length);
        Bytes bytes(c.literals);
        for (std::uint8_t& b : bytes)
            b = static_cast<std::uint8_t>(random());
        const std::size_t from = bytes.size() - c.distance;
        for (std::size_t i = 0; i < c.length; ++i)
            bytes.push_back(bytes[from + i]);
        FixedCodeStream stream(c.room);
        for (std::size_t i = 0; i < c.literals; ++i)
            stream.putLiteral(bytes[i]);
        stream.putCopy(c.length, distanceCode(c.distance), bytes.data() + c.literals);
        const QByteArray packed = stream.finish(adlerOf(bytes));
        EXPECT_EQ(inflated(packed, bytes.size()), bytes);
    }
}

// Long copies cost a few bits per maximal reference, not a byte per byte copied.
TEST(FixedCodeStream, CopiesStaySmall)
{
    FixedCodeStream stream(8);
    Bytes bytes(1, 42);
    stream.putLiteral(42);
    const std::size_t length = 258 * 100;
    bytes.insert(bytes.end(), length, 42);
    stream.putCopy(length, distanceCode(1), bytes.data() + 1);
    const QByteArray packed = stream.finish(adlerOf(bytes));
    EXPECT_EQ(inflated(packed, bytes.size()), bytes);
    EXPECT_LT(packed.size(), 100 * 2 + 16);
}

TEST(FixedCodeStream, AnEmptyStreamInflatesToNothing)
{
    FixedCodeStream stream(0);
    const QByteArray packed = stream.finish(1);
    Bytes back(16);
    uLongf size = static_cast<uLongf>(back.size());
    ASSERT_EQ(uncompress(back.data(), &size, reinterpret_cast<const Bytef*>(packed.constData()),
                  static_cast<uLong>(packed.size())),
        Z_OK);
    EXPECT_EQ(size, 0u);
}

} // namespace
