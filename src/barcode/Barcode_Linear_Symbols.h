#pragma once

#include <QString>

#include <memory>

class BRCBarcode;

// A new, empty symbol of the linear symbology with that title (Code 128 with its code set already given);
// none for the 2-D titles and for unknown ones.
std::unique_ptr<BRCBarcode> Barcode_Linear_Symbol(const QString& title);
