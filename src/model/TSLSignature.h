#pragma once

#include "model/TSLGraphic.h"

// A signature or fingerprint picture item, with an optional border. Its picture follows the record's
// path: a path written by the signature panel or read from a design file is loaded at the next drawing.
class TSLSignature : public TSLGraphic {
public:
    TSLSignature() = default;
    explicit TSLSignature(Bare bare)
        : TSLGraphic(bare)
    {
    }

    // A new signature ("S") or fingerprint (any other kind) item showing the given picture, centred on the
    // point at the picture's size, its path the kind's sample picture.
    static std::shared_ptr<TSLSignature> initWithPosition(
        const QPointF& point, const QImage& contents, const QString& sign_or_FP);

    QString className() const override { return QStringLiteral("TSLSignature"); }

    bool isDrawingFill() const override { return false; }
    bool isDrawingStroke() const override { return _isDrawingStroke; }

    // "Default" stands for the sample picture of the item's kind (signature or fingerprint). The path
    // becomes the record's path and the picture is read from it; none when it cannot be read.
    void setFilePath(const QString& path);

    // Border along the bounds, then the picture stretched to fill them. A hidden item draws nothing.
    void drawContentsInView(const TSLDrawingContext& context, bool isBeingCreateOrEdited) override;

    QImage _contents_img; // the picture on display
    QString file_path; // the file it was read from

private:
    QString resolvedPath(const QString& path) const; // "Default" to the kind's sample
    void loadPicture(const QString& path);
};
