#pragma once

#include "model/TSLGraphic.h"

// A picture read from a file. The picture is held in memory only: every road that brings the item
// back reads it again from its path.
class TSLImage : public TSLGraphic {
public:
    TSLImage() = default;
    explicit TSLImage(Bare bare) : TSLGraphic(bare) { }

    QString className() const override { return QStringLiteral("TSLImage"); }
    TSLGraphicPtr copyWithZone() const override;

    bool isDrawingFill() const override { return false; }
    bool isDrawingStroke() const override { return _isDrawingStroke; }
    bool canSetDrawingFill() const override { return false; }
    bool canSetDrawingStroke() const override { return false; }
    void flipHorizontally() override { _isFlippedHorizontally = !_isFlippedHorizontally; }
    void flipVertically() override { _isFlippedVertically = !_isFlippedVertically; }
    void makeNaturalSize() override;

    // Makes the path the item's picture file and reads the picture again; none when it cannot be read.
    void setFilePath(const QString& path);

    QImage _contents;
};
