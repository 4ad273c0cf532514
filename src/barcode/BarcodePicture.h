#pragma once

#include <QImage>
#include <QSizeF>

// A barcode picture: its pixels and its size in points. The two are kept apart because a picture
// re-sampled to an output resolution keeps its size in points while its pixel count grows.
struct BarcodePicture {
    QImage image;
    QSizeF size; // points (1/72 inch)

    bool isNull() const { return image.isNull(); }
    // Pixels per point across, 0 for a picture without a size.
    double scale() const { return size.width() > 0.0 ? image.width() / size.width() : 0.0; }
};
