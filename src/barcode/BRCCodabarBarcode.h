#pragma once

#include "barcode/BRCBarcode.h"

// Codabar: digits, six signs and the start/stop letters A to D, which the user types as part of the
// value. Nothing is added: no start, stop or check character.
class BRCCodabarBarcode : public BRCBarcode {
public:
    // Narrow elements one module, wide two, and one gap module after the character; "" for a character
    // outside the set (lower case included).
    QString _encodeChar(char c) const override;
    // Data between a start and a stop letter (A to D), and no letter inside: a reader takes an inner
    // letter for the end of the symbol, and a value without its letters reads as another value.
    bool isContentValid() override;

protected:
    std::unique_ptr<BRCBarcode> newInstance() const override { return std::make_unique<BRCCodabarBarcode>(); }
    const char* className() const override { return "BRCCodabarBarcode"; }
};
