#include "barcode/BRCIndustrialTwoOfFiveBarcode.h"

QString BRCIndustrialTwoOfFiveBarcode::barcode() const
{
    QString modules;
    for (const char digit : digitsToEncode()) {
        for (int element = 0; element < 5; ++element)
            modules += _getBarForDigit(digit, element) ? QLatin1String("10") : QLatin1String("1110");
    }
    return modules;
}
