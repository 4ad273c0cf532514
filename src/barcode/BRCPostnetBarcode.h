#pragma once

#include "barcode/BRCBarcode.h"

// POSTNET: 5, 9 or 11 digits and a mod 10 check digit, each digit five bars of which two are full
// height and three half; a full frame bar at each end. Bars one module wide, three modules apart.
class BRCPostnetBarcode : public BRCBarcode {
public:
    using BRCBarcode::initWithContent;
    // Bars 0.015 inch wide, symbol 0.125 inch high, check digit worked out.
    bool initWithContent(const QString& content, bool printsCaption) override;
    QString initiator() const override { return QStringLiteral("100"); }
    QString terminator() const override { return QStringLiteral("1"); }
    // Five bars, each followed by two light modules; "" for a non-digit.
    QString _encodeChar(char c) const override;
    // The frame bars 9 points; a digit's bar its full or half height.
    float barTop(int index) const override;
    // Height in inches of bar 1 to 5 of the digit at that index (the check digit after the content);
    // 0 for a non-digit.
    virtual float _heightForDigit(int digit, int bar) const;
    void generateChecksum() override;
    bool isContentValid() override;

protected:
    static constexpr float kFull = 0.125f;
    static constexpr float kHalf = 0.05f;

    std::unique_ptr<BRCBarcode> newInstance() const override { return std::make_unique<BRCPostnetBarcode>(); }
    const char* className() const override { return "BRCPostnetBarcode"; }
};
