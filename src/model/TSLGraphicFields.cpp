#include "model/TSLGraphicFields.h"

namespace tslgraphic_fields {

const std::array<ArchivedField, archivedFieldCount>& archivedFields()
{
    using G = TSLGraphic;
    static const std::array<ArchivedField, archivedFieldCount> fields { {
        { "_bounds", &G::_bounds },
        { "ctrl_is_locked", &G::ctrl_is_locked },
        { "_isDrawingFill", &G::_isDrawingFill },
        { "_fillColor", &G::_fillColor },
        { "_isDrawingStroke", &G::_isDrawingStroke },
        { "_strokeColor", &G::_strokeColor },
        { "_strokeWidth", &G::_strokeWidth },
        { "_stroke_border_type", &G::_stroke_border_type },
        { "_fill_type", &G::_fill_type },
        { "_fill_Grad_clr1", &G::_fill_Grad_clr1 },
        { "_fill_Grad_clr2", &G::_fill_Grad_clr2 },
        { "_fill_grad_angle", &G::_fill_grad_angle },
        { "_fill_htch_clr", &G::_fill_htch_clr },
        { "_fill_hatch_type", &G::_fill_hatch_type },
        { "_isFlippedHorizontally", &G::_isFlippedHorizontally },
        { "_isFlippedVertically", &G::_isFlippedVertically },
        { "invert_clr", &G::invert_clr },
        { "gray_Scale", &G::gray_Scale },
        { "Sepia", &G::Sepia },
        { "img_trnsp_val", &G::img_trnsp_val },
        { "hue_val", &G::hue_val },
        { "sat_val", &G::sat_val },
        { "brt_val", &G::brt_val },
        { "con_val", &G::con_val },
        { "srp_val", &G::srp_val },
        { "ev_val", &G::ev_val },
        { "blr_val", &G::blr_val },
        { "data_source_type", &G::data_source_type },
        { "rotate_image", &G::rotate_image },
        { "_file_path", &G::_file_path },
        { "sign_or_fingureprint", &G::sign_or_fingureprint },
        { "batch_list_name", &G::batch_list_name },
        { "batch_list_index", &G::batch_list_index },
        { "_line_ori", &G::_line_ori },
        { "_line_cap_style", &G::_line_cap_style },
        { "alpha_val", &G::alpha_val },
        { "alpha_val_stroke", &G::alpha_val_stroke },
        { "text_ctrl_font", &G::text_ctrl_font },
        { "txt_clr", &G::txt_clr },
        { "_Text_contents", &G::_Text_contents },
        { "_shape_type", &G::_shape_type },
        { "cor_rad_val_val", &G::cor_rad_val_val },
        { "_barcode_image", &G::_barcode_image },
        { "linear_or_2d", &G::linear_or_2d },
        { "barcode_font_index", &G::barcode_font_index },
        { "linear_font_val", &G::linear_font_val },
        { "two_d_font_val", &G::two_d_font_val },
        { "header_val", &G::header_val },
        { "footer_val", &G::footer_val },
        { "show_hide_hdr", &G::show_hide_hdr },
        { "show_hide_ftr", &G::show_hide_ftr },
        { "show_hide_val", &G::show_hide_val },
        { "show_val_on_top", &G::show_val_on_top },
        { "align_hdr_index", &G::align_hdr_index },
        { "align_ftr_index", &G::align_ftr_index },
        { "linear_height_val", &G::linear_height_val },
        { "linear_width_val", &G::linear_width_val },
        { "qr_size_val", &G::qr_size_val },
        { "qr_version_index", &G::qr_version_index },
        { "qr_ec_index", &G::qr_ec_index },
        { "pdf_hgt_val", &G::pdf_hgt_val },
        { "pdf_wdt_val", &G::pdf_wdt_val },
        { "pdf_ec_val", &G::pdf_ec_val },
        { "dm_module_val", &G::dm_module_val },
        { "dm_format_index", &G::dm_format_index },
        { "dm_encoding_index", &G::dm_encoding_index },
        { "hdr_margin_val", &G::hdr_margin_val },
        { "ftr_margin_val", &G::ftr_margin_val },
        { "val_margin_val", &G::val_margin_val },
        { "TB_marging_val", &G::TB_marging_val },
        { "LR_margin_val", &G::LR_margin_val },
        { "value_font_val", &G::value_font_val },
        { "header_font_val", &G::header_font_val },
        { "footer_font_val", &G::footer_font_val },
        { "barcode_hdr_clr_val", &G::barcode_hdr_clr_val },
        { "barcode_ftr_clr_val", &G::barcode_ftr_clr_val },
        { "barcode_val_clr_val", &G::barcode_val_clr_val },
        { "barcode_back_clr_val", &G::barcode_back_clr_val },
        { "barcode_clr_val", &G::barcode_clr_val },
        { "dpi_val_index", &G::dpi_val_index },
        { "dpi_custom_val", &G::dpi_custom_val },
        { "barcode_unit_val", &G::barcode_unit_val },
        { "text_alignmnet", &G::text_alignmnet },
        { "text_transfrom_case", &G::text_transfrom_case },
        { "text_kerning", &G::text_kerning },
        { "print_object", &G::print_object },
        { "control_ID", &G::control_ID },
        { "excel_binding", &G::excel_binding },
        { "excel_col_indx", &G::excel_col_indx },
        { "Text_Value", &G::Text_Value },
        { "ctrl_is_visible", &G::ctrl_is_visible },
        { "double_star_type", &G::double_star_type },
        { "polygon_type", &G::polygon_type },
    } };
    return fields;
}

const std::array<QString, archivedFieldCount>& archivedFieldNames()
{
    static const std::array<QString, archivedFieldCount> names = [] {
        std::array<QString, archivedFieldCount> made;
        for (int i = 0; i < archivedFieldCount; ++i)
            made[std::size_t(i)] = QString::fromLatin1(archivedFields()[std::size_t(i)].key);
        return made;
    }();
    return names;
}

} // namespace tslgraphic_fields
