#pragma once

// A value each symbology of the dialog's list encodes, as a person would type it, and what a decoder
// reports for it (empty where no installed decoder reads the symbology).
#include "barcode/Barcode_Entries.h"
#include "barcode/Barcode_Gen.h"
#include "barcode/BarcodeTestSupport.h"

#include <QString>

namespace generatorsamples {

struct Sample {
    const char* title;
    const char* value;
    const char* zxingFormat; // "" when no decoder reads it
    const char* decoded; // what the decoder reports
};

inline const Sample kSamples[] = {
    { "Code 39", "TESSA-42", "Code39", "TESSA-42" },
    { "Extended Code 39", "Party 8", "Code39", "P+A+R+T+Y 8" },
    { "Interleaved 2 of 5", "12345678", "ITF", "12345678" },
    { "UPCA", "03600029145", "UPC-A", "036000291452" },
    { "PostNet", "12345", "", "" },
    { "Modified Plessey", "12345", "", "" },
    { "Modified Plessey (Hex)", "09AF", "", "" },
    { "Industrial 2 of 5", "1234", "", "" },
    { "EAN-13", "400638133393", "EAN-13", "4006381333931" },
    { "Code 128", "Party-2026", "Code128", "Party-2026" },
    { "Code 128 SET A", "PARTY", "Code128", "PARTY" },
    { "Code 128 SET B", "Party", "Code128", "Party" },
    { "Code 128 SET C", "123456", "Code128", "123456" },
    { "Codabar", "A1234B", "Codabar", "1234" },
    { "UPCE", "0123456", "UPC-E", "01234565" },
    { "EAN-8", "9638507", "EAN-8", "96385074" },
    { "Royal Mail Barcode (RM4SCC / CBC)", "SN34RD1A", "", "" },
    { "Planet", "12345678901", "", "" },
    { "Japan Post Barcode", "2630023", "", "" },
    { "QR Code", "Party at eight, Grüße!", "QRCode", "Party at eight, Grüße!" },
    { "PDF417", "Table 12, row 3", "PDF417", "Table 12, row 3" },
    { "DataMatrix", "RSVP 2026-12-24", "DataMatrix", "RSVP 2026-12-24" },
};

// Puts the shared values of the 2-D roads and the dialog back as they were, so that tests leave no trace.
class SharedValuesGuard {
public:
    ~SharedValuesGuard()
    {
        USED_DPI_VALUE = dpi_;
        QR_Version_Val = version_;
        QR_EC_Level_Val = level_;
        Barcode_module_size = module_;
        Measument_Unit_Is = unit_;
        *gen_ = Barcode_Gen();
    }

private:
    // Made first: making it sets the unit, which the guard would otherwise put back to the value before it.
    Barcode_Gen* const gen_ = Barcode_Gen::defaultInstance();
    int dpi_ = USED_DPI_VALUE;
    int version_ = QR_Version_Val;
    int level_ = QR_EC_Level_Val;
    int module_ = Barcode_module_size;
    int unit_ = Measument_Unit_Is.load();
};

// The settings object at its start values, choosing the symbology by title with the value as its data.
inline Barcode_Gen& settingsFor(const QString& title, const QString& value)
{
    Barcode_Gen& gen = *Barcode_Gen::defaultInstance();
    gen = Barcode_Gen();
    Measument_Unit_Is = 1;
    USED_DPI_VALUE = 600;
    QR_Version_Val = 0;
    QR_EC_Level_Val = 0;
    gen.barcodeTypePopup.select(static_cast<int>(Barcode_Type_Titles().indexOf(title)));
    gen.liner_or_2D_font = Barcode_Type_Is_2D(title) ? 1 : 0;
    gen.dataText = value;
    gen.dataText_2D = value;
    return gen;
}

} // namespace generatorsamples
