#include "barcode/BRCEAN13Barcode.h"

bool BRCEAN13Barcode::initWithContent(const QString& content, bool printsCaption)
{
    if (!BRCBarcode::initWithContent(content, printsCaption))
        return false;
    setContent(content);
    if (content.size() < 13) {
        generateChecksum();
    } else if (content.size() == 13) {
        setCheckDigit(checkCharacterOf(content.at(12)));
        setContent(content.left(12));
    }
    // Longer values are kept whole, so they fail the length test instead of losing digits.
    calculateWidth();
    return true;
}

bool BRCEAN13Barcode::_parityForSystemDigit(char systemDigit, int index)
{
    // Parity of left-hand positions 1 to 6 per first digit; 'B' is even parity (set B).
    static const char* const table[]
        = { "AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB", "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA" };
    if (systemDigit < '0' || systemDigit > '9' || index < 1 || index > 6)
        return false;
    return table[systemDigit - '0'][index - 1] == 'B';
}

QString BRCEAN13Barcode::barcode() const
{
    const QByteArray ascii = asciiContent();
    const char system = at(ascii, 1);
    QString modules;
    for (int position = 2; position <= 7; ++position) {
        const char c = at(ascii, position);
        modules += _parityForSystemDigit(system, position - 1) ? setB(c) : setA(c);
    }
    modules += QLatin1String("01010");
    for (int position = 8; position <= 12; ++position)
        modules += setC(at(ascii, position));
    modules += setC(checkChar());
    return modules;
}

QString BRCEAN13Barcode::caption() const
{
    QString text = QStringLiteral("  ") + content_.mid(1, 6) + QLatin1Char('\t') + content_.mid(7, 5);
    if (const char c = checkChar())
        text += QLatin1Char(c);
    return text;
}

void BRCEAN13Barcode::generateChecksum()
{
    const QByteArray ascii = asciiContent();
    if (ascii.size() != 12)
        return;
    const int digit = checkDigitOf(ascii);
    if (digit >= 0)
        checkDigit_ = static_cast<qint8>('0' + digit);
}

bool BRCEAN13Barcode::isContentValid()
{
    QByteArray ascii;
    if (!asciiForm(content_, &ascii) || ascii.size() != 12 || !allDigits(ascii))
        return false;
    return givenCheckDigitMatches();
}
