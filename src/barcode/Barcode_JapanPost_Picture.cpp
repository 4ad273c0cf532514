#include "barcode/Barcode_JapanPost_Picture.h"

#include <algorithm>

float Barcode_JapanPost_Picture::barsHeight() const
{
    // The long bar (both parts) reaches highest; every bar starts at or above the bottom line.
    float top = 0.0f;
    for (int group = 0; group < 4; ++group)
        top = std::max(top, japanpost_barTop(group, size()));
    return top / 0.3527777777777777f;
}
