#pragma once

#include "barcode/BRCPostnetBarcode.h"

// PLANET: POSTNET with every digit bar's height swapped (three full bars and two half bars a digit);
// the frame bars stay full.
class BRCPlanetBarcode : public BRCPostnetBarcode {
public:
    float _heightForDigit(int digit, int bar) const override;

protected:
    std::unique_ptr<BRCBarcode> newInstance() const override { return std::make_unique<BRCPlanetBarcode>(); }
    const char* className() const override { return "BRCPlanetBarcode"; }
};
