#pragma once

#include "model/TSLGraphic.h"

// A signature or fingerprint picture item.
class TSLSignature : public TSLGraphic {
public:
    TSLSignature() = default;
    explicit TSLSignature(Bare bare) : TSLGraphic(bare) { }

    QString className() const override { return QStringLiteral("TSLSignature"); }

    bool isDrawingFill() const override { return false; }
    bool isDrawingStroke() const override { return _isDrawingStroke; }

    // "Default" stands for the sample picture of the item's kind (signature or fingerprint).
    void setFilePath(const QString& path);

    QImage _contents_img;
    QString file_path;
};
