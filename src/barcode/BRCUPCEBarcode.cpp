#include "barcode/BRCUPCEBarcode.h"

bool BRCUPCEBarcode::initWithContent(const QString& content, bool printsCaption)
{
    if (!BRCUPCABarcode::initWithContent(content, printsCaption))
        return false;
    setContent(content);
    if (content.size() == 11) {
        // A UPC-A number: keep its number system in front of the six suppressed digits.
        const char check = checkChar();
        const QString six = check ? UPCAToUPCE(content + QLatin1Char(check)) : QString();
        setContent(content.left(1) + six);
    } else if (content.size() == 8) {
        setCheckDigit(checkCharacterOf(content.at(7)));
        setContent(content.left(7));
    } else if (content.size() == 7) {
        generateChecksum();
    }
    calculateWidth();
    return true;
}

QByteArray BRCUPCEBarcode::UPCEToUPCA(const QByteArray& upce)
{
    if (upce.size() != 7 || (upce.at(0) != '0' && upce.at(0) != '1') || !allDigits(upce))
        return QByteArray();
    const QByteArray d = upce.mid(1); // d[0] .. d[5]
    QByteArray manufacturer;
    QByteArray product;
    switch (d.at(5)) {
    case '0':
    case '1':
    case '2':
        manufacturer = d.left(2) + d.at(5) + "00";
        product = QByteArray("00") + d.mid(2, 3);
        break;
    case '3':
        manufacturer = d.left(3) + "00";
        product = QByteArray("000") + d.mid(3, 2);
        break;
    case '4':
        manufacturer = d.left(4) + "0";
        product = QByteArray("0000") + d.at(4);
        break;
    default:
        manufacturer = d.left(5);
        product = QByteArray("0000") + d.at(5);
        break;
    }
    return upce.left(1) + manufacturer + product;
}

void BRCUPCEBarcode::generateChecksum()
{
    const QByteArray ascii = asciiContent();
    if (ascii.size() != 7) {
        BRCUPCABarcode::generateChecksum();
        return;
    }
    const QByteArray upca = UPCEToUPCA(ascii);
    if (!upca.isEmpty())
        checkDigit_ = static_cast<qint8>('0' + checkDigitOf(upca));
}

QString BRCUPCEBarcode::UPCAToUPCE(const QString& upca)
{
    if (upca.size() < 12)
        return QString(QLatin1String(""));
    // 1-based characters: 1 number system, 2-6 manufacturer, 7-11 product, 12 check digit. Only digits
    // that the suppression drops are tested: they must be zeros, or the symbol would stand for a
    // different number.
    auto chars = [&upca](int from, int to) { return upca.mid(from - 1, to - from + 1); };
    const QString manufacturer345 = chars(4, 6);
    if (manufacturer345 == QLatin1String("000") || manufacturer345 == QLatin1String("100")
        || manufacturer345 == QLatin1String("200")) {
        if (chars(7, 8) != QLatin1String("00"))
            return QString(QLatin1String(""));
        return chars(2, 3) + chars(9, 11) + chars(4, 4);
    }
    if (chars(5, 6) == QLatin1String("00")) {
        if (chars(7, 9) != QLatin1String("000"))
            return QString(QLatin1String(""));
        return chars(2, 4) + chars(10, 11) + QLatin1Char('3');
    }
    if (chars(6, 6) == QLatin1String("0")) {
        if (chars(7, 10) != QLatin1String("0000"))
            return QString(QLatin1String(""));
        return chars(2, 5) + chars(11, 11) + QLatin1Char('4');
    }
    if (upca.at(10) >= QLatin1Char('5')) {
        if (chars(7, 10) != QLatin1String("0000"))
            return QString(QLatin1String(""));
        return chars(2, 6) + chars(11, 11);
    }
    return QString(QLatin1String(""));
}

bool BRCUPCEBarcode::parityForDigit(int index) const
{
    // Parity of positions 1 to 6 per check digit for number system 0; 'E' is even parity (set B).
    static const char* const table[]
        = { "EEEOOO", "EEOEOO", "EEOOEO", "EEOOOE", "EOEEOO", "EOOEEO", "EOOOEE", "EOEOEO", "EOEOOE", "EOOEOE" };
    const char check = checkChar();
    if (!check || index < 1 || index > 6)
        return false;
    const bool even = table[check - '0'][index - 1] == 'E';
    return content_.startsWith(QLatin1Char('1')) ? !even : even;
}

QString BRCUPCEBarcode::barcode() const
{
    const QByteArray ascii = asciiContent();
    QString modules;
    for (int position = 2; position <= 7; ++position) {
        const char c = at(ascii, position);
        modules += parityForDigit(position - 1) ? setB(c) : setA(c);
    }
    return modules;
}

QString BRCUPCEBarcode::caption() const
{
    return content_.mid(1, 6);
}

bool BRCUPCEBarcode::isContentValid()
{
    QByteArray ascii;
    if (!asciiForm(content_, &ascii) || ascii.size() != 7 || !allDigits(ascii))
        return false;
    if (ascii.at(0) != '0' && ascii.at(0) != '1')
        return false;
    return givenCheckDigitMatches();
}
