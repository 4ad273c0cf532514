#include "barcode/BRCInterleavedTwoOfFiveBarcode.h"

bool BRCInterleavedTwoOfFiveBarcode::_getBarForDigit(char digit, int element)
{
    // Widths of the five elements of each digit; 'W' wide.
    static const char* const widths[]
        = { "NNWWN", "WNNNW", "NWNNW", "WWNNN", "NNWNW", "WNWNN", "NWWNN", "NNNWW", "WNNWN", "NWNWN" };
    if (digit < '0' || digit > '9' || element < 0 || element > 4)
        return true;
    return widths[digit - '0'][element] == 'N';
}

QByteArray BRCInterleavedTwoOfFiveBarcode::digitsToEncode() const
{
    QByteArray digits = asciiContent();
    if (checkDigit_ != -1)
        digits.append(static_cast<char>(checkDigit_));
    return digits;
}

QString BRCInterleavedTwoOfFiveBarcode::barcode() const
{
    QByteArray digits = digitsToEncode();
    if (digits.size() % 2 == 1)
        digits.prepend('0');
    QString modules;
    for (qsizetype i = 0; i + 1 < digits.size(); i += 2) {
        for (int element = 0; element < 5; ++element) {
            modules += _getBarForDigit(digits.at(i), element) ? QLatin1String("1") : QLatin1String("111");
            modules += _getBarForDigit(digits.at(i + 1), element) ? QLatin1String("0") : QLatin1String("000");
        }
    }
    return modules;
}

bool BRCInterleavedTwoOfFiveBarcode::isContentValid()
{
    QByteArray ascii;
    if (content_.isEmpty() || !asciiForm(content_, &ascii))
        return false;
    for (const char c : ascii) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}
