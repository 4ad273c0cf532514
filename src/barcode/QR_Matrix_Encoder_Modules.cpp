// Module placement, masking and mask penalty of the QR encoder.
#include "barcode/QR_Matrix_Encoder.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr std::uint8_t kLightFunction = 0x20;
constexpr std::uint8_t kDarkFunction = 0x30;

bool maskCondition(int nPatternNo, int i, int j)
{
    switch (nPatternNo) {
    case 0:
        return (i + j) % 2 == 0;
    case 1:
        return i % 2 == 0;
    case 2:
        return j % 3 == 0;
    case 3:
        return (i + j) % 3 == 0;
    case 4:
        return ((i / 2) + (j / 3)) % 2 == 0;
    case 5:
        return (i * j) % 2 + (i * j) % 3 == 0;
    case 6:
        return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
    default:
        return ((i * j) % 3 + (i + j) % 2) % 2 == 0;
    }
}

} // namespace

void QR_Matrix_Encoder::SetFinderPattern(int x, int y)
{
    static const std::uint8_t byPattern[] = { 0x7F, 0x41, 0x5D, 0x5D, 0x5D, 0x41, 0x7F };
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 7; ++j)
            m_byModuleData[x + j][y + i] = (byPattern[i] & (1 << (6 - j))) ? kDarkFunction : kLightFunction;
}

void QR_Matrix_Encoder::SetAlignmentPattern(int x, int y)
{
    static const std::uint8_t byPattern[] = { 0x1F, 0x11, 0x15, 0x11, 0x1F };
    if (m_byModuleData[x][y] & 0x20)
        return; // overlaps a finder pattern
    x -= 2;
    y -= 2;
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
            m_byModuleData[x + j][y + i] = (byPattern[i] & (1 << (4 - j))) ? kDarkFunction : kLightFunction;
}

void QR_Matrix_Encoder::SetVersionPattern()
{
    if (m_nVersion <= 6)
        return;
    int remainder = m_nVersion << 12;
    for (int i = 0; i < 6; ++i) {
        if (remainder & (1 << (17 - i)))
            remainder ^= 0x1F25 << (5 - i);
    }
    const int word = (m_nVersion << 12) + remainder;
    for (int i = 0; i < 18; ++i) {
        const std::uint8_t value = (word & (1 << i)) ? kDarkFunction : kLightFunction;
        m_byModuleData[i / 3][m_nSymbolSize - 11 + i % 3] = value;
        m_byModuleData[m_nSymbolSize - 11 + i % 3][i / 3] = value;
    }
}

void QR_Matrix_Encoder::SetFunctionModule()
{
    const int size = m_nSymbolSize;
    SetFinderPattern(0, 0);
    SetFinderPattern(size - 7, 0);
    SetFinderPattern(0, size - 7);
    for (int i = 0; i < 8; ++i) {
        m_byModuleData[i][7] = m_byModuleData[7][i] = kLightFunction;
        m_byModuleData[size - 8][i] = m_byModuleData[size - 8 + i][7] = kLightFunction;
        m_byModuleData[i][size - 8] = m_byModuleData[7][size - 8 + i] = kLightFunction;
    }
    for (int i = 0; i < 9; ++i)
        m_byModuleData[i][8] = m_byModuleData[8][i] = kLightFunction;
    for (int i = 0; i < 8; ++i)
        m_byModuleData[size - 8 + i][8] = m_byModuleData[8][size - 8 + i] = kLightFunction;

    SetVersionPattern();

    const QR_VERSIONINFO& info = QR_Version_Info[m_nVersion];
    int coordinates[7] = { 6 };
    const int count = info.ncAlignPoint + 1;
    for (int i = 0; i < info.ncAlignPoint; ++i)
        coordinates[i + 1] = info.nAlignPoint[i];
    for (int a = 0; a < count; ++a)
        for (int b = 0; b < count; ++b)
            SetAlignmentPattern(coordinates[a], coordinates[b]);

    for (int i = 8; i <= size - 9; ++i) {
        const std::uint8_t value = (i % 2 == 0) ? kDarkFunction : kLightFunction;
        m_byModuleData[i][6] = value;
        m_byModuleData[6][i] = value;
    }
}

void QR_Matrix_Encoder::SetCodeWordPattern()
{
    const int size = m_nSymbolSize;
    const int totalBits = m_ncAllCodeWord * 8;
    int bitIndex = 0;
    // Two-column zigzag from the bottom-right corner, column 6 (the vertical timing pattern) skipped.
    for (int right = size - 1; right >= 1; right -= 2) {
        if (right == 6)
            right = 5;
        const bool upward = ((right + 1) & 2) == 0;
        for (int step = 0; step < size; ++step) {
            const int y = upward ? size - 1 - step : step;
            for (int j = 0; j < 2; ++j) {
                const int x = right - j;
                if (m_byModuleData[x][y] & 0x20)
                    continue;
                if (bitIndex < totalBits) {
                    const bool bit = (m_byAllCodeWord[bitIndex / 8] >> (7 - bitIndex % 8)) & 1;
                    m_byModuleData[x][y] = bit ? 0x02 : 0x00;
                    ++bitIndex;
                } else {
                    m_byModuleData[x][y] = 0x00; // remainder bits stay light
                }
            }
        }
    }
}

void QR_Matrix_Encoder::SetMaskingPattern(int nPatternNo)
{
    for (int x = 0; x < m_nSymbolSize; ++x) {
        for (int y = 0; y < m_nSymbolSize; ++y) {
            std::uint8_t& module = m_byModuleData[x][y];
            if (module & 0x20)
                continue;
            const int unmasked = (module & 0x02) >> 1;
            const int masked = unmasked ^ (maskCondition(nPatternNo, y, x) ? 1 : 0);
            module = static_cast<std::uint8_t>((module & 0xFE) | masked);
        }
    }
}

