#include "barcode/BRCAbstractUPCEANBarcode.h"

#include <algorithm>
#include <iterator>

void BRCAbstractUPCEANBarcode::calculateWidth()
{
    if (content_.isEmpty()) {
        width_ = 0.0f;
        return;
    }
    width_ = static_cast<float>(completeBarcode().size()) * barWidth_ * 1.2f;
}

QString BRCAbstractUPCEANBarcode::_encodeChar(char c) const
{
    static const char* const patterns[] = { "0001101", "0011001", "0010011", "0111101", "0100011", "0110001", "0101111",
        "0111011", "0110111", "0001011" };
    static_assert(std::size(patterns) == 10);
    if (c < '0' || c > '9')
        return QString();
    return QLatin1String(patterns[c - '0']);
}

int BRCAbstractUPCEANBarcode::checkDigitOf(const QByteArray& digits)
{
    int sum = 0;
    int weight = 3;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        const char c = digits.at(i);
        if (c < '0' || c > '9')
            return -1;
        sum += (c - '0') * weight;
        weight = weight == 3 ? 1 : 3;
    }
    return (10 - sum % 10) % 10;
}

bool BRCAbstractUPCEANBarcode::allDigits(const QByteArray& text)
{
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

void BRCAbstractUPCEANBarcode::generateChecksum()
{
    const QByteArray ascii = asciiContent();
    if (ascii.size() != 11)
        return;
    const int digit = checkDigitOf(ascii);
    if (digit >= 0)
        checkDigit_ = static_cast<qint8>('0' + digit);
}

QString BRCAbstractUPCEANBarcode::rightCaption() const
{
    const char c = checkChar();
    return c ? QString(QLatin1Char(c)) : QString(QLatin1String(""));
}

QString BRCAbstractUPCEANBarcode::swapHandedness(const QString& pattern)
{
    QString result;
    result.reserve(pattern.size());
    for (const QChar c : pattern)
        result += c == QLatin1Char('0') ? QLatin1Char('1') : QLatin1Char('0');
    return result;
}

QString BRCAbstractUPCEANBarcode::swapParity(const QString& pattern)
{
    QString swapped = swapHandedness(pattern);
    std::reverse(swapped.begin(), swapped.end());
    return swapped;
}

char BRCAbstractUPCEANBarcode::at(const QByteArray& text, int position)
{
    return position >= 1 && position <= text.size() ? text.at(position - 1) : '\0';
}

bool BRCAbstractUPCEANBarcode::givenCheckDigitMatches()
{
    const qint8 given = checkDigit_;
    generateChecksum();
    if (checkDigit_ != given) {
        checkDigit_ = given;
        return false;
    }
    return true;
}
