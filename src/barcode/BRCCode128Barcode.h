#pragma once

#include "barcode/BRCBarcode.h"

#include <vector>

// Code 128 in one code set for the whole content: set A (upper case and control characters), set B
// (upper and lower case) or set C (digit pairs). In sets A and B a character of the other set is
// written as SHIFT and its value in that set; set C takes digits only. Mod 103 check symbol, whose
// value 0 to 102 is kept as the check digit.
class BRCCode128Barcode : public BRCBarcode {
public:
    enum { SetA = 0, SetB = 1, SetC = 2, SetChosen = 3 };

    using BRCBarcode::initWithContent;
    // With SetChosen, the set is chosen from the content here.
    bool initWithContent(const QString& content, bool printsCaption) override;
    int codeSet() const { return codeSet_; }
    // Given before the initialiser.
    void setCodeSet(int codeSet) { codeSet_ = codeSet; }

    void generateChecksum() override;
    QString initiator() const override;
    QString terminator() const override { return QStringLiteral("1100011101011"); }
    // The character in the chosen set, with SHIFT in front when it is in the other of sets A and B;
    // "" when it cannot be written. In set C, a digit answers its set A pattern (validity only: set C
    // content is written in pairs).
    QString _encodeChar(char c) const override;
    bool _canEncodeChar(char c, int set) const;
    QString _encodeChar(char c, int set) const;
    // Set C for an even count of digits only (empty content included); otherwise set A when control
    // characters outnumber lower-case letters, else set B.
    int _bestCodeSetForContent() const;
    // The SHIFT symbol of sets A and B; "" for set C, which has none.
    QString _shiftCharacterForSet(int set) const;
    // Pattern of the symbol whose value (0 to 102) the text holds; "" outside.
    QString _encodeNumberPair(const QString& number) const;
    QString barcode() const override;
    // A set of 0 to 2, and content that set can carry: every ASCII character in sets A and B, digits
    // in set C.
    bool isContentValid() override;

    // Pattern of the symbol of value 0 to 106 (103 to 105 the start symbols, 106 the stop symbol
    // without its final bar); "" outside.
    static QString symbolPattern(int value);

protected:
    std::unique_ptr<BRCBarcode> newInstance() const override;
    const char* className() const override { return "BRCCode128Barcode"; }

private:
    // Value of a character in set A or B; -1 when it is not in that set.
    static int valueInSet(char c, int set);
    // The data symbols' values in order, SHIFTs included; false when the content cannot be written.
    bool symbolValues(std::vector<int>* values) const;

    int codeSet_ = SetA;
};
