#pragma once

#include <QImage>

// Per-pixel colour adjustments of a picture. Each returns a new picture in Format_ARGB32 and never
// changes its input; its neutral value returns the input itself, pixel for pixel. A null result means
// the filter could not run (a value that is not a finite number, or no memory for the result).
// All except the exposure work on the stored (sRGB-encoded) channel values, unpremultiplied, so alpha
// is kept as it is; the exposure works in linear light, as a camera's exposure does.
namespace imagefilters {

// Rec. 709 luma weights, used wherever a colour is reduced to its grey value.
inline constexpr float kLumaRed = 0.2126f;
inline constexpr float kLumaGreen = 0.7152f;
inline constexpr float kLumaBlue = 0.0722f;

// Every pixel becomes the grey of its own luma (a monochrome tint of 50 % grey at full intensity).
QImage grayscale(const QImage& image);

// Full-intensity sepia tone: warm browns whose lightness follows the original.
QImage sepia(const QImage& image);

// Each colour channel c becomes 255 - c.
QImage invert(const QImage& image);

// Turns every colour about the grey axis of the RGB cube by an angle in radians; positive angles move
// red towards green. Greys stay where they are.
QImage hueAdjust(const QImage& image, float angle);

// Saturation (0 grey, 1 unchanged, above 1 stronger), then contrast about mid-grey (1 unchanged), then
// brightness added to every channel (0 unchanged, 1 adds full white).
QImage colorControls(const QImage& image, float saturation, float brightness, float contrast);

// Multiplies the light of every channel by 2 to the power of ev, in linear light.
QImage exposureAdjust(const QImage& image, float ev);

} // namespace imagefilters
