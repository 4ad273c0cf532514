#pragma once

#include "model/Card_Property.h"
#include "model/TSLGraphic.h"

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>

#include <optional>

class QPainter;
struct TSLError;

// What a rendering needs of a card side besides its items, taken once so that the rendering reads no
// shared state: the caller may take it (and a copy of the items) on the GUI thread and render elsewhere.
struct TSLRenderingSide {
    Card_Property property; // the record of the side, painted as the card base
    int frontOrBack = 0; // which side the record is: 0 front, 1 back
    int cardShape = 0; // outline code: 1 rounded rectangle, 2 oval, any other value rectangle
    QRectF canvasBounds; // the front canvas's bounds: frame of the PDF and of the picture

    // The side named by Card_Front_Or_Back as the editor holds it now, with Card_Shape and the front
    // canvas's bounds (a zero rectangle without an editor). GUI thread only.
    static TSLRenderingSide currentSide();
};

// Draws card items over the card base without a screen, so that a side becomes PDF, TIFF or a picture
// (export, printing, mail, previews, the pasteboard). It holds its own copy of the list (the items are
// shared) and of the side, and touches nothing else, so it may run on any thread as long as nobody
// changes those items meanwhile. Coordinates are the canvas's: points, origin top-left, y down.
class TSLRenderingView {
public:
    TSLRenderingView(const QRectF& frame, const TSLGraphicList& graphics, const TSLRenderingSide& side,
        const QString& printJobTitle = QString());

    QRectF frame() const { return frame_; }
    QRectF bounds() const { return QRectF(QPointF(0, 0), frame_.size()); }
    QString printJobTitle() const { return printJobTitle_; }
    // The resolution a background photo and the picture items are read again at from their files for this
    // output, in pixels per point of the canvas; 0 (the default) takes the drawing's own device pixels per point.
    void setOutputPixelsPerPoint(double pixelsPerPoint) { outputPixelsPerPoint_ = pixelsPerPoint; }
    const TSLGraphicList& graphics() const { return graphics_; }

    // The card base, then every item whose print_object is 0 from the last index to the first; no
    // handles, grid or marquee. A drawing failure is shown to the user and ends the drawing. The
    // painter is in view coordinates; devicePixelsPerPoint is its scale to device pixels.
    void drawRect(QPainter& painter, const QRectF& rect, double devicePixelsPerPoint = 1.0) const;

    // One PDF page of the rectangle's size in points, no margins. Empty when the rectangle is empty or
    // the PDF cannot be made.
    QByteArray dataWithPDFInsideRect(const QRectF& rect) const;

    // PDF of the items over the card base, covering the side's canvas bounds.
    static QByteArray pdfDataWithGraphics_data(const TSLGraphicList& graphics, const TSLRenderingSide& side);

    // TIFF of the items alone (no card base, every item whatever its print flag), covering the union of
    // their drawing areas at one pixel per point, transparent elsewhere. Nothing, with error code 3,
    // when that union is empty (an empty list included).
    static std::optional<QByteArray> tiffDataWithGraphics(const TSLGraphicList& graphics, TSLError* error);
    // The picture the TIFF holds; null (with error code 3 for an empty union) when there is none.
    static QImage imageWithGraphics(const TSLGraphicList& graphics, TSLError* error);
    // A picture encoded in an image format Qt writes ("tiff", "png"); nothing for a null picture.
    static std::optional<QByteArray> pictureData(const QImage& image, const char* format);

    // The picture of a card side over the side's canvas bounds: the card base and the items whose
    // print_object is 0; transparent where nothing is drawn. For export, mail and previews (print_box
    // false) one pixel per point. For printing (print_box true) printPixelsPerPoint pixels per point,
    // with the device pixel ratio set so that the picture still measures the canvas in points. A null
    // picture when it cannot be made.
    static QImage image_From_Card_Graphics(
        const TSLGraphicList& graphics, bool print_box, const TSLRenderingSide& side);
    // The same picture at a chosen resolution (an export at 300 dots per inch: 300 / 72 pixels per point).
    static QImage image_From_Card_Graphics(
        const TSLGraphicList& graphics, const TSLRenderingSide& side, double pixelsPerPoint);
    // The same picture drawn into `image`, whose pixels are used again when it already has the size and
    // format (a batch draws thousands of cards into one picture per worker instead of new memory each
    // time); its device pixel ratio is left at 1. False, the picture untouched, when it cannot be made.
    // `base`, when given and of the picture's size, is the side's cardBase at this resolution: its pixels
    // are copied in instead of the base being painted again.
    static bool draw_Card_Graphics_Into(QImage& image, const TSLGraphicList& graphics, const TSLRenderingSide& side,
        double pixelsPerPoint, const QImage* base = nullptr);
    // The side's card base alone at a resolution, as draw_Card_Graphics_Into paints it under the items: for
    // many cards of one side, whose background picture, gradient or border is then drawn once. Null when
    // the base is one colour, which is filled faster than copied, or cannot be made.
    static QImage cardBase(const TSLRenderingSide& side, double pixelsPerPoint);
    // Every pixel of the side's picture is opaque: a rectangular card covers it whole. Such a picture may
    // be told so (Format_RGB32, the same pixels), which spares its writer a look for transparency; drawn
    // into again it is taken back as it was.
    static bool coversWholePicture(const TSLRenderingSide& side);

    static constexpr double printPixelsPerPoint = 300.0 / 72.0;

private:
    QRectF frame_;
    TSLGraphicList graphics_;
    TSLRenderingSide side_;
    QString printJobTitle_;
    bool groundPainted_ = false; // the card's rectangle is filled with its ground colour already
    bool basePainted_ = false; // the picture holds the card base already
    double outputPixelsPerPoint_ = 0.0;

    static bool drawInto(QImage& image, const TSLGraphicList& graphics, const TSLRenderingSide& side,
        double pixelsPerPoint, const QImage* base, bool coverEdges);
    void drawContents(QPainter& painter, const QRectF& rect, double devicePixelsPerPoint) const;
};
