#include "model/TSLImage.h"

#include "common/Globals.h"
#include "model/CardEditorServices.h"
#include "model/ImageProcesser.h"
#include "model/PictureRenditions.h"
#include "model/TSLDrawing.h"
#include "model/TSLDrawnColor.h"
#include "platform/StringsTable.h"

#include <QDir>
#include <QFileInfo>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>

const QString TSLImageContentsKey = QStringLiteral("contents");
const QString TSLImageIsFlippedHorizontallyKey = QStringLiteral("flippedHorizontally");
const QString TSLImageIsFlippedVerticallyKey = QStringLiteral("flippedVertically");

namespace {

QString standardizedPath(const QString& path)
{
    QString expanded = path;
    if (expanded.startsWith(QLatin1String("~/")) || expanded == QLatin1String("~"))
        expanded.replace(0, 1, QDir::homePath());
    return QDir::cleanPath(expanded);
}

// The rotation as the chain takes it: truncated toward zero to whole degrees, reduced by whole turns
// first so that no stored value can overflow the integer. A value that is not a number turns nothing.
int wholeDegrees(float rotation)
{
    if (!std::isfinite(rotation))
        return 0;
    return static_cast<int>(std::fmod(std::trunc(static_cast<double>(rotation)), 360.0));
}

} // namespace

ImageAdjustments TSLImage::adjustments() const
{
    const TSLImage& item = *this;
    ImageAdjustments values;
    values.grayscale = item.gray_Scale;
    values.sepia = item.Sepia;
    values.invert = item.invert_clr;
    values.hue = item.hue_val;
    values.saturation = item.sat_val;
    values.brightness = item.brt_val;
    values.contrast = item.con_val;
    values.rotation = wholeDegrees(item.rotate_image);
    values.sharpness = item.srp_val;
    values.exposure = item.ev_val;
    values.blur = item.blr_val;
    return values;
}

namespace {

// The picture's opacity in percent as a painter fraction; above 100 is opaque.
double opacityFraction(float percent)
{
    if (std::isnan(percent))
        return 1.0;
    return std::clamp(static_cast<double>(percent) / 100.0, 0.0, 1.0);
}

QRectF centredOn(const QPointF& point, const QSizeF& size)
{
    return { point.x() - size.width() / 2.0, point.y() - size.height() / 2.0, size.width(), size.height() };
}

QSizeF pictureSize(const QImage& picture)
{
    return picture.isNull() ? QSizeF(0, 0) : picture.deviceIndependentSize();
}

void resetImageEditingControls()
{
    if (CardEditorServices* services = editorServices())
        services->resetImageEditingControls();
}

} // namespace

std::shared_ptr<TSLImage> TSLImage::initWithPath(const QPointF& point, const QString& path)
{
    auto item = std::make_shared<TSLImage>();
    item->setFilePath(path);
    item->_bounds = centredOn(point, item->picture_.pointSize());
    resetImageEditingControls();
    return item;
}

std::shared_ptr<TSLImage> TSLImage::initWithPosition(const QPointF& point, const QImage& contents)
{
    auto item = std::make_shared<TSLImage>();
    item->setContents(contents);
    item->_file_path = Library_Selected_Image;
    item->_bounds = centredOn(point, pictureSize(contents));
    resetImageEditingControls();
    return item;
}

TSLGraphicPtr TSLImage::copyWithZone() const
{
    auto copy = std::make_shared<TSLImage>();
    copyBaseFieldsTo(*copy);
    copy->picture_ = picture_; // pictures are never changed in place, so sharing is safe
    return copy;
}

QVariantMap TSLImage::properties() const
{
    QVariantMap map = TSLGraphic::properties();
    map.insert(TSLImageContentsKey, contents());
    map.insert(TSLImageIsFlippedHorizontallyKey, _isFlippedHorizontally);
    map.insert(TSLImageIsFlippedVerticallyKey, _isFlippedVertically);
    return map;
}

void TSLImage::setFilePath(const QString& path)
{
    const QString old = _file_path;
    Set_Control_File_path(path);
    picture_ = path.isEmpty() ? PictureSource() : PictureSource::forFile(standardizedPath(path));
    didChangeValueForKey(QStringLiteral("_file_path"), old, path);
}

void TSLImage::restoreDerivedState()
{
    if (!_file_path.isEmpty() && QFileInfo::exists(standardizedPath(_file_path)))
        setFilePath(_file_path);
}

void TSLImage::setValueForKey(const QString& key, const QVariant& value)
{
    if (key == QLatin1String("_file_path"))
        setFilePath(value.toString());
    else
        TSLGraphic::setValueForKey(key, value);
}

