#include "barcode/QR_Mask_Penalty.h"

#include "barcode/QR_Matrix_Encoder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Dark = std::function<bool(int x, int y)>;

// The four rules module by module, the plain way: what the bit-line scoring must agree with.
int plainPenalty(int size, const Dark& dark)
{
    int penalty = 0;
    auto at = [&](int dir, int line, int k) {
        if (k < 0 || k >= size)
            return false;
        return dir == 0 ? dark(line, k) : dark(k, line);
    };
    for (int dir = 0; dir < 2; ++dir) {
        for (int line = 0; line < size; ++line) {
            int k = 0;
            while (k < size) {
                int end = k + 1;
                while (end < size && at(dir, line, end) == at(dir, line, k))
                    ++end;
                if (end - k >= 5)
                    penalty += 3 + (end - k - 5);
                k = end;
            }
            for (int j = 0; j <= size - 7; ++j) {
                const bool pattern = at(dir, line, j) && !at(dir, line, j + 1) && at(dir, line, j + 2)
                    && at(dir, line, j + 3) && at(dir, line, j + 4) && !at(dir, line, j + 5) && at(dir, line, j + 6);
                if (!pattern || at(dir, line, j - 1) || at(dir, line, j + 7))
                    continue;
                const bool before = !at(dir, line, j - 2) && !at(dir, line, j - 3) && !at(dir, line, j - 4);
                const bool after = !at(dir, line, j + 8) && !at(dir, line, j + 9) && !at(dir, line, j + 10);
                if (before || after)
                    penalty += 40;
            }
        }
    }
    int light = 0;
    for (int x = 0; x < size; ++x) {
        for (int y = 0; y < size; ++y) {
            light += dark(x, y) ? 0 : 1;
            if (x + 1 < size && y + 1 < size && dark(x + 1, y) == dark(x, y) && dark(x, y + 1) == dark(x, y)
                && dark(x + 1, y + 1) == dark(x, y))
                penalty += 3;
        }
    }
    const int k = std::abs(50 - (light * 100) / (size * size));
    return penalty + (k / 5) * 10;
}

int bitLinePenalty(int size, const Dark& dark, int stopAt = INT_MAX)
{
    QR_Mask_Penalty penalty(size);
    for (int x = 0; x < size; ++x)
        for (int y = 0; y < size; ++y)
            if (dark(x, y))
                penalty.setDark(x, y);
    return penalty.score(stopAt);
}

std::string randomText(std::mt19937& random, int maxLength)
{
    static const std::string alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:abcdefghijklmnopqrstuvwxyz";
    std::string text(std::uniform_int_distribution<int>(1, maxLength)(random), ' ');
    for (char& c : text)
        c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
    return text;
}

} // namespace

TEST(QRMaskPenalty, AgreesWithThePlainRulesOnRandomAndPatternedModules)
{
    std::mt19937 random(20261207);
    // Sizes of the smallest and largest symbols and some between; modules random at several densities,
    // and striped so that long runs and finder-like patterns reach both ends of the lines.
    for (const int size : { 21, 25, 57, 101, 176, 177 }) {
        for (const double density : { 0.1, 0.5, 0.9 }) {
            std::vector<char> modules(static_cast<std::size_t>(size * size));
            std::bernoulli_distribution pick(density);
            for (char& m : modules)
                m = pick(random) ? 1 : 0;
            const Dark dark = [&](int x, int y) { return modules[static_cast<std::size_t>(x * size + y)] != 0; };
            EXPECT_EQ(bitLinePenalty(size, dark), plainPenalty(size, dark)) << size << " " << density;
        }
        const Dark finders = [](int x, int y) { return (0x5D >> ((x + 3 * y) % 11)) & 1; };
        EXPECT_EQ(bitLinePenalty(size, finders), plainPenalty(size, finders)) << size;
        const Dark finderAtEnds = [size](int x, int) {
            const int k = std::min(x, size - 1 - x);
            return k < 7 && ((0x5D >> k) & 1);
        };
        EXPECT_EQ(bitLinePenalty(size, finderAtEnds), plainPenalty(size, finderAtEnds)) << size;
    }
}

TEST(QRMaskPenalty, StopsOnlyOnceTheLimitIsReached)
{
    const Dark checker = [](int x, int y) { return ((x / 3 + y / 2) & 1) != 0; };
    const int full = bitLinePenalty(41, checker);
    ASSERT_GT(full, 100);
    EXPECT_EQ(bitLinePenalty(41, checker, full + 1), full);
    EXPECT_GE(bitLinePenalty(41, checker, full / 2), full / 2);
    EXPECT_LE(bitLinePenalty(41, checker, full / 2), full);
}

TEST(QRMaskPenalty, SymbolsKeepTheMaskThePlainRulesChoose)
{
    std::mt19937 random(58);
    int symbols = 0;
    for (int i = 0; i < 240; ++i) {
        const std::string text = randomText(random, i % 8 == 0 ? 900 : 120);
        const int level = i % 4;
        auto encode = [&](int mask) {
            auto encoder = std::make_unique<QR_Matrix_Encoder>();
            const bool made = encoder->EncodeData(level, 0, true, mask,
                reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
            return made ? std::move(encoder) : nullptr;
        };
        const auto chosen = encode(-1);
        if (!chosen)
            continue;
        ++symbols;
        int best = -1;
        int bestPenalty = 0;
        for (int mask = 0; mask <= 7; ++mask) {
            const auto e = encode(mask);
            ASSERT_TRUE(e);
            const int size = e->m_nSymbolSize;
            const int plain = plainPenalty(size, [&](int x, int y) { return e->m_byModuleData[x][y] == 1; });
            EXPECT_EQ(e->CountPenalty(), plain) << text << " mask " << mask;
            if (best < 0 || plain < bestPenalty) {
                best = mask;
                bestPenalty = plain;
            }
        }
        EXPECT_EQ(chosen->m_nMaskingNo, best) << text;
    }
    EXPECT_GT(symbols, 200);
}
