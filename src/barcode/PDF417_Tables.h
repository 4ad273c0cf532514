#pragma once

#include <array>

// Read-only tables of the PDF417 symbology.

// Bar-space pattern of every codeword value in clusters 0, 3 and 6: 17 modules, 1 = bar, first module in
// the highest bit.
extern const int CLUSTERS[3][929];

// Reed-Solomon generator coefficients per error-correction level 0 to 8 (2, 4, ... 512 of them): element i
// is the coefficient of x^i in the product of (x - 3^j), j = 1 .. k, mod 929; the leading 1 is left out.
extern const int* const ERROR_LEVEL[9];

// Characters of the Mixed (values 0-24) and Punctuation (values 0-28) sub-modes, in value order.
extern const char MIXED_SET[];
extern const char PUNCTUATION_SET[];

constexpr int START_PATTERN = 130728; // 17 bits
constexpr int STOP_PATTERN = 260649; // 18 bits
