#pragma once

#include "model/TSLGraphic.h"

// A straight line item across its bounds; the two direction flags say which corners it joins.
class TSLLine : public TSLGraphic {
public:
    TSLLine() = default;
    explicit TSLLine(Bare bare) : TSLGraphic(bare) { }

    QString className() const override { return QStringLiteral("TSLLine"); }
    TSLGraphicPtr copyWithZone() const override;

    bool isDrawingFill() const override { return false; }
    bool isDrawingStroke() const override { return true; }
    bool canSetDrawingFill() const override { return false; }
    bool canSetDrawingStroke() const override { return false; }
    bool canMakeNaturalSize() const override { return false; }
    static int creationSizingHandle() { return 2; }
    int creationSizingHandleOfInstance() const override { return creationSizingHandle(); }

    // Not archived: a line read back from a file runs from top-left to bottom-right.
    bool _pointsRight = false;
    bool _pointsDown = false;
};
