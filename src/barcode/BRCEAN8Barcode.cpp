#include "barcode/BRCEAN8Barcode.h"

bool BRCEAN8Barcode::initWithContent(const QString& content, bool printsCaption)
{
    if (!BRCEAN13Barcode::initWithContent(content, printsCaption))
        return false;
    if (content.size() == 7) {
        setContent(content);
        generateChecksum();
    } else if (content.size() == 8) {
        setCheckDigit(checkCharacterOf(content.at(7)));
        setContent(content.left(7));
    }
    calculateWidth();
    return true;
}

QString BRCEAN8Barcode::barcode() const
{
    const QByteArray ascii = asciiContent();
    QString modules;
    for (int position = 1; position <= 4; ++position)
        modules += setA(at(ascii, position));
    modules += QLatin1String("01010");
    for (int position = 5; position <= 7; ++position)
        modules += setC(at(ascii, position));
    modules += setC(checkChar());
    return modules;
}

QString BRCEAN8Barcode::caption() const
{
    QString text = QStringLiteral(" ") + content_.left(4) + QLatin1Char('\t') + content_.mid(4, 3);
    if (const char c = checkChar())
        text += QLatin1Char(c);
    return text;
}

void BRCEAN8Barcode::generateChecksum()
{
    const QByteArray ascii = asciiContent();
    if (ascii.size() < 7)
        return;
    const int digit = checkDigitOf(ascii.left(7));
    if (digit >= 0)
        checkDigit_ = static_cast<qint8>('0' + digit);
}

bool BRCEAN8Barcode::isContentValid()
{
    QByteArray ascii;
    if (!asciiForm(content_, &ascii) || ascii.size() != 7 || !allDigits(ascii))
        return false;
    return givenCheckDigitMatches();
}
