#pragma once

#include "model/TSLBarcode_Drawing.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <memory>
#include <mutex>
#include <vector>

class QTextLayout;

// A finished barcode as filled rectangles and text runs in points, y down from the top left: what the
// barcode view draws, kept to be drawn into each output at that output's resolution.
class Barcode_Vector_Drawing : public TSLBarcode_Drawing {
public:
    struct Text {
        QString text;
        QFont font;
        QColor color;
        double kern = 0.0; // points after every character
        QPointF baseline; // left end of the baseline
        // Laid out once, when the drawing is made: every output draws from it, at its own resolution
        // (the layout's font is unhinted, so one layout serves them all).
        std::shared_ptr<const QTextLayout> layout;
    };
    // Keeps a text, laid out, to be drawn with the rectangles.
    void addText(const QString& text, const QFont& font, const QColor& color, double kern, const QPointF& baseline);

    QSizeF size() const override { return size_; }
    void draw(QPainter& painter) const override;
    double moduleWidth() const override { return module.width(); }
    double moduleHeight() const override { return module.height(); }
    int readableModulePixels() const override { return readablePixels; }
    bool holdsTextLayouts() const override { return !texts.empty(); }
    qint64 heldBytes() const override
    {
        return qint64(sizeof(*this) + rects.capacity() * sizeof(QRectF) + texts.capacity() * sizeof(Text));
    }

    QSizeF size_;
    QColor background = Qt::white; // over the whole size
    QColor ink = Qt::black; // of the rectangles
    std::vector<QRectF> rects;
    std::vector<Text> texts;
    // The module grid the rectangles lie on: its extent and one module's size in points. A module height
    // of 0 leaves the rectangles' lengths free (linear bars).
    QRectF symbol;
    QSizeF module;
    int readablePixels = 1; // whole pixels a module needs to be read

private:
    // Outputs on several threads may draw one drawing; a layout is drawn by one at a time.
    mutable std::mutex textLock_;
    // The rectangles with every module the same whole number of the picture's pixels, the symbol centred
    // where it would fall; false (nothing drawn) where the painter does not draw on a picture's pixels.
    bool drawOnPixels(QPainter& painter) const;
};
