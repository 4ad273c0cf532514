// The settings a barcode item keeps, loaded into the settings object and stored back, and the batch
// road: one picture per value with an item's settings, made without any window.
#include "barcode/Barcode_Gen.h"

#include "barcode/BRC2DResolution.h"
#include "barcode/BRCBarcode.h"
#include "barcode/BRCBarcodeImage.h"
#include "barcode/Barcode_Entries.h"
#include "barcode/Barcode_Vector_Drawing.h"
#include "model/TSLGraphic.h"

#include <algorithm>
#include <exception>

namespace {

// An item without a font or colour of its own keeps the settings' current one.
void takeFont(const std::optional<QFont>& from, QFont& to)
{
    if (from)
        to = *from;
}

void takeColour(const QColor& from, QColor& to)
{
    if (from.isValid())
        to = from;
}

} // namespace

int Barcode_Gen::dpiOfChoice() const
{
    const QString entry = DPI_ComboBox.text();
    if (entry == QLatin1String("Custom"))
        return dpi_Stepper;
    if (entry == QLatin1String("Auto") || entry.isEmpty())
        return 600;
    return entry.toInt();
}

void Barcode_Gen::Set_Barcode_Prop_To_Control(const TSLGraphic& item)
{
    liner_or_2D_font = item.linear_or_2d;
    barcodeTypePopup.select(item.barcode_font_index);
    dataText = item.linear_font_val;
    dataText_2D = item.two_d_font_val;
    HeaderText = item.header_val;
    FooterText = item.footer_val;
    hideHeaderCheckbox.state = item.show_hide_hdr;
    hideFooterCheckbox.state = item.show_hide_ftr;
    captionCheckbox.state = item.show_hide_val;
    showinTopCheckbox.state = item.show_val_on_top;
    align_hdr_combo.select(item.align_hdr_index);
    align_ftr_combo.select(item.align_ftr_index);
    Get_Print_State();
    HeightText.value = item.linear_height_val;
    widthText.value = item.linear_width_val;
    HeightText_2D.value = item.qr_size_val;
    qr_version_ComboBox.select(item.qr_version_index);
    qr_ec_lvl_ComboBox.select(item.qr_ec_index);
    pdf_HeightStepper_2D.value = item.pdf_hgt_val;
    Pdf_widthText_2D.value = item.pdf_wdt_val;
    pdf_ec_lvl_Stepper.value = item.pdf_ec_val;
    dm_moduleStepper_2D.value = item.dm_module_val;
    dm_format_ComboBox.select(item.dm_format_index);
    dm_encoding_ComboBox.select(item.dm_encoding_index);
    hdr_mar_Text.value = item.hdr_margin_val;
    ftr_mar_Text.value = item.ftr_margin_val;
    val_mar_Text.value = item.val_margin_val;
    TB_mar_Text.value = item.TB_marging_val;
    LR_mar_Text.value = item.LR_margin_val;
    takeFont(item.value_font_val, value_font);
    takeFont(item.header_font_val, header_font);
    takeFont(item.footer_font_val, footer_font);
    takeColour(item.barcode_hdr_clr_val, bar_hdr_clr);
    takeColour(item.barcode_ftr_clr_val, bar_ftr_clr);
    takeColour(item.barcode_val_clr_val, bar_val_clr);
    takeColour(item.barcode_back_clr_val, bar_back_clr);
    takeColour(item.barcode_clr_val, barcode_clr);
    DPI_ComboBox.select(item.dpi_val_index);
    // The custom resolution comes back too, so that a reopened design makes the pictures it made before.
    bool isNumber = false;
    const int custom = item.dpi_custom_val.trimmed().toInt(&isNumber);
    if (isNumber && custom > 0) {
        dpi_Stepper = BRC2D_Clamped_DPI(custom);
        dpi_Text = QString::number(dpi_Stepper);
    }
    Measument_Unit_Is = 1;
    last_unit_val = 1;

    // What the choices' own reactions do when they are selected: the shared values of the 2-D roads.
    QR_Version_Val = std::max(0, qr_version_ComboBox.index());
    QR_EC_Level_Val = std::max(0, qr_ec_lvl_ComboBox.index());
    Check_And_Set_QR_size_Acc_Version(QR_Version_Val);
    USED_DPI_VALUE = BRC2D_Clamped_DPI(dpiOfChoice());
    _setLabels();
}

