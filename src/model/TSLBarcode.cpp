#include "model/TSLBarcode.h"

#include "common/Globals.h"
#include "platform/Geometry.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QHash>
#include <QPainter>

#include <algorithm>
#include <mutex>

namespace {

// The sample does not change while the program runs, so each path is read once; items are drawn on
// worker threads too, hence the lock.
QImage samplePicture()
{
    static std::mutex lock;
    static QHash<QString, QImage> loaded;
    const QString path = QDir::cleanPath(Resource_Path + QStringLiteral("/barcode_sample.png"));
    const std::lock_guard<std::mutex> guard(lock);
    auto found = loaded.constFind(path);
    if (found == loaded.constEnd())
        found = loaded.insert(path, platform::readPictureFile(path));
    return found.value();
}

QSizeF pictureSize(const QImage& picture)
{
    return picture.isNull() ? QSizeF(0, 0) : picture.deviceIndependentSize();
}

TSLBarcode::DrawingMaker& drawingMaker()
{
    static TSLBarcode::DrawingMaker maker;
    return maker;
}

} // namespace

void TSLBarcode::setDrawingMaker(DrawingMaker maker)
{
    drawingMaker() = std::move(maker);
}

void TSLBarcode::restoreDerivedState()
{
    // The drawing comes from the item's own symbology and value, whether or not a picture was stored with
    // it: a file without one must not show the sample, which a scanner would read as a value.
    const QString value = linear_or_2d == 1 ? two_d_font_val : linear_font_val;
    if (value.isEmpty() || Barcode_drawing() || !drawingMaker())
        return;
    if (std::shared_ptr<const TSLBarcode_Drawing> drawing = drawingMaker()(*this))
        Set_Barcode_drawing(std::move(drawing));
}

std::shared_ptr<TSLBarcode> TSLBarcode::initWithPosition(const QPointF& point, const QImage&)
{
    auto item = std::make_shared<TSLBarcode>();
    item->barcode_image_var_assign();
    const QSizeF size = pictureSize(item->_contents);
    item->_bounds
        = QRectF(point.x() - size.width() / 2.0, point.y() - size.height() / 2.0, size.width(), size.height());
    return item;
}

void TSLBarcode::barcode_image_var_assign()
{
    _contents = _barcode_image.isNull() ? samplePicture() : _barcode_image;
}

void TSLBarcode::drawVector(QPainter& painter, const TSLBarcode_Drawing& drawing) const
{
    // A value without a symbol shows nothing: never the sample, which a scanner would take for a value.
    const QSizeF size = drawing.size();
    const QRectF target = platform::fittedRect(size, _bounds);
    if (target.isEmpty())
        return;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / size.width(), target.height() / size.height());
    drawing.draw(painter);
    painter.restore();
}

double TSLBarcode::modulePixels(double pixelsPerPoint) const
{
    const TSLBarcode_Drawing* drawing = Barcode_drawing();
    if (!drawing || drawing->size().isEmpty())
        return 0.0;
    const QRectF target = platform::fittedRect(drawing->size(), _bounds);
    const double scale = target.width() / drawing->size().width() * pixelsPerPoint;
    // A rectangular DataMatrix has modules less high than wide: its rows are drawn with fewer pixels.
    const double height = drawing->moduleHeight();
    return (height > 0.0 ? std::min(drawing->moduleWidth(), height) : drawing->moduleWidth()) * scale;
}

std::optional<TSLBarcode::Small_Modules> TSLBarcode::modulesTooSmall(int dpi) const
{
    const double pixels = ctrl_is_visible ? modulePixels(dpi / 72.0) : 0.0;
    if (!(pixels > 0.0))
        return std::nullopt;
    // Modules are drawn with whole pixels, as many as fit: 1.9 nominal pixels become one.
    const Small_Modules modules { TSLBarcode_Drawing::wholeModulePixels(pixels),
        Barcode_drawing()->readableModulePixels(), pixels < 1.0 };
    if (modules.drawn < modules.needed || modules.widened)
        return modules;
    return std::nullopt;
}

void TSLBarcode::drawContentsInView(const TSLDrawingContext& context, bool)
{
    if (!ctrl_is_visible || !context.painter)
        return;
    if (const TSLBarcode_Drawing* drawing = Barcode_drawing()) {
        drawVector(*context.painter, *drawing);
        requestCanvasRefresh();
        return;
    }
    // Taken again at every drawing, so a barcode generated since the last one shows at once.
    barcode_image_var_assign();
    // A symbol generated at print resolution is far larger in points than the item: it is scaled into
    // the item's bounds, keeping its proportions, with sharp module edges so that it still scans.
    const QRectF target = platform::fittedRect(pictureSize(_contents), _bounds);
    if (!target.isEmpty()) {
        QPainter& painter = *context.painter;
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(target, _contents, QRectF(_contents.rect()));
        painter.restore();
    }
    requestCanvasRefresh();
}
