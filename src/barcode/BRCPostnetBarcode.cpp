#include "barcode/BRCPostnetBarcode.h"

bool BRCPostnetBarcode::initWithContent(const QString& content, bool printsCaption)
{
    if (content.isNull())
        return false;
    setContent(content);
    setBarWidth(1.08f);
    setPrintsCaption(printsCaption);
    generateChecksum();
    setHeight(9.0f);
    calculateWidth();
    return true;
}

QString BRCPostnetBarcode::_encodeChar(char c) const
{
    return c >= '0' && c <= '9' ? QStringLiteral("100100100100100") : QString();
}

float BRCPostnetBarcode::barTop(int index) const
{
    const int length = static_cast<int>(completeBarcode().size());
    if (index == 0 || index >= length - 1)
        return kFull * 72.0f;
    const int digit = (index - 3) / 15;
    const int bar = (index - 15 * digit) / 3;
    return _heightForDigit(digit, bar) * 72.0f;
}

float BRCPostnetBarcode::_heightForDigit(int digit, int bar) const
{
    // The two full bars of each digit.
    static const char* const fullBars[]
        = { "11000", "00011", "00101", "00110", "01001", "01010", "01100", "10001", "10010", "10100" };
    const QByteArray ascii = asciiContent();
    char c = '\0';
    if (digit >= 0 && digit < ascii.size())
        c = ascii.at(digit);
    else if (digit == ascii.size())
        c = static_cast<char>(checkDigit_);
    if (c < '0' || c > '9' || bar < 1 || bar > 5)
        return 0.0f;
    return fullBars[c - '0'][bar - 1] == '1' ? kFull : kHalf;
}

void BRCPostnetBarcode::generateChecksum()
{
    int sum = 0;
    for (const char c : asciiContent()) {
        if (c >= '0' && c <= '9')
            sum += c - '0';
    }
    checkDigit_ = static_cast<qint8>('0' + (10 - sum % 10) % 10);
}

bool BRCPostnetBarcode::isContentValid()
{
    QByteArray ascii;
    if (!asciiForm(content_, &ascii))
        return false;
    if (ascii.size() != 5 && ascii.size() != 9 && ascii.size() != 11)
        return false;
    for (const char c : ascii) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}
