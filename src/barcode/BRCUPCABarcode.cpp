#include "barcode/BRCUPCABarcode.h"

bool BRCUPCABarcode::initWithContent(const QString& content, bool printsCaption)
{
    if (!BRCBarcode::initWithContent(content, printsCaption))
        return false;
    if (content.size() < 12) {
        generateChecksum();
    } else if (content.size() == 12) {
        setCheckDigit(checkCharacterOf(content.at(11)));
        setContent(content.left(11));
    }
    // Longer values are kept whole, so they fail the length test instead of losing digits.
    calculateWidth();
    return true;
}

QString BRCUPCABarcode::barcode() const
{
    const QByteArray ascii = asciiContent();
    QString modules;
    for (int position = 1; position <= 6; ++position)
        modules += setA(at(ascii, position));
    modules += QLatin1String("01010");
    for (int position = 7; position <= 11; ++position)
        modules += setC(at(ascii, position));
    modules += setC(checkChar());
    return modules;
}

QString BRCUPCABarcode::caption() const
{
    return content_.mid(1, 5) + QLatin1Char('\t') + content_.mid(6, 5);
}

bool BRCUPCABarcode::isContentValid()
{
    QByteArray ascii;
    if (!asciiForm(content_, &ascii) || ascii.size() != 11 || !allDigits(ascii))
        return false;
    return givenCheckDigitMatches();
}
