#pragma once

#include "barcode/BRCModifiedPlesseyBarcode.h"

// Modified Plessey with the hex digits A to F as the values 10 to 15.
class BRCModifiedPlesseyHexBarcode : public BRCModifiedPlesseyBarcode {
public:
    QString _encodeChar(char c) const override;

protected:
    std::unique_ptr<BRCBarcode> newInstance() const override
    {
        return std::make_unique<BRCModifiedPlesseyHexBarcode>();
    }
    const char* className() const override { return "BRCModifiedPlesseyHexBarcode"; }
};
