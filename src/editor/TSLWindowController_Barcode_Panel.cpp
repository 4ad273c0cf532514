// The barcode page: the canvas's current barcode goes to the settings dialog, and an OK spreads the
// dialog's settings over every selected item of the current side.
#include "editor/TSLWindowController.h"

#include "barcode/Barcode_Dialog.h"
#include "barcode/Barcode_Globals.h"
#include "canvas/TSLGraphicView.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"

#include <QCheckBox>

#include <exception>

void TSLWindowController::Open_Barcode_Window()
{
    try {
        TSLGraphicView* canvas = currentGraphicView();
        const TSLGraphicPtr item = canvas ? canvas->Selected_Graphic() : nullptr;
        if (!item)
            return;
        // Cancel leaves every item as it was, the one shown in the dialog included.
        if (Barcode_Dialog::defaultInstance()->Open_Wnd(*item) == 1 && !Barcode_output_image.isNull())
            Update_Barcode_Graphics(*item);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void TSLWindowController::Update_Barcode_Graphics(const TSLGraphic& source)
{
    const TSLGraphicList items = itemsForWriteBack();
    if (items.empty())
        return;
    for (const TSLGraphicPtr& item : items) {
        if (Print_object_chk)
            item->print_object = Print_object_chk->isChecked() ? 1 : 0;
        if (item.get() == &source)
            continue;
        item->linear_or_2d = source.linear_or_2d;
        item->barcode_font_index = source.barcode_font_index;
        item->linear_font_val = source.linear_font_val;
        item->two_d_font_val = source.two_d_font_val;
        item->header_val = source.header_val;
        item->footer_val = source.footer_val;
        item->show_hide_hdr = source.show_hide_hdr;
        item->show_hide_ftr = source.show_hide_ftr;
        item->show_hide_val = source.show_hide_val;
        item->show_val_on_top = source.show_val_on_top;
        item->align_hdr_index = source.align_hdr_index;
        item->align_ftr_index = source.align_ftr_index;
        item->linear_height_val = source.linear_height_val;
        item->linear_width_val = source.linear_width_val;
        item->qr_size_val = source.qr_size_val;
        item->qr_version_index = source.qr_version_index;
        item->qr_ec_index = source.qr_ec_index;
        item->pdf_hgt_val = source.pdf_hgt_val;
        item->pdf_wdt_val = source.pdf_wdt_val;
        item->pdf_ec_val = source.pdf_ec_val;
        item->dm_module_val = source.dm_module_val;
        item->dm_format_index = source.dm_format_index;
        item->dm_encoding_index = source.dm_encoding_index;
        item->hdr_margin_val = source.hdr_margin_val;
        item->ftr_margin_val = source.ftr_margin_val;
        item->val_margin_val = source.val_margin_val;
        item->TB_marging_val = source.TB_marging_val;
        item->LR_margin_val = source.LR_margin_val;
        item->value_font_val = source.value_font_val;
        item->header_font_val = source.header_font_val;
        item->footer_font_val = source.footer_font_val;
        item->barcode_hdr_clr_val = source.barcode_hdr_clr_val;
        item->barcode_ftr_clr_val = source.barcode_ftr_clr_val;
        item->barcode_val_clr_val = source.barcode_val_clr_val;
        item->barcode_back_clr_val = source.barcode_back_clr_val;
        item->barcode_clr_val = source.barcode_clr_val;
        item->dpi_val_index = source.dpi_val_index;
        item->dpi_custom_val = source.dpi_custom_val;
    }
    // The new picture belongs to the item the dialog showed, whatever the number selected.
    if (const TSLGraphicPtr current = currentGraphicView()->Selected_Graphic())
        current->Set_Barcode_image(Barcode_output_image.image);
    Refresh_Canvas();
}
