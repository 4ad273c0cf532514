#pragma once

#include "barcode/BarcodePicture.h"

#include <QByteArray>
#include <QImage>

#include <memory>

class BRCBarcode;
class Barcode_Vector_Drawing;

// Conversions from a barcode, or from a 2-D symbol picture, to a finished barcode picture. They run on
// the calling thread and read the settings object as it is at that moment.

// Resolution of linear barcode pictures: a 20-mil module is then a whole 12 pixels.
constexpr double BRCBarcode_Image_DPI = 600.0;

// The linear symbol with its value text, header and footer; null when it has no size.
BarcodePicture imageFromBarcode(const BRCBarcode& barcode, double dpi = BRCBarcode_Image_DPI);
// The 2-D picture framed with header and footer at the settings object's framed size, at the picture's
// own resolution (so that its modules keep their pixels) or the linear pictures' when that is finer;
// null for a null picture.
BarcodePicture imageFromBarcodeImage(const BarcodePicture& image);
// The same two as rectangles and texts in points; none when there is nothing to draw.
std::shared_ptr<const Barcode_Vector_Drawing> drawingFromBarcode(const BRCBarcode& barcode);
std::shared_ptr<const Barcode_Vector_Drawing> drawingFromBarcodeImage(const BarcodePicture& image);
// A drawing as a screen shows it: at `pixelsPerPoint` logical pixels a point on a screen of `ratio` device
// pixels a logical pixel, every module the same whole number of device pixels, marked with the ratio.
// Null when the drawing has no size or its picture would be beyond the bounds.
QImage screenImageOfDrawing(const Barcode_Vector_Drawing& drawing, double pixelsPerPoint, qreal ratio);
// The linear symbol's picture as a one-page PDF.
QByteArray pdfFromBarcode(const BRCBarcode& barcode);
