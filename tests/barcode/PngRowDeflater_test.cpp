#include "barcode/PngRowDeflater.h"

#include "support/TestSupport.h"

#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Row = std::vector<std::uint8_t>;

// The rows through the deflater, a row equal to the one before it added as a repeat; then inflated by
// zlib, which also checks the stream's checksum.
std::vector<std::uint8_t> roundTrip(const std::vector<Row>& rows, std::size_t length)
{
    PngRowDeflater deflater(length);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i == 0 || rows[i] != rows[i - 1] || !deflater.repeatRow())
            deflater.addRow(rows[i].data());
    }
    return testsupport::inflateZlib(deflater.finish(), rows.size() * length);
}

std::vector<std::uint8_t> joined(const std::vector<Row>& rows)
{
    std::vector<std::uint8_t> all;
    for (const Row& row : rows)
        all.insert(all.end(), row.begin(), row.end());
    return all;
}

// Rows of runs of random lengths (bars), some repeated, some noise (text edges).
std::vector<Row> barRows(std::size_t length, int count, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<Row> rows;
    for (int r = 0; r < count; ++r) {
        if (!rows.empty() && random() % 3 != 0) {
            rows.push_back(rows.back());
            continue;
        }
        Row row(length);
        std::size_t x = 0;
        while (x < length) {
            const std::size_t run = 1 + random() % (random() % 2 ? 3 : 600);
            const auto value = static_cast<std::uint8_t>(random());
            for (std::size_t i = 0; i < run && x < length; ++i, ++x)
                row[x] = value;
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace

TEST(PngRowDeflater, RowsOfEveryShapeInflateToTheSameBytes)
{
    struct Case {
        std::size_t length;
        int rows;
    };
    // Short rows (under a match), rows around the longest match, and rows beyond the window's reach.
    for (const Case c : { Case { 1, 5 }, Case { 2, 9 }, Case { 3, 4 }, Case { 4, 7 }, Case { 258, 6 }, Case { 259, 6 },
             Case { 260, 6 }, Case { 261, 8 }, Case { 517, 40 }, Case { 1501, 120 }, Case { 32768, 5 },
             Case { 32769, 5 }, Case { 70001, 3 } }) {
        for (unsigned seed = 1; seed <= 3; ++seed) {
            const std::vector<Row> rows = barRows(c.length, c.rows, seed * 7919u + static_cast<unsigned>(c.length));
            EXPECT_EQ(roundTrip(rows, c.length), joined(rows)) << "length " << c.length << " seed " << seed;
        }
    }
}

TEST(PngRowDeflater, RepeatedRowsCostAFewBitsEach)
{
    Row row(2000);
    for (std::size_t i = 0; i < row.size(); ++i)
        row[i] = static_cast<std::uint8_t>(i * 37 % 251);
    PngRowDeflater deflater(row.size());
    deflater.addRow(row.data());
    const int repeats = 1000;
    for (int i = 0; i < repeats; ++i)
        ASSERT_TRUE(deflater.repeatRow());
    const QByteArray packed = deflater.finish();
    // The first row as literals (nine bits at most a byte), then about 26 bits for each 258 bytes.
    EXPECT_LT(packed.size(), 2000 * 9 / 8 + repeats * 2000 / 258 * 4 + 64);
    std::vector<Row> rows(static_cast<std::size_t>(repeats) + 1, row);
    EXPECT_EQ(roundTrip(rows, row.size()), joined(rows));
}

TEST(PngRowDeflater, FirstRowCannotBeARepeat)
{
    PngRowDeflater deflater(10);
    EXPECT_FALSE(deflater.repeatRow());
    const Row row(10, 0xab);
    deflater.addRow(row.data());
    EXPECT_TRUE(deflater.repeatRow());
}

TEST(PngRowDeflater, RowsThatChangeALittleFromTheOneAboveInflateAndStaySmall)
{
    // Rows as through a line of text: each the one above with a few bytes changed, at the start, the end,
    // next to each other and one apart, in rows short and long.
    for (const std::size_t length : { std::size_t { 5 }, std::size_t { 139 }, std::size_t { 1101 } }) {
        std::mt19937 random(static_cast<unsigned>(length));
        std::vector<Row> rows { Row(length, 0) };
        for (int r = 1; r < 80; ++r) {
            Row row = rows.back();
            for (int change = static_cast<int>(random() % 4); change > 0; --change)
                row[random() % length] = static_cast<std::uint8_t>(random());
            if (r % 9 == 0)
                row.front() = static_cast<std::uint8_t>(random());
            if (r % 7 == 0)
                row.back() = static_cast<std::uint8_t>(random());
            rows.push_back(row);
        }
        EXPECT_EQ(roundTrip(rows, length), joined(rows)) << length;
        if (length > 1000) {
            PngRowDeflater deflater(length);
            for (const Row& row : rows)
                deflater.addRow(row.data());
            // Each row a few copies from the row above and a few literals: far below a byte a pixel.
            EXPECT_LT(deflater.finish().size(), static_cast<qsizetype>(rows.size() * 40));
        }
    }
}
