// Re-sampling of 2-D pictures to the output resolution.
#include "barcode/Barcode_Gen.h"

#include "barcode/Barcode_Nearest_Resample.h"
#include "common/Common_Functions.h"

#include <cmath>
#include <exception>

BarcodePicture Barcode_Gen::Increase_DPI(const BarcodePicture& picture, double dpi)
{
    if (picture.isNull() || !(picture.size.width() > 0.0) || !(picture.size.height() > 0.0) || !(dpi > 0.0)) {
        Show_NSLog_Message(QStringLiteral("Invalid image"));
        return {};
    }
    try {
        const double w = picture.size.width();
        const double h = picture.size.height();
        const std::optional<int> countX = Barcode_Pixel_Count(static_cast<float>(dpi * w / 72.0));
        const std::optional<int> countY = Barcode_Pixel_Count(static_cast<float>(dpi * h / 72.0));
        if (!countX || !countY || !Barcode_Pixel_Area_Fits(*countX, *countY)) {
            barcode_too_large = true;
            Show_NSLog_Message(
                QStringLiteral("picture of %1 x %2 points at %3 dpi is too large").arg(w).arg(h).arg(dpi));
            return {};
        }
        const int pixelWidth = *countX;
        const int pixelHeight = *countY;
        QImage bitmap = Barcode_Nearest_Resample(picture.image, pixelWidth, pixelHeight);
        if (bitmap.isNull()) {
            Show_NSLog_Message(
                QStringLiteral("cannot make a picture of %1 x %2 pixels").arg(pixelWidth).arg(pixelHeight));
            return {};
        }
        const int dotsPerMeter = qRound(dpi / 0.0254);
        bitmap.setDotsPerMeterX(dotsPerMeter);
        bitmap.setDotsPerMeterY(dotsPerMeter);
        BarcodePicture result { bitmap, QSizeF(w, h), picture.modules.isNull() ? picture.image : picture.modules };
        Save_Barcode_gen_image(result, QStringLiteral("resize_high_dpi.bmp"));
        return result;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return {};
    }
}

void Barcode_Gen::Save_Barcode_gen_image(const BarcodePicture&, const QString&)
{
}
