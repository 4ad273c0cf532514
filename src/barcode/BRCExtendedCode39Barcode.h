#pragma once

#include "barcode/BRCCode39Barcode.h"

// Full-ASCII Code 39: the characters outside the basic set are written as pairs of basic characters
// ("$", "%", "/" or "+" and a letter), which a scanner in full-ASCII mode reads back as one.
class BRCExtendedCode39Barcode : public BRCCode39Barcode {
public:
    using BRCBarcode::initWithContent;
    // Keeps the content as given: lower case is data here.
    bool initWithContent(const QString& content, bool printsCaption) override;
    // Space to "~" and tab; "" for any other character.
    QString _encodeChar(char c) const override;

protected:
    std::unique_ptr<BRCBarcode> newInstance() const override { return std::make_unique<BRCExtendedCode39Barcode>(); }
    const char* className() const override { return "BRCExtendedCode39Barcode"; }
};
