#pragma once

#include "barcode/BRCBarcode.h"

// Modified Plessey (MSI): each digit as four bits, most significant first, a 1 bit "110" and a 0 bit
// "100"; start "110", stop "1001"; a mod 10 check digit (every other digit doubled from the right).
class BRCModifiedPlesseyBarcode : public BRCBarcode {
public:
    using BRCBarcode::initWithContent;
    // Upper-cases the content and works out the check digit.
    bool initWithContent(const QString& content, bool printsCaption) override;
    // A digit's four bits; "" for any other character.
    QString _encodeChar(char c) const override;
    QString initiator() const override { return QStringLiteral("110"); }
    QString terminator() const override { return QStringLiteral("1001"); }
    // Counting from the right, the characters at odd positions are doubled and the digits of the
    // products added, the others added as they are; the check digit brings the sum to a multiple of
    // 10. Hex digits count with their values 10 to 15.
    void generateChecksum() override;

protected:
    // The four bits of a value 0 to 15.
    static QString bits(int value);

    std::unique_ptr<BRCBarcode> newInstance() const override { return std::make_unique<BRCModifiedPlesseyBarcode>(); }
    const char* className() const override { return "BRCModifiedPlesseyBarcode"; }
};
