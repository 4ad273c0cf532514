#pragma once

#include "barcode/Barcode_Gen.h"

#include <QString>

#include <memory>

class TSLBarcode_Drawing;
class TSLGraphic;

// Runs make with the item's settings loaded into `settings`, which is the calling thread's own meanwhile.
// The few values only the 2-D encoders read (QR version and level, resolution, module size) are the
// thread's own too, so threads make any symbols at once without waiting for each other.
template <typename Make> auto With_Item_Settings(Barcode_Gen& settings, const TSLGraphic& item, const Make& make)
{
    const Barcode_Settings_Scope scope(settings);
    settings.Set_Barcode_Prop_To_Control(item);
    return make();
}

// The item's barcode of the value, with the item's own symbology, layout, header and footer, as drawing
// operations in points; none when the value has no symbol.
std::shared_ptr<const TSLBarcode_Drawing> Item_Barcode_Drawing(
    Barcode_Gen& settings, const TSLGraphic& item, const QString& value);
// How many symbols Item_Barcode_Drawing has made in the process: what a run costs in symbols.
long long Item_Barcode_Drawings_Made();
