#include "barcode/Barcode_Nearest_Resample.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// For each of count target pixels the source pixel under its centre, of sourceCount along the side.
std::vector<int> nearest(int sourceCount, int count)
{
    std::vector<int> map(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::int64_t centre = (2 * static_cast<std::int64_t>(i) + 1) * sourceCount;
        map[static_cast<std::size_t>(i)] = static_cast<int>(centre / (2 * static_cast<std::int64_t>(count)));
    }
    return map;
}

template <typename Pixel> void stretchRows(const QImage& source, QImage& target)
{
    const std::vector<int> columns = nearest(source.width(), target.width());
    const std::vector<int> rows = nearest(source.height(), target.height());
    const auto rowBytes = static_cast<std::size_t>(target.width()) * sizeof(Pixel);
    for (int y = 0; y < target.height(); ++y) {
        auto* line = reinterpret_cast<Pixel*>(target.scanLine(y));
        // Rows from the same source row are copies of the first of them.
        if (y > 0 && rows[static_cast<std::size_t>(y)] == rows[static_cast<std::size_t>(y - 1)]) {
            std::memcpy(line, target.constScanLine(y - 1), rowBytes);
            continue;
        }
        const auto* from = reinterpret_cast<const Pixel*>(source.constScanLine(rows[static_cast<std::size_t>(y)]));
        int x = 0;
        while (x < target.width()) {
            // Runs of target pixels from one source pixel are filled at once.
            const int column = columns[static_cast<std::size_t>(x)];
            int end = x + 1;
            while (end < target.width() && columns[static_cast<std::size_t>(end)] == column)
                ++end;
            std::fill(line + x, line + end, from[column]);
            x = end;
        }
    }
}

} // namespace

QImage Barcode_Nearest_Resample(const QImage& picture, int width, int height)
{
    if (picture.isNull() || width <= 0 || height <= 0)
        return {};
    const QImage::Format format = picture.format();
    const bool table
        = format == QImage::Format_Indexed8 || format == QImage::Format_Mono || format == QImage::Format_MonoLSB;
    const QImage source = table ? picture.convertToFormat(QImage::Format_Indexed8)
                                : picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage target(width, height, source.format());
    if (source.isNull() || target.isNull())
        return {};
    if (table) {
        target.setColorTable(source.colorTable());
        stretchRows<std::uint8_t>(source, target);
    } else {
        stretchRows<QRgb>(source, target);
    }
    return target;
}
