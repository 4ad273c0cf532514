#pragma once

#include "barcode/BRCInterleavedTwoOfFiveBarcode.h"

// Industrial (standard) 2 of 5: each digit in five bars, two of them wide; every space is narrow.
// Narrow one module, wide three. Start: wide, wide, narrow bar; stop: wide, narrow, wide bar.
class BRCIndustrialTwoOfFiveBarcode : public BRCInterleavedTwoOfFiveBarcode {
public:
    QString barcode() const override;
    QString initiator() const override { return QStringLiteral("1110111010"); }
    QString terminator() const override { return QStringLiteral("111010111"); }

protected:
    std::unique_ptr<BRCBarcode> newInstance() const override
    {
        return std::make_unique<BRCIndustrialTwoOfFiveBarcode>();
    }
    const char* className() const override { return "BRCIndustrialTwoOfFiveBarcode"; }
};
