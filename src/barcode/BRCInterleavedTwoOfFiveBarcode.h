#pragma once

#include "barcode/BRCBarcode.h"

// Interleaved 2 of 5: digits in pairs, the first of a pair in the bars and the second in the spaces
// between them; an odd count gets a leading 0. Narrow elements one module, wide three. No check digit.
class BRCInterleavedTwoOfFiveBarcode : public BRCBarcode {
public:
    QString barcode() const override;
    // True when element 0 to 4 of the digit is narrow; a non-digit is all narrow.
    static bool _getBarForDigit(char digit, int element);
    QString initiator() const override { return QStringLiteral("1010"); }
    QString terminator() const override { return QStringLiteral("11101"); }
    // Digits only; empty content is valid.
    bool isContentValid() override;

protected:
    // The content and the check character, when one is set.
    QByteArray digitsToEncode() const;

    std::unique_ptr<BRCBarcode> newInstance() const override
    {
        return std::make_unique<BRCInterleavedTwoOfFiveBarcode>();
    }
    const char* className() const override { return "BRCInterleavedTwoOfFiveBarcode"; }
};
