#pragma once

#include "barcode/BRCBarcode.h"

#include <cstdint>

// Royal Mail four-state customer code: each of 0-9 and A-Z is four bars, each bar a tracker, an
// ascender (upper part), a descender (lower part) or a full bar, standing about the symbol's centre
// line. Other characters are refused. A row/column check character ends the data; an ascender
// starts the symbol and a full bar stops it. Bars one module wide, two modules apart.
class BRCRoyalMailBarcode : public BRCBarcode {
public:
    using BRCBarcode::initWithContent;
    // Bars 0.5 mm wide, symbol 5.05 mm high, no caption flag; the check character worked out.
    bool initWithContent(const QString& content, bool printsCaption) override;
    // The caption, header and footer are always laid out.
    bool printsCaption() const override { return true; }
    bool printsHeader() const override { return true; }
    bool printsFooter() const override { return true; }
    QString initiator() const override { return QStringLiteral("10"); }
    QString terminator() const override { return QStringLiteral("1"); }
    // Lower-case letters are taken as capitals, which is how the symbol carries them.
    void setContent(const QString& content) override { BRCBarcode::setContent(content.toUpper()); }
    // Four bars for 0-9 and A-Z; "" for any other character, which the symbol cannot carry (drawn as
    // trackers it would read back as other data).
    QString _encodeChar(char c) const override;
    // The 4-bit group (2 upper part, 1 lower part) of the bar at a module index.
    int _barDescriptor(int index) const;
    float barTop(int index) const override;
    float barBottom(int index) const override;
    void generateChecksum() override;

protected:
    std::unique_ptr<BRCBarcode> newInstance() const override { return std::make_unique<BRCRoyalMailBarcode>(); }
    const char* className() const override { return "BRCRoyalMailBarcode"; }
};

// The four bars of 0-9 and A-Z packed as 4-bit groups, the first bar highest; 0 for any other
// character.
std::uint16_t royalmail_characterDescriptor(char c);
// The group of the bar at a module offset 0 to 7 within a character.
int royalmail_barDescriptor(std::uint16_t descriptor, int offset);
// Top and bottom of a bar above the symbol's bottom line, millimetres.
float royalmail_barTop(int group);
float royalmail_barBottom(int group);
// The 4-bit pattern of the bars with an upper (or lower) part, first bar highest.
int royalmail_collapseAscenders(std::uint16_t descriptor);
int royalmail_collapseDescenders(std::uint16_t descriptor);
