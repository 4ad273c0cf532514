#pragma once

#include <QImage>
#include <QSize>

// Size and turn helpers for pictures. They never change their input and run on any thread
// (QImage and QPainter only).

// The margin a turn that is not a quarter adds to the longer side of the picture it turns.
inline constexpr int kTurnMargin = 20;

// The picture turned counter-clockwise (as seen) by `angle` degrees about its centre, which lands on the
// centre of the result. The angle is first reduced by whole turns, keeping its sign (-450 is -90); no
// turn left returns the picture itself. Quarter turns swap width and height, a half turn keeps them,
// both exactly, pixel for pixel; any other angle gives a square of side max(width, height) + margin,
// transparent around the turned picture, which cuts off the corners that reach beyond it. A copy of the
// picture made larger for an output takes a margin as much larger, so that it turns as the screen shows it.
// Null when the angle is not a finite number or there is no memory for the result.
QImage imageRotated(const QImage& picture, float angle, int margin = kTurnMargin);
// The size imageRotated gives a picture of the given size, without turning anything.
QSize rotatedSize(const QSize& size, float angle, int margin = kTurnMargin);

namespace imagefilters {

// The picture scaled down, keeping its proportions, until it fits within `limit`; a picture that
// already fits is returned itself. Each side stays at least one pixel. Null when the limit is empty or there is no
// memory.
QImage fittedWithin(const QImage& picture, const QSize& limit);
// The size fittedWithin gives a picture of the given size, without scaling anything.
QSize fittedSize(const QSize& size, const QSize& limit);

} // namespace imagefilters