void QR_Matrix_Encoder::SetFormatInfoPattern(int nPatternNo)
{
    static const int levelBits[4] = { 0x01, 0x00, 0x03, 0x02 }; // L, M, Q, H
    const int data = (levelBits[m_nLevel] << 3) | nPatternNo;
    int remainder = data << 10;
    for (int i = 0; i < 5; ++i) {
        if (remainder & (1 << (14 - i)))
            remainder ^= 0x537 << (4 - i);
    }
    const int word = ((data << 10) + remainder) ^ 0x5412;
    const int size = m_nSymbolSize;
    auto value = [word](int i) { return (word & (1 << i)) ? kDarkFunction : kLightFunction; };

    for (int i = 0; i <= 5; ++i)
        m_byModuleData[8][i] = value(i);
    m_byModuleData[8][7] = value(6);
    m_byModuleData[8][8] = value(7);
    m_byModuleData[7][8] = value(8);
    for (int i = 9; i <= 14; ++i)
        m_byModuleData[14 - i][8] = value(i);

    for (int i = 0; i <= 7; ++i)
        m_byModuleData[size - 1 - i][8] = value(i);
    for (int i = 8; i <= 14; ++i)
        m_byModuleData[8][size - 15 + i] = value(i);
    m_byModuleData[8][size - 8] = kDarkFunction;
}

int QR_Matrix_Encoder::CountPenalty() const
{
    const int size = m_nSymbolSize;
    int penalty = 0;
    // The modules twice, one line after another: along columns (line = x) and along rows (line = y).
    // Eight masks are scored per symbol, so the lines are read from plain arrays.
    const auto count = static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
    std::vector<std::uint8_t> grids[2] = { std::vector<std::uint8_t>(count), std::vector<std::uint8_t>(count) };
    for (int x = 0; x < size; ++x) {
        for (int y = 0; y < size; ++y) {
            const std::uint8_t d = isDark(x, y) ? 1 : 0;
            grids[0][static_cast<std::size_t>(x) * size + y] = d;
            grids[1][static_cast<std::size_t>(y) * size + x] = d;
        }
    }

    // Runs of one colour.
    for (int dir = 0; dir < 2; ++dir) {
        for (int line = 0; line < size; ++line) {
            const std::uint8_t* modules = grids[dir].data() + static_cast<std::size_t>(line) * size;
            int k = 0;
            while (k < size - 4) {
                const std::uint8_t colour = modules[k];
                int end = k + 1;
                while (end < size && modules[end] == colour)
                    ++end;
                const int run = end - k;
                if (run >= 5)
                    penalty += 3 + (run - 5);
                k = end;
            }
        }
    }

    const std::uint8_t* columns = grids[0].data();
    for (int x = 0; x < size - 1; ++x) {
        const std::uint8_t* here = columns + static_cast<std::size_t>(x) * size;
        const std::uint8_t* next = here + size;
        for (int y = 0; y < size - 1; ++y) {
            const std::uint8_t c = here[y];
            if (next[y] == c && here[y + 1] == c && next[y + 1] == c)
                penalty += 3;
        }
    }

    // Finder-like 1:1:3:1:1 patterns, light just outside on both sides and four light on at least one side.
    for (int dir = 0; dir < 2; ++dir) {
        for (int line = 0; line < size; ++line) {
            const std::uint8_t* modules = grids[dir].data() + static_cast<std::size_t>(line) * size;
            auto dark = [&](int k) { return k >= 0 && k < size && modules[k] != 0; };
            for (int j = 0; j <= size - 7; ++j) {
                if (!(dark(j) && !dark(j + 1) && dark(j + 2) && dark(j + 3) && dark(j + 4) && !dark(j + 5)
                        && dark(j + 6)))
                    continue;
                if (dark(j - 1) || dark(j + 7))
                    continue;
                const bool lightBefore = !dark(j - 2) && !dark(j - 3) && !dark(j - 4);
                const bool lightAfter = !dark(j + 8) && !dark(j + 9) && !dark(j + 10);
                if (lightBefore || lightAfter)
                    penalty += 40;
            }
        }
    }

    int light = 0;
    for (const std::uint8_t d : grids[0])
        light += d == 0 ? 1 : 0;
    const int k = std::abs(50 - (light * 100) / (size * size));
    penalty += (k / 5) * 10;
    return penalty;
}

void QR_Matrix_Encoder::FormatModule()
{
    std::memset(m_byModuleData, 0, sizeof m_byModuleData);
    SetFunctionModule();
    SetCodeWordPattern();

    if (m_nMaskingNo == -1) {
        m_nMaskingNo = 0;
        int minPenalty = 0;
        for (int mask = 0; mask <= 7; ++mask) {
            SetMaskingPattern(mask);
            SetFormatInfoPattern(mask);
            const int penalty = CountPenalty();
            if (mask == 0 || penalty < minPenalty) {
                minPenalty = penalty;
                m_nMaskingNo = mask;
            }
        }
    }
    SetMaskingPattern(m_nMaskingNo);
    SetFormatInfoPattern(m_nMaskingNo);

    for (int x = 0; x < m_nSymbolSize; ++x)
        for (int y = 0; y < m_nSymbolSize; ++y)
            m_byModuleData[x][y] = (m_byModuleData[x][y] & 0x11) ? 1 : 0;
}
