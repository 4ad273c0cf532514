#include "barcode/BRCModifiedPlesseyBarcode.h"

namespace {

// Value of a hex digit; -1 for any other character.
int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool BRCModifiedPlesseyBarcode::initWithContent(const QString& content, bool printsCaption)
{
    if (!BRCBarcode::initWithContent(content.toUpper(), printsCaption))
        return false;
    generateChecksum();
    calculateWidth();
    return true;
}

QString BRCModifiedPlesseyBarcode::bits(int value)
{
    QString modules;
    for (int bit = 3; bit >= 0; --bit)
        modules += (value >> bit) & 1 ? QLatin1String("110") : QLatin1String("100");
    return modules;
}

QString BRCModifiedPlesseyBarcode::_encodeChar(char c) const
{
    return c >= '0' && c <= '9' ? bits(c - '0') : QString();
}

void BRCModifiedPlesseyBarcode::generateChecksum()
{
    const QByteArray ascii = asciiContent();
    int sum = 0;
    bool doubled = true;
    for (qsizetype i = ascii.size() - 1; i >= 0; --i) {
        const int value = hexValue(ascii.at(i));
        if (value < 0)
            continue; // such content is invalid; its check digit is never drawn
        if (doubled) {
            for (int product = 2 * value; product > 0; product /= 10)
                sum += product % 10;
        } else {
            sum += value;
        }
        doubled = !doubled;
    }
    checkDigit_ = static_cast<qint8>('0' + (10 - sum % 10) % 10);
}
