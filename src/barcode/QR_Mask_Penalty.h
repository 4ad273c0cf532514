#pragma once

#include "barcode/QR_Tables.h"

#include <bitset>
#include <climits>
#include <cstdint>

// The penalty of a masked QR symbol, the sum of four rules: runs of five or more modules of one colour,
// 2 x 2 blocks of one colour, finder-like 1:1:3:1:1 patterns with light beside them, and the balance of
// dark and light. Each row and column is a set of bits, so a rule looks at a whole line in a few word
// operations; eight masks are scored for every symbol made.
class QR_Mask_Penalty {
public:
    // Bit (kOffset + i) is module i of a line; the bits around them stay light, so that a pattern may
    // look a few modules past either end.
    using Line = std::bitset<192>;
    static constexpr int kOffset = 4;

    explicit QR_Mask_Penalty(int size);

    // Rows and columns: module (x, y) is dark.
    void setDark(int x, int y)
    {
        rows_[y][static_cast<std::size_t>(kOffset + x)] = true;
        columns_[x][static_cast<std::size_t>(kOffset + y)] = true;
    }

    // Lines to be set whole: row y holds module (x, y) at bit kOffset + x, column x module (x, y) at
    // bit kOffset + y.
    Line& row(int y) { return rows_[y]; }
    Line& column(int x) { return columns_[x]; }

    // The whole penalty, or some value of at least stopAt once the sum reaches it, since a mask that
    // scores that much is not the one chosen.
    int score(int stopAt = INT_MAX) const;

private:
    int runs(const Line& line) const;
    int finderLike(const Line& line) const;
    int blocks(const Line& line, const Line& next) const;
    int balance() const;

    int size_;
    Line pairs_; // modules that have a next one in the line
    Line windows5_; // modules that start five in the line
    Line windows7_; // modules that start seven in the line
    Line rows_[MAX_MODULESIZE];
    Line columns_[MAX_MODULESIZE];
};
