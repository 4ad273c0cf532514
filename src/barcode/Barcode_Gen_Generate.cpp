// The generator half of the settings object: a symbology title, a value, a header and a footer become a
// sized linear symbol or a 2-D picture, shown in the preview when asked.
#include "barcode/Barcode_Gen.h"

#include "barcode/BRCBarcode.h"
#include "barcode/BRCBarcodeImage.h"
#include "barcode/Barcode_JapanPost_Picture.h"
#include "barcode/Barcode_Linear_Symbols.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"

#include <exception>
#include <utility>

namespace {

// The titles the 2-D road accepts; only three of them have an encoder.
bool accepted2D(const QString& title)
{
    static const char* const names[]
        = { "QR Code", "CODE_128", "AZTEC", "DATA_MATRIX", "DataMatrix", "MAXICODE", "ITF", "PDF417", "CODABAR" };
    for (const char* name : names) {
        if (title == QLatin1String(name))
            return true;
    }
    return false;
}

bool isAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 127)
            return false;
    }
    return true;
}

} // namespace

std::shared_ptr<BRCBarcode> Barcode_Gen::Generate_Barcode_Variable(
    char preview, const QString& value, const QString& header, const QString& footer)
{
    const bool previewing = preview == 1;
    // A load in progress puts values into the controls one by one; nothing is built from half of them.
    // Only the dialog's own road asks: the batch road never runs inside a load.
    if (previewing && Not_Draw_Only_Prop_Change)
        return testBarcode;
    if (value.isEmpty())
        return nullptr;
    if (previewing) {
        barcodeImage = {};
        barcodeDrawing = nullptr;
    }
    barcode_error_label_shown = false;
    barcode_too_large = false;
    pdf_frame_too_small = false;
    const QString title = barcodeTypePopup.text();
    if (liner_or_2D_font == 0)
        return generateLinear(previewing, title, value, header, footer);
    generate2D(previewing, title, value, header, footer);
    return nullptr;
}

