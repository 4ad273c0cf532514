#pragma once

#include "barcode/BarcodePicture.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class BRCBarcode;
class Barcode_Vector_Drawing;
class Barcode_Text_Pen;

// A run of bars on a picture's pixels: columns [x, x + width), rows [top, end).
struct BarRun {
    int x;
    int width;
    int top;
    int end;
};
class QPainter;

// Draws one barcode picture: a linear symbol with its value text, header and footer (barcode mode), or
// a 2-D symbol picture framed with header and footer (image mode, where the settings object answers
// for the barcode). Made for one conversion and dropped after it; draws into a QImage or PDF on the
// calling thread. Geometry is in points with the origin at the lower left, as the barcode model gives
// it; drawing maps it onto Qt's top-left origin.
class BRCBarcodeOffscreenView {
public:
    // Barcode mode: frame as wide as the widest of symbol, shown header and shown footer, as high as
    // the symbol. The barcode must outlive the view.
    void initWithBarcode(const BRCBarcode& barcode);
    // Image mode: frame of the settings object's framed width and height; keeps a copy of the picture.
    void initWithBarcodeImage(const BarcodePicture& image);

    void setBarcode_Image_2D(const BarcodePicture& image) { image_2d_ = image; }
    void setBarcode(const BRCBarcode* barcode) { barcode_ = barcode; }
    const BRCBarcode* barcode() const { return barcode_; }
    QRectF frame() const { return frame_; }
    QRectF bounds() const { return { 0.0, 0.0, frame_.width(), frame_.height() }; }

    // Draws the whole picture; the painter's unit is the point, y down, origin at the view's top left.
    void drawRect(QPainter& painter) const;

    // The picture at dpi dots per inch; null when the frame is empty, beyond the picture bounds or the
    // pixels cannot be had. Linear bars lie on whole pixels: the module width is rounded once (never
    // below one pixel) and the picture widened where the rounded bars and their quiet zones need it.
    BarcodePicture renderImage(double dpi) const;
    // The whole picture as rectangles and texts in points, to be drawn at each output's resolution.
    std::shared_ptr<const Barcode_Vector_Drawing> vectorDrawing() const;
    // One-page PDF of a part of the view (rectangle in the view's points, origin lower left); empty on
    // failure.
    QByteArray dataWithPDFInsideRect(const QRectF& rect) const;

private:
    // Bars on the pixel grid of a picture: module width and the left edge of the first module, pixels.
    struct BarGrid {
        int modulePixels = 0;
        int left = 0;
        QString modules; // the symbol's modules, '1' for a bar
    };

    // withBars off: only the texts, for a picture whose maker fills it and puts the bars on its pixels.
    void drawBarcode(QPainter& painter, bool withBars) const;
    void drawImage(QPainter& painter) const;
    // Image mode: where the 2-D picture goes, and the header and footer.
    QRectF imageTarget() const;
    void drawImageTexts(Barcode_Text_Pen& pen) const;
    // The header (under the frame's top margin) and the footer (above its bottom margin), where given.
    void drawHeaderAndFooter(Barcode_Text_Pen& pen, const std::optional<QString>& header, float headerHeight,
        const std::optional<QString>& footer) const;
    // Barcode mode: one rectangle per run of bars, in the view's points, y down.
    std::vector<QRectF> barRects() const;
    // Height in points from the view's bottom to the bars' common bottom line.
    float barBottomLine() const;
    // The grid for a picture at scale pixels a point; widens pixelWidth when the rounded bars need it.
    // Nothing when the module width is beyond the picture bounds.
    std::optional<BarGrid> barGrid(double scale, int* pixelWidth) const;
    // blank: the value of a pixel the picture was filled with.
    void drawBarsOnGrid(QImage& image, double scale, const BarGrid& grid, QRgb blank) const;
    // Points from the bottom line to the top of the last bar.
    float lastBarTop(const QString& modules) const;
    void drawTexts(Barcode_Text_Pen& pen, const QString& modules) const;
    // The colours of a linear picture, background first and bars second; nothing when a text colour
    // is not opaque (its edges are then blended by a painter).
    std::optional<QList<QRgb>> linearColourTable() const;
    // The linear picture: background, texts and bars on the grid; null when memory runs out.
    QImage linearPicture(const QSize& pixels, double scale, double shift, const BarGrid& grid) const;
    // Texts (barcode mode) or the whole view (image mode) painted onto a 32-bit picture at scale pixels
    // a point, moved right by shift pixels.
    void paintTexts(QImage& image, double scale, double shift) const;

    const BRCBarcode* barcode_ = nullptr;
    bool fromImageOrBarcode_ = false; // true: image mode
    BarcodePicture image_2d_;
    QRectF frame_;
};
