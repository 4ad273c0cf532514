#pragma once

#include <QColor>
#include <QImage>

#include <algorithm>
#include <cstdlib>

// Small pictures and pixel probes shared by the picture adjustment tests.
namespace pictureprobes {

inline QImage filled(int width, int height, const QColor& color, QImage::Format format = QImage::Format_ARGB32)
{
    QImage image(width, height, format);
    image.fill(color);
    return image;
}

// A picture where every pixel differs: colour gradients across, alpha stepping down, including fully
// transparent pixels that still hold a colour (ARGB32 keeps it).
inline QImage varied(int width = 64, int height = 48)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                qRgba((x * 255) / (width - 1), (y * 255) / (height - 1), (x * 7 + y * 13) % 256,
                    y == 0 ? 0 : 255 - (x * 3) % 256));
    return image;
}

// Left half one colour, right half another: an edge between columns width / 2 - 1 and width / 2.
inline QImage edge(int width, int height, const QColor& left, const QColor& right)
{
    QImage image = filled(width, height, left);
    for (int y = 0; y < height; ++y)
        for (int x = width / 2; x < width; ++x)
            image.setPixelColor(x, y, right);
    return image;
}

// Largest difference between two colours over the four channels (unpremultiplied).
inline int channelDistance(QRgb a, QRgb b)
{
    return std::max({ std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b)),
        std::abs(qAlpha(a) - qAlpha(b)) });
}

// The unpremultiplied colour of a pixel, whatever the picture's format.
inline QRgb colorAt(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y).rgba();
}

// True when both pictures have the same size and the same unpremultiplied pixels.
inline bool samePixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return false;
    const QImage ca = a.convertToFormat(QImage::Format_ARGB32);
    const QImage cb = b.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < ca.height(); ++y)
        for (int x = 0; x < ca.width(); ++x)
            if (ca.pixel(x, y) != cb.pixel(x, y))
                return false;
    return true;
}

} // namespace pictureprobes
