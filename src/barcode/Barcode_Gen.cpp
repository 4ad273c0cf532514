#include "barcode/Barcode_Gen.h"

#include "barcode/Barcode_Entries.h"
#include "barcode/Barcode_Text.h"
#include "platform/StringsTable.h"

namespace {

QFont startFont()
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(10.0);
    return font;
}

template <typename T> Barcode_Field<T> field(T value)
{
    return { value, true };
}

} // namespace

Barcode_Gen::Barcode_Gen()
    : barcodeTypePopup(Barcode_Type_Titles(), 0)
    , dataText(platform::localizedString(QStringLiteral("Localizable"), QStringLiteral("0123")))
    , dataText_2D(dataText)
    , HeaderText(QStringLiteral("HEADER"))
    , FooterText(QStringLiteral("FOOTER"))
    , value_font(startFont())
    , header_font(startFont())
    , footer_font(startFont())
    , barcode_clr(Qt::black)
    , bar_back_clr(Qt::white)
    , bar_val_clr(Qt::black)
    , bar_hdr_clr(Qt::black)
    , bar_ftr_clr(Qt::black)
    , align_hdr_combo(Barcode_Align_Entries(), 1)
    , align_ftr_combo(Barcode_Align_Entries(), 1)
    , HeightText(field(0.6f))
    , widthText(field(20.0f))
    , val_mar_Text(field(0.1f))
    , hdr_mar_Text(field(0.1f))
    , ftr_mar_Text(field(0.1f))
    , TB_mar_Text(field(0.1f))
    , LR_mar_Text(field(0.1f))
    , HeightText_2D(field(60))
    , Pdf_widthText_2D(field(100))
    , pdf_HeightStepper_2D(field(20))
    , pdf_ec_lvl_Stepper(field(2))
    , pdf_row_Stepper(field(0))
    , pdf_col_Stepper(field(0))
    , dm_moduleStepper_2D(field(2))
    , dm_widthStepper_2D(field(0))
    , dm_HeightStepper_2D(field(0))
    , dm_format_ComboBox(Barcode_DM_Format_Entries(), 0)
    , dm_encoding_ComboBox(Barcode_DM_Encoding_Entries(), 0)
    , qr_version_ComboBox(Barcode_QR_Version_Entries(), 0)
    , qr_ec_lvl_ComboBox(Barcode_QR_EC_Level_Entries(), 0)
    , DPI_ComboBox(Barcode_DPI_Entries(), 0)
{
}

Barcode_Gen* Barcode_Gen::defaultInstance()
{
    // Made once, also when a worker thread asks first; it lives as long as the program.
    static Barcode_Gen* const instance = [] {
        auto* gen = new Barcode_Gen;
        barcode_gen_def_inst = gen;
        Barcode_Gen_Var = gen;
        Measument_Unit_Is = 1;
        last_unit_val = 1;
        return gen;
    }();
    return instance;
}

bool Barcode_Gen::Get_Print_State()
{
    if (!captionCheckbox.enabled)
        return false;
    if (captionCheckbox.state == 1) {
        showinTopCheckbox.enabled = false;
        return false;
    }
    showinTopCheckbox.enabled = true;
    return true;
}

void Barcode_Gen::setCaptionFontSize(float size)
{
    caption_fontSize_ = size;
    captionHeight_ = static_cast<float>(Barcode_Line_Height_Inches(value_font));
}

void Barcode_Gen::setHeaderFontSize(float size)
{
    header_fontSize_ = size;
    headerHeight_ = static_cast<float>(Barcode_Line_Height_Inches(header_font));
    headerWidth_ = static_cast<float>(Barcode_Measure_Text(header_, header_font).width);
}

void Barcode_Gen::setFooterFontSize(float size)
{
    footer_fontSize_ = size;
    footerHeight_ = static_cast<float>(Barcode_Line_Height_Inches(footer_font));
    footerWidth_ = static_cast<float>(Barcode_Measure_Text(footer_, footer_font).width);
}

void Barcode_Gen::Set_Blank_Image()
{
    image_2d = {};
    barcodeImage = {};
    barcodeDrawing = nullptr;
    barcode_error_label_shown = true;
}
