#pragma once

#include <QColor>

#include <algorithm>
#include <cmath>

// A record colour with an opacity fraction applied as its alpha, as the colour getters give it, but
// without storing it back: drawing must leave an item's values as they are. Fractions above 1 act as 1,
// below 0 as 0; an opacity that is not a number (a damaged file) draws opaque.
inline QColor colorWithOpacity(const QColor& color, float fraction)
{
    if (!color.isValid())
        return color;
    QColor result = color;
    result.setAlphaF(std::isnan(fraction) ? 1.0 : std::clamp(static_cast<double>(fraction), 0.0, 1.0));
    return result;
}
