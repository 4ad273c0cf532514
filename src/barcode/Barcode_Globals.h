#pragma once

#include "barcode/BarcodePicture.h"

#include <atomic>
#include <memory>

class Barcode_Gen;
class TSLBarcode_Drawing;

// State of barcode generation, grouped by owner. Process-wide values that worker threads read while they
// make pictures (batch export, e-mail, printing) are atomic; the 2-D roads' values are each thread's own. The flag that
// stops the generator while settings are being loaded, Not_Draw_Only_Prop_Change, is shared with the editor window and
// lives in common/Globals.h.

// --- Settings store: the one settings object ---
extern Barcode_Gen* barcode_gen_def_inst; // recorded when the object is made
extern Barcode_Gen* Barcode_Gen_Var; // recorded when its start values are set; the same object

// --- Settings dialog and record fill ---
// The picture last handed out for a barcode item (OK or Cancel of the dialog, or one record of a batch);
// nothing clears it. Written by the thread that fills records while the main window is covered.
extern BarcodePicture Barcode_output_image;
// The same barcode as a drawing, made when the dialog's OK hands out the picture; none after Cancel.
extern std::shared_ptr<const TSLBarcode_Drawing> Barcode_output_drawing;
// Unit of the dialog's length fields: 0 inch, 1 centimetre, 2 millimetre; the dialog sets 1.
extern std::atomic<int> Measument_Unit_Is;
extern std::atomic<int> last_unit_val; // the unit last shown, same coding

// --- 2-D picture roads (QR Code, PDF417, DataMatrix) ---
// Each thread's own: loading an item's settings sets them for the symbols the same thread then makes, so
// workers making different items' barcodes at once never read each other's values.
extern thread_local int USED_DPI_VALUE; // output resolution of 2-D pictures, dots per inch
extern thread_local int QR_Version_Val; // 0 automatic, n = version n (1 to 40)
extern thread_local int QR_EC_Level_Val; // 0 L, 1 M, 2 Q, 3 H
extern thread_local int Barcode_module_size; // points per module handed to the DataMatrix road
