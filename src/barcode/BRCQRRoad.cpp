// The QR Code road of the barcode settings object: value to picture in image_2d.
#include "barcode/Barcode_Gen.h"

#include "barcode/QR_Picture_Encoder.h"
#include "common/Common_Functions.h"

#include <exception>

void Barcode_Gen::Draw_QR_Barcode(const QString& value)
{
    try {
        const auto matrix = QR_Picture_Encoder::encodeWithECLevel(QR_EC_Level_Val, QR_Version_Val, value);
        if (!matrix)
            return;
        image_2d = QR_Picture_Encoder::renderDataMatrix(*matrix, HeightText_2D.value, USED_DPI_VALUE);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}
