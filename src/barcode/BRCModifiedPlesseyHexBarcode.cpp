#include "barcode/BRCModifiedPlesseyHexBarcode.h"

QString BRCModifiedPlesseyHexBarcode::_encodeChar(char c) const
{
    if (c >= 'A' && c <= 'F')
        return bits(c - 'A' + 10);
    return BRCModifiedPlesseyBarcode::_encodeChar(c);
}
