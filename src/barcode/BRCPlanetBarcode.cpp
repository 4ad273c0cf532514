#include "barcode/BRCPlanetBarcode.h"

float BRCPlanetBarcode::_heightForDigit(int digit, int bar) const
{
    const float postnet = BRCPostnetBarcode::_heightForDigit(digit, bar);
    return postnet == kFull ? kHalf : kFull;
}
