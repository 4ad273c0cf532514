// The DataMatrix road of the barcode settings object: value to picture in image_2d.
#include "barcode/Barcode_Gen.h"

#include "barcode/BRCDataMatrix.h"
#include "common/Common_Functions.h"

#include <exception>

void Barcode_Gen::Draw_DataMatrix_Barcode(const QString& value)
{
    try {
        int W = 0;
        int H = 0;
        BRCDataMatrix::sizeFromFormat(dm_format_ComboBox.text(), &W, &H);
        // The whole UTF-8 form is encoded, one encodation letter per byte.
        const QByteArray bytes = value.toUtf8();
        const QByteArray encoding
            = BRCDataMatrix::encodingString(dm_encoding_ComboBox.text(), static_cast<int>(bytes.size()));
        const auto symbol = BRCDataMatrix::encode(bytes, W, H, encoding);
        if (!symbol) {
            Set_Blank_Image();
            return;
        }
        image_2d = BRCDataMatrix::makePicture(*symbol, Barcode_module_size, USED_DPI_VALUE);
        image_2d.readableModulePixels = DataMatrix_Readable_Pixels;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}
