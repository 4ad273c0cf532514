#pragma once

#include "barcode/BRCAbstractUPCEANBarcode.h"

// UPC-A: number system digit, ten digits and a check digit. A twelfth digit given with the value must
// be the right check digit.
class BRCUPCABarcode : public BRCAbstractUPCEANBarcode {
public:
    using BRCBarcode::initWithContent;
    bool initWithContent(const QString& content, bool printsCaption) override;
    QString barcode() const override;
    QString caption() const override;
    bool isContentValid() override;

protected:
    std::unique_ptr<BRCBarcode> newInstance() const override { return std::make_unique<BRCUPCABarcode>(); }
    const char* className() const override { return "BRCUPCABarcode"; }
};
