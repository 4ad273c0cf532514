// The PDF417 road of the barcode settings object: value to picture in image_2d.
#include "barcode/Barcode_Gen.h"

#include "barcode/PDF417_View.h"
#include "common/Common_Functions.h"

#include <exception>

void Barcode_Gen::Draw_PDF_417_Barcode(const QString& value)
{
    try {
        // A view of its own per picture: roads on several threads never share an encoder record.
        PDF417_View view(QSizeF(Pdf_widthText_2D.value, pdf_HeightStepper_2D.value), pdf_ec_lvl_Stepper.value);
        view.setResolution(USED_DPI_VALUE);
        const int state = view.drawWithText(value);
        image_2d = state == PDF417_View::PictureReady ? view.getImage() : BarcodePicture {};
        pdf_frame_too_small = state == PDF417_View::PictureReady && view.frameTooSmall();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}
