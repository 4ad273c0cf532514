#pragma once

#include <algorithm>

// Output resolutions the 2-D pictures accept. A custom resolution outside this range is brought into it:
// below 72 dpi modules blur away, above 2400 dpi a picture grows past what can be allocated or printed.
constexpr int BRC2D_Min_DPI = 72;
constexpr int BRC2D_Max_DPI = 2400;

inline int BRC2D_Clamped_DPI(int dpi)
{
    return std::clamp(dpi, BRC2D_Min_DPI, BRC2D_Max_DPI);
}
