#pragma once

#include <QImage>
#include <QSizeF>

#include <algorithm>
#include <cmath>
#include <optional>

// A barcode picture: its pixels and its size in points. The two are kept apart because a picture
// re-sampled to an output resolution keeps its size in points while its pixel count grows.
struct BarcodePicture {
    QImage image;
    QSizeF size; // points (1/72 inch)
    // A 2-D symbol's picture before re-sampling, its pixels spread over size: the module grid that
    // vector drawing draws runs of.
    QImage modules {};
    // The fewest whole pixels a module needs for barcode readers to find the symbol: measured with the
    // readers people scan cards with, DataMatrix needs two where the other symbologies read at one.
    int readableModulePixels = 1;

    bool isNull() const { return image.isNull(); }
    // Pixels per point across, 0 for a picture without a size.
    double scale() const { return size.width() > 0.0 ? image.width() / size.width() : 0.0; }
};

// Bounds of every barcode picture: beyond them a long value or a stored size would ask for more memory
// than any card can use, so such a picture is refused.
constexpr int Barcode_Max_Side = 32768; // pixels
constexpr qint64 Barcode_Max_Bytes = 256LL * 1024 * 1024; // at four bytes a pixel

// A length in pixels as a whole pixel count, rounded up; nothing when it is not a finite number, not
// positive or longer than a side may be.
inline std::optional<int> Barcode_Pixel_Count(double pixels)
{
    if (!std::isfinite(pixels) || !(pixels > 0.0) || pixels > static_cast<double>(Barcode_Max_Side))
        return std::nullopt;
    return std::max(1, static_cast<int>(std::ceil(pixels)));
}

inline bool Barcode_Pixel_Area_Fits(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width <= Barcode_Max_Side && height <= Barcode_Max_Side
        && width * height * 4 <= Barcode_Max_Bytes;
}
