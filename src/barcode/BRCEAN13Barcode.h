#pragma once

#include "barcode/BRCAbstractUPCEANBarcode.h"

// EAN-13: twelve digits and a check digit; the first digit is carried by the parity of the left half.
// A thirteenth digit given with the value must be the right check digit.
class BRCEAN13Barcode : public BRCAbstractUPCEANBarcode {
public:
    using BRCBarcode::initWithContent;
    bool initWithContent(const QString& content, bool printsCaption) override;
    QString barcode() const override;
    // Set B (true) or set A for position 1 to 6 of the left half, by the first digit.
    static bool _parityForSystemDigit(char systemDigit, int index);
    int digitsToRight() const override { return 0; }
    QString rightCaption() const override { return QString(QLatin1String("")); }
    QString caption() const override;
    // The check digit of a 12-character content.
    void generateChecksum() override;
    bool isContentValid() override;

protected:
    std::unique_ptr<BRCBarcode> newInstance() const override { return std::make_unique<BRCEAN13Barcode>(); }
    const char* className() const override { return "BRCEAN13Barcode"; }
};
