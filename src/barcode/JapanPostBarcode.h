#pragma once

#include "barcode/BRCBarcode.h"

#include <cstdint>

// Japan Post customer barcode: a postal code and address digits as 20 code characters (letters as a
// control code and a digit, padded with control code 4) and a mod 19 check character, each three
// four-state bars standing about the symbol's centre line, between a start and a stop pair.
// The symbol size on the point scale (8.5 to 11.5) sets the bars; the bar width follows it. The height
// is the picture's, as the caller asks it, and never less than the texts and the tallest bar need.
class JapanPostBarcode : public BRCBarcode {
public:
    using BRCBarcode::initWithContent;
    // Takes a size between 8 and 11.5 as given, any other as 10.
    bool initWithContent(const QString& content, bool printsCaption, float barWidth, float height, float fontSize,
        qint8 checkDigit) override;
    // Upper-cases the value, makes the 20 code characters and keeps the readable value as content.
    // Characters the symbol cannot carry, and codes past twenty, are noted: such a value is refused.
    void setContent(const QString& content) override;
    // The picture height; the symbol size becomes the height clamped to 8.5 ... 11.5, the bar width a
    // sixth of the size.
    void setHeight(float height) override;
    float height() const override;
    // Clamped to 4/3 ... 23/12 points; the size becomes six times it.
    void setBarWidth(float barWidth) override;
    float size() const { return size_; }
    QString japanpostContents() const { return japanpostContents_; }
    void generateChecksum() override;
    // At least seven characters, the first seven digits, nothing dropped and nothing cut.
    bool isContentValid() override;
    QString barcode() const override;
    bool printsCaption() const override { return true; }
    bool printsHeader() const override { return true; }
    bool printsFooter() const override { return true; }
    QString initiator() const override { return barFormat().left(2 * kOpenBracketLength); }
    QString terminator() const override { return barFormat().left(2 * kCloseBracketLength - 1); }
    QString _encodeChar(char) const override { return barFormat().left(2 * kNumberLength); }
    // The 4-bit group (2 upper part, 1 lower part) of the bar at a module index.
    int _barDescriptor(int index) const;
    float barTop(int index) const override;
    float barBottom(int index) const override;

    static constexpr std::uint16_t kOpenBracket = 0x31;
    static constexpr int kOpenBracketLength = 2;
    static constexpr std::uint16_t kCloseBracket = 0x13;
    static constexpr int kCloseBracketLength = 2;
    static constexpr int kNumberLength = 3;

protected:
    static QString barFormat() { return QStringLiteral("101010101010101010101010"); }

    std::unique_ptr<BRCBarcode> newInstance() const override { return std::make_unique<JapanPostBarcode>(); }
    const char* className() const override { return "JapanPostBarcode"; }

private:
    // Height of the value text, header, footer and their margins as the renderer lays them out.
    float textBands() const;

    QString japanpostContents_;
    float size_ = 10.0f;
    bool lossy_ = false; // the value had characters the codes do not hold
};

// The three bars of a code character '-' to '@' packed as 4-bit groups, the first bar highest; 0
// (three timing bars) for any other character.
std::uint16_t japanpost_characterDescriptor(char c);
// The group of the bar at a module offset within a character of that many bars.
int japanpost_barDescriptor(std::uint16_t descriptor, int offset, int bars);
// Top and bottom of a bar above the symbol's bottom line at a symbol size, millimetres.
float japanpost_barTop(int group, float size);
float japanpost_barBottom(int group, float size);
