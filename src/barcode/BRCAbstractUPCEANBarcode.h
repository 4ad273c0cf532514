#pragma once

#include "barcode/BRCBarcode.h"

// What the four retail symbologies (EAN-13, EAN-8, UPC-A, UPC-E) share: the digit patterns, the
// guards, the 3/1-weighted check digit, a width with room for the outside caption digits and the
// positions of the first and last bar.
class BRCAbstractUPCEANBarcode : public BRCBarcode {
public:
    void calculateWidth() override;
    float firstBar() const override { return width_ * 0.1f; }
    float lastBar() const override { return width_ * 0.9f - barWidth_; }
    // Left-hand odd-parity (set A) pattern of a digit; "" for any other character.
    QString _encodeChar(char c) const override;
    QString initiator() const override { return QStringLiteral("101"); }
    QString terminator() const override { return QStringLiteral("101"); }
    int digitsToLeft() const override { return 1; }
    int digitsToRight() const override { return 1; }
    // The check digit of an 11-character content.
    void generateChecksum() override;
    // The check digit; "" while there is none.
    QString rightCaption() const override;

    // Right-hand (set C) pattern from a set A pattern: every module inverted.
    static QString swapHandedness(const QString& pattern);
    // Left-hand even-parity (set B) pattern from a set A pattern: inverted and reversed.
    static QString swapParity(const QString& pattern);
    // Mod 10 check digit of a run of digits, weights 3, 1, 3 ... from the rightmost digit; -1 when a
    // character is not a digit.
    static int checkDigitOf(const QByteArray& digits);
    static bool allDigits(const QByteArray& text);

protected:
    // Character at a 1-based position; 0 (no character, encodes to nothing) past the end.
    static char at(const QByteArray& text, int position);
    // Patterns of one digit in the three sets.
    QString setA(char c) const { return _encodeChar(c); }
    QString setB(char c) const { return swapParity(_encodeChar(c)); }
    QString setC(char c) const { return swapHandedness(_encodeChar(c)); }
    // The check digit as a character, '\0' (no character) while there is none.
    char checkChar() const { return checkDigit_ >= '0' && checkDigit_ <= '9' ? static_cast<char>(checkDigit_) : '\0'; }
    // Recomputes the check digit of a content whose given check digit is stored: false, with the given
    // one put back, when they differ.
    bool givenCheckDigitMatches();
    // A character of the content as a check character; one outside ASCII can never match.
    static qint8 checkCharacterOf(QChar c) { return c.unicode() <= 0x7F ? static_cast<qint8>(c.unicode()) : '?'; }

    std::unique_ptr<BRCBarcode> newInstance() const override = 0;
};
