#include "model/Image_Convolution_Filters.h"

#include "model/Image_Color_Filters.h"

#include <algorithm>
#include <cstring>
#include <cmath>
#include <vector>

namespace imagefilters {
namespace {

// A premultiplied copy of the picture, or null when there is no memory for it.
QImage premultipliedCopy(const QImage& image)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (out.isNull() || out.bits() == nullptr) // bits() makes the copy our own
        return {};
    return out;
}

inline int clampIndex(int i, int count)
{
    return std::clamp(i, 0, count - 1);
}

// Box sums along the rows in fixed point: a full weight is 256, the outermost samples weigh `edge`
// 256ths. The four bytes of a pixel are summed alike, whatever channel each holds.
void boxRows(const QImage& in, std::vector<quint32>& out, int whole, quint32 edge)
{
    const int width = in.width();
    for (int y = 0; y < in.height(); ++y) {
        const uchar* row = in.constScanLine(y);
        quint32* dst = out.data() + size_t(y) * size_t(width) * 4;
        auto at = [&](int x, int ch) { return quint32(row[size_t(clampIndex(x, width)) * 4 + size_t(ch)]); };
        for (int ch = 0; ch < 4; ++ch) {
            quint32 sum = 0;
            for (int i = -whole; i <= whole; ++i)
                sum += at(i, ch);
            for (int x = 0; x < width; ++x) {
                dst[size_t(x) * 4 + size_t(ch)] = 256 * sum + edge * (at(x - whole - 1, ch) + at(x + whole + 1, ch));
                sum += at(x + whole + 1, ch) - at(x - whole, ch);
            }
        }
    }
}

// The same box down the columns over the row sums, a whole row at a time so that memory is read in
// order; writes the rounded means into `out`, a premultiplied picture of the same size.
void boxColumns(const std::vector<quint32>& in, QImage& out, int whole, quint32 edge, double norm)
{
    const int width = out.width();
    const int height = out.height();
    const size_t count = size_t(width) * 4;
    auto row = [&](int y) { return in.data() + size_t(clampIndex(y, height)) * count; };
    std::vector<quint64> sum(count, 0);
    for (int i = -whole; i <= whole; ++i) {
        const quint32* r = row(i);
        for (size_t k = 0; k < count; ++k)
            sum[k] += r[k];
    }
    const double scale = 1.0 / norm;
    std::vector<uchar> bytes(count);
    for (int y = 0; y < height; ++y) {
        const quint32* before = row(y - whole - 1);
        const quint32* after = row(y + whole + 1);
        const quint32* leaving = row(y - whole);
        for (size_t k = 0; k < count; ++k) {
            const quint64 total = 256 * sum[k] + quint64(edge) * (quint64(before[k]) + quint64(after[k]));
            bytes[k] = uchar(std::min(255.0, double(total) * scale + 0.5));
            sum[k] += quint64(after[k]) - quint64(leaving[k]);
        }
        // Rounding is monotonic, so no colour byte exceeds its alpha; the check only guards the format.
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < width; ++x) {
            QRgb p;
            std::memcpy(&p, bytes.data() + size_t(x) * 4, sizeof p);
            const int a = qAlpha(p);
            line[x] = qRgba(std::min(qRed(p), a), std::min(qGreen(p), a), std::min(qBlue(p), a), a);
        }
    }
}

