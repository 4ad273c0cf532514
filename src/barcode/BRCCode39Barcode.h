#pragma once

#include "barcode/BRCBarcode.h"

// Code 39: 43 data characters, each five bars and four spaces of which three are wide, framed by the
// asterisk. The asterisk itself is the frame, so it is refused inside the data. No check character.
class BRCCode39Barcode : public BRCBarcode {
public:
    using BRCBarcode::initWithContent;
    // Upper-cases the content.
    bool initWithContent(const QString& content, bool printsCaption) override;
    // Narrow elements one module, wide two, and one gap module after the character: 13 modules.
    QString _encodeChar(char c) const override;
    QString initiator() const override { return basicPattern('*'); }
    QString terminator() const override { return basicPattern('*'); }
    // Every character has a pattern, and none is written as the bare frame pattern (which a scanner
    // would take for the end of the symbol).
    bool isContentValid() override;

protected:
    // The pattern of a character of the basic set; "" for any other.
    static QString basicPattern(char c);

    std::unique_ptr<BRCBarcode> newInstance() const override { return std::make_unique<BRCCode39Barcode>(); }
    const char* className() const override { return "BRCCode39Barcode"; }
};
