#include "barcode/Barcode_Linear_Symbols.h"

#include "barcode/BRCCodabarBarcode.h"
#include "barcode/BRCCode128Barcode.h"
#include "barcode/BRCCode39Barcode.h"
#include "barcode/BRCEAN13Barcode.h"
#include "barcode/BRCEAN8Barcode.h"
#include "barcode/BRCExtendedCode39Barcode.h"
#include "barcode/BRCIndustrialTwoOfFiveBarcode.h"
#include "barcode/BRCInterleavedTwoOfFiveBarcode.h"
#include "barcode/BRCModifiedPlesseyBarcode.h"
#include "barcode/BRCModifiedPlesseyHexBarcode.h"
#include "barcode/BRCPlanetBarcode.h"
#include "barcode/BRCPostnetBarcode.h"
#include "barcode/BRCRoyalMailBarcode.h"
#include "barcode/BRCUPCABarcode.h"
#include "barcode/BRCUPCEBarcode.h"
#include "barcode/Barcode_JapanPost_Picture.h"

#include <functional>
#include <utility>

namespace {

template <typename T> std::unique_ptr<BRCBarcode> make()
{
    return std::make_unique<T>();
}

std::unique_ptr<BRCBarcode> code128(int codeSet)
{
    auto barcode = std::make_unique<BRCCode128Barcode>();
    barcode->setCodeSet(codeSet);
    return barcode;
}

} // namespace

std::unique_ptr<BRCBarcode> Barcode_Linear_Symbol(const QString& title)
{
    using Maker = std::function<std::unique_ptr<BRCBarcode>()>;
    static const std::pair<const char*, Maker> symbologies[] = {
        { "Code 39", make<BRCCode39Barcode> },
        { "Extended Code 39", make<BRCExtendedCode39Barcode> },
        { "Interleaved 2 of 5", make<BRCInterleavedTwoOfFiveBarcode> },
        { "UPCA", make<BRCUPCABarcode> },
        { "PostNet", make<BRCPostnetBarcode> },
        { "Modified Plessey", make<BRCModifiedPlesseyBarcode> },
        { "Modified Plessey (Hex)", make<BRCModifiedPlesseyHexBarcode> },
        { "Industrial 2 of 5", make<BRCIndustrialTwoOfFiveBarcode> },
        { "EAN-13", make<BRCEAN13Barcode> },
        { "Code 128", [] { return code128(BRCCode128Barcode::SetChosen); } },
        { "Code 128 SET A", [] { return code128(BRCCode128Barcode::SetA); } },
        { "Code 128 SET B", [] { return code128(BRCCode128Barcode::SetB); } },
        { "Code 128 SET C", [] { return code128(BRCCode128Barcode::SetC); } },
        { "Codabar", make<BRCCodabarBarcode> },
        { "UPCE", make<BRCUPCEBarcode> },
        { "EAN-8", make<BRCEAN8Barcode> },
        { "Royal Mail Barcode (RM4SCC / CBC)", make<BRCRoyalMailBarcode> },
        { "Planet", make<BRCPlanetBarcode> },
        { "Japan Post Barcode", make<Barcode_JapanPost_Picture> },
    };
    for (const auto& [name, maker] : symbologies) {
        if (title == QLatin1String(name))
            return maker();
    }
    return nullptr;
}