// Same-size Gaussian blur of a single-channel plane, edges repeated.
std::vector<float> gaussianPlane(const std::vector<float>& plane, int width, int height, float sigma)
{
    const int reach = std::max(1, int(std::ceil(3.0f * sigma)));
    std::vector<float> weights(size_t(2 * reach + 1));
    double total = 0.0;
    for (int i = -reach; i <= reach; ++i) {
        weights[size_t(i + reach)] = float(std::exp(-double(i * i) / (2.0 * double(sigma) * double(sigma))));
        total += weights[size_t(i + reach)];
    }
    for (float& w : weights)
        w = float(w / total);

    std::vector<float> across(plane.size());
    for (int y = 0; y < height; ++y) {
        const float* row = plane.data() + size_t(y) * size_t(width);
        float* dst = across.data() + size_t(y) * size_t(width);
        auto clamped = [&](int x) {
            float sum = 0.0f;
            for (int i = -reach; i <= reach; ++i)
                sum += weights[size_t(i + reach)] * row[clampIndex(x + i, width)];
            return sum;
        };
        // Only the ends of a row need their indexes clamped.
        const int interiorEnd = std::max(reach, width - reach);
        for (int x = 0; x < std::min(reach, width); ++x)
            dst[x] = clamped(x);
        for (int x = reach; x < interiorEnd; ++x) {
            float sum = 0.0f;
            for (int i = -reach; i <= reach; ++i)
                sum += weights[size_t(i + reach)] * row[x + i];
            dst[x] = sum;
        }
        for (int x = interiorEnd; x < width; ++x)
            dst[x] = clamped(x);
    }
    std::vector<float> result(plane.size());
    for (int y = 0; y < height; ++y) {
        float* dst = result.data() + size_t(y) * size_t(width);
        std::fill(dst, dst + width, 0.0f);
        for (int i = -reach; i <= reach; ++i) {
            const float w = weights[size_t(i + reach)];
            const float* src = across.data() + size_t(clampIndex(y + i, height)) * size_t(width);
            for (int x = 0; x < width; ++x)
                dst[x] += w * src[x];
        }
    }
    return result;
}

inline int toChannel(float v, int ceiling)
{
    return int(std::clamp(v, 0.0f, float(ceiling)) + 0.5f);
}

} // namespace

QImage boxBlur(const QImage& image, float radius)
{
    if (!std::isfinite(radius))
        return {};
    if (radius <= 0.0f || image.isNull())
        return image;
    QImage out = premultipliedCopy(image);
    if (out.isNull())
        return {};
    const int width = out.width();
    const int height = out.height();
    // A window wider than the picture only adds weight to its repeated edges; keep the work bounded.
    // The bound also keeps the fixed-point row sums within 32 bits.
    const float r = std::min({ radius, float(std::max(width, height)), 16000.0f });
    const int whole = int(r);
    const quint32 edge = quint32(std::lround((r - float(whole)) * 256.0f));
    // Sum of the weights along one axis, squared for the two passes.
    const double axis = 256.0 * (2 * whole + 1) + 2.0 * edge;

    std::vector<quint32> across(size_t(width) * size_t(height) * 4);
    boxRows(out, across, whole, edge);
    boxColumns(across, out, whole, edge, axis * axis);
    return out;
}

QImage sharpenLuminance(const QImage& image, float sharpness)
{
    if (!std::isfinite(sharpness))
        return {};
    if (sharpness == 0.0f || image.isNull())
        return image;
    QImage out = premultipliedCopy(image);
    if (out.isNull())
        return {};
    const int width = out.width();
    const int height = out.height();

    std::vector<float> luma(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(out.constScanLine(y));
        float* dst = luma.data() + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x)
            dst[x] = kLumaRed * float(qRed(line[x])) + kLumaGreen * float(qGreen(line[x]))
                + kLumaBlue * float(qBlue(line[x]));
    }
    const std::vector<float> blurred = gaussianPlane(luma, width, height, kSharpenRadius);

    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        const size_t start = size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x) {
            const QRgb p = line[x];
            const int a = qAlpha(p);
            const float detail = sharpness * (luma[start + size_t(x)] - blurred[start + size_t(x)]);
            line[x] = qRgba(toChannel(float(qRed(p)) + detail, a), toChannel(float(qGreen(p)) + detail, a),
                toChannel(float(qBlue(p)) + detail, a), a);
        }
    }
    return out;
}

} // namespace imagefilters
