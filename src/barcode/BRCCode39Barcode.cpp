#include "barcode/BRCCode39Barcode.h"

#include <cstring>

namespace {

struct Code39Character {
    char c;
    const char* elements; // bar, space, bar ... bar; '1' wide
};

const Code39Character kCharacters[]
    = { { '0', "000110100" }, { '1', "100100001" }, { '2', "001100001" }, { '3', "101100000" }, { '4', "000110001" },
          { '5', "100110000" }, { '6', "001110000" }, { '7', "000100101" }, { '8', "100100100" }, { '9', "001100100" },
          { 'A', "100001001" }, { 'B', "001001001" }, { 'C', "101001000" }, { 'D', "000011001" }, { 'E', "100011000" },
          { 'F', "001011000" }, { 'G', "000001101" }, { 'H', "100001100" }, { 'I', "001001100" }, { 'J', "000011100" },
          { 'K', "100000011" }, { 'L', "001000011" }, { 'M', "101000010" }, { 'N', "000010011" }, { 'O', "100010010" },
          { 'P', "001010010" }, { 'Q', "000000111" }, { 'R', "100000110" }, { 'S', "001000110" }, { 'T', "000010110" },
          { 'U', "110000001" }, { 'V', "011000001" }, { 'W', "111000000" }, { 'X', "010010001" }, { 'Y', "110010000" },
          { 'Z', "011010000" }, { '-', "010000101" }, { '.', "110000100" }, { ' ', "011000100" }, { '*', "010010100" },
          { '$', "010101000" }, { '/', "010100010" }, { '+', "010001010" }, { '%', "000101010" } };

} // namespace

bool BRCCode39Barcode::initWithContent(const QString& content, bool printsCaption)
{
    return BRCBarcode::initWithContent(content.toUpper(), printsCaption);
}

QString BRCCode39Barcode::basicPattern(char c)
{
    for (const Code39Character& character : kCharacters) {
        if (character.c != c)
            continue;
        QString modules;
        modules.reserve(13);
        for (int i = 0; i < 9; ++i) {
            const QLatin1Char module(i % 2 == 0 ? '1' : '0');
            modules += module;
            if (character.elements[i] == '1')
                modules += module;
        }
        return modules + QLatin1Char('0');
    }
    return QString();
}

QString BRCCode39Barcode::_encodeChar(char c) const
{
    return basicPattern(c);
}

bool BRCCode39Barcode::isContentValid()
{
    QByteArray ascii;
    if (content_.isEmpty() || !asciiForm(content_, &ascii))
        return false;
    const QString frame = basicPattern('*');
    for (const char c : ascii) {
        const QString pattern = _encodeChar(c);
        if (pattern.isEmpty() || pattern == frame)
            return false;
    }
    return true;
}
