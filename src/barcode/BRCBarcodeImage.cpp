#include "barcode/BRCBarcodeImage.h"

#include "barcode/BRCBarcodeOffscreenView.h"
#include "barcode/Barcode_Vector_Drawing.h"
#include "common/Common_Functions.h"

#include <QPainter>

#include <algorithm>
#include <exception>

BarcodePicture imageFromBarcode(const BRCBarcode& barcode, double dpi)
{
    try {
        BRCBarcodeOffscreenView view;
        view.initWithBarcode(barcode);
        return view.renderImage(dpi);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return {};
    }
}

BarcodePicture imageFromBarcodeImage(const BarcodePicture& image)
{
    if (image.isNull())
        return {};
    try {
        BRCBarcodeOffscreenView view;
        view.initWithBarcodeImage(image);
        const double dpi = std::max(image.scale() * 72.0, BRCBarcode_Image_DPI);
        return view.renderImage(dpi);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return {};
    }
}

namespace {

std::shared_ptr<const Barcode_Vector_Drawing> drawingOf(const BRCBarcodeOffscreenView& view)
{
    if (view.frame().isEmpty())
        return nullptr;
    try {
        return view.vectorDrawing();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return nullptr;
    }
}

} // namespace

std::shared_ptr<const Barcode_Vector_Drawing> drawingFromBarcode(const BRCBarcode& barcode)
{
    BRCBarcodeOffscreenView view;
    view.initWithBarcode(barcode);
    return drawingOf(view);
}

std::shared_ptr<const Barcode_Vector_Drawing> drawingFromBarcodeImage(const BarcodePicture& image)
{
    if (image.isNull())
        return nullptr;
    BRCBarcodeOffscreenView view;
    view.initWithBarcodeImage(image);
    return drawingOf(view);
}

QByteArray pdfFromBarcode(const BRCBarcode& barcode)
{
    BRCBarcodeOffscreenView view;
    view.initWithBarcode(barcode);
    return view.dataWithPDFInsideRect(view.bounds());
}

QImage screenImageOfDrawing(const Barcode_Vector_Drawing& drawing, double pixelsPerPoint, qreal ratio)
{
    const double scale = pixelsPerPoint * ratio;
    // A whisker below the product absorbs rounding, so a whole number of pixels is not rounded up.
    const std::optional<int> width = Barcode_Pixel_Count(drawing.size().width() * scale - 1e-4);
    const std::optional<int> height = Barcode_Pixel_Count(drawing.size().height() * scale - 1e-4);
    if (!(ratio > 0.0) || !width || !height || !Barcode_Pixel_Area_Fits(*width, *height))
        return {};
    QImage image(*width, *height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    // The last pixel row and column may reach past the drawing's size: they take its background too.
    image.fill(drawing.background);
    {
        // Drawn on the picture's own pixels, where the drawing puts its modules on whole pixels.
        QPainter painter(&image);
        painter.scale(scale, scale);
        drawing.draw(painter);
    }
    image.setDevicePixelRatio(ratio);
    return image;
}
