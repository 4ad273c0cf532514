#pragma once

#include "model/TSLGraphic.h"

// A block of text with one font, colour, alignment, case and kerning, over an optional fill and border.
class TSLText : public TSLGraphic {
public:
    TSLText() = default;
    explicit TSLText(Bare bare) : TSLGraphic(bare) { }

    QString className() const override { return QStringLiteral("TSLText"); }

    bool isDrawingFill() const override { return _isDrawingFill; }
    bool isDrawingStroke() const override { return _isDrawingStroke; }
    bool canSetDrawingStroke() const override { return false; }
    QRectF drawingBounds() const override;

    QString contents_val;
    bool _contentsBeingChangedByScripting = false;
    bool _boundsBeingChangedToMatchContents = false;
};
