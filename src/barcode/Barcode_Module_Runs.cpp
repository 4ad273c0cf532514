#include "barcode/Barcode_Module_Runs.h"

#include <cstring>
#include <vector>

std::vector<QRectF> Barcode_Module_Runs(const QImage& modules, const QRectF& target)
{
    std::vector<QRectF> runs;
    if (modules.isNull() || target.isEmpty())
        return runs;
    const QImage grey = modules.convertToFormat(QImage::Format_Grayscale8);
    const int columns = grey.width();
    const int rows = grey.height();
    const double w = target.width() / columns;
    const double h = target.height() / rows;
    int top = 0;
    while (top < rows) {
        const uchar* line = grey.constScanLine(top);
        int end = top + 1;
        while (end < rows && std::memcmp(grey.constScanLine(end), line, static_cast<size_t>(columns)) == 0)
            ++end;
        const double y0 = target.top() + top * h;
        const double y1 = target.top() + end * h;
        int x = 0;
        while (x < columns) {
            if (line[x] >= 128) {
                ++x;
                continue;
            }
            const int first = x;
            while (x < columns && line[x] < 128)
                ++x;
            // Edges from the grid, not widths, so neighbouring runs meet without a gap or an overlap.
            const double x0 = target.left() + first * w;
            const double x1 = target.left() + x * w;
            runs.emplace_back(x0, y0, x1 - x0, y1 - y0);
        }
        top = end;
    }
    return runs;
}
