// The barcode page: the canvas's current barcode goes to the settings dialog, and an OK spreads the
// dialog's settings over every selected item of the current side.
#include "editor/TSLWindowController.h"

#include "barcode/Barcode_Dialog.h"
#include "barcode/Barcode_Gen.h"
#include "barcode/Barcode_Globals.h"
#include "canvas/TSLGraphicView.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "output/Record_Fill.h"

#include <QStringList>

#include <exception>

namespace {

// The settings the dialog edits, which an OK spreads over the selected barcodes. The content (the linear and
// the two-dimensional value), its source, the unit and the picture stay each barcode's own: one guest's
// code must never become another's.
const QStringList& barcodeSettingKeys()
{
    static const QStringList keys = [] {
        QStringList all;
        for (const char* key : { "linear_or_2d", "barcode_font_index", "header_val", "footer_val", "show_hide_hdr",
                 "show_hide_ftr", "show_hide_val", "show_val_on_top", "align_hdr_index", "align_ftr_index",
                 "linear_height_val", "linear_width_val", "qr_size_val", "qr_version_index", "qr_ec_index",
                 "pdf_hgt_val", "pdf_wdt_val", "pdf_ec_val", "dm_module_val", "dm_format_index", "dm_encoding_index",
                 "hdr_margin_val", "ftr_margin_val", "val_margin_val", "TB_marging_val", "LR_margin_val",
                 "value_font_val", "header_font_val", "footer_font_val", "barcode_hdr_clr_val", "barcode_ftr_clr_val",
                 "barcode_val_clr_val", "barcode_back_clr_val", "barcode_clr_val", "dpi_val_index", "dpi_custom_val" })
            all << QLatin1String(key);
        return all;
    }();
    return keys;
}

} // namespace

void TSLWindowController::Open_Barcode_Window()
{
    try {
        TSLGraphicView* canvas = currentGraphicView();
        const TSLGraphicPtr item = canvas ? canvas->Selected_Graphic() : nullptr;
        if (!item)
            return;
        // The dialog writes into the item directly: what it changed is announced afterwards, so the change
        // is undone like any other. Everything the dialog may write is remembered, the data included.
        QStringList written = barcodeSettingKeys();
        written << QStringLiteral("linear_font_val") << QStringLiteral("two_d_font_val")
                << QStringLiteral("barcode_unit_val") << QStringLiteral("_barcode_image")
                << QStringLiteral("data_source_type") << QStringLiteral("batch_list_name")
                << QStringLiteral("batch_list_index") << QStringLiteral("excel_col_indx");
        const QVariantMap before = item->valuesForKeys(written);
        // Cancel leaves every item as it was, the one shown in the dialog included.
        const int answer = Barcode_Dialog::defaultInstance()->Open_Wnd(*item);
        item->didChangeValuesFrom(before);
        if (answer == 1 && !Barcode_output_image.isNull())
            Update_Barcode_Graphics(*item);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void TSLWindowController::makeBarcodeSymbol(TSLGraphic& item) const
{
    // Made as a record's barcode is, from the item's own settings and value: what its window opens on.
    Barcode_Gen settings;
    Record_Fill::assignValue(item, item.linear_or_2d == 1 ? item.two_d_font_val : item.linear_font_val, settings);
}

void TSLWindowController::Update_Barcode_Graphics(const TSLGraphic& source)
{
    const TSLGraphicList items = itemsForWriteBack();
    if (items.empty())
        return;
    const QVariantMap settings = source.valuesForKeys(barcodeSettingKeys());
    for (const TSLGraphicPtr& item : items) {
        if (item.get() == &source)
            continue;
        for (auto it = settings.cbegin(); it != settings.cend(); ++it)
            item->setValueForKey(it.key(), it.value());
    }
    // The new picture belongs to the item the dialog showed, whatever the number selected.
    if (const TSLGraphicPtr current = currentGraphicView()->Selected_Graphic()) {
        current->setValueForKey(QStringLiteral("_barcode_image"), Barcode_output_image.image);
        current->Set_Barcode_drawing(Barcode_output_drawing);
    }
    Refresh_Canvas();
}
