#include "barcode/Barcode_Bit_Row.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string bitsOf(const std::vector<uchar>& line, int count)
{
    std::string bits;
    for (int x = 0; x < count; ++x)
        bits += (line[static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1 ? '1' : '0';
    return bits;
}

} // namespace

TEST(BarcodeBitRow, EveryRangeSetsAndClearsExactlyItsPixels)
{
    // Every range within three bytes, on a row of light pixels and on one of dark pixels.
    for (const bool on : { true, false }) {
        for (int x0 = 0; x0 <= 24; ++x0) {
            for (int x1 = x0; x1 <= 24; ++x1) {
                std::vector<uchar> line(3, on ? 0x00 : 0xff);
                Barcode_Fill_Bits(line.data(), x0, x1, on);
                std::string expected;
                for (int x = 0; x < 24; ++x)
                    expected += (x >= x0 && x < x1) == on ? '1' : '0';
                ASSERT_EQ(bitsOf(line, 24), expected) << x0 << ".." << x1 << (on ? " on" : " off");
            }
        }
    }
}
