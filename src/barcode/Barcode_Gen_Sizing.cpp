// Sizing of generated pictures: the dialog's lengths in points, the framed height and width of linear
// symbols and of 2-D pictures, the QR size floor and the unit labels.
#include "barcode/Barcode_Gen.h"

#include "barcode/BRCBarcode.h"
#include "barcode/Barcode_JapanPost_Picture.h"

#include <algorithm>

float Barcode_Gen::pointsFromUnit(float value)
{
    switch (Measument_Unit_Is.load()) {
    case 0:
        return static_cast<float>(value * 72.0);
    case 1:
        return static_cast<float>(value * 0.393701 * 72.0);
    default:
        return static_cast<float>(value * 0.393701 * 72.0 / 10.0);
    }
}

void Barcode_Gen::Set_Barcode_Height(BRCBarcode& barcode)
{
    // What the symbol draws decides, not the boxes: Royal Mail and Japan Post draw their header and footer
    // whatever is ticked.
    value_margin = captionCheckbox.state == 1 ? 0.0f : val_mar_Text.value;
    header_margin = barcode.printsHeader() ? hdr_mar_Text.value : 0.0f;
    footer_margin = barcode.printsFooter() ? ftr_mar_Text.value : 0.0f;
    LR_margin = LR_mar_Text.value;
    TB_margin = TB_mar_Text.value;

    float bars = pointsFromUnit(HeightText.value);
    if (const auto* japanPost = dynamic_cast<const Barcode_JapanPost_Picture*>(&barcode))
        bars = japanPost->barsHeight();
    for (float* margin : { &value_margin, &header_margin, &footer_margin, &LR_margin, &TB_margin })
        *margin = pointsFromUnit(*margin);

    // Each partial sum is stored on the symbol and read back for the next step.
    if (barcode.printsCaption())
        barcode.setHeight(static_cast<float>(double(bars) + double(barcode.captionHeight()) * 72.0 + value_margin));
    else
        barcode.setHeight(bars);
    if (barcode.printsHeader())
        barcode.setHeight(
            static_cast<float>(double(barcode.height()) + double(barcode.headerHeight()) * 72.0 + header_margin));
    if (barcode.printsFooter())
        barcode.setHeight(
            static_cast<float>(double(barcode.height()) + double(barcode.footerHeight()) * 72.0 + footer_margin));
    barcode.setHeight(static_cast<float>(double(barcode.height()) + 2.0 * double(TB_margin)));
}

namespace {

// The widest of the shown texts and the symbol, plus the side margins (and 15 points more with any).
float framedWidth(float symbolWidth, float headerWidth, float footerWidth, float sideMargin)
{
    const float texts = headerWidth > footerWidth ? headerWidth : footerWidth;
    const float widest = texts > symbolWidth ? texts : symbolWidth;
    float width = widest + 2.0f * sideMargin;
    if (sideMargin > 0.0f)
        width += 15.0f;
    return width;
}

} // namespace

float Barcode_Gen::Set_Linear_Barcode_Width(BRCBarcode& barcode)
{
    const float hw = barcode.printsHeader() ? barcode.headerWidth() : 0.0f;
    const float fw = barcode.printsFooter() ? barcode.footerWidth() : 0.0f;
    LR_margin = pointsFromUnit(LR_mar_Text.value);
    return framedWidth(barcode.width(), hw, fw, LR_margin);
}

void Barcode_Gen::Set_2d_Barcode_Width(const BarcodePicture& picture)
{
    const float hw = hideHeaderCheckbox.state == 1 ? 0.0f : headerWidth();
    const float fw = hideFooterCheckbox.state == 1 ? 0.0f : footerWidth();
    LR_margin = pointsFromUnit(LR_mar_Text.value);
    setWidth(framedWidth(static_cast<float>(picture.size.width()), hw, fw, LR_margin));
}

void Barcode_Gen::Set_2d_Barcode_Height(const BarcodePicture& picture)
{
    const bool headerShown = hideHeaderCheckbox.state != 1;
    const bool footerShown = hideFooterCheckbox.state != 1;
    value_margin = captionCheckbox.state == 1 ? 0.0f : pointsFromUnit(val_mar_Text.value);
    header_margin = headerShown ? pointsFromUnit(hdr_mar_Text.value) : 0.0f;
    footer_margin = footerShown ? pointsFromUnit(ftr_mar_Text.value) : 0.0f;
    LR_margin = pointsFromUnit(LR_mar_Text.value);
    TB_margin = pointsFromUnit(TB_mar_Text.value);
    const float hh = headerShown ? headerHeight() * 72.0f : 0.0f;
    const float fh = footerShown ? footerHeight() * 72.0f : 0.0f;
    float height = static_cast<float>(picture.size.height());
    height += hh;
    height += header_margin;
    height += fh;
    height += footer_margin;
    height += 2.0f * TB_margin;
    setHeight(height);
}

void Barcode_Gen::Check_And_Set_QR_size_Acc_Version(int version)
{
    const int minimum = std::max(4 * (version - 1) + 21, 21);
    HeightStepper_2D_minimum = minimum;
    if (HeightText_2D.value < minimum)
        HeightText_2D.value = minimum;
}

void Barcode_Gen::_setLabels()
{
    if (liner_or_2D_font == 1) {
        barHeightLabel = QStringLiteral("Bar Height :");
        barWidthLabel = QStringLiteral("Bar Width :");
        return;
    }
    barWidthLabel = QStringLiteral("Bar Width (Mils):");
    switch (Measument_Unit_Is.load()) {
    case 0:
        barHeightLabel = QStringLiteral("Bar Height (in):");
        margin_box_title = QStringLiteral("Margins (in)");
        break;
    case 1:
        barHeightLabel = QStringLiteral("Bar Height (cm):");
        margin_box_title = QStringLiteral("Margins (cm)");
        break;
    default:
        barHeightLabel = QStringLiteral("Bar Height (mm):");
        margin_box_title = QStringLiteral("Margins (mm)");
        break;
    }
}
