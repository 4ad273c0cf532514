#pragma once

#include <QSizeF>

#include <algorithm>
#include <cmath>

class QPainter;

// A barcode as drawing operations in points rather than as pixels: drawn into each output by that output's
// painter, its bars land on the output's own pixels, and its texts stay texts (and print as text).
class TSLBarcode_Drawing {
public:
    virtual ~TSLBarcode_Drawing() = default;
    // Points; empty for an item whose value has no symbol, which then shows nothing.
    virtual QSizeF size() const = 0;
    // Draws from (0, 0) over size() in the painter's units, taken as points.
    virtual void draw(QPainter& painter) const = 0;
    // Width of the symbol's narrowest module in points; 0 when the drawing has no modules.
    virtual double moduleWidth() const { return 0.0; }
    // Height of one module of a symbol laid out in rows of modules, points; 0 where bars are free in length.
    virtual double moduleHeight() const { return 0.0; }
    // Whether it holds text laid out with the fonts of the thread that made it: such a drawing is drawn only
    // while that thread lives, and not handed from a thread that ends to others.
    virtual bool holdsTextLayouts() const { return false; }
    // About the memory it holds, in bytes.
    virtual qint64 heldBytes() const { return qint64(sizeof(*this)); }
    // The fewest whole pixels a module needs for barcode readers to read the symbol.
    virtual int readableModulePixels() const { return 1; }
    // Whole pixels a module of `pixels` is drawn with on a picture: as many as fit, at least one.
    static int wholeModulePixels(double pixels) { return std::max(1, static_cast<int>(std::floor(pixels + 1e-6))); }
};