void Barcode_Gen::Store_Barcode_Prop_In_Item(TSLGraphic& item) const
{
    item.linear_or_2d = liner_or_2D_font;
    item.barcode_font_index = barcodeTypePopup.index();
    item.linear_font_val = dataText;
    item.two_d_font_val = dataText_2D;
    item.header_val = HeaderText;
    item.footer_val = FooterText;
    item.show_hide_hdr = hideHeaderCheckbox.state;
    item.show_hide_ftr = hideFooterCheckbox.state;
    item.show_hide_val = captionCheckbox.state;
    item.show_val_on_top = showinTopCheckbox.state;
    item.align_hdr_index = align_hdr_combo.index();
    item.align_ftr_index = align_ftr_combo.index();
    item.linear_height_val = HeightText.value;
    item.linear_width_val = widthText.value;
    item.qr_size_val = HeightText_2D.value;
    item.qr_version_index = qr_version_ComboBox.index();
    item.qr_ec_index = qr_ec_lvl_ComboBox.index();
    item.pdf_hgt_val = pdf_HeightStepper_2D.value;
    item.pdf_wdt_val = Pdf_widthText_2D.value;
    item.pdf_ec_val = pdf_ec_lvl_Stepper.value;
    item.dm_module_val = dm_moduleStepper_2D.value;
    item.dm_format_index = dm_format_ComboBox.index();
    item.dm_encoding_index = dm_encoding_ComboBox.index();
    item.hdr_margin_val = hdr_mar_Text.value;
    item.ftr_margin_val = ftr_mar_Text.value;
    item.val_margin_val = val_mar_Text.value;
    item.TB_marging_val = TB_mar_Text.value;
    item.LR_margin_val = LR_mar_Text.value;
    item.value_font_val = value_font;
    item.header_font_val = header_font;
    item.footer_font_val = footer_font;
    item.barcode_hdr_clr_val = bar_hdr_clr;
    item.barcode_ftr_clr_val = bar_ftr_clr;
    item.barcode_val_clr_val = bar_val_clr;
    item.barcode_back_clr_val = bar_back_clr;
    item.barcode_clr_val = barcode_clr;
    item.dpi_val_index = DPI_ComboBox.index();
    item.dpi_custom_val = dpi_Text;
}

template <typename Make2D, typename MakeLinear, typename Result>
Result Barcode_Gen::makeForValue(const QString& value, const QString& header, const QString& footer,
    const Make2D& make2D, const MakeLinear& makeLinear, Result none)
{
    try {
        // An empty value has no symbol: neither the last record's symbol nor its 2-D picture stands in.
        testBarcode_EXP.reset();
        image_2d = {};
        if (value.isEmpty())
            return none;
        testBarcode_EXP = Generate_Barcode_Variable(0, value, header, footer);
        if (liner_or_2D_font != 0) {
            if (image_2d.isNull())
                return none;
            // Framed at the size worked out for this picture, not the last one previewed.
            const BarcodePicture picture = image_2d;
            Set_2d_Barcode_Height(picture);
            Set_2d_Barcode_Width(picture);
            return make2D(picture);
        }
        return testBarcode_EXP ? makeLinear(*testBarcode_EXP) : none;
    } catch (const std::exception&) {
        return none;
    }
}

BarcodePicture Barcode_Gen::Get_Image_From_Val(const QString& value, const QString& header, const QString& footer)
{
    return makeForValue(
        value, header, footer, [](const BarcodePicture& picture) { return imageFromBarcodeImage(picture); },
        [](const BRCBarcode& barcode) { return imageFromBarcode(barcode); }, BarcodePicture {});
}

std::shared_ptr<const Barcode_Vector_Drawing> Barcode_Gen::Get_Drawing_From_Val(
    const QString& value, const QString& header, const QString& footer)
{
    return makeForValue(
        value, header, footer, [](const BarcodePicture& picture) { return drawingFromBarcodeImage(picture); },
        [](const BRCBarcode& barcode) { return drawingFromBarcode(barcode); },
        std::shared_ptr<const Barcode_Vector_Drawing> {});
}
