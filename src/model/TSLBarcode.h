#pragma once

#include "model/TSLGraphic.h"

// A barcode item: it shows the picture last generated for it, or the sample picture.
class TSLBarcode : public TSLGraphic {
public:
    TSLBarcode() = default;
    explicit TSLBarcode(Bare bare) : TSLGraphic(bare) { }

    QString className() const override { return QStringLiteral("TSLBarcode"); }

    bool isDrawingFill() const override { return false; }
    bool isDrawingStroke() const override { return false; }

    QImage _contents; // the picture on display
};
