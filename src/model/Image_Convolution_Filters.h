#pragma once

#include <QImage>

// Neighbourhood filters of a picture. Each returns a new picture in Format_ARGB32_Premultiplied (so
// transparent pixels add no colour to their neighbours) and never changes its input; the neutral value
// returns the input itself. Pixels beyond the edges repeat the edge pixels, so the borders keep their
// colour and the picture keeps its size. A null result means the filter could not run (a value that
// is not a finite number, or no memory for the result).
namespace imagefilters {

// Each pixel becomes the mean of the square of side 2 * radius + 1 around it; a fractional radius gives
// the outermost row and column of the square that fraction of a weight. 0 or less leaves the picture.
QImage boxBlur(const QImage& image, float radius);

// Unsharp masking of the luma only: the difference between each pixel's luma and a Gaussian blur of it
// (standard deviation kSharpenRadius pixels), times the sharpness, is added to all three channels, so
// edges gain contrast and colours keep their hue. 0 leaves the picture; negative values soften.
inline constexpr float kSharpenRadius = 1.69f;
QImage sharpenLuminance(const QImage& image, float sharpness);

} // namespace imagefilters
