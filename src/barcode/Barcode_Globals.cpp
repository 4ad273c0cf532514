#include "barcode/Barcode_Globals.h"

Barcode_Gen* barcode_gen_def_inst = nullptr;
Barcode_Gen* Barcode_Gen_Var = nullptr;

BarcodePicture Barcode_output_image;
std::shared_ptr<const TSLBarcode_Drawing> Barcode_output_drawing;
std::atomic<int> Measument_Unit_Is { 0 };
std::atomic<int> last_unit_val { 0 };

thread_local int USED_DPI_VALUE = 600;
thread_local int QR_Version_Val = 0;
thread_local int QR_EC_Level_Val = 0;
thread_local int Barcode_module_size = 1;
