#include "barcode/BRCBarcodeImage.h"

#include "barcode/BRCBarcodeOffscreenView.h"
#include "common/Common_Functions.h"

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
