// Module placement, masking and mask penalty of the QR encoder.
#include "barcode/QR_Matrix_Encoder.h"

#include "barcode/QR_Mask_Penalty.h"

#include <array>
#include <climits>
#include <cstring>

namespace {

constexpr std::uint8_t kLightFunction = 0x20;
constexpr std::uint8_t kDarkFunction = 0x30;

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
            const int masked = unmasked ^ (maskFlips(nPatternNo, y, x) ? 1 : 0);
            module = static_cast<std::uint8_t>((module & 0xFE) | masked);
        }
    }
}

std::array<QR_Matrix_Encoder::FormatBit, 31> QR_Matrix_Encoder::formatModules(int nPatternNo) const
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
    auto dark = [word](int i) { return (word & (1 << i)) != 0; };

    std::array<FormatBit, 31> modules {};
    std::size_t next = 0;
    auto put = [&](int x, int y, bool on) { modules[next++] = { x, y, on }; };
    for (int i = 0; i <= 5; ++i)
        put(8, i, dark(i));
    put(8, 7, dark(6));
    put(8, 8, dark(7));
    put(7, 8, dark(8));
    for (int i = 9; i <= 14; ++i)
        put(14 - i, 8, dark(i));

    for (int i = 0; i <= 7; ++i)
        put(size - 1 - i, 8, dark(i));
    for (int i = 8; i <= 14; ++i)
        put(8, size - 15 + i, dark(i));
    put(8, size - 8, true);
    return modules;
}

void QR_Matrix_Encoder::SetFormatInfoPattern(int nPatternNo)
{
    for (const FormatBit& module : formatModules(nPatternNo))
        m_byModuleData[module.x][module.y] = module.dark ? kDarkFunction : kLightFunction;
}

int QR_Matrix_Encoder::CountPenalty() const
{
    return penaltyBelow(INT_MAX);
}

int QR_Matrix_Encoder::penaltyBelow(int stopAt) const
{
    QR_Mask_Penalty penalty(m_nSymbolSize);
    for (int x = 0; x < m_nSymbolSize; ++x) {
        for (int y = 0; y < m_nSymbolSize; ++y) {
            if (isDark(x, y))
                penalty.setDark(x, y);
        }
    }
    return penalty.score(stopAt);
}

void QR_Matrix_Encoder::FormatModule()
{
    std::memset(m_byModuleData, 0, sizeof m_byModuleData);
    SetFunctionModule();
    SetCodeWordPattern();

    if (m_nMaskingNo == -1)
        m_nMaskingNo = chooseMask();
    SetMaskingPattern(m_nMaskingNo);
    SetFormatInfoPattern(m_nMaskingNo);

    for (int x = 0; x < m_nSymbolSize; ++x)
        for (int y = 0; y < m_nSymbolSize; ++y)
            m_byModuleData[x][y] = (m_byModuleData[x][y] & 0x11) ? 1 : 0;
}
