#include "barcode/Barcode_Item_Symbol.h"

#include "barcode/Barcode_Vector_Drawing.h"
#include "model/TSLBarcode.h"

#include <atomic>

namespace {

std::atomic<long long> drawingsMade { 0 };

} // namespace

long long Item_Barcode_Drawings_Made()
{
    return drawingsMade.load();
}

std::shared_ptr<const TSLBarcode_Drawing> Item_Barcode_Drawing(
    Barcode_Gen& settings, const TSLGraphic& item, const QString& value)
{
    drawingsMade.fetch_add(1, std::memory_order_relaxed);
    return With_Item_Settings(
        settings, item, [&] { return settings.Get_Drawing_From_Val(value, item.header_val, item.footer_val); });
}

namespace {

// Barcodes read back from a design, the clipboard or a copy are drawn from the value and settings they
// keep, the value as the dialog last had it. Installed when the program is linked with the generator.
[[maybe_unused]] const bool drawingMakerInstalled = [] {
    TSLBarcode::setDrawingMaker([](const TSLGraphic& item) {
        Barcode_Gen settings;
        return Item_Barcode_Drawing(
            settings, item, item.linear_or_2d == 1 ? item.two_d_font_val : item.linear_font_val);
    });
    return true;
}();

} // namespace
