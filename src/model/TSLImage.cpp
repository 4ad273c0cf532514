#include "model/TSLImage.h"

#include "common/Globals.h"
#include "model/CardEditorServices.h"
#include "model/ImageProcesser.h"
#include "model/TSLDrawing.h"
#include "model/TSLDrawnColor.h"
#include "platform/StringsTable.h"

#include <QDir>
#include <QImageReader>
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

ImageAdjustments adjustmentsOf(const TSLImage& item)
{
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
    item->_bounds = centredOn(point, pictureSize(item->_contents));
    resetImageEditingControls();
    return item;
}

std::shared_ptr<TSLImage> TSLImage::initWithPosition(const QPointF& point, const QImage& contents)
{
    auto item = std::make_shared<TSLImage>();
    item->_contents = contents;
    item->_file_path = Library_Selected_Image;
    item->_bounds = centredOn(point, pictureSize(contents));
    resetImageEditingControls();
    return item;
}

TSLGraphicPtr TSLImage::copyWithZone() const
{
    auto copy = std::make_shared<TSLImage>();
    copyBaseFieldsTo(*copy);
    copy->_contents = _contents.copy();
    return copy;
}

QVariantMap TSLImage::properties() const
{
    QVariantMap map = TSLGraphic::properties();
    map.insert(TSLImageContentsKey, _contents);
    map.insert(TSLImageIsFlippedHorizontallyKey, _isFlippedHorizontally);
    map.insert(TSLImageIsFlippedVerticallyKey, _isFlippedVertically);
    return map;
}

void TSLImage::setFilePath(const QString& path)
{
    const QString old = _file_path;
    Set_Control_File_path(path);
    _contents = QImage();
    if (!path.isEmpty()) {
        QImageReader reader(standardizedPath(path));
        reader.setAutoTransform(true);
        _contents = reader.read();
    }
    didChangeValueForKey(QStringLiteral("_file_path"), old, path);
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

    const double opacity = opacityFraction(img_trnsp_val);
    if (opacity > 0.0 && !_contents.isNull()) {
        // The chain works on copies: the item's own picture keeps its pixels and size.
        const std::optional<QImage> picture = ImageProcesser::Get_Processed_Image(_contents, adjustmentsOf(*this));
        if (picture && !picture->isNull()) {
            painter.save();
            // Mirroring happens inside the bounds, so a flipped picture still covers them exactly.
            painter.translate(
                b.x() + (_isFlippedHorizontally ? b.width() : 0.0), b.y() + (_isFlippedVertically ? b.height() : 0.0));
            painter.scale(_isFlippedHorizontally ? -1.0 : 1.0, _isFlippedVertically ? -1.0 : 1.0);
            painter.setOpacity(painter.opacity() * opacity);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRectF(0.0, 0.0, b.width(), b.height()), *picture, QRectF(picture->rect()));
            painter.restore();
        }
    }

    requestCanvasRefresh();
}

QSizeF TSLImage::naturalSize() const
{
    if (_contents.isNull())
        return { 0, 0 };
    // The cap decides the size the chain works at; asking it keeps both answers the same.
    const QSize capped = ImageProcesser::Set_Dimaension(_contents).size();
    const int turn = std::abs(wholeDegrees(rotate_image));
    QSizeF size(capped);
    if (turn == 90 || turn == 270)
        size.transpose();
    else if (turn != 0 && turn != 180)
        size = QSizeF(std::max(capped.width(), capped.height()) + 20, std::max(capped.width(), capped.height()) + 20);
    return size / _contents.devicePixelRatio();
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