std::shared_ptr<BRCBarcode> Barcode_Gen::generateLinear(
    bool previewing, const QString& title, const QString& value, const QString& header, const QString& footer)
{
    const bool caption = Get_Print_State();
    std::shared_ptr<BRCBarcode> barcode;
    try {
        barcode = Barcode_Linear_Symbol(title);
        if (!barcode || !barcode->initWithContent(value, caption) || !barcode->isContentValid()) {
            if (previewing)
                Set_Blank_Image();
            return nullptr;
        }
        barcode->setHeader(header);
        barcode->setFooter(footer);
        barcode->setPrintsCaption(caption);
        barcode->setPrintsHeader(hideHeaderCheckbox.state != 1);
        barcode->setPrintsFooter(hideFooterCheckbox.state != 1);
        if (widthText.enabled)
            barcode->setBarWidth(static_cast<float>(widthText.value / 1000.0f * 72.0));
        barcode->setCaptionFontSize(static_cast<float>(value_font.pointSizeF()));
        barcode->setHeaderFontSize(static_cast<float>(header_font.pointSizeF()));
        barcode->setFooterFontSize(static_cast<float>(footer_font.pointSizeF()));
        // A Japan Post symbol's bars are as long as its size makes them, so its picture is always sized
        // around them, whatever the bar height field says.
        if (HeightText.enabled || dynamic_cast<Barcode_JapanPost_Picture*>(barcode.get()))
            Set_Barcode_Height(*barcode);
        barcode->calculateWidth();
        barcode->setWidth(Set_Linear_Barcode_Width(*barcode));
        if (previewing)
            Get_Image_From_Barcode(*barcode);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
    return barcode;
}

void Barcode_Gen::generate2D(
    bool previewing, const QString& title, const QString& value, const QString& header, const QString& footer)
{
    try {
        if (!accepted2D(title)) {
            if (previewing)
                Set_Blank_Image();
            return;
        }
        setContent(value);
        setHeader(header);
        setFooter(footer);
        setPrintsCaption(Get_Print_State());
        setPrintsHeader(hideHeaderCheckbox.state != 1);
        setPrintsFooter(hideFooterCheckbox.state != 1);
        setCaptionFontSize(static_cast<float>(value_font.pointSizeF()));
        setHeaderFontSize(static_cast<float>(header_font.pointSizeF()));
        setFooterFontSize(static_cast<float>(footer_font.pointSizeF()));
        Barcode_module_size = 1;
        image_2d = {};
        if (title == QLatin1String("QR Code")) {
            Draw_QR_Barcode(value);
        } else if (title == QLatin1String("PDF417")) {
            Barcode_module_size = pdf_HeightStepper_2D.value;
            Draw_PDF_417_Barcode(value);
        } else if (title == QLatin1String("DataMatrix")) {
            Barcode_module_size = dm_moduleStepper_2D.value;
            Draw_DataMatrix_Barcode(value);
        }
        if (previewing) {
            if (image_2d.isNull())
                Set_Blank_Image();
            else if (liner_or_2D_font == 1)
                Get_Image_From_barcode_image(image_2d);
        }
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

QString Barcode_Gen::currentData() const
{
    return liner_or_2D_font == 1 ? dataText_2D : dataText;
}

bool Barcode_Gen::Check_And_Validat_Barcode(bool showMessage, bool checkImage)
{
    barcode_error_label_shown = false;
    const QString text = currentData();
    // The 2-D roads carry any text (as UTF-8); the linear symbologies only ASCII.
    bool valid = !text.isEmpty() && (liner_or_2D_font == 1 || isAscii(text));
    if (valid && checkImage)
        valid = !(testBarcode && !testBarcode->isContentValid()) && !barcodeImage.isNull();
    if (!valid) {
        Set_Blank_Image();
        if (showMessage)
            Show_MessageBox(QStringLiteral("Invalid barcode value"));
    }
    return valid;
}

bool Barcode_Gen::Draws_Value(const QString& value)
{
    if (value.isEmpty() || (liner_or_2D_font != 1 && !isAscii(value)))
        return false;
    // The preview's 2-D picture stays for framing it again.
    const BarcodePicture shown = image_2d;
    const bool drawn = Get_Drawing_From_Val(value, HeaderText, FooterText) != nullptr;
    image_2d = shown;
    return drawn;
}

void Barcode_Gen::goButtonActionPerformed()
{
    const QString text = currentData();
    if (Check_And_Validat_Barcode(false, false))
        testBarcode = Generate_Barcode_Variable(1, text, HeaderText, FooterText);
}

void Barcode_Gen::Get_Image_From_Barcode(BRCBarcode& barcode)
{
    if (!Check_And_Validat_Barcode(false, false))
        return;
    Set_Barcode_On_Panel(imageFromBarcode(barcode), drawingFromBarcode(barcode));
}

void Barcode_Gen::Get_Image_From_barcode_image(const BarcodePicture& picture)
{
    if (image_2d.isNull() || picture.isNull()) {
        Set_Blank_Image();
        return;
    }
    try {
        Set_2d_Barcode_Height(picture);
        Set_2d_Barcode_Width(picture);
        Set_Barcode_On_Panel(imageFromBarcodeImage(picture), drawingFromBarcodeImage(picture));
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Barcode_Gen::Get_2d_barcode_from_image()
{
    if (image_2d.isNull()) {
        Set_Blank_Image();
        return;
    }
    if (liner_or_2D_font == 1) {
        const BarcodePicture picture = image_2d;
        Get_Image_From_barcode_image(picture);
    }
}

void Barcode_Gen::Set_Barcode_On_Panel(
    const BarcodePicture& picture, std::shared_ptr<const Barcode_Vector_Drawing> drawing)
{
    barcodeImage = picture;
    barcodeDrawing = picture.isNull() ? nullptr : std::move(drawing);
    barcode_error_label_shown = picture.isNull();
}
