#include "barcode/QR_Mask_Penalty.h"

#include <cstdlib>

namespace {

// The bits of modules 0 to size - last - 1 of a line.
QR_Mask_Penalty::Line span(int size, int last)
{
    QR_Mask_Penalty::Line bits;
    for (int i = 0; i < size - last; ++i)
        bits[static_cast<std::size_t>(QR_Mask_Penalty::kOffset + i)] = true;
    return bits;
}

int count(const QR_Mask_Penalty::Line& bits)
{
    return static_cast<int>(bits.count());
}

} // namespace

QR_Mask_Penalty::QR_Mask_Penalty(int size)
    : size_(size)
    , pairs_(span(size, 1))
    , windows5_(span(size, 4))
    , windows7_(span(size, 6))
{
}

int QR_Mask_Penalty::runs(const Line& dark) const
{
    // same[p]: module p has the colour of module p + 1. A run of n >= 5 scores 3 + (n - 5): one for each
    // of its n - 4 windows of five, and two more for its first window.
    const Line same = ~(dark ^ (dark >> 1)) & pairs_;
    const Line fives = same & (same >> 1) & (same >> 2) & (same >> 3) & windows5_;
    const Line firsts = fives & ~(same << 1);
    return count(fives) + 2 * count(firsts);
}

int QR_Mask_Penalty::finderLike(const Line& dark) const
{
    // Dark, light, three dark, light, dark; light just outside on both sides, and three more light beyond
    // that on at least one side. Modules past the ends are light.
    const Line light = ~dark;
    const Line pattern = dark & (light >> 1) & (dark >> 2) & (dark >> 3) & (dark >> 4) & (light >> 5) & (dark >> 6);
    const Line edges = (light << 1) & (light >> 7);
    const Line before = (light << 2) & (light << 3) & (light << 4);
    const Line after = (light >> 8) & (light >> 9) & (light >> 10);
    return 40 * count(pattern & edges & (before | after) & windows7_);
}

int QR_Mask_Penalty::blocks(const Line& line, const Line& next) const
{
    const Line across = ~(line ^ next);
    const Line along = ~(line ^ (line >> 1));
    return 3 * count(across & (across >> 1) & along & pairs_);
}

int QR_Mask_Penalty::balance() const
{
    int dark = 0;
    for (int y = 0; y < size_; ++y)
        dark += count(rows_[y]);
    const int all = size_ * size_;
    const int k = std::abs(50 - ((all - dark) * 100) / all);
    return (k / 5) * 10;
}

int QR_Mask_Penalty::score(int stopAt) const
{
    if (size_ <= 0)
        return 0;
    int penalty = balance();
    for (int i = 0; i < size_ && penalty < stopAt; ++i) {
        penalty += runs(rows_[i]) + runs(columns_[i]) + finderLike(rows_[i]) + finderLike(columns_[i]);
        if (i + 1 < size_)
            penalty += blocks(rows_[i], rows_[i + 1]);
    }
    return penalty;
}
