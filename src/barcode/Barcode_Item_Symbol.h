#pragma once

#include "barcode/Barcode_Gen.h"

#include <QString>

#include <memory>
#include <mutex>

class TSLBarcode_Drawing;
class TSLGraphic;

// Loading an item's settings sets a few process-wide values that only the 2-D encoders read (QR version
// and level, resolution, module size). Loads happen one at a time, and a 2-D symbol is made before the
// next load, so no thread encodes with another's values; linear symbols read none of them and are made by
// all threads at once.
std::mutex& Item_Settings_Lock();

// Runs make with the item's settings loaded into `settings`, which is the calling thread's own meanwhile.
template <typename Make> auto With_Item_Settings(Barcode_Gen& settings, const TSLGraphic& item, const Make& make)
{
    std::unique_lock<std::mutex> lock(Item_Settings_Lock());
    const Barcode_Settings_Scope scope(settings);
    settings.Set_Barcode_Prop_To_Control(item);
    if (settings.liner_or_2D_font == 0)
        lock.unlock();
    return make();
}

// The item's barcode of the value, with the item's own symbology, layout, header and footer, as drawing
// operations in points; none when the value has no symbol.
std::shared_ptr<const TSLBarcode_Drawing> Item_Barcode_Drawing(
    Barcode_Gen& settings, const TSLGraphic& item, const QString& value);
