#include "barcode/BRCCodabarBarcode.h"

#include <algorithm>

namespace {

struct CodabarCharacter {
    char c;
    const char* elements; // bar, space, bar, space, bar, space, bar; '1' wide
};

const CodabarCharacter kCharacters[]
    = { { '0', "0000011" }, { '1', "0000110" }, { '2', "0001001" }, { '3', "1100000" }, { '4', "0010010" },
          { '5', "1000010" }, { '6', "0100001" }, { '7', "0100100" }, { '8', "0110000" }, { '9', "1001000" },
          { '-', "0001100" }, { '$', "0011000" }, { ':', "1000101" }, { '/', "1010001" }, { '.', "1010100" },
          { '+', "0010101" }, { 'A', "0011010" }, { 'B', "0101001" }, { 'C', "0001011" }, { 'D', "0001110" } };

} // namespace

namespace {

bool isStartStop(char c)
{
    return c >= 'A' && c <= 'D';
}

} // namespace

bool BRCCodabarBarcode::isContentValid()
{
    if (!BRCBarcode::isContentValid())
        return false;
    const QByteArray ascii = asciiContent();
    if (ascii.size() < 3 || !isStartStop(ascii.front()) || !isStartStop(ascii.back()))
        return false;
    return std::none_of(ascii.begin() + 1, ascii.end() - 1, isStartStop);
}

QString BRCCodabarBarcode::_encodeChar(char c) const
{
    for (const CodabarCharacter& character : kCharacters) {
        if (character.c != c)
            continue;
        QString modules;
        for (int i = 0; i < 7; ++i) {
            const QLatin1Char module(i % 2 == 0 ? '1' : '0');
            modules += module;
            if (character.elements[i] == '1')
                modules += module;
        }
        return modules + QLatin1Char('0');
    }
    return QString();
}
