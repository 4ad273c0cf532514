#include "barcode/BRCRoyalMailBarcode.h"

#include <iterator>

namespace {

constexpr float kFullMillimetres = 5.05f;
constexpr float kHalfMillimetres = 3.15f;
constexpr float kPointsPerMillimetre = 72.0f / 25.4f;

// The characters in six rows of six; a character's upper parts come from its row and its lower
// parts from its column.
constexpr char kGrid[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
// Bars of row or column 1 to 6, first bar highest.
constexpr int kParts[] = { 0b0011, 0b0101, 0b0110, 0b1001, 0b1010, 0b1100 };

int gridIndex(char c)
{
    for (int i = 0; i < 36; ++i) {
        if (kGrid[i] == c)
            return i;
    }
    return -1;
}

} // namespace

std::uint16_t royalmail_characterDescriptor(char c)
{
    const int index = gridIndex(c);
    if (index < 0)
        return 0;
    const int upper = kParts[index / 6];
    const int lower = kParts[index % 6];
    std::uint16_t descriptor = 0;
    for (int bar = 0; bar < 4; ++bar) {
        const int bit = 3 - bar;
        const int group = ((upper >> bit) & 1) * 2 + ((lower >> bit) & 1);
        descriptor = static_cast<std::uint16_t>(descriptor | group << (4 * bit));
    }
    return descriptor;
}

int royalmail_barDescriptor(std::uint16_t descriptor, int offset)
{
    const int bar = offset / 2;
    if (bar < 0 || bar > 3)
        return 0;
    return (descriptor >> (4 * (3 - bar))) & 0xF;
}

float royalmail_barTop(int group)
{
    return group & 2 ? kFullMillimetres : kHalfMillimetres;
}

float royalmail_barBottom(int group)
{
    return group & 1 ? 0.0f : kFullMillimetres - kHalfMillimetres;
}

int royalmail_collapseAscenders(std::uint16_t descriptor)
{
    int pattern = 0;
    for (int bar = 0; bar < 4; ++bar)
        pattern = pattern << 1 | ((descriptor >> (4 * (3 - bar))) & 2 ? 1 : 0);
    return pattern;
}

int royalmail_collapseDescenders(std::uint16_t descriptor)
{
    int pattern = 0;
    for (int bar = 0; bar < 4; ++bar)
        pattern = pattern << 1 | ((descriptor >> (4 * (3 - bar))) & 1);
    return pattern;
}

QString BRCRoyalMailBarcode::_encodeChar(char c) const
{
    return gridIndex(c) < 0 ? QString() : QStringLiteral("10101010");
}

bool BRCRoyalMailBarcode::initWithContent(const QString& content, bool)
{
    if (content.isNull())
        return false;
    setContent(content);
    setBarWidth(0.5f * kPointsPerMillimetre);
    setPrintsCaption(false);
    generateChecksum();
    setHeight(kFullMillimetres * kPointsPerMillimetre);
    calculateWidth();
    return true;
}

int BRCRoyalMailBarcode::_barDescriptor(int index) const
{
    const QByteArray ascii = asciiContent();
    if (index <= 0)
        return 2;
    if (index >= (ascii.size() + 1) * 8 + 2)
        return 3;
    const int i = index - 2;
    const int character = i / 8;
    char c = static_cast<char>(checkDigit_);
    if (character < ascii.size())
        c = ascii.at(character);
    return royalmail_barDescriptor(royalmail_characterDescriptor(c), i % 8);
}

float BRCRoyalMailBarcode::barTop(int index) const
{
    return royalmail_barTop(_barDescriptor(index)) * kPointsPerMillimetre;
}

float BRCRoyalMailBarcode::barBottom(int index) const
{
    return royalmail_barBottom(_barDescriptor(index)) * kPointsPerMillimetre;
}

void BRCRoyalMailBarcode::generateChecksum()
{
    int rows = 0;
    int columns = 0;
    for (const char c : asciiContent()) {
        const std::uint16_t descriptor = royalmail_characterDescriptor(c);
        rows = (rows + royalmail_collapseAscenders(descriptor) / 2) % 6;
        columns = (columns + royalmail_collapseDescenders(descriptor) / 2) % 6;
    }
    const int row = rows == 0 ? 5 : rows - 1;
    const int column = columns == 0 ? 5 : columns - 1;
    checkDigit_ = static_cast<qint8>(kGrid[6 * row + column]);
}
