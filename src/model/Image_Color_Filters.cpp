#include "model/Image_Color_Filters.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace imagefilters {
namespace {

// Rows give the new red, green and blue from the old ones; the fourth column is an offset in units of
// a full channel.
using ColorMatrix = std::array<std::array<float, 4>, 3>;
using ChannelTable = std::array<uchar, 256>;

inline int toChannel(float v)
{
    return int(std::clamp(v, 0.0f, 255.0f) + 0.5f);
}

// An unshared ARGB32 copy to write into; null when there is no memory for it.
QImage writableCopy(const QImage& image)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    if (out.isNull() || out.bits() == nullptr) // bits() makes the copy our own
        return {};
    return out;
}

// The matrix runs as nine lookup tables in fixed point with 12 fraction bits: each output channel is
// the sum of three table entries, which is exact for integer coefficients (the identity, invert).
QImage applyMatrix(const QImage& image, const ColorMatrix& m)
{
    constexpr int kShift = 12;
    constexpr double kOne = double(1 << kShift);
    // Larger coefficients only saturate; the bound keeps the sums inside 64 bits.
    constexpr double kBound = 1e9;
    std::array<std::array<std::array<qint64, 256>, 3>, 3> table;
    qint64 offset[3];
    for (size_t row = 0; row < 3; ++row) {
        for (size_t col = 0; col < 3; ++col) {
            const double k = std::clamp(double(m[row][col]), -kBound, kBound) * kOne;
            for (int v = 0; v < 256; ++v)
                table[row][col][size_t(v)] = std::llround(k * v);
        }
        offset[row] = std::llround(std::clamp(double(m[row][3]), -kBound, kBound) * 255.0 * kOne) + (1 << (kShift - 1));
    }
    constexpr qint64 kTop = qint64(255) << kShift;
    auto channel = [&](size_t row, int r, int g, int b) {
        const qint64 sum = table[row][0][size_t(r)] + table[row][1][size_t(g)] + table[row][2][size_t(b)] + offset[row];
        return int(std::clamp<qint64>(sum, 0, kTop + (1 << (kShift - 1)) - 1) >> kShift);
    };

    QImage out = writableCopy(image);
    if (out.isNull())
        return {};
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = line[x];
            const int r = qRed(p);
            const int g = qGreen(p);
            const int b = qBlue(p);
            line[x] = qRgba(channel(0, r, g, b), channel(1, r, g, b), channel(2, r, g, b), qAlpha(p));
        }
    }
    return out;
}

QImage applyTable(const QImage& image, const ChannelTable& table)
{
    QImage out = writableCopy(image);
    if (out.isNull())
        return {};
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = line[x];
            line[x] = qRgba(table[qRed(p)], table[qGreen(p)], table[qBlue(p)], qAlpha(p));
        }
    }
    return out;
}

double srgbToLinear(double v)
{
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double linearToSrgb(double l)
{
    return l <= 0.0031308 ? l * 12.92 : 1.055 * std::pow(l, 1.0 / 2.4) - 0.055;
}

} // namespace

QImage grayscale(const QImage& image)
{
    const std::array<float, 4> luma = { kLumaRed, kLumaGreen, kLumaBlue, 0.0f };
    return applyMatrix(image, { luma, luma, luma });
}

QImage sepia(const QImage& image)
{
    return applyMatrix(image,
        { { { 0.393f, 0.769f, 0.189f, 0.0f }, { 0.349f, 0.686f, 0.168f, 0.0f }, { 0.272f, 0.534f, 0.131f, 0.0f } } });
}

QImage invert(const QImage& image)
{
    return applyMatrix(
        image, { { { -1.0f, 0.0f, 0.0f, 1.0f }, { 0.0f, -1.0f, 0.0f, 1.0f }, { 0.0f, 0.0f, -1.0f, 1.0f } } });
}

QImage hueAdjust(const QImage& image, float angle)
{
    if (!std::isfinite(angle))
        return {};
    if (angle == 0.0f)
        return image;
    // Rotation by the angle about the unit axis (1, 1, 1) / sqrt(3) (Rodrigues' formula).
    const float c = float(std::cos(double(angle)));
    const float s = float(std::sin(double(angle)) / std::sqrt(3.0));
    const float t = (1.0f - c) / 3.0f;
    return applyMatrix(image,
        { { { c + t, t - s, t + s, 0.0f }, //
            { t + s, c + t, t - s, 0.0f }, { t - s, t + s, c + t, 0.0f } } });
}

QImage colorControls(const QImage& image, float saturation, float brightness, float contrast)
{
    if (!std::isfinite(saturation) || !std::isfinite(brightness) || !std::isfinite(contrast))
        return {};
    if (saturation == 1.0f && brightness == 0.0f && contrast == 1.0f)
        return image;
    // Saturation mixes each colour with its luma: s * c + (1 - s) * luma(c); contrast then scales
    // about 0.5 and brightness adds. All three are linear, so they fold into one matrix.
    const float luma[3] = { kLumaRed, kLumaGreen, kLumaBlue };
    const float offset = 0.5f * (1.0f - contrast) + brightness;
    ColorMatrix m {};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col)
            m[row][col] = contrast * ((row == col ? saturation : 0.0f) + (1.0f - saturation) * luma[col]);
        m[row][3] = offset;
    }
    return applyMatrix(image, m);
}

QImage exposureAdjust(const QImage& image, float ev)
{
    if (!std::isfinite(ev))
        return {};
    if (ev == 0.0f)
        return image;
    // Beyond +-64 stops every channel is already black or white; the clamp keeps the factor finite.
    const double factor = std::exp2(std::clamp(double(ev), -64.0, 64.0));
    ChannelTable table;
    for (int v = 0; v < 256; ++v) {
        const double light = std::min(1.0, srgbToLinear(v / 255.0) * factor);
        table[size_t(v)] = uchar(toChannel(float(linearToSrgb(light) * 255.0)));
    }
    return applyTable(image, table);
}

} // namespace imagefilters
