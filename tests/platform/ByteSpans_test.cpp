#include "platform/ByteSpans.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

using platform::bytes::equalPrefix;
using platform::bytes::runLength;

// Every place of the first difference, on both sides of an eight-byte step, and no difference at all.
TEST(ByteSpans, EqualPrefixStopsAtTheFirstDifference)
{
    for (const std::size_t limit : { 0u, 1u, 7u, 8u, 9u, 15u, 16u, 17u, 40u }) {
        for (std::size_t differ = 0; differ <= limit; ++differ) {
            SCOPED_TRACE(testing::Message() << "limit " << limit << " differ " << differ);
            std::vector<std::uint8_t> a(limit + 8, 0x5a);
            std::vector<std::uint8_t> b = a;
            // Past the limit the bytes differ too: they must not be counted.
            b[limit] = 0;
            if (differ < limit)
                b[differ] ^= 0x80;
            EXPECT_EQ(equalPrefix(a.data(), b.data(), limit), differ);
        }
    }
}

TEST(ByteSpans, RunLengthStopsAtTheFirstOtherByte)
{
    for (const std::uint8_t byte : { std::uint8_t { 0 }, std::uint8_t { 1 }, std::uint8_t { 0xff } }) {
        for (const std::size_t limit : { 0u, 1u, 7u, 8u, 9u, 24u, 33u }) {
            for (std::size_t other = 0; other <= limit; ++other) {
                SCOPED_TRACE(testing::Message() << "byte " << int(byte) << " limit " << limit << " other " << other);
                std::vector<std::uint8_t> a(limit + 8, byte);
                a[limit] = static_cast<std::uint8_t>(byte + 1);
                if (other < limit)
                    a[other] = static_cast<std::uint8_t>(byte ^ 0x10);
                EXPECT_EQ(runLength(a.data(), limit, byte), other);
            }
        }
    }
}

} // namespace
