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

// Target pixels taken from one source column: columns [first, end) show source column `column`.
struct ColumnRun {
    int column;
    int first;
    int end;
};

std::vector<ColumnRun> columnRuns(int sourceWidth, int width)
{
    const std::vector<int> columns = nearest(sourceWidth, width);
    std::vector<ColumnRun> runs;
    for (int x = 0; x < width; ++x) {
        const int column = columns[static_cast<std::size_t>(x)];
        if (runs.empty() || runs.back().column != column)
            runs.push_back({ column, x, x + 1 });
        else
            runs.back().end = x + 1;
    }
    return runs;
}

template <typename Pixel> void stretchRows(const QImage& source, QImage& target)
{
    const int height = target.height();
    const std::vector<ColumnRun> runs = columnRuns(source.width(), target.width());
    const std::vector<int> rows = nearest(source.height(), height);
    const auto rowBytes = static_cast<std::size_t>(target.width()) * sizeof(Pixel);
    uchar* const bits = target.bits();
    const qsizetype bytesPerLine = target.bytesPerLine();
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<Pixel*>(bits + y * bytesPerLine);
        // Rows from the same source row are copies of the first of them.
        if (y > 0 && rows[static_cast<std::size_t>(y)] == rows[static_cast<std::size_t>(y - 1)]) {
            std::memcpy(line, bits + (y - 1) * bytesPerLine, rowBytes);
            continue;
        }
        const auto* from = reinterpret_cast<const Pixel*>(source.constScanLine(rows[static_cast<std::size_t>(y)]));
        for (const ColumnRun& run : runs)
            std::fill(line + run.first, line + run.end, from[run.column]);
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
