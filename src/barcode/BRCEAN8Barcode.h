#pragma once

#include "barcode/BRCEAN13Barcode.h"

// EAN-8: seven digits and a check digit, no digits outside the bars. An eighth digit given with the
// value must be the right check digit.
class BRCEAN8Barcode : public BRCEAN13Barcode {
public:
    using BRCBarcode::initWithContent;
    bool initWithContent(const QString& content, bool printsCaption) override;
    QString barcode() const override;
    QString caption() const override;
    bool isContentValid() override;
    // The check digit of the first seven characters, whatever the length; none for fewer.
    void generateChecksum() override;
    int digitsToRight() const override { return 0; }
    int digitsToLeft() const override { return 0; }

protected:
    std::unique_ptr<BRCBarcode> newInstance() const override { return std::make_unique<BRCEAN8Barcode>(); }
    const char* className() const override { return "BRCEAN8Barcode"; }
};