void TSLImage::drawContentsInView(const TSLDrawingContext& context, bool)
{
    if (!ctrl_is_visible || _file_path.isEmpty() || !context.painter)
        return;
    QPainter& painter = *context.painter;
    const QRectF b = _bounds;

    if (isDrawingStroke()) {
        painter.save();
        painter.setBrush(Qt::NoBrush);
        painter.setPen(borderPen(colorWithOpacity(_strokeColor, alpha_val_stroke), _strokeWidth, _stroke_border_type));
        painter.drawRect(b);
        painter.restore();
    }

    if (context.isCanvas && pictureNotFound())
        drawNotFoundMark(painter);

    const double opacity = opacityFraction(img_trnsp_val);
    if (opacity > 0.0 && !picture_.isNull()) {
        // The chain works on copies: the item's own picture keeps its pixels and size.
        const ImageAdjustments values = adjustments();
        // Every raster output (canvas, exported and mailed cards, pictures of cards) draws a copy averaged
        // down to its own device pixels; a vector recording keeps the adjusted picture for its device.
        const bool raster
            = context.isCanvas || (painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster);
        QImage picture;
        if (!context.isCanvas && context.outputPixelsPerPoint > 0)
            picture = outputPicture(context.outputPixelsPerPoint).picture;
        if (picture.isNull()) {
            picture = raster
                ? picturerenditions::forDevice(picture_, values, devicePixelsUnder(painter.deviceTransform()))
                : picturerenditions::adjusted(picture_, values);
        }
        if (!picture.isNull()) {
            painter.save();
            // Mirroring happens inside the bounds, so a flipped picture still covers them exactly.
            painter.translate(
                b.x() + (_isFlippedHorizontally ? b.width() : 0.0), b.y() + (_isFlippedVertically ? b.height() : 0.0));
            painter.scale(_isFlippedHorizontally ? -1.0 : 1.0, _isFlippedVertically ? -1.0 : 1.0);
            painter.setOpacity(painter.opacity() * opacity);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRectF(0.0, 0.0, b.width(), b.height()), picture, QRectF(picture.rect()));
            painter.restore();
        }
    }

    requestCanvasRefresh();
}

void TSLImage::drawNotFoundMark(QPainter& painter) const
{
    // At least large enough to read, so that an item of no size is still seen.
    QRectF mark = _bounds;
    mark.setSize(mark.size().expandedTo(QSizeF(60, 24)));
    drawMissingMark(painter, mark, QStringLiteral("Picture not found:"), QFileInfo(_file_path).fileName());
}

QSize TSLImage::devicePixelsUnder(const QTransform& toDevice) const
{
    if (toDevice.type() > QTransform::TxScale)
        return {};
    const QRectF mapped = toDevice.mapRect(_bounds);
    return { qRound(mapped.width()), qRound(mapped.height()) };
}

picturerenditions::Output TSLImage::outputPicture(double pixelsPerPoint) const
{
    const QSizeF exact = _bounds.size() * pixelsPerPoint;
    if (!(exact.width() >= 1 && exact.height() >= 1 && exact.width() < 1e5 && exact.height() < 1e5))
        return {};
    const QSize pixels(int(std::ceil(exact.width())), int(std::ceil(exact.height())));
    return picturerenditions::forOutput(picture_, adjustments(), pixels);
}

QSizeF TSLImage::naturalSize() const
{
    // The chain's own size rules, applied to the size alone: the answer needs no decoding.
    const QSize size = picturerenditions::adjustedSize(picture_, adjustments());
    if (size.isEmpty())
        return { 0, 0 };
    return QSizeF(size) / picture_.devicePixelRatio();
}

void TSLImage::makeNaturalSize()
{
    if (ctrl_is_locked)
        return;
    QRectF r = bounds();
    r.setSize(naturalSize());
    setBounds(r);
    _isFlippedHorizontally = false;
    _isFlippedVertically = false;
}

QSet<QString> TSLImage::keysForValuesToObserveForUndo() const
{
    QSet<QString> keys = TSLGraphic::keysForValuesToObserveForUndo();
    keys << TSLImageIsFlippedHorizontallyKey << TSLImageIsFlippedVerticallyKey;
    return keys;
}

QSet<QString> TSLImage::keyPathsForValuesAffectingDrawingContents()
{
    QSet<QString> keys = TSLGraphic::keyPathsForValuesAffectingDrawingContents();
    keys << TSLImageIsFlippedHorizontallyKey << TSLImageIsFlippedVerticallyKey;
    return keys;
}

QString TSLImage::presentablePropertyNameForKey(const QString& key) const
{
    if (key == TSLImageIsFlippedHorizontallyKey)
        return platform::localizedString(QStringLiteral("UndoStrings"), QStringLiteral("Horizontal Flipping"));
    if (key == TSLImageIsFlippedVerticallyKey)
        return platform::localizedString(QStringLiteral("UndoStrings"), QStringLiteral("Vertical Flipping"));
    return TSLGraphic::presentablePropertyNameForKey(key);
}
