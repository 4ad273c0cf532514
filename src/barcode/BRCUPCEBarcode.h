#pragma once

#include "barcode/BRCUPCABarcode.h"

// UPC-E: a zero-suppressed UPC-A number: number system '0' or '1', six digits, and the check digit of
// the expanded UPC-A number, carried by the parity of the six digits. Accepts the seven characters
// (check digit computed), eight (the check digit given must be right) or the eleven digits of a UPC-A
// number that can be suppressed.
class BRCUPCEBarcode : public BRCUPCABarcode {
public:
    using BRCBarcode::initWithContent;
    bool initWithContent(const QString& content, bool printsCaption) override;
    QString barcode() const override;
    // Set B (true) or set A for position 1 to 6, by the check digit and the number system.
    bool parityForDigit(int index) const;
    bool isContentValid() override;
    QString terminator() const override { return QStringLiteral("010101"); }
    QString caption() const override;
    // The check digit of a 7-character content (from its UPC-A expansion), or of 11 UPC-A digits.
    void generateChecksum() override;

    // The six UPC-E digits of a UPC-A number given with its check digit (12 characters or more);
    // "" when the number cannot be zero-suppressed.
    static QString UPCAToUPCE(const QString& upca);
    // The 11 UPC-A digits (without check digit) that seven UPC-E characters stand for; "" when they
    // are not a number system '0' or '1' and six digits.
    static QByteArray UPCEToUPCA(const QByteArray& upce);

protected:
    std::unique_ptr<BRCBarcode> newInstance() const override { return std::make_unique<BRCUPCEBarcode>(); }
    const char* className() const override { return "BRCUPCEBarcode"; }
};
