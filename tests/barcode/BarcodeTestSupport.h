#pragma once

// Shared set-up of the barcode tests: a clean settings object and symbols prepared the way the
// generator prepares them before they are drawn.
#include "barcode/BRCBarcode.h"
#include "barcode/BarcodePicture.h"
#include "barcode/Barcode_Gen.h"

#include <QColor>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <random>

#include <gtest/gtest.h>

namespace barcodetest {

// Puts the one settings object back to its start values, with working margins in points.
inline Barcode_Gen& freshSettings(float margin = 2.0f)
{
    Barcode_Gen& settings = *Barcode_Gen::defaultInstance();
    settings = Barcode_Gen();
    settings.value_margin = margin;
    settings.header_margin = margin;
    settings.footer_margin = margin;
    settings.TB_margin = margin;
    settings.LR_margin = margin;
    return settings;
}

struct Layout {
    QString header = QStringLiteral("HEADER");
    QString footer = QStringLiteral("FOOTER");
    bool caption = true;
    bool showHeader = true;
    bool showFooter = true;
    float barWidth = 1.44f; // 20 mils
    float barHeight = 40.0f; // points
};

// The generator's order: texts, flags, bar width, font sizes, height (bars plus shown texts and their
// margins plus twice the top and bottom margin), width. The symbol's own width is kept; the picture is
// as wide as the symbol or its widest shown text.
inline void prepare(BRCBarcode& barcode, const Layout& layout = {})
{
    const Barcode_Gen& settings = Barcode_Settings();
    barcode.setHeader(layout.header);
    barcode.setFooter(layout.footer);
    barcode.setPrintsCaption(layout.caption);
    barcode.setPrintsHeader(layout.showHeader);
    barcode.setPrintsFooter(layout.showFooter);
    barcode.setBarWidth(layout.barWidth);
    barcode.setCaptionFontSize(static_cast<float>(settings.value_font.pointSizeF()));
    barcode.setHeaderFontSize(static_cast<float>(settings.header_font.pointSizeF()));
    barcode.setFooterFontSize(static_cast<float>(settings.footer_font.pointSizeF()));
    float height = layout.barHeight;
    if (layout.caption)
        height += barcode.captionHeight() * 72.0f + settings.value_margin;
    if (layout.showHeader)
        height += barcode.headerHeight() * 72.0f + settings.header_margin;
    if (layout.showFooter)
        height += barcode.footerHeight() * 72.0f + settings.footer_margin;
    barcode.setHeight(height + 2.0f * settings.TB_margin);
    barcode.calculateWidth();
}

// Module width in points for value i of a read-back sweep at the linear pictures' 600 dpi: 1, 2 and 3
// pixels in turn, and every fourth a random fraction between 1 and 4 pixels.
template <typename Random> float sweepModulePoints(Random& random, int i)
{
    constexpr float kPointsPerPixel = 72.0f / 600.0f;
    if (i % 4 < 3)
        return static_cast<float>(i % 4 + 1) * kPointsPerPixel;
    return std::uniform_real_distribution<float>(1.0f, 4.0f)(random) * kPointsPerPixel;
}

// Pixels a module is drawn with at dpi: rounded once, never below one.
inline int drawnModulePixels(float barWidth, double dpi = 600.0)
{
    return std::max(1, static_cast<int>(std::lround(barWidth * dpi / 72.0)));
}

// The framed width the generator gives a linear symbol: its widest part plus both side margins and 15
// points.
inline void frameLikeTheGenerator(BRCBarcode& barcode)
{
    const Barcode_Gen& settings = Barcode_Settings();
    float widest = barcode.width();
    if (barcode.printsHeader())
        widest = std::max(widest, barcode.headerWidth());
    if (barcode.printsFooter())
        widest = std::max(widest, barcode.footerWidth());
    barcode.setWidth(widest + 2.0f * settings.LR_margin + (settings.LR_margin > 0.0f ? 15.0f : 0.0f));
}

inline bool isDark(QRgb pixel)
{
    return qGray(pixel) < 96 && qAlpha(pixel) > 128;
}

// Pixel of a picture at a point given in the picture's points, origin at the lower left.
inline QRgb pixelAtPoint(const BarcodePicture& picture, double x, double y)
{
    const double scale = picture.scale();
    const int px = qBound(0, static_cast<int>(x * scale), picture.image.width() - 1);
    const int py = qBound(0, static_cast<int>((picture.size.height() - y) * scale), picture.image.height() - 1);
    return picture.image.pixel(px, py);
}

// Extent of the dark pixels in an area, in points with the origin at the lower left.
struct Ink {
    double left = 0.0;
    double right = 0.0;
    double low = 0.0; // lowest dark point
    double high = 0.0; // highest dark point
    bool empty = true;
    double width() const { return right - left; }
    double centerX() const { return (left + right) / 2.0; }
    bool operator==(const Ink&) const = default;
};

// Dark pixels between heights y0 and y1 and, when given, between x0 and x1 (points).
inline Ink inkIn(const BarcodePicture& picture, double y0, double y1, double x0 = 0.0, double x1 = -1.0)
{
    if (x1 < 0.0)
        x1 = picture.size.width();
    const double scale = picture.scale();
    const QImage& image = picture.image;
    const double h = picture.size.height();
    const int rowTop = qBound(0, static_cast<int>(std::lround((h - y1) * scale)), image.height());
    const int rowBottom = qBound(0, static_cast<int>(std::lround((h - y0) * scale)), image.height());
    const int colLeft = qBound(0, static_cast<int>(std::lround(x0 * scale)), image.width());
    const int colRight = qBound(0, static_cast<int>(std::lround(x1 * scale)), image.width());
    int left = colRight, right = -1, top = rowBottom, bottom = -1;
    for (int row = rowTop; row < rowBottom; ++row) {
        for (int col = colLeft; col < colRight; ++col) {
            if (isDark(image.pixel(col, row))) {
                left = std::min(left, col);
                right = std::max(right, col);
                top = std::min(top, row);
                bottom = std::max(bottom, row);
            }
        }
    }
    Ink ink;
    if (right < 0)
        return ink;
    ink.empty = false;
    ink.left = left / scale;
    ink.right = (right + 1) / scale;
    ink.low = h - (bottom + 1) / scale;
    ink.high = h - top / scale;
    return ink;
}

} // namespace barcodetest
