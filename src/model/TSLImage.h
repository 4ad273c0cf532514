#pragma once

#include "model/ImageProcesser.h"
#include "model/PictureRenditions.h"
#include "model/PictureSource.h"
#include "model/TSLGraphic.h"

#include <QSize>
#include <QSizeF>
#include <QTransform>

// Keys of a picture item's own values (property names, undo and redraw observation).
extern const QString TSLImageContentsKey; // "contents"
extern const QString TSLImageIsFlippedHorizontallyKey; // "flippedHorizontally"
extern const QString TSLImageIsFlippedVerticallyKey; // "flippedVertically"

// A picture read from a file. The picture is held in memory only: every road that brings the item
// back reads it again from its path. The file is decoded when the item is first drawn, once for all the
// items that show it, and the adjustment chain's result for the item's values is kept until a value or
// the file changes (see PictureCache). The result is scaled into the bounds; on screen a copy made at the
// drawn size is used, off screen the chain's full resolution. Drawing changes neither item nor picture.
class TSLImage : public TSLGraphic {
public:
    TSLImage() = default;
    explicit TSLImage(Bare bare)
        : TSLGraphic(bare)
    {
    }

    // A new item showing the picture of the file at the path, centred on the point at the picture's size.
    static std::shared_ptr<TSLImage> initWithPath(const QPointF& point, const QString& path);
    // A new item showing the given picture (shared, not copied), centred on the point; its path is the
    // library picture chosen last (Library_Selected_Image), so an empty choice draws nothing.
    static std::shared_ptr<TSLImage> initWithPosition(const QPointF& point, const QImage& contents);

    QString className() const override { return QStringLiteral("TSLImage"); }
    TSLGraphicPtr copyWithZone() const override;
    QVariantMap properties() const override;

    bool isDrawingFill() const override { return false; }
    bool isDrawingStroke() const override { return _isDrawingStroke; }
    bool canSetDrawingFill() const override { return false; }
    bool canSetDrawingStroke() const override { return false; }
    // Through the observed keys, so a flip is undoable.
    void flipHorizontally() override { setValueForKey(TSLImageIsFlippedHorizontallyKey, !_isFlippedHorizontally); }
    void flipVertically() override { setValueForKey(TSLImageIsFlippedVerticallyKey, !_isFlippedVertically); }
    // The file path ("_file_path") goes through setFilePath, so undoing a new path brings the old picture back.
    void setValueForKey(const QString& key, const QVariant& value) override;

    // Border along the bounds, then the adjusted picture scaled to fill them, mirrored by the flips, at the
    // item's opacity. A hidden item or one with an empty path draws nothing at all; on the canvas, a picture
    // that cannot be found is marked by its missing name.
    void drawContentsInView(const TSLDrawingContext& context, bool isBeingCreateOrEdited) override;

    // The size in device pixels the bounds cover under the painter's transform to its device, which is the
    // size of the screen copy drawn; empty when the transform turns or shears, where no one size fits.
    QSize devicePixelsUnder(const QTransform& toDevice) const;

    // What an output drawing the item at pixelsPerPoint (pixels per point of the card) takes in place of the
    // working picture: the picture read again from its file at the pixels the bounds cover there, adjusted as
    // the item says (see picturerenditions::forOutput).
    picturerenditions::Output outputPicture(double pixelsPerPoint) const;

    // The size of the picture as the item draws it: after the size cap and the turn of the adjustment
    // chain. It does not depend on whether the item has been drawn; zero without a picture.
    QSizeF naturalSize() const;
    // Unless locked: the bounds keep their origin and take the natural size; both flips are cleared.
    void makeNaturalSize() override;

    QSet<QString> keysForValuesToObserveForUndo() const override;
    static QSet<QString> keyPathsForValuesAffectingDrawingContents();
    QString presentablePropertyNameForKey(const QString& key) const override;

    // Makes the path the item's picture file and takes the file as it is now: a file changed on disk since
    // is seen again. Nothing is decoded yet; a missing or unreadable file leaves the item without a picture.
    // Observers are told of the new path under "_file_path".
    void setFilePath(const QString& path);
    // The picture of the stored path, when a file is there; otherwise the item keeps what it shows.
    void restoreDerivedState() override;

    // A path is set but no file is there (moved, renamed, or a name from a record that names nothing): the
    // canvas marks the item with the missing name, and the outputs count the cards made without it.
    bool pictureNotFound() const { return !_file_path.isEmpty() && picture_.isNull(); }

    // The picture the item shows, decoded now if it was not yet; null when there is none.
    QImage contents() const { return picture_.decoded(); }
    // Shows a picture held in memory (shared, not copied) in place of the file's.
    void setContents(const QImage& picture) { picture_ = PictureSource::forImage(picture); }
    const PictureSource& pictureSource() const { return picture_; }
    // The values the adjustment chain takes from the item, as drawing passes them.
    ImageAdjustments adjustments() const;

private:
    void drawNotFoundMark(QPainter& painter) const;

    PictureSource picture_;
};
